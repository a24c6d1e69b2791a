#include "settings/languageeditor_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "ui/codepagevalidator_w.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

bool isEnter(const QKeyEvent *key)
{
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

} // namespace

LanguageEditor::LanguageEditor(MainContext &ctx, QWidget *mainWindow)
    : QDialog(mainWindow), ctx_(ctx)
{
    setObjectName(u"frmEditLanguage"_s);
    QFormLayout *form = DialogForm::formOf(this);
    languages_ = DialogForm::named<QComboBox>(this, u"cboLanguage"_s);
    languages_->setEditable(true);
    languages_->setInsertPolicy(QComboBox::NoInsert);
    // A name is typed whole: completing it from the list would name a slot after another.
    languages_->setCompleter(nullptr);
    languages_->setMaxVisibleItems(WordTable::kLanguages);
    refuseUnstorableCharacters(languages_->lineEdit(), ctx_.messages, ctx_.words);
    words_ = DialogForm::named<QListWidget>(this, u"lstWords"_s);
    translation_ = DialogForm::named<QLineEdit>(this, u"txtTranslation"_s);
    refuseUnstorableCharacters(translation_, ctx_.messages, ctx_.words);
    for (int i = 0; i < 2; ++i) {
        notes_[i] = DialogForm::named<QLabel>(this, u"lbl"_s + QString::number(i));
        notes_[i]->setTextFormat(Qt::PlainText);
    }
    for (QWidget *row : {static_cast<QWidget *>(languages_), static_cast<QWidget *>(words_),
                         static_cast<QWidget *>(translation_), static_cast<QWidget *>(notes_[0]),
                         static_cast<QWidget *>(notes_[1])})
        form->addRow(row);
    QDialogButtonBox *buttons = DialogForm::okCancel(form, ctx_.words);
    // The buttons answer clicks and their access keys only: Enter belongs to
    // the name and the translation (showEvent keeps it so).
    okButton_ = DialogForm::okButton(buttons);
    for (QPushButton *button : {okButton_, DialogForm::cancelButton(buttons)}) {
        button->setDefault(false);
        button->setAutoDefault(false);
    }
    connect(buttons, &QDialogButtonBox::accepted, this, &LanguageEditor::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    setWindowTitle(StripAmp(ctx_.words(Word::MenuEditLanguage)));
    languages_->setAccessibleName(ctx_.words(Word::Language));
    languages_->lineEdit()->setAccessibleName(ctx_.words(Word::Language));
    words_->setAccessibleName(u"Words"_s);
    translation_->setAccessibleName(u"Translation"_s);
    notes_[0]->setText(ctx_.words(Word::ChangesAfterRestart));
    notes_[1]->setText(ctx_.words(Word::EditOnlyChangeLanguageInSettings));
    fillLists();
    // Wide enough for the longest English text, so that none is cut off.
    int widest = 0;
    for (int i = 0; i < words_->count(); ++i)
        widest = std::max(widest, words_->fontMetrics().horizontalAdvance(words_->item(i)->text()));
    words_->setMinimumSize(widest + words_->verticalScrollBar()->sizeHint().width() +
                               2 * words_->frameWidth() + 8,
                           words_->fontMetrics().height() * 16);
    editSlot_ = -1;
    updateField();

    connect(languages_, &QComboBox::currentIndexChanged, this, &LanguageEditor::languageChosen);
    connect(languages_, &QComboBox::editTextChanged, this, &LanguageEditor::updateField);
    connect(words_, &QListWidget::currentRowChanged, this, &LanguageEditor::wordChosen);
    languages_->installEventFilter(this);
    languages_->lineEdit()->installEventFilter(this);
    translation_->installEventFilter(this);
    adjustSize();
    placeCentred(this, mainWindow);
}

// A button box makes its OK the default button as it shows, and Enter in the
// list of words would then write Language.dat and close the editor.
void LanguageEditor::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    okButton_->setDefault(false);
}

void LanguageEditor::run(MainContext &ctx, QWidget *mainWindow)
{
    LanguageEditor dialog(ctx, mainWindow);
    dialog.exec();
}

void LanguageEditor::fillLists()
{
    const WordTable &table = ctx_.wordTable;
    for (int slot = 0; slot < WordTable::kLanguages; ++slot) {
        const QString &name = table.word(slot, Word::LanguageName);
        languages_->addItem(name.isEmpty() ? WordTable::freeSlotName() : name);
    }
    languages_->setCurrentIndex(-1);
    // A prompt, not a text: Enter on it untouched names no language after it.
    languages_->lineEdit()->setPlaceholderText(ctx_.words(Word::EnterOrChooseLanguage));
    for (int k = 1; k < WordTable::kWords; ++k) {
        const QString english = WordTable::english(k);
        if (english.isEmpty())
            continue;
        auto *line = new QListWidgetItem(english, words_);
        line->setData(Qt::UserRole, k);
    }
}

int LanguageEditor::firstFreeSlot() const
{
    for (int slot = 1; slot < WordTable::kLanguages; ++slot) {
        if (languages_->itemText(slot) == WordTable::freeSlotName())
            return slot;
    }
    return -1;
}

void LanguageEditor::languageChosen()
{
    int slot = languages_->currentIndex();
    if (slot < 0)
        return;
    if (languages_->itemText(slot) == WordTable::freeSlotName()) {
        const int first = firstFreeSlot();
        if (first >= 0 && first != slot) {
            const QSignalBlocker blocker(languages_);
            languages_->setCurrentIndex(first);
            slot = first;
        }
    }
    editSlot_ = slot;
    updateField();
    {
        const QSignalBlocker blocker(words_);
        words_->setCurrentRow(0);
    }
    wordChosen();
}

void LanguageEditor::nameSlot()
{
    QString name = languages_->currentText();
    if (name.isEmpty())
        name = WordTable::freeSlotName();
    // English is built in: renamed or freed it would leave the global settings
    // without it for the rest of the run.
    if (editSlot_ == 0) {
        ctx_.messages.beep();
        languages_->setEditText(languages_->itemText(0));
        return;
    }
    int slot = editSlot_;
    if (slot < 0) {
        slot = firstFreeSlot();
        if (slot < 0) {
            languages_->setCurrentIndex(0);
            languageChosen();
            return;
        }
    }
    languages_->setItemText(slot, name);
    {
        const QSignalBlocker blocker(languages_);
        languages_->setCurrentIndex(slot);
    }
    languageChosen();
}

void LanguageEditor::wordChosen()
{
    const QListWidgetItem *line = words_->currentItem();
    if (editSlot_ < 0 || !line)
        return;
    const int k = line->data(Qt::UserRole).toInt();
    translation_->setText(ctx_.wordTable.word(editSlot_, k));
    translation_->setFocus();
    translation_->selectAll();
    editWord_ = k;
}

void LanguageEditor::confirmTranslation()
{
    keepTranslation();
    const int next = words_->currentRow() + 1;
    if (next < words_->count())
        words_->setCurrentRow(next);
}

void LanguageEditor::keepTranslation()
{
    if (editSlot_ < 1 || editWord_ < 1 ||
        languages_->itemText(editSlot_) == WordTable::freeSlotName())
        return;
    ctx_.wordTable.word(editSlot_, editWord_) = translation_->text();
}

bool LanguageEditor::translatable() const
{
    return editSlot_ >= 1 && languages_->currentText() != WordTable::freeSlotName();
}

void LanguageEditor::updateField()
{
    // Read-only keeps out pastes and drops as well as the keys refused below.
    translation_->setReadOnly(!translatable());
}

bool LanguageEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == translation_ && event->type() == QEvent::FocusOut)
        keepTranslation();
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == translation_) {
        if (!translatable()) {
            // Typing keys (Enter and Backspace among them) are refused; the
            // keys that move about or leave the dialog still work.
            const bool typing = !key->text().isEmpty() && key->key() != Qt::Key_Escape &&
                                key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab;
            if (typing || key->key() == Qt::Key_Delete) {
                ctx_.messages.beep();
                return true;
            }
            return false;
        }
        if (isEnter(key)) {
            confirmTranslation();
            return true;
        }
    } else if (isEnter(key)) {
        nameSlot();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void LanguageEditor::ok()
{
    // A button's access key leaves the focus where it was: the field's text
    // counts as left.
    if (translation_->hasFocus())
        keepTranslation();
    WordTable &table = ctx_.wordTable;
    for (int slot = 0; slot < WordTable::kLanguages; ++slot)
        table.word(slot, Word::LanguageName) = languages_->itemText(slot);
    const QString &folder = ctx_.state.programFolder;
    const FileResult written = table.saveLanguageFile(folder + u"Language.dat"_s, folder);
    // Language.dat is as it was: the dialog stays open for another try.
    if (!written) {
        ctx_.reports.ShowErrorCancel(written.error);
        return;
    }
    if (written.unsynced)
        ctx_.reports.ShowErrorContinue(written.error);
    accept();
}
