#pragma once

#include "store/ioerror.h"
#include "store/notetable.h"
#include "store/safewrite.h"

#include <QHash>

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class ErrorReports;
class Store;

// One command's change of the notebook: its file steps, its table edits and
// idx.dat, in the one order that keeps every entry's text reachable from
// idx.dat at every instant, a crash at any point included:
//
//   1. files that appear: new folders, new entry files, second names of
//      entry files that move or get a new title (undoable);
//   2. the commit: idx.dat written from the table (or, for a command that
//      changes one file alone, that file);
//   3. files that leave: old names, removed folders (never undone).
//
// A step of 1 or the commit that fails undoes every step done so far in
// reverse, puts the table back exactly as it was, and later steps do nothing.
// A failure after the commit is a warning: the change is made and stays.
// The command gives one report, when the change ends: the failure (the
// command was cancelled) or the first warning. Every write is preceded by the
// check that this copy still holds the store; once it does not, nothing more
// is written and the store's lost-store callback is the report.
class NotebookChange
{
public:
    // A failure before the commit wrote nothing and is told as a cancelled
    // command, also where an edit's save leaves the edit open for another try.
    // `committed` runs once idx.dat holds the changed table (the window's
    // lists follow it).
    NotebookChange(Store &store, NoteTable &table, ErrorReports &reports,
                   std::function<void()> committed = {});
    ~NotebookChange();
    NotebookChange(const NotebookChange &) = delete;
    NotebookChange &operator=(const NotebookChange &) = delete;

    // The table to edit; it is put back if the change fails.
    NoteTable &table();

    // Files that appear (1 above). Each returns false once the change has failed.
    // A group's folder with its mask (empty for a new group).
    bool createGroupFolder(const QString &group, const QByteArray &mask = {});
    // A second name for an entry's file (see NotebookFiles::copyEntryFile);
    // the old name is removed after the commit by removeEntryFile.
    bool copyEntryFile(const QString &fromGroup, const QString &fromTitle, const QString &toGroup,
                       const QString &toTitle, bool missingIsNoFile = false, bool *made = nullptr);
    // The group's files under a new folder; the old folder goes after the commit.
    bool copyGroupFolder(const QString &oldGroup, const QString &newGroup);
    // A new entry's text file; it must not exist yet in the notebook.
    bool writeNewEntry(const QString &group, const QString &title, const QString &date,
                       const QString &text);
    // The same for a change that makes many: the files are written without
    // an fsync each and made lasting together, by one sync, as the commit
    // begins (FileBatch). The text is in the code page, lines ended by CR LF.
    // Whether the store is still held is asked before the first file and at
    // the commit, before any file takes its name.
    bool writeNewEntryInBatch(const QString &group, const QString &title, const QString &date,
                              const QByteArray &storedText);

    // An entry's file that comes back with the bytes it held when it left
    // (an undo); a file in the way is never replaced.
    bool restoreEntryFile(const QString &group, const QString &title, const QByteArray &bytes);

    // What a file that leaves with this change holds, read before anything is
    // written, so that an undo can bring it back: the entry's bytes (nothing
    // where it has no file), a group's mask. A failed read fails the change:
    // nothing goes that could not be kept.
    bool keepEntryFile(const QString &group, const QString &title,
                       std::optional<QByteArray> *bytes);
    bool keepMask(const QString &group, QByteArray *bytes);

    // The commit (2 above): idx.dat from the table.
    bool commit();
    // The commit of a change of one file alone: an entry's text, a group's mask.
    bool commitEntry(const QString &group, const QString &title, const QString &date,
                     const QString &text);
    bool commitMask(const QString &group, const QString &text);
    // The commit of a change that leaves idx.dat as it is (a merge that
    // brings nothing idx.dat lacks): idx.dat is checked to be the file this
    // copy last read, and the steps after the commit may run.
    bool commitAsIs();

    // Files that leave (3 above). Only after a commit; a failure is a warning.
    void removeEntryFile(const QString &group, const QString &title);
    // A removed group's mask, then its folder unless other files are left in it.
    void removeGroupFolder(const QString &group);
    // The folder copyGroupFolder copied from: the names it copied, then the
    // folder unless other files came in meanwhile.
    void removeOldGroupFolder(const QString &oldGroup);
    // A file of the store folder itself (NotebookFiles::deleteStoreFile).
    void removeStoreFile(const QString &fileName);
    // A write of this computer's own, outside the store, that follows the
    // change once it is made; a failure is a warning, as for the steps above.
    void writeAfterCommit(const std::function<FileResult()> &write);

    bool failed() const { return failure_.has_value(); }
    // The entry file commitEntry or writeNewEntry wrote, as it lies on disk.
    const FileIdentity &writtenEntry() const { return written_; }
    bool committed() const { return committed_; }

private:
    // Before each write: false, and the change failed, once this copy no
    // longer holds the store (Store::markerStillHeld).
    bool mayWrite();
    bool step(const FileResult &result, std::function<void()> undo);
    // idx.dat is still the file this copy last read or wrote; otherwise the change fails.
    bool indexStillOurs();
    // The commit's write: a failure fails the change, a doubt is a warning.
    bool commitWith(const FileResult &written);
    void afterCommit(const FileResult &result);
    bool fail(const IoError &error);
    void warn(const IoError &error);
    void undoAll();
    const QString &storeFolder() const;

    Store &store_;
    NoteTable &table_;
    ErrorReports &reports_;
    std::optional<NoteTable> before_;
    std::vector<std::function<void()>> undo_;
    QHash<QString, QStringList> copiedGroups_;
    std::unique_ptr<FileBatch> batch_;
    std::optional<IoError> failure_;
    std::optional<IoError> warning_;
    bool committed_ = false;
    bool lost_ = false;
    // idx.dat was changed outside, and the window was told (it reports).
    bool changedOutside_ = false;
    FileIdentity written_;
    std::function<void()> tableCommitted_;
};
