#pragma once

#include <QDialog>
#include <QStringList>
#include <array>

struct MainContext;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

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
    QComboBox *cboMode_ = nullptr;
    QComboBox *cboGroup_ = nullptr;
    QCheckBox *chckLock_ = nullptr;
    QCheckBox *chckViewMask_ = nullptr;
    QCheckBox *chckWrap_ = nullptr;
    QLineEdit *txtStorePath_ = nullptr;
    std::array<QLabel *, 6> lblText_{};
    std::array<QPushButton *, 2> cmdMain_{};
};
