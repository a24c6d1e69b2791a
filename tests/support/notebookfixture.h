#pragma once

#include "support/runningapp.h"
#include "support/scratchprogram.h"

#include <QList>
#include <QSet>
#include <QStringList>

class QListWidget;

// A notebook laid out in a scratch program folder, the real window started on
// it, and the ways a test drives and reads it: the lists, idx.dat, the group
// folders, and answers to the input and choice dialogs.
class NotebookFixture
{
public:
    // `groups`: each list is a shown group name followed by its shown titles.
    // Every title gets a text file "date of <title>" / "text of <title>",
    // except those in `missing`.
    explicit NotebookFixture(const QList<QStringList> &groups,
                             const QSet<QString> &missing = {});

    // pref.dat line `line` before the start.
    void setPref(int line, const QString &value) { folder.setPref(line, value); }
    bool start();

    ScratchProgram folder;
    std::unique_ptr<RunningApp> run;
    const MainWidgets &w() const { return run->w(); }
    RecordingMessages &messages() { return run->messages; }

    // Selects by code, as a click does.
    void selectGroup(const QString &shown);
    void selectEntry(const QString &shown);

    static QStringList lines(const QListWidget *list);
    QStringList groupLines() const;
    QStringList entryLines() const;
    QString selectedGroup() const;
    QString selectedEntry() const;

    // idx.dat as written: the lines after the header.
    QStringList index() const;
    // The file names in a group's folder (shown name), sorted; empty when
    // the folder does not exist.
    QStringList files(const QString &group) const;
    bool folderExists(const QString &group) const;
    QByteArray entryBytes(const QString &group, const QString &title) const;
    static QByteArray expectedBytes(const QString &title);

    // Answers the next modal dialog once it shows: the input dialog with a
    // text, the choice dialog with a group (both by OK), or either by Cancel.
    // dialogsAnswered counts them.
    void answerInput(const QString &text);
    void answerChoice(const QString &group);
    void cancelDialog();
    int dialogsAnswered = 0;
    QString lastDialogTitle;

private:
    void whenModal(std::function<void(QWidget *dialog)> act);
};
