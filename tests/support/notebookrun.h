#pragma once

#include "support/runningapp.h"
#include "support/scratchprogram.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QListWidget;
class QPlainTextEdit;

// The real program on a scratch notebook, driven as a user drives it: clicks on
// list lines, keys into the focused control, and the bytes of the store's files.
class NotebookRun
{
public:
    // `index`: group names and "\"-prefixed titles, as idx.dat holds them.
    explicit NotebookRun(const QStringList &index);

    ScratchProgram folder;
    std::unique_ptr<RunningApp> run;

    // Sets pref.dat line `line` before start().
    void pref(int line, const QString &value) { folder.setPref(line, value); }
    // An entry file (stored names) with its date line and text lines, CR LF.
    void writeEntry(const QString &group, const QString &title, const QString &date,
                    const QStringList &lines);
    void writeMask(const QString &group, const QStringList &lines);
    // The bytes of a file below the store folder ("" when there is none).
    QByteArray store(const QString &relative) const;
    bool storeHas(const QString &relative) const;

    bool start();

    const MainWidgets &w() const { return run->w(); }
    MainState &state() const { return run->window()->mainState(); }
    QPlainTextEdit *text() const;
    QStringList entryLines() const;
    int entryRow() const;
    QString lastMessage() const;
    int messageCount() const { return int(run->messages.shown.size()); }

    void clickGroup(const QString &name);
    void clickEntry(int row);
    void doubleClickEntry(int row);
    void rightClick(QListWidget *list, int row);
    void doubleClickText(QPlainTextEdit *box);
    void key(QWidget *widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void type(QWidget *widget, const QString &text);
};

// Answers the next frmInput once it is shown: Enter on what the field holds
// after `typed` was typed (nothing typed: the proposal is taken), or Esc.
class InputAnswer
{
public:
    struct Seen
    {
        bool shown = false;
        QString caption;
        QString proposed;
        bool proposalSelected = false;
    };

    static std::shared_ptr<Seen> typeAndConfirm(const QString &typed);
    static std::shared_ptr<Seen> confirm() { return typeAndConfirm(QString()); }
    static std::shared_ptr<Seen> cancel();

private:
    static std::shared_ptr<Seen> watch(std::optional<QString> typed);
};

// The bytes of a file as the program writes it: lines in Windows-1252, each ended by CR LF.
QByteArray crlfLines(const QStringList &lines);
