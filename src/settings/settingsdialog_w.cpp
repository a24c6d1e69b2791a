#include "settings/settingsdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"

#include <QBoxLayout>
#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace SettingsDialog {

QGridLayout *grid(QDialog *dialog)
{
    dialog->setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint);
    auto *grid = new QGridLayout(dialog);
    grid->setSizeConstraint(QLayout::SetFixedSize);
    grid->setColumnStretch(1, 1);
    return grid;
}

QLabel *addRow(QGridLayout *grid, int row, const QString &name, const QString &text,
               QWidget *control)
{
    auto *label = new QLabel(text + u" :"_s, grid->parentWidget());
    label->setObjectName(name);
    // As a buddy the label shows "&&" as "&" and its own "&" as an access key.
    label->setBuddy(control);
    grid->addWidget(label, row, 0);
    grid->addWidget(control, row, 1);
    return label;
}

std::array<QPushButton *, 2> addButtons(QGridLayout *grid, int row, const Words &words,
                                        const std::function<void()> &ok,
                                        const std::function<void()> &cancel)
{
    std::array<QPushButton *, 2> buttons{};
    auto *line = new QHBoxLayout;
    line->addStretch();
    for (int i = 0; i < 2; ++i) {
        buttons[i] = new QPushButton(words(Word::ButtonOk + i), grid->parentWidget());
        buttons[i]->setObjectName(u"cmdMain"_s + QString::number(i));
        QObject::connect(buttons[i], &QPushButton::clicked, buttons[i], i == 0 ? ok : cancel);
        line->addWidget(buttons[i]);
    }
    buttons[0]->setDefault(true);
    grid->addLayout(line, row, 0, 1, 2);
    return buttons;
}

} // namespace SettingsDialog
