#pragma once

#include "support/notebookrun.h"

#include <QList>
#include <QSet>
#include <QStringList>

// A notebook given by shown names, every entry with its text file, and the
// ways the organizing tests drive and read it: lines by their text, idx.dat,
// the group folders, and answers to the input and choice dialogs.
class NotebookFixture : public NotebookRun
{
public:
    // `groups`: each list is a shown group name followed by its shown titles.
    // Every title gets a text file "date of <title>" / "text of <title>",
    // except those in `missing`.
    explicit NotebookFixture(const QList<QStringList> &groups, const QSet<QString> &missing = {});

    RecordingMessages &messages() { return run->messages; }

    // Selects by code, as a click does.
    void selectGroup(const QString &shown);
    void selectEntry(const QString &shown);

    QStringList groupLines() const;
    QString selectedGroup() const;
    QString selectedEntry() const;

    // idx.dat as written: the lines after the header.
    QStringList index() const;
    // The file names in a group's folder (shown name), sorted; empty when
    // the folder does not exist.
    QStringList files(const QString &group) const;
    QByteArray entryBytes(const QString &group, const QString &title) const;
    static QByteArray expectedBytes(const QString &title);
    // A group holding `count` titles "<prefix>0", "<prefix>1", ...
    static QStringList group(const QString &name, const QString &prefix, int count);
    // From now on every write of idx.dat fails: a folder stands where the
    // writer would put the new file's name.
    void breakIndexWrites();

    // Answers the next modal dialog once it shows: the input dialog with a
    // text, the choice dialog with a group, both by OK. dialogsAnswered
    // counts them.
    void answerInput(const QString &text);
    void answerChoice(const QString &group);
    int dialogsAnswered = 0;
    QString lastDialogTitle;

private:
    static QStringList indexOf(const QList<QStringList> &groups);
    void whenModal(std::function<void(QWidget *dialog)> act);
};
