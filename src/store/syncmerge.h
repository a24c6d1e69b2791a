#pragma once

#include "store/indexmerge.h"
#include "store/ioerror.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct AppState;
class ErrorReports;
class NoteTable;
class Store;

// idx.dat read again after another program changed the store and, where a
// sync program left conflict copies of idx.dat or of entries' files, their
// merge (store/indexmerge.h) written as one NotebookChange: the entries made
// of entry copies appear, then idx.dat, then the copies leave, then this
// computer's base.
//
// The base is this computer's own, beside its program files
// (StorePaths::mergeBaseFile): the notebook as this computer last took it in
// from the store, at its first start on the store, when it showed a change
// another computer made, or when it merged copies of idx.dat. Its own changes
// (entries made of entry copies alone among them) are never the base: the
// other computer may not have them yet. Where a version to merge is the base
// itself (both computers merged and wrote different results, or one merged
// less), the merge goes without one: every name stays, and both computers
// come to the same result.
namespace SyncMerge {

// The names of idx.dat's conflict copies in the store folder, sorted.
QStringList indexCopies(const QString &storeFolder);

struct Outcome
{
    std::optional<IoError> unread; // idx.dat did not read; nothing changed
    bool merged = false;           // a merge was written (a warning, if any, was told)
    bool late = false;             // names a merge kept for their files left with them
    bool failed = false;           // a merge was cancelled, and told; the table is idx.dat's
    QString refused;               // a merge idx.dat cannot hold; nothing was written
    IndexMerge::Summary summary;   // the table against the one before
    QStringList otherTexts;        // "group/title" of the entries made of entry copies
    QStringList maskCopies;        // copies of masks, kept (store-relative paths)
    QStringList left;              // other copies not taken in (store-relative paths)
};

// Reads idx.dat again into `table` and, where the copy holds the store
// (`mayMerge`) and a sync program left copies, merges them. `orderGroups` puts
// the groups into the group list's order.
//
// `keptByFile` holds the names the last merge kept only for their files
// (IndexMerge::Result::keptByFile). Where there is nothing to merge, those
// whose file or folder has gone since leave the notebook, in a change of
// their own: the other computer merged after the sync program had deleted
// them, and comes to the same notebook. It is left holding what is still to
// watch, and after a merge what that merge kept for files.
Outcome takeIn(Store &store, NoteTable &table, ErrorReports &reports, const AppState &state,
               const std::function<void(NoteTable &)> &orderGroups, bool mayMerge,
               QStringList &keptByFile);

// Whether a name of `keptByFile` that the table still holds has lost its file or folder.
bool anyGone(const AppState &state, const NoteTable &table, const QStringList &keptByFile);

// At a start on a store this computer keeps no base for yet: the notebook
// just read becomes the base. One that cannot be written loses nothing (a
// merge goes without it), and is not told.
void keepFirstBase(const AppState &state, const NoteTable &table);

// What the user is told of a merge, briefly, with names as the lists show
// them; "" where nothing came in.
QString message(const Outcome &outcome, const QString &storeFolder);

} // namespace SyncMerge
