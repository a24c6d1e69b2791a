#include "notebook/inputdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "ui/codepagevalidator_w.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"

#include <QDialogButtonBox>
#include <QFormLayout>
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
    QFormLayout *form = DialogForm::formOf(this);
    field_ = DialogForm::named<QLineEdit>(this, u"txtInput"_s);
    // As wide as the design's field; the dialog fits round it.
    field_->setMinimumWidth(twipsX(this, 3735));
    form->addRow(field_);
    buttons_ = DialogForm::okCancel(form, words_);
    setWindowTitle(prompt);
    field_->setAccessibleName(prompt);
    individualMode_ = prompt.toLower().contains(u"individual"_s);

    if (!onlyBlanks(proposed)) {
        field_->setText(proposed);
        field_->selectAll();
    }
    refuseUnstorableCharacters(field_, messages_, words_);
    connect(buttons_, &QDialogButtonBox::accepted, this, &InputDialog::confirm);
    connect(buttons_, &QDialogButtonBox::rejected, this, &InputDialog::cancel);

    if (prompt == words_(Word::EntryTitle)) {
        // A new entry's title: out of the way of the text just typed, with a wide OK.
        DialogForm::okButton(buttons_)->setMinimumWidth(twipsX(this, 2535));
        adjustSize();
        placeLowerLeft(this, mainWindow, 100);
    } else {
        adjustSize();
        placeCentred(this, mainWindow);
    }
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
    QString text = field_->text();
    while (text.endsWith(u' '))
        text.chop(1);
    field_->setText(text);
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
