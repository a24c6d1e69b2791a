#pragma once

#include <QRandomGenerator>
#include <QString>
#include <QStringList>

#include <functional>

class Application;
class MainWindow;
class QAction;
class QPlainTextEdit;
class TitleListView;
class QWidget;

// Main, the window made active and its start-up work waited for; false when
// the work did not end within `milliseconds`.
bool startProgram(Application &plimsa, int milliseconds);

// Random commands on the real main window, given the way a user gives them:
// keys typed through the program's own key-string service into the lists,
// the text boxes and the dialogs they open, menu items. Every command that
// writes is among them (a drop or an indent through the command it runs),
// with selections and group switches between.
// Texts typed are tokens unique to the seed, so that a text found later can
// be told from a torn one.
class SoakCommands
{
public:
    SoakCommands(Application &app, quint32 seed);

    struct Step
    {
        QString name;
        QStringList gone;  // texts the command may let go of, known before it runs
        QString typed;     // the text it is to store, if any
        QStringList added; // texts it stored, once it has run
    };
    // Chooses the next command and what it may let go of.
    Step plan();
    // Runs it to its end. False, with `why`, when the program did not come
    // back to viewing (a dialog still open, an edit not ended) in time.
    bool run(Step &step, QString *why);

    // A text as the checks compare it: CR LF as LF, no blanks or breaks at the ends.
    static QString normal(const QString &text);

    // A note for the journal from inside a command (the edit left open is
    // about to be cancelled).
    std::function<void(const QStringList &fields)> note;

private:
    struct Command;
    static const QList<Command> &commands();

    // Controls and menu items of the main window by their objectName.
    QAction *action(const QString &name) const;
    TitleListView *list(const QString &name) const;
    QPlainTextEdit *box(bool mask) const; // the mask's or the entry's text box

    bool activate();
    bool waitUntilIdle(int milliseconds);
    void type(const QString &keys);
    void answerNextDialog(const QString &keys);
    // Runs `act` on the next modal dialog once it is shown and active.
    void whenDialogShows(const std::function<void(QWidget *)> &act);
    QString token();
    QString entryText() const;
    QString maskText() const;
    QStringList trashTexts() const;

    Application &app_;
    MainWindow &window_;
    QRandomGenerator random_;
    quint32 seed_;
    int tokens_ = 0;
    int command_ = 0;  // the planned one, in commands()
    int argument_ = 0; // the planned choice of a line, a group or keys
};
