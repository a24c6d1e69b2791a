#pragma once

#include <QDialog>

struct AppState;
class Messages;
class QLineEdit;
class QPushButton;
class Words;

// frmInput: asks for one line of text. The caller puts the caption into
// DialogPrompt and a proposed answer into InputAnswer; after the dialog has
// closed InputAnswer holds the text (trailing blanks removed) or "CANCEL".
class FrmInput : public QDialog
{
    Q_OBJECT
public:
    FrmInput(AppState &state, const Words &words, Messages &messages, QWidget *mainWindow);

    // Shows the dialog modally and returns when it has closed.
    static void run(AppState &state, const Words &words, Messages &messages, QWidget *mainWindow);

    void cmdMain_Click(int index);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    AppState &state_;
    const Words &words_;
    Messages &messages_;
    // Individual mode (the prompt names "individual"): Esc does not cancel.
    bool individualMode_ = false;

    QLineEdit *txtInput;
    QPushButton *cmdMain0;
    QPushButton *cmdMain1;
};
