#pragma once

#include <QDialog>
#include <QStringList>

struct MainContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

// frmSetStart: what the next start does (window state, start group, edit
// lock, mask, word wrap) and where the store is. OK checks a new store path,
// stores the values in pref.dat and changes nothing in this run.
class StartSettingsDialog : public QDialog
{
    Q_OBJECT
public:
    // `groupLines`: the lines of groupList, offered as start groups.
    StartSettingsDialog(MainContext &ctx, const QStringList &groupLines, QWidget *mainWindow);

    static void run(MainContext &ctx, const QStringList &groupLines, QWidget *mainWindow);

    // OK: the values taken over and stored, and the dialog closed.
    void ok();

private:
    void loadValues(const QStringList &groupLines);

    MainContext &ctx_;
    QComboBox *windowState_ = nullptr;
    QComboBox *startGroup_ = nullptr;
    QCheckBox *locked_ = nullptr;
    QCheckBox *mask_ = nullptr;
    QCheckBox *wordWrap_ = nullptr;
    QLineEdit *storePath_ = nullptr;
    QLabel *storePathLabel_ = nullptr; // red and bold after a start on the preset store
};
