#include "platform/messageboxes_w.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon boxIcon(Messages::Icon icon)
{
    switch (icon) {
    case Messages::Icon::Information:
        return QMessageBox::Information;
    case Messages::Icon::Critical:
        return QMessageBox::Critical;
    case Messages::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void MessageBoxes::message(Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, QApplication::activeWindow());
    // Names and paths are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void MessageBoxes::beep()
{
    QApplication::beep();
}

int MessageBoxes::ask(Icon icon, const QString &title, const QString &text,
                      const QList<Choice> &choices, int defaultChoice, int escapeChoice)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    QList<QPushButton *> buttons;
    for (const Choice &choice : choices) {
        QPushButton *button = box.addButton(choice.text, QMessageBox::ActionRole);
        button->setObjectName(choice.name);
        button->setAccessibleName(QString(choice.text).remove(u'&'));
        buttons.append(button);
    }
    if (defaultChoice >= 0 && defaultChoice < buttons.size())
        box.setDefaultButton(buttons[defaultChoice]);
    if (escapeChoice >= 0 && escapeChoice < buttons.size())
        box.setEscapeButton(buttons[escapeChoice]);
    box.exec();
    const int answer = int(buttons.indexOf(box.clickedButton()));
    return answer >= 0 ? answer : escapeChoice;
}
