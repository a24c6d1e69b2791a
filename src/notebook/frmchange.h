#pragma once

#include <QDialog>
#include <QStringList>

struct AppState;
class QLabel;
class QListWidget;
class QPushButton;
class Words;

// frmChange: picks one group out of the group list, the one selected there left
// out. The caption comes from DialogPrompt; afterwards ChosenGroupIndex is the
// line of the group list whose text was chosen, or -1.
class FrmChange : public QDialog
{
    Q_OBJECT
public:
    FrmChange(AppState &state, const Words &words, const QStringList &groupLines, int selectedLine,
              QWidget *mainWindow);

    // Shows the dialog modally and returns when it has closed.
    static void run(AppState &state, const Words &words, const QStringList &groupLines,
                    int selectedLine, QWidget *mainWindow);

    void cmdMain_Click(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    AppState &state_;
    const QStringList groupLines_;

    QLabel *lbl0;
    QListWidget *lstList;
    QPushButton *cmdMain0;
    QPushButton *cmdMain1;
};
