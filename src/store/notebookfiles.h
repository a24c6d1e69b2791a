#pragma once

#include "store/safewrite.h"

#include <QString>
#include <QStringList>

// The file steps of the group and entry commands. Every name is a stored name
// (after OutDOS) and `store` is the store folder, ending in "/". The commands
// run them through NotebookChange, which puts them in the order that keeps
// every entry's text reachable from idx.dat.
//
// None of them ever replaces a file or folder that is in the way: a create,
// link or copy onto an existing name fails with EEXIST and leaves both as they
// were. A group folder that is a symbolic link is refused (ELOOP), so nothing
// is written, linked or deleted through a link that may lead out of the store.
// Each step syncs the folders it changed before it returns: a step that has
// returned survives a power cut, so idx.dat written after it never names a
// file that a power cut could take away. The error names the path that failed.
namespace NotebookFiles {

// Creates the group's folder and its _mask.dat holding `mask` (empty for a
// new group). A folder (or file) of that name that exists already is a
// failure: it may hold another group's files. If the mask cannot be written
// the new folder is removed again.
FileResult createGroupFolder(const QString &store, const QString &group,
                             const QByteArray &mask = {});

// Deletes _mask.dat, then the folder if nothing else is left in it. A folder
// that still holds files (an entry file not in the notebook, a file the user
// put there) is kept, which is no failure: `folderKept` is set. A missing
// folder is no failure either.
FileResult removeGroupFolder(const QString &store, const QString &group,
                             bool *folderKept = nullptr);

// A new folder `newGroup` that holds every regular file of `oldGroup` under
// the same name: the group's entries and mask, and anything else the user put
// there. The old folder stays as it was until removeGroupFiles takes the
// names out of it, so idx.dat can name either folder at every moment. `names`
// receives the names given to the new folder (also on failure, for the undo).
FileResult copyGroupFolder(const QString &store, const QString &oldGroup, const QString &newGroup,
                           QStringList *names);

// Deletes `names` (file names, not titles) from the group's folder, then the
// folder if that left it empty. Missing names are no failure.
FileResult removeGroupFiles(const QString &store, const QString &group, const QStringList &names);

// A second name for an entry's text file: `toTitle` in `toGroup` (which may be
// the same group), the bytes unchanged. The source keeps its name; removing it
// is the separate last step of a move or rename. Where the file system allows,
// this is a hard link; otherwise a copy, complete on disk before it gets its
// name. A missing source fails with ENOENT, unless `missingIsNoFile`: then
// nothing is made and `made` stays false (an entry without a file, such as a
// separator line, keeps having none), but a file in the way still fails.
FileResult copyEntryFile(const QString &store, const QString &fromGroup, const QString &fromTitle,
                         const QString &toGroup, const QString &toTitle,
                         bool missingIsNoFile = false, bool *made = nullptr);

// An entry's text file made with `bytes`, complete on disk before it has its
// name; a file of that name in the way is a failure (EEXIST) and stays.
FileResult createEntryFile(const QString &store, const QString &group, const QString &title,
                           const QByteArray &bytes);

// Deletes an entry's text file. A file that is not there is no failure.
FileResult deleteEntryFile(const QString &store, const QString &group, const QString &title);

// Deletes a file of the store folder itself (a sync program's copy of
// idx.dat, once its content is in idx.dat). A file that is not there is no
// failure; a name that is not one plain file name is refused.
FileResult deleteStoreFile(const QString &store, const QString &fileName);

} // namespace NotebookFiles
