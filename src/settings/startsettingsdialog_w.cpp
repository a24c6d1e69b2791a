#include "settings/startsettingsdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "settings/settingsdialog_w.h"
#include "settings/settingsrules.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/codepagevalidator_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

const QString kAlwaysFirst = u"Always First"_s;

} // namespace

StartSettingsDialog::StartSettingsDialog(MainContext &ctx, const QStringList &groupLines,
                                         QWidget *mainWindow)
    : QDialog(mainWindow), ctx_(ctx)
{
    setObjectName(u"frmSetStart"_s);
    QGridLayout *grid = SettingsDialog::grid(this);
    cboMode_ = SettingsDialog::named<QComboBox>(this, u"cboMode"_s);
    cboGroup_ = SettingsDialog::named<QComboBox>(this, u"cboGroup"_s);
    cboGroup_->setMaxVisibleItems(20);
    chckLock_ = SettingsDialog::named<QCheckBox>(this, u"chckLock"_s);
    chckViewMask_ = SettingsDialog::named<QCheckBox>(this, u"chckViewMask"_s);
    chckWrap_ = SettingsDialog::named<QCheckBox>(this, u"chckWrap"_s);
    txtStorePath_ = SettingsDialog::named<QLineEdit>(this, u"txtStorePath"_s);
    txtStorePath_->setMinimumWidth(txtStorePath_->fontMetrics().averageCharWidth() * 40);
    refuseUnstorableCharacters(txtStorePath_, ctx_.messages, ctx_.words);

    const Words &words = ctx_.words;
    const std::array<std::pair<int, QWidget *>, 6> rows{{{0, cboMode_},
                                                         {2, cboGroup_},
                                                         {1, chckLock_},
                                                         {3, chckViewMask_},
                                                         {5, chckWrap_},
                                                         {4, txtStorePath_}}};
    const std::array<QString, 6> labels{
        words(Word::WindowState),     StripAmp(words(Word::MenuLockEditPermission)),
        words(Word::StartGroup),      StripAmp(words(Word::MenuViewMask)),
        words(Word::PathToFileStore), StripAmp(words(Word::MenuWordwrap))};
    for (int row = 0; row < int(rows.size()); ++row) {
        const int i = rows[row].first;
        lblText_[i] = SettingsDialog::addRow(grid, row, u"lblText"_s + QString::number(i),
                                             labels[i], rows[row].second);
    }
    cmdMain_ = SettingsDialog::addButtons(
        grid, int(rows.size()), words, [this] { ok(); }, [this] { reject(); });
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
    for (QCheckBox *box : {chckLock_, chckViewMask_, chckWrap_})
        box->setText(words(Word::On));
    txtStorePath_->setToolTip(words(Word::EnterPresetHint));
    txtStorePath_->setText(prefs.StorePath);

    for (int k = 69; k <= 72; ++k)
        cboMode_->addItem(words(k));
    // A state the list does not hold (a hand-edited pref.dat) starts as normal.
    const int mode = prefs.StartWindowState;
    cboMode_->setCurrentIndex(mode >= 0 && mode < cboMode_->count() ? mode : 0);

    cboGroup_->addItem(kAlwaysFirst);
    cboGroup_->addItems(groupLines);
    const int group = int(groupLines.indexOf(prefs.StartGroup));
    cboGroup_->setCurrentIndex(group + 1);

    chckLock_->setChecked(prefs.StartLocked != 0);
    chckViewMask_->setChecked(prefs.StartViewMask != 0);
    chckWrap_->setChecked(prefs.StartWordwrap != 0);

    // The store path the start could not use, shown once.
    QLabel *pathLabel = lblText_[4];
    if (ctx_.state.StoreFallback) {
        ctx_.state.StoreFallback = false;
        QPalette red = pathLabel->palette();
        red.setColor(QPalette::WindowText, QColor(192, 0, 0));
        pathLabel->setPalette(red);
        QFont bold = pathLabel->font();
        bold.setBold(true);
        pathLabel->setFont(bold);
    }
}

void StartSettingsDialog::ok()
{
    Preferences &prefs = ctx_.state.prefs;
    const SettingsRules::StorePathCheck path =
        SettingsRules::checkStorePath(txtStorePath_->text(), prefs.StorePath);
    txtStorePath_->setText(path.path);
    if (!path.valid) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              ctx_.words(Word::FileStorePathNotValid));
        txtStorePath_->setFocus();
        return;
    }
    prefs.StorePath = path.path;
    prefs.StartWindowState = cboMode_->currentIndex();
    prefs.StartGroup = cboGroup_->currentText();
    prefs.StartLocked = chckLock_->isChecked() ? 1 : 0;
    prefs.StartViewMask = chckViewMask_->isChecked() ? 1 : 0;
    prefs.StartWordwrap = chckWrap_->isChecked() ? 1 : 0;
    // A failed write is reported; the values then hold for this run only.
    reportWrite(ctx_.reports, ctx_.store.Save_pref());
    accept();
}
