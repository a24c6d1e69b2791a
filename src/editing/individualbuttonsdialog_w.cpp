#include "editing/individualbuttonsdialog_w.h"

#include "editing/indivbuttons.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/codepagerefusal.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T *named(QWidget *parent, const QString &name, int i)
{
    auto *widget = new T(parent);
    widget->setObjectName(name + QString::number(i));
    return widget;
}

void selectText(QComboBox *list, const QString &text)
{
    list->setCurrentIndex(list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
}

} // namespace

IndividualButtonsDialog::IndividualButtonsDialog(MainContext &ctx, QWidget *mainWindow)
    : QDialog(mainWindow), ctx_(ctx)
{
    setObjectName(u"frmIndiv"_s);
    // The rows hold the labels and keys in whatever font the desktop gives
    // them, and the fourth row fits, which the design's twips did not.
    QFormLayout *form = DialogForm::formOf(this);
    buildRows(form);
    buttons_ = DialogForm::okCancel(form, ctx_.words);
    newButton_ = buttons_->addButton(ctx_.words(Word::MenuNew), QDialogButtonBox::ResetRole);
    newButton_->setObjectName(u"cmdMain2"_s);
    newButton_->setAutoDefault(false);
    connect(buttons_, &QDialogButtonBox::accepted, this, &IndividualButtonsDialog::ok);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(newButton_, &QPushButton::clicked, this, &IndividualButtonsDialog::clearRows);
    loadValues();
    adjustSize();
    placeCentred(this, mainWindow);
}

void IndividualButtonsDialog::buildRows(QFormLayout *form)
{
    for (int i = 0; i < 4; ++i) {
        const QString button = ctx_.words(Word::IndividualButton) + u' ' + QString::number(i + 1);
        auto *label = named<QLabel>(this, u"lbl"_s, i);
        label->setText(button + u" :"_s);
        modifiers_[i] = named<QComboBox>(this, u"cbo0"_s, i);
        modifiers_[i]->addItems(IndivButtons::modifierItems());
        keys_[i] = named<QComboBox>(this, u"cbo1"_s, i);
        keys_[i]->addItems(IndivButtons::keyItems());
        keys_[i]->setMaxVisibleItems(16);
        furtherKeys_[i] = named<QLineEdit>(this, u"txt"_s, i);
        furtherKeys_[i]->setMinimumWidth(
            furtherKeys_[i]->fontMetrics().horizontalAdvance(u"{F5}{F6}{F7}"_s) + 12);
        // The row's label leads into its first list; a screen reader reads
        // each of the three by the label and what it holds.
        label->setBuddy(modifiers_[i]);
        modifiers_[i]->setAccessibleName(button + u": Shift, Ctrl or Alt"_s);
        keys_[i]->setAccessibleName(button + u": Key"_s);
        furtherKeys_[i]->setAccessibleName(button + u": Further Keys"_s);
        auto *row = new QHBoxLayout;
        row->addWidget(modifiers_[i]);
        row->addWidget(new QLabel(u"+"_s, this));
        row->addWidget(keys_[i]);
        row->addWidget(new QLabel(u"+"_s, this));
        row->addWidget(furtherKeys_[i], 1);
        form->addRow(label, row);
    }
}

void IndividualButtonsDialog::run(MainContext &ctx, QWidget *mainWindow)
{
    IndividualButtonsDialog dialog(ctx, mainWindow);
    dialog.exec();
}

void IndividualButtonsDialog::loadValues()
{
    setWindowTitle(StripAmp(ctx_.words(Word::MenuIndividualButtons)));
    const auto &buttons = ctx_.state.prefs.IndivButton;
    for (int i = 0; i < 4; ++i) {
        selectText(modifiers_[i], buttons[i][0]);
        selectText(keys_[i], buttons[i][1]);
        furtherKeys_[i]->setText(buttons[i][2]);
    }
}

void IndividualButtonsDialog::ok()
{
    if (storeRows())
        accept();
}

void IndividualButtonsDialog::clearRows()
{
    for (int i = 0; i < 4; ++i) {
        modifiers_[i]->setCurrentIndex(0);
        selectText(keys_[i], u"free"_s);
        furtherKeys_[i]->clear();
    }
    DialogForm::okButton(buttons_)->setFocus();
}

bool IndividualButtonsDialog::storeRows()
{
    for (QLineEdit *field : furtherKeys_) {
        const QString bad = CodePageRefusal::firstRefused(field->text());
        if (!bad.isEmpty()) {
            ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                                  CodePageRefusal::message(bad));
            field->setFocus();
            return false;
        }
    }
    auto &buttons = ctx_.state.prefs.IndivButton;
    for (int i = 0; i < 4; ++i) {
        // A list without a selection shows a value pref.dat holds that the
        // list does not offer (a hand-made modifier): it is kept, not emptied.
        if (modifiers_[i]->currentIndex() >= 0)
            buttons[i][0] = modifiers_[i]->currentText();
        if (keys_[i]->currentIndex() >= 0)
            buttons[i][1] = keys_[i]->currentText();
        buttons[i][2] = furtherKeys_[i]->text();
    }
    reportWrite(ctx_.reports, ctx_.store.Save_pref());
    return true;
}
