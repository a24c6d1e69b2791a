#include "settings/globalsettingsdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "settings/settingsdialog_w.h"
#include "settings/settingsrules.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;

GlobalSettingsDialog::GlobalSettingsDialog(MainContext &ctx, QWidget *mainWindow)
    : QDialog(mainWindow), ctx_(ctx)
{
    setObjectName(u"frmSetGlobal"_s);
    QGridLayout *grid = SettingsDialog::grid(this);
    cboLanguage_ = SettingsDialog::named<QComboBox>(this, u"cboLanguage"_s);
    cboFont_ = SettingsDialog::named<QComboBox>(this, u"cboFont"_s);
    cboFont_->setMaxVisibleItems(20);
    txtFontSize_ = SettingsDialog::named<QLineEdit>(this, u"txtFontSize"_s);
    // Digits only, typed or pasted; Backspace and Enter work as ever.
    txtFontSize_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), txtFontSize_));
    txtFontSize_->setMaxLength(5);
    txtFontSize_->setMaximumWidth(txtFontSize_->fontMetrics().horizontalAdvance(u"000000"_s) + 12);
    chckFontBold_ = SettingsDialog::named<QCheckBox>(this, u"chckFontBold"_s);
    chckGRPBack_ = SettingsDialog::named<QCheckBox>(this, u"chckGRPBack"_s);
    chckHideManual_ = SettingsDialog::named<QCheckBox>(this, u"chckHideManual"_s);

    const Words &words = ctx_.words;
    // Rows from top to bottom, each label with its design index.
    const std::array<std::pair<int, QWidget *>, 6> rows{{{5, cboLanguage_},
                                                         {1, cboFont_},
                                                         {2, txtFontSize_},
                                                         {3, chckFontBold_},
                                                         {0, chckGRPBack_},
                                                         {4, chckHideManual_}}};
    const std::array<int, 6> labelWords{
        Word::GroupListWhiteFinish, Word::FontName, Word::FontSize, Word::FontBold,
        Word::HideYGroups,          Word::Language};
    for (int row = 0; row < int(rows.size()); ++row) {
        const int i = rows[row].first;
        lblText_[i] = SettingsDialog::addRow(grid, row, u"lblText"_s + QString::number(i),
                                             words(labelWords[i]), rows[row].second);
    }
    cmdMain_ = SettingsDialog::addButtons(
        grid, int(rows.size()), words, [this] { ok(); }, [this] { reject(); });
    loadValues();
    adjustSize();
    placeCentred(this, mainWindow);
}

bool GlobalSettingsDialog::run(MainContext &ctx, QWidget *mainWindow)
{
    GlobalSettingsDialog dialog(ctx, mainWindow);
    return dialog.exec() == QDialog::Accepted;
}

void GlobalSettingsDialog::loadValues()
{
    setWindowTitle(StripAmp(ctx_.words(Word::MenuGlobalSettings)));
    const Preferences &prefs = ctx_.state.prefs;
    const WordTable &table = ctx_.words.table();
    languageSlots_ = SettingsRules::listedLanguages(table);
    for (int slot : languageSlots_)
        cboLanguage_->addItem(table.word(slot, Word::LanguageName));
    // The current language stays as it is when its slot is not offered.
    cboLanguage_->setCurrentIndex(int(languageSlots_.indexOf(prefs.language)));
    fillFonts();
    txtFontSize_->setText(QString::number(prefs.FontSize));
    chckFontBold_->setChecked(prefs.FontBold != 0);
    chckGRPBack_->setChecked(prefs.GroupListWhite != 0);
    chckHideManual_->setChecked(prefs.HideYGroups != 0);
}

void GlobalSettingsDialog::fillFonts()
{
    // pref.dat cannot hold a name outside its code page.
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families) {
        if (CodePage::firstUnencodable(family) < 0)
            cboFont_->addItem(family);
    }
    int selected = 0;
    for (int i = 0; i < cboFont_->count(); ++i) {
        if (cboFont_->itemText(i) == ctx_.state.prefs.FontName)
            selected = i;
    }
    cboFont_->setCurrentIndex(cboFont_->count() > 0 ? selected : -1);
}

void GlobalSettingsDialog::ok()
{
    Preferences &prefs = ctx_.state.prefs;
    const Preferences before = prefs;
    if (cboLanguage_->currentIndex() >= 0)
        prefs.language = languageSlots_.at(cboLanguage_->currentIndex());
    if (cboFont_->currentIndex() >= 0)
        prefs.FontName = cboFont_->currentText();
    prefs.FontSize = SettingsRules::fontSizeFrom(txtFontSize_->text(), prefs.FontSize);
    prefs.FontBold = chckFontBold_->isChecked() ? 1 : 0;
    prefs.GroupListWhite = chckGRPBack_->isChecked() ? 1 : 0;
    prefs.HideYGroups = chckHideManual_->isChecked() ? 1 : 0;
    // Only what pref.dat holds reaches the next copy: after a failed write the
    // dialog stays open, as it was, for another try or Cancel.
    if (!reportWrite(ctx_.reports, ctx_.store.Save_pref())) {
        prefs = before;
        return;
    }
    accept();
}
