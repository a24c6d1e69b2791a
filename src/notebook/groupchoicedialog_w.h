#pragma once

#include <QDialog>
#include <QStringList>

#include <optional>

class QLabel;
class QListWidget;
class Words;

// frmChange: picks one group out of the group list's lines, the selected one
// left out. The answer is read after exec(): the group list line chosen, or
// nothing after Cancel, the close box or an OK with no line selected.
class GroupChoiceDialog : public QDialog
{
    Q_OBJECT
public:
    GroupChoiceDialog(const QString &prompt, const Words &words, const QStringList &groupLines,
                      int selectedLine, QWidget *mainWindow);

    // Shows the dialog modally and returns its answer.
    static std::optional<int> choose(const QString &prompt, const Words &words,
                                     const QStringList &groupLines, int selectedLine,
                                     QWidget *mainWindow);

    std::optional<int> chosenLine() const { return chosen_; }

    void confirm();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<int> chosen_;

    QLabel *hint_ = nullptr;
    QListWidget *groups_ = nullptr;
};
