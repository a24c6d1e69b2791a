#pragma once

#include <QDialog>
#include <QList>

struct MainContext;
class QCheckBox;
class QComboBox;
class QLineEdit;

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
    QList<int> languageSlots_; // the slot behind each line of languages_
    QComboBox *languages_ = nullptr;
    QComboBox *fonts_ = nullptr;
    QLineEdit *fontSize_ = nullptr;
    QCheckBox *bold_ = nullptr;
    QCheckBox *whiteGroupList_ = nullptr;
    QCheckBox *hideYGroups_ = nullptr;
};
