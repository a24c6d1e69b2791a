#pragma once

#include <QDialog>
#include <array>

struct MainContext;
class QComboBox;
class QDialogButtonBox;
class QFormLayout;
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
    void buildRows(QFormLayout *form);
    void loadValues();
    bool storeRows();

    MainContext &ctx_;
    std::array<QComboBox *, 4> modifiers_{};
    std::array<QComboBox *, 4> keys_{};
    std::array<QLineEdit *, 4> furtherKeys_{};
    QDialogButtonBox *buttons_ = nullptr;
    QPushButton *newButton_ = nullptr;
};
