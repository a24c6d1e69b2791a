#include "settings/globalsettingsdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "settings/settingsrules.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/dialogform_w.h"
#include "ui/dialogplacement_w.h"
#include "ui/maincontext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>

using namespace Qt::StringLiterals;

GlobalSettingsDialog::GlobalSettingsDialog(MainContext &ctx, QWidget *mainWindow)
    : QDialog(mainWindow), ctx_(ctx)
{
    setObjectName(u"frmSetGlobal"_s);
    QFormLayout *form = DialogForm::formOf(this);
    languages_ = DialogForm::named<QComboBox>(this, u"cboLanguage"_s);
    fonts_ = DialogForm::named<QComboBox>(this, u"cboFont"_s);
    fonts_->setMaxVisibleItems(20);
    fontSize_ = DialogForm::named<QLineEdit>(this, u"txtFontSize"_s);
    // Digits only, typed or pasted; Backspace and Enter work as ever.
    fontSize_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(u"[0-9]*"_s), fontSize_));
    fontSize_->setMaxLength(5);
    fontSize_->setMaximumWidth(fontSize_->fontMetrics().horizontalAdvance(u"000000"_s) + 12);
    bold_ = DialogForm::named<QCheckBox>(this, u"chckFontBold"_s);
    whiteGroupList_ = DialogForm::named<QCheckBox>(this, u"chckGRPBack"_s);
    hideYGroups_ = DialogForm::named<QCheckBox>(this, u"chckHideManual"_s);

    const Words &words = ctx_.words;
    // Rows from top to bottom, each label with its design index.
    const std::tuple<int, int, QWidget *> rows[]{{5, Word::Language, languages_},
                                                 {1, Word::FontName, fonts_},
                                                 {2, Word::FontSize, fontSize_},
                                                 {3, Word::FontBold, bold_},
                                                 {0, Word::GroupListWhiteFinish, whiteGroupList_},
                                                 {4, Word::HideYGroups, hideYGroups_}};
    for (const auto &[index, word, control] : rows)
        DialogForm::addRow(form, u"lblText"_s + QString::number(index), words(word), control);
    QDialogButtonBox *buttons = DialogForm::okCancel(form, words);
    connect(buttons, &QDialogButtonBox::accepted, this, &GlobalSettingsDialog::ok);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
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
        languages_->addItem(table.word(slot, Word::LanguageName));
    // The current language stays as it is when its slot is not offered.
    languages_->setCurrentIndex(int(languageSlots_.indexOf(prefs.language)));
    fillFonts();
    fontSize_->setText(QString::number(prefs.FontSize));
    bold_->setChecked(prefs.FontBold != 0);
    whiteGroupList_->setChecked(prefs.GroupListWhite != 0);
    hideYGroups_->setChecked(prefs.HideYGroups != 0);
}

void GlobalSettingsDialog::fillFonts()
{
    // pref.dat cannot hold a name outside its code page.
    const QStringList families = QFontDatabase::families();
    for (const QString &family : families) {
        if (CodePage::firstUnencodable(family) < 0)
            fonts_->addItem(family);
    }
    int selected = 0;
    for (int i = 0; i < fonts_->count(); ++i) {
        if (fonts_->itemText(i) == ctx_.state.prefs.FontName)
            selected = i;
    }
    fonts_->setCurrentIndex(fonts_->count() > 0 ? selected : -1);
}

void GlobalSettingsDialog::ok()
{
    Preferences &prefs = ctx_.state.prefs;
    const Preferences before = prefs;
    if (languages_->currentIndex() >= 0)
        prefs.language = languageSlots_.at(languages_->currentIndex());
    if (fonts_->currentIndex() >= 0)
        prefs.FontName = fonts_->currentText();
    prefs.FontSize = SettingsRules::fontSizeFrom(fontSize_->text(), prefs.FontSize);
    prefs.FontBold = bold_->isChecked() ? 1 : 0;
    prefs.GroupListWhite = whiteGroupList_->isChecked() ? 1 : 0;
    prefs.HideYGroups = hideYGroups_->isChecked() ? 1 : 0;
    // Only what pref.dat holds reaches the next copy: after a failed write the
    // dialog stays open, as it was, for another try or Cancel.
    if (!reportWrite(ctx_.reports, ctx_.store.Save_pref())) {
        prefs = before;
        return;
    }
    accept();
}
