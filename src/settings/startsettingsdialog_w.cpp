#include "settings/startsettingsdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "settings/settingsrules.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/codepagevalidator_w.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {

const QString kAlwaysFirst = u"Always First"_s;

} // namespace

StartSettingsDialog::StartSettingsDialog(MainContext &ctx, const QStringList &groupLines,
                                         QWidget *mainWindow)
    : QDialog(mainWindow), ctx_(ctx)
{
    setObjectName(u"frmSetStart"_s);
    QFormLayout *form = DialogForm::formOf(this);
    windowState_ = DialogForm::named<QComboBox>(this, u"cboMode"_s);
    startGroup_ = DialogForm::named<QComboBox>(this, u"cboGroup"_s);
    startGroup_->setMaxVisibleItems(20);
    locked_ = DialogForm::named<QCheckBox>(this, u"chckLock"_s);
    mask_ = DialogForm::named<QCheckBox>(this, u"chckViewMask"_s);
    wordWrap_ = DialogForm::named<QCheckBox>(this, u"chckWrap"_s);
    storePath_ = DialogForm::named<QLineEdit>(this, u"txtStorePath"_s);
    storePath_->setMinimumWidth(storePath_->fontMetrics().averageCharWidth() * 40);
    refuseUnstorableCharacters(storePath_, ctx_.messages, ctx_.words);

    const Words &words = ctx_.words;
    // Rows from top to bottom, each label with its design index.
    const std::tuple<int, QString, QWidget *> rows[]{
        {0, words(Word::WindowState), windowState_},
        {2, words(Word::StartGroup), startGroup_},
        {1, StripAmp(words(Word::MenuLockEditPermission)), locked_},
        {3, StripAmp(words(Word::MenuViewMask)), mask_},
        {5, StripAmp(words(Word::MenuWordwrap)), wordWrap_},
        {4, words(Word::PathToFileStore), storePath_}};
    for (const auto &[index, caption, control] : rows) {
        QLabel *label =
            DialogForm::addRow(form, u"lblText"_s + QString::number(index), caption, control);
        if (control == storePath_)
            storePathLabel_ = label;
    }
    QDialogButtonBox *buttons = DialogForm::okCancel(form, words);
    connect(buttons, &QDialogButtonBox::accepted, this, &StartSettingsDialog::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    loadValues(groupLines);
    adjustSize();
    placeCentred(this, mainWindow);
}

void StartSettingsDialog::run(MainContext &ctx, const QStringList &groupLines, QWidget *mainWindow)
{
    StartSettingsDialog dialog(ctx, groupLines, mainWindow);
    dialog.exec();
}

void StartSettingsDialog::loadValues(const QStringList &groupLines)
{
    const Words &words = ctx_.words;
    const Preferences &prefs = ctx_.state.prefs;
    setWindowTitle(StripAmp(words(Word::MenuStartSettings)));
    for (QCheckBox *box : {locked_, mask_, wordWrap_})
        box->setText(words(Word::On));
    storePath_->setToolTip(words(Word::EnterPresetHint));
    storePath_->setText(prefs.StorePath);

    for (int k = Word::WindowNormal; k <= Word::WindowHiddenInTray; ++k)
        windowState_->addItem(words(k));
    // A state the list does not hold (a hand-edited pref.dat) starts as normal.
    const int mode = prefs.StartWindowState;
    windowState_->setCurrentIndex(mode >= 0 && mode < windowState_->count() ? mode : 0);

    startGroup_->addItem(kAlwaysFirst);
    startGroup_->addItems(groupLines);
    const int group = int(groupLines.indexOf(prefs.StartGroup));
    startGroup_->setCurrentIndex(group + 1);

    locked_->setChecked(prefs.StartLocked != 0);
    mask_->setChecked(prefs.StartViewMask != 0);
    wordWrap_->setChecked(prefs.StartWordwrap != 0);

    // The store path the start could not use, shown once.
    if (ctx_.state.StoreFallback) {
        ctx_.state.StoreFallback = false;
        QPalette red = storePathLabel_->palette();
        red.setColor(QPalette::WindowText, QColor(192, 0, 0));
        storePathLabel_->setPalette(red);
        QFont bold = storePathLabel_->font();
        bold.setBold(true);
        storePathLabel_->setFont(bold);
    }
}

void StartSettingsDialog::ok()
{
    Preferences &prefs = ctx_.state.prefs;
    const SettingsRules::StorePathCheck path =
        SettingsRules::checkStorePath(storePath_->text(), prefs.StorePath);
    storePath_->setText(path.path);
    if (!path.valid) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              ctx_.words(Word::FileStorePathNotValid));
        storePath_->setFocus();
        return;
    }
    prefs.StorePath = path.path;
    prefs.StartWindowState = windowState_->currentIndex();
    prefs.StartGroup = startGroup_->currentText();
    prefs.StartLocked = locked_->isChecked() ? 1 : 0;
    prefs.StartViewMask = mask_->isChecked() ? 1 : 0;
    prefs.StartWordwrap = wordWrap_->isChecked() ? 1 : 0;
    // A failed write is reported; the values then hold for this run only.
    reportWrite(ctx_.reports, ctx_.store.Save_pref());
    accept();
}
