#pragma once

#include <QDialog>
#include <QList>
#include <array>

struct MainContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// frmSetGlobal: the language, the font of the lists and text boxes, the
// group list's colour and the hiding of ÿ-groups. They are read only at
// start, so OK stores them in pref.dat for the restart that follows.
class GlobalSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    GlobalSettingsDialog(MainContext &ctx, QWidget *mainWindow);

    // Shows the dialog modally; true when OK has stored the settings.
    static bool run(MainContext &ctx, QWidget *mainWindow);

    // OK: the values taken over and stored, and the dialog closed.
    void ok();

private:
    void loadValues();
    void fillFonts();

    MainContext &ctx_;
    QList<int> languageSlots_; // the slot behind each line of cboLanguage
    QComboBox *cboLanguage_ = nullptr;
    QComboBox *cboFont_ = nullptr;
    QLineEdit *txtFontSize_ = nullptr;
    QCheckBox *chckFontBold_ = nullptr;
    QCheckBox *chckGRPBack_ = nullptr;
    QCheckBox *chckHideManual_ = nullptr;
    std::array<QLabel *, 6> lblText_{};
    std::array<QPushButton *, 2> cmdMain_{};
};
