#pragma once

#include <QDialog>
#include <array>

struct MainContext;
class QComboBox;
class QGridLayout;
class QLineEdit;
class QPushButton;

// frmIndiv: assigns the four individual buttons. Each row is a modifier, a
// key and further keys; OK stores all four rows in pref.dat, Cancel nothing,
// New sets every row to "NORMAL", "free" and no further keys (kept only by OK).
class IndividualButtonsDialog : public QDialog
{
    Q_OBJECT
public:
    IndividualButtonsDialog(MainContext &ctx, QWidget *mainWindow);

    // Shows the dialog modally and returns when it has closed.
    static void run(MainContext &ctx, QWidget *mainWindow);

    // OK: the rows stored and the dialog closed.
    void ok();
    // New: every row back to free.
    void clearRows();

private:
    void buildRows(QGridLayout *grid);
    void loadValues();
    bool storeRows();

    MainContext &ctx_;
    std::array<QComboBox *, 4> cbo0_{};
    std::array<QComboBox *, 4> cbo1_{};
    std::array<QLineEdit *, 4> txt_{};
    std::array<QPushButton *, 3> cmdMain_{};
};
