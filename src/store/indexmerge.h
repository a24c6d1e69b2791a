#pragma once

#include "store/notetable.h"

#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The merge of the versions of idx.dat that a sync program kept side by side
// when two computers changed the notebook while apart, decided from data
// alone: the versions, the notebook this computer last took in from the store
// (the base), and what the group folders hold. Names are stored names.
//
// What exists is told by the files, since a sync program carries every
// create, rename, move and delete of a file: an entry whose file is there
// stays; a group whose folder is there stays. A name without its file (a
// separator line, the placeholder of a new entry, or a file still on its way)
// stays where no version took it away from the base: added on one side, or
// there in every version. Without a base every name stays.
// Files that no version names are taken in at the end of their group, so that
// nothing in the store is left unnamed.
//
// The order: within a group, each side's moves from the base are kept; where
// both moved the same entry, the first version (the one the sync program kept
// as idx.dat) decides its place. A line new on one side follows the line it
// follows there. Groups keep the group list's order.
//
// The same input gives the same table, whichever computer merges it, and a
// merge of a merge with one of its inputs gives the merge again.
namespace IndexMerge {

// The store's group folders as they are on disk.
struct Disk
{
    struct Folder
    {
        QSet<QString> titles; // entry files, as titles; conflict copies left out
        bool mask = false;    // _mask.dat is there
    };
    QMap<QString, Folder> folders; // by folder name
};

// A sync program's copy of an entry's file, left where both computers changed it.
struct EntryCopy
{
    QString group;
    QString copyTitle; // the copy's file name without ".txt"
    QString title;     // the entry it is a copy of
    QString date;      // the day in the copy's name, "2026-12-07"
    // Titles of the group whose files hold the copy's bytes already: an
    // earlier merge (here, or on the other computer) took it in.
    QStringList sameBytes = {};
};

struct Input
{
    // idx.dat first, then its conflict copies, in the order of their names.
    QList<NoteTable> versions;
    // The notebook this computer last took in from the store; none where it
    // cannot be trusted to come before every version.
    std::optional<NoteTable> base;
    Disk disk;
    QList<EntryCopy> entryCopies; // in the order of their names
    // Puts the groups into the group list's order.
    std::function<void(NoteTable &)> orderGroups;
};

// An entry made of an entry copy: the copy's file under `title`, unless a
// file of that name holds its bytes already (`fileThere`).
struct NewEntry
{
    QString group;
    QString copyTitle;
    QString title;
    bool fileThere = false;
};

struct Result
{
    NoteTable table;
    QList<NewEntry> fromCopies;  // their copies leave once idx.dat names them
    QList<EntryCopy> copiesLeft; // no entry or group to stand beside, or no room
    // "group/title" and "group/": kept only because the file or folder was
    // there, though a version had taken the name away (or, without a base,
    // lacks it). A sync program that carries the deletion late (it retries
    // a file it found changed) takes it away after all: see SyncMerge.
    QStringList keptByFile;
    // Why the merge cannot be held (more groups or entries than idx.dat
    // holds); nothing is to be written then.
    QString refused;
};

Result merge(const Input &in);

// The title of an entry's other text: "a (other computer 2026-12-07)". Not
// translated: both computers must give the same title whatever language they show.
QString otherTextTitle(const QString &title, const QString &date);

// What a merge changed in a notebook, as "group" and "group/title", each list
// in the order of the table after.
struct Summary
{
    QStringList groupsAdded, groupsGone;
    QStringList entriesAdded, entriesGone;
    bool isEmpty() const
    {
        return groupsAdded.isEmpty() && groupsGone.isEmpty() && entriesAdded.isEmpty() &&
               entriesGone.isEmpty();
    }
};
Summary compare(const NoteTable &before, const NoteTable &after);

} // namespace IndexMerge
