#pragma once

#include <QDialog>

#include <optional>

class Messages;
class QDialogButtonBox;
class QLineEdit;
class Words;

// frmInput: asks for one line of text under a caption, with a proposed answer.
// The answer is read after exec(): the typed text without its trailing blanks
// after OK, nothing after Cancel. The dialog validates nothing; the caller
// checks the answer.
class InputDialog : public QDialog
{
    Q_OBJECT
public:
    InputDialog(const QString &prompt, const QString &proposed, const Words &words,
                Messages &messages, QWidget *mainWindow);

    // Shows the dialog modally and returns its answer.
    static std::optional<QString> ask(const QString &prompt, const QString &proposed,
                                      const Words &words, Messages &messages, QWidget *mainWindow);

    // The answer once the dialog has closed. Closed by its close box, it
    // answers what was proposed, as if nothing had been typed.
    std::optional<QString> answer() const { return answer_; }

    void confirm();
    void cancel();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    const Words &words_;
    Messages &messages_;
    std::optional<QString> answer_;
    // Individual mode (the prompt names "individual"): Esc does not cancel.
    bool individualMode_ = false;

    QLineEdit *field_ = nullptr;
    QDialogButtonBox *buttons_ = nullptr;
};
