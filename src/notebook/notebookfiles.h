#pragma once

#include "store/ioerror.h"

#include <QString>

// The file steps of the group and entry commands. Every name is a stored name
// (after OutDOS) and `store` is the store folder, ending in "/".
//
// Each step reports its failure instead of passing over it, and none of them
// ever replaces a file or folder that is in the way: a rename or copy onto an
// existing name fails with EEXIST and leaves both as they were.
// A group folder that is a symbolic link is refused (ELOOP), so nothing is
// written, renamed or deleted through a link that may lead out of the store.
//
// Order of the steps in a command, so that a crash at any point leaves every
// entry's text reachable from idx.dat (the caller runs Save_idx in between):
//   move / trash:  copyEntryFile, then Save_idx with the entry in the target
//                  group, then deleteEntryFile in the source group;
//   Clear Trash:   Save_idx without the entry, then deleteEntryFile;
//   new group:     createGroupFolder, then the table row and Save_idx;
//   group rename:  renameGroupFolder, then the rows and Save_idx;
//   new title:     renameEntryFile, then the table and Save_idx;
//   group delete:  Save_idx without the group, then removeGroupFolder.
// When a step before Save_idx fails, the command reports it (CurrentFile and
// TargetFile from the result) and changes nothing else. A deletion after
// Save_idx that fails leaves only a file the notebook no longer names. When
// Save_idx itself fails, undo the step before it: delete the copy, remove the
// new folder, rename back.
namespace NotebookFiles {

struct Result
{
    bool ok = true;
    IoError error;
    QString currentFile; // the file or folder that failed; for a copy or rename, the source
    QString targetFile;  // the destination of a copy or rename
    explicit operator bool() const { return ok; }
};

// Creates the group's folder and its empty _mask.dat. A folder (or file) of
// that name that exists already is a failure: it may hold another group's
// files. If the mask cannot be written the new folder is removed again.
Result createGroupFolder(const QString &store, const QString &group);

// Renames the group's folder; the entry files keep their names.
Result renameGroupFolder(const QString &store, const QString &oldGroup, const QString &newGroup);

// Deletes _mask.dat, then the folder if nothing else is left in it. A folder
// that still holds files (an entry file not in the notebook, a file the user
// put there) is kept: `folderKept` is set and the result is no failure, since
// the group itself is gone and nothing the user must act on went wrong. A
// missing folder is no failure either.
struct GroupRemoval
{
    Result result;
    bool folderKept = false;
};
GroupRemoval removeGroupFolder(const QString &store, const QString &group);

// Renames an entry's text file within its group. An entry without a file
// (a separator line, a new entry not yet saved, a file deleted by hand) is no
// failure, unless a file of the new name is in the way: that file would
// become this entry's text.
Result renameEntryFile(const QString &store, const QString &group, const QString &oldTitle,
                       const QString &newTitle);

// Copies an entry's text file into another group's folder, bytes unchanged,
// synced to disk before it gets its name. The target must not exist. The
// source stays; deleting it is the separate last step of a move. Where the
// file system allows, the copy is a hard link: the same bytes under a second
// name, nothing rewritten.
Result copyEntryFile(const QString &store, const QString &fromGroup, const QString &toGroup,
                     const QString &title);
// The same for an entry that takes another title in the target group (a move
// made unique there): the source keeps its name until it is deleted, so a
// failed copy leaves nothing renamed.
Result copyEntryFile(const QString &store, const QString &fromGroup, const QString &fromTitle,
                     const QString &toGroup, const QString &toTitle);

// Deletes an entry's text file. A file that is not there is no failure.
Result deleteEntryFile(const QString &store, const QString &group, const QString &title);

} // namespace NotebookFiles
