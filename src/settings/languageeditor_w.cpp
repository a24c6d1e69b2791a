#include "settings/languageeditor_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "settings/settingsdialog_w.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "ui/codepagevalidator_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QGridLayout>
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
    QGridLayout *grid = SettingsDialog::grid(this);
    cboLanguage_ = SettingsDialog::named<QComboBox>(this, u"cboLanguage"_s);
    cboLanguage_->setEditable(true);
    cboLanguage_->setInsertPolicy(QComboBox::NoInsert);
    // A name is typed whole: completing it from the list would name a slot after another.
    cboLanguage_->setCompleter(nullptr);
    cboLanguage_->setMaxVisibleItems(WordTable::kLanguages);
    refuseUnstorableCharacters(cboLanguage_->lineEdit(), ctx_.messages, ctx_.words);
    lstWords_ = SettingsDialog::named<QListWidget>(this, u"lstWords"_s);
    txtTranslation_ = SettingsDialog::named<QLineEdit>(this, u"txtTranslation"_s);
    refuseUnstorableCharacters(txtTranslation_, ctx_.messages, ctx_.words);
    for (int i = 0; i < 2; ++i) {
        lbl_[i] = SettingsDialog::named<QLabel>(this, u"lbl"_s + QString::number(i));
        lbl_[i]->setTextFormat(Qt::PlainText);
    }
    grid->addWidget(cboLanguage_, 0, 0, 1, 2);
    grid->addWidget(lstWords_, 1, 0, 1, 2);
    grid->addWidget(txtTranslation_, 2, 0, 1, 2);
    grid->addWidget(lbl_[0], 3, 0, 1, 2);
    grid->addWidget(lbl_[1], 4, 0, 1, 2);
    cmdMain_ = SettingsDialog::addButtons(
        grid, 5, ctx_.words, [this] { ok(); }, [this] { reject(); });
    // The buttons answer clicks and their access keys only: Enter belongs to
    // the name and the translation.
    for (QPushButton *button : cmdMain_) {
        button->setDefault(false);
        button->setAutoDefault(false);
    }

    setWindowTitle(StripAmp(ctx_.words(Word::MenuEditLanguage)));
    cboLanguage_->setAccessibleName(ctx_.words(Word::Language));
    cboLanguage_->lineEdit()->setAccessibleName(ctx_.words(Word::Language));
    lstWords_->setAccessibleName(u"Words"_s);
    txtTranslation_->setAccessibleName(u"Translation"_s);
    lbl_[0]->setText(ctx_.words(Word::ChangesAfterRestart));
    lbl_[1]->setText(ctx_.words(Word::EditOnlyChangeLanguageInSettings));
    FillLanguageLists();
    // Wide enough for the longest English text, so that none is cut off.
    int widest = 0;
    for (int i = 0; i < lstWords_->count(); ++i)
        widest = std::max(widest,
                          lstWords_->fontMetrics().horizontalAdvance(lstWords_->item(i)->text()));
    lstWords_->setMinimumSize(widest + lstWords_->verticalScrollBar()->sizeHint().width() +
                                  2 * lstWords_->frameWidth() + 8,
                              lstWords_->fontMetrics().height() * 16);
    EditSlot = -1;
    updateField();

    connect(cboLanguage_, &QComboBox::currentIndexChanged, this, &LanguageEditor::languageChosen);
    connect(cboLanguage_, &QComboBox::editTextChanged, this, &LanguageEditor::updateField);
    connect(lstWords_, &QListWidget::currentRowChanged, this, &LanguageEditor::wordChosen);
    cboLanguage_->installEventFilter(this);
    cboLanguage_->lineEdit()->installEventFilter(this);
    txtTranslation_->installEventFilter(this);
    adjustSize();
    placeCentred(this, mainWindow);
}

void LanguageEditor::run(MainContext &ctx, QWidget *mainWindow)
{
    LanguageEditor dialog(ctx, mainWindow);
    dialog.exec();
}

void LanguageEditor::FillLanguageLists()
{
    const WordTable &table = ctx_.wordTable;
    for (int slot = 0; slot < WordTable::kLanguages; ++slot) {
        const QString &name = table.word(slot, Word::LanguageName);
        cboLanguage_->addItem(name.isEmpty() ? WordTable::freeSlotName() : name);
    }
    cboLanguage_->setCurrentIndex(-1);
    // A prompt, not a text: Enter on it untouched names no language after it.
    cboLanguage_->lineEdit()->setPlaceholderText(ctx_.words(Word::EnterOrChooseLanguage));
    for (int k = 1; k < WordTable::kWords; ++k) {
        const QString english = WordTable::english(k);
        if (english.isEmpty())
            continue;
        auto *line = new QListWidgetItem(english, lstWords_);
        line->setData(Qt::UserRole, k);
    }
}

int LanguageEditor::firstFreeSlot() const
{
    for (int slot = 1; slot < WordTable::kLanguages; ++slot) {
        if (cboLanguage_->itemText(slot) == WordTable::freeSlotName())
            return slot;
    }
    return -1;
}

void LanguageEditor::languageChosen()
{
    int slot = cboLanguage_->currentIndex();
    if (slot < 0)
        return;
    if (cboLanguage_->itemText(slot) == WordTable::freeSlotName()) {
        const int first = firstFreeSlot();
        if (first >= 0 && first != slot) {
            const QSignalBlocker blocker(cboLanguage_);
            cboLanguage_->setCurrentIndex(first);
            slot = first;
        }
    }
    EditSlot = slot;
    updateField();
    {
        const QSignalBlocker blocker(lstWords_);
        lstWords_->setCurrentRow(0);
    }
    wordChosen();
}

void LanguageEditor::nameSlot()
{
    QString name = cboLanguage_->currentText();
    if (name.isEmpty())
        name = WordTable::freeSlotName();
    // English is built in: renamed or freed it would leave the global settings
    // without it for the rest of the run.
    if (EditSlot == 0) {
        ctx_.messages.beep();
        cboLanguage_->setEditText(cboLanguage_->itemText(0));
        return;
    }
    int slot = EditSlot;
    if (slot < 0) {
        slot = firstFreeSlot();
        if (slot < 0) {
            cboLanguage_->setCurrentIndex(0);
            languageChosen();
            return;
        }
    }
    cboLanguage_->setItemText(slot, name);
    {
        const QSignalBlocker blocker(cboLanguage_);
        cboLanguage_->setCurrentIndex(slot);
    }
    languageChosen();
}

void LanguageEditor::wordChosen()
{
    const QListWidgetItem *line = lstWords_->currentItem();
    if (EditSlot < 0 || !line)
        return;
    const int k = line->data(Qt::UserRole).toInt();
    txtTranslation_->setText(ctx_.wordTable.word(EditSlot, k));
    txtTranslation_->setFocus();
    txtTranslation_->selectAll();
    EditWord = k;
}

void LanguageEditor::confirmTranslation()
{
    keepTranslation();
    const int next = lstWords_->currentRow() + 1;
    if (next < lstWords_->count())
        lstWords_->setCurrentRow(next);
}

void LanguageEditor::keepTranslation()
{
    if (EditSlot < 1 || EditWord < 1 ||
        cboLanguage_->itemText(EditSlot) == WordTable::freeSlotName())
        return;
    ctx_.wordTable.word(EditSlot, EditWord) = txtTranslation_->text();
}

bool LanguageEditor::translatable() const
{
    return EditSlot >= 1 && cboLanguage_->currentText() != WordTable::freeSlotName();
}

void LanguageEditor::updateField()
{
    // Read-only keeps out pastes and drops as well as the keys refused below.
    txtTranslation_->setReadOnly(!translatable());
}

bool LanguageEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtTranslation_ && event->type() == QEvent::FocusOut)
        keepTranslation();
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (watched == txtTranslation_) {
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
    if (txtTranslation_->hasFocus())
        keepTranslation();
    WordTable &table = ctx_.wordTable;
    for (int slot = 0; slot < WordTable::kLanguages; ++slot)
        table.word(slot, Word::LanguageName) = cboLanguage_->itemText(slot);
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
