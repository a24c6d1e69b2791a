#pragma once

#include "support/actions.h"

#include <QList>
#include <QString>
#include <QStringList>

// Every command that writes a file, as the fault matrix and the power-cut
// check run it: on a notebook (notebookline.h), with a line selected and, for
// the edits, text typed before the file calls are counted.
struct WritingCommand
{
    // What the command stores: `text` in the file `in` (a path within the
    // program folder; "*name": the file of that name wherever it lies), or in
    // some entry or mask file idx.dat names when `in` is empty. Once the
    // command has returned without a report it is kept.
    struct Saved
    {
        QString text;
        QString in = {};
    };

    QString name;
    QString notebook;
    QString select; // "group/entry"
    Action prepare; // done before the calls are counted
    Action action;  // the command
    Saved saved = {};
    QStringList mayGo = {}; // texts it lets go of on purpose ("text of t1" for "t1")
    // Once its change is saved it ends the program to start a new copy (the
    // global settings): an end is then no failure.
    bool endsProgram = false;
    // The title of the box the command ends with when it is done (the
    // import's report, "saved", the restart's notice); it is no report of a
    // failure, which has a title of its own.
    QString report = {};
    // It writes the recovery copy of an open edit, which is then part of
    // what it changes.
    bool recovery = false;
    // The title of a question the command asks before it writes (its action
    // answers it); it is no report either.
    QString question = {};
};

// One row per command that writes a file. A dialog's command opens it and
// answers it through AppFixture::whenShown.
QList<WritingCommand> writingCommands();
// The row of that name.
WritingCommand writingCommand(const QString &name);
// A test's data: a row per command and variant, named by the command and the
// variant's words, with the columns "row" (in writingCommands()) and
// "variant" (in `variants`).
void addCommandRows(const QStringList &variants);

// The program started (quickly: these tests start it thousands of times) on
// the command's notebook or, `again`, on what its folder holds now; then the
// line selected and the command prepared, the messages of the start
// forgotten. False when a step failed.
bool startFor(AppFixture &nb, const WritingCommand &command, bool again = false);
