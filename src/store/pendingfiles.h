#pragma once

#include "store/safewrite.h"

#include <QList>
#include <QString>

class NoteTable;

// The files of a command that makes many of them in steps, each step named
// by idx.dat only when it is done (an import). They are listed in the store
// folder before the first of them is made, and the list goes when the command
// ends. A crash between leaves the list: the next start removes each listed
// file that idx.dat does not name, and each listed new group folder that
// idx.dat does not name once nothing else is in it, so what a killed command
// made never lies in the store unseen, nor takes a name a later run needs.
namespace PendingFiles {

struct File
{
    QString group; // stored names
    QString title; // empty: the group's folder, made new
};

// The list, written whole and made lasting before the first file is made.
FileResult note(const QString &storeFolder, const QList<File> &files);
// Removes the list once the command has ended (its folder synced, so that no
// power cut brings it back after the command has said it is done).
FileResult clear(const QString &storeFolder);
// What a crash left, cleared by the copy that holds the store as it starts:
// `table` is what idx.dat names.
void clearAfterCrash(const QString &storeFolder, const NoteTable &table);

} // namespace PendingFiles
