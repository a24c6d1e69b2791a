#include "notebook/inputdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "ui/codepagevalidator_w.h"
#include "ui/dialogplacement_w.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

bool onlyBlanks(const QString &text)
{
    for (QChar c : text) {
        if (c != u' ')
            return false;
    }
    return true;
}

} // namespace

InputDialog::InputDialog(const QString &prompt, const QString &proposed, const Words &words,
                         Messages &messages, QWidget *mainWindow)
    : QDialog(mainWindow), words_(words), messages_(messages), answer_(proposed)
{
    setObjectName(u"frmInput"_s);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(twipsX(this, 3945), twipsY(this, 1035));

    txtInput = new QLineEdit(this);
    txtInput->setObjectName(u"txtInput"_s);
    txtInput->setGeometry(twipsRect(this, 120, 135, 3735, 285));
    cmdMain0 = new QPushButton(this);
    cmdMain0->setObjectName(u"cmdMain0"_s);
    cmdMain0->setGeometry(twipsRect(this, 1680, 555, 975, 375));
    cmdMain0->setDefault(true); // Enter in the field is OK
    cmdMain1 = new QPushButton(this);
    cmdMain1->setObjectName(u"cmdMain1"_s);
    cmdMain1->setGeometry(twipsRect(this, 2880, 555, 975, 375));

    if (prompt == words_(Word::EntryTitle)) {
        // A new entry's title: out of the way of the text just typed, with a wide OK.
        cmdMain0->setGeometry(twipsRect(this, 120, 555, 2535, 375));
        placeLowerLeft(this, mainWindow, 100);
    } else {
        placeCentred(this, mainWindow);
    }
    setWindowTitle(prompt);
    txtInput->setAccessibleName(prompt);
    individualMode_ = prompt.toLower().contains(u"individual"_s);

    if (!onlyBlanks(proposed)) {
        txtInput->setText(proposed);
        txtInput->selectAll();
    }
    cmdMain0->setText(words_(Word::ButtonOk));
    cmdMain1->setText(words_(Word::ButtonCancel));

    refuseUnstorableCharacters(txtInput, messages_, words_);
    connect(cmdMain0, &QPushButton::clicked, this, &InputDialog::confirm);
    connect(cmdMain1, &QPushButton::clicked, this, &InputDialog::cancel);
}

std::optional<QString> InputDialog::ask(const QString &prompt, const QString &proposed,
                                        const Words &words, Messages &messages, QWidget *mainWindow)
{
    InputDialog dialog(prompt, proposed, words, messages, mainWindow);
    dialog.exec();
    return dialog.answer();
}

void InputDialog::confirm()
{
    QString text = txtInput->text();
    while (text.endsWith(u' '))
        text.chop(1);
    txtInput->setText(text);
    answer_ = text;
    accept();
}

void InputDialog::cancel()
{
    answer_.reset();
    reject();
}

void InputDialog::keyPressEvent(QKeyEvent *event)
{
    // Esc is the Cancel button here. The toolkit's own Esc would only close,
    // which (like the close box) answers what was proposed.
    if (event->key() == Qt::Key_Escape) {
        if (!individualMode_)
            cancel();
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
