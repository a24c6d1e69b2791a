#include "store/notebookchange.h"

#include "store/entrystore.h"
#include "store/errorreports.h"
#include "store/notebookfiles.h"
#include "store/store.h"
#include "store/storepaths.h"

#include <cerrno>
#include <utility>

using namespace Qt::StringLiterals;

NotebookChange::NotebookChange(Store &store, NoteTable &table, ErrorReports &reports,
                               std::function<void()> committed)
    : store_(store), table_(table), reports_(reports), tableCommitted_(std::move(committed))
{}

NotebookChange::~NotebookChange()
{
    if (!committed_ && !failure_)
        undoAll();
    if (failure_ && !lost_ && !changedOutside_) {
        reports_.ShowErrorCancel(*failure_);
    } else if (warning_ && !lost_) {
        reports_.ShowErrorContinue(*warning_);
    }
}

const QString &NotebookChange::storeFolder() const
{
    return store_.storeFolder();
}

NoteTable &NotebookChange::table()
{
    // Taken once, before the first edit: what a failed change puts back.
    if (!before_ && !committed_)
        before_.emplace(table_);
    return table_;
}

void NotebookChange::undoAll()
{
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it)
        (*it)();
    undo_.clear();
    if (before_)
        table_ = std::move(*before_);
    before_.reset();
}

bool NotebookChange::fail(const IoError &error)
{
    if (!failure_)
        failure_ = error;
    undoAll();
    return false;
}

bool NotebookChange::mayWrite()
{
    if (lost_)
        return false;
    if (store_.markerStillHeld())
        return true;
    // Another copy may own the store by now: not even the undo of this
    // change's first steps is written (their files are not in idx.dat). The
    // store has told app/, which says so; this change reports nothing more.
    lost_ = true;
    if (!committed_) {
        failure_ = IoError::custom(u"The store is no longer held by this copy"_s);
        undo_.clear();
        undoAll();
    }
    return false;
}

void NotebookChange::warn(const IoError &error)
{
    if (!warning_)
        warning_ = error;
}

bool NotebookChange::step(const FileResult &result, std::function<void()> undo)
{
    // A file idx.dat is about to name must be on disk for good: a step whose
    // folder could not be synced fails like any other.
    if (!result || result.unsynced) {
        if (result && undo)
            undo();
        return fail(result.error);
    }
    if (undo)
        undo_.push_back(std::move(undo));
    return true;
}

bool NotebookChange::createGroupFolder(const QString &group, const QByteArray &mask)
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    const QString store = storeFolder();
    return step(NotebookFiles::createGroupFolder(store, group, mask),
                [store, group] { (void)NotebookFiles::removeGroupFolder(store, group); });
}

bool NotebookChange::copyEntryFile(const QString &fromGroup, const QString &fromTitle,
                                   const QString &toGroup, const QString &toTitle,
                                   bool missingIsNoFile, bool *made)
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    const QString store = storeFolder();
    bool copiedFile = false;
    const FileResult copied = NotebookFiles::copyEntryFile(store, fromGroup, fromTitle, toGroup,
                                                           toTitle, missingIsNoFile, &copiedFile);
    if (made)
        *made = copiedFile;
    std::function<void()> undo;
    if (copiedFile)
        undo = [store, toGroup, toTitle] {
            (void)NotebookFiles::deleteEntryFile(store, toGroup, toTitle);
        };
    return step(copied, std::move(undo));
}

bool NotebookChange::copyGroupFolder(const QString &oldGroup, const QString &newGroup)
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    const QString store = storeFolder();
    QStringList names;
    const FileResult copied = NotebookFiles::copyGroupFolder(store, oldGroup, newGroup, &names);
    if (!step(copied, [store, newGroup, names] {
            (void)NotebookFiles::removeGroupFiles(store, newGroup, names);
        }))
        return false;
    copiedGroups_.insert(oldGroup, names);
    return true;
}

bool NotebookChange::writeNewEntry(const QString &group, const QString &title, const QString &date,
                                   const QString &text)
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    const QString store = storeFolder();
    const FileResult written = EntryStore::writeEntry(store, group, title, date, text);
    written_ = written.identity; // a new entry's file as the next save compares it
    return step(written, [store, group, title] {
        (void)NotebookFiles::deleteEntryFile(store, group, title);
    });
}

bool NotebookChange::writeNewEntryInBatch(const QString &group, const QString &title,
                                          const QString &date, const QByteArray &storedText)
{
    // The batch's files keep new names, which no other copy takes, until the
    // commit has asked again: the store is asked once a batch, not once a file.
    if (failure_ || committed_ || (!batch_ && !mayWrite()) || lost_)
        return false;
    if (!batch_) {
        batch_ = std::make_unique<FileBatch>(storeFolder(), FileBatch::Naming::AfterSync);
        undo_.push_back([this] { batch_->removeWritten(); });
    }
    return step(EntryStore::writeEntry(*batch_, storeFolder(), group, title, date, storedText),
                {});
}

bool NotebookChange::restoreEntryFile(const QString &group, const QString &title,
                                      const QByteArray &bytes)
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    const QString store = storeFolder();
    return step(NotebookFiles::createEntryFile(store, group, title, bytes), [store, group, title] {
        (void)NotebookFiles::deleteEntryFile(store, group, title);
    });
}

bool NotebookChange::keepEntryFile(const QString &group, const QString &title,
                                   std::optional<QByteArray> *bytes)
{
    if (failure_ || committed_)
        return false;
    // A name that would leave the group folder (a damaged index) has no file.
    if (!StorePaths::isSafeStoredName(group) || !StorePaths::isSafeStoredName(title)) {
        bytes->reset();
        return true;
    }
    const QString path = StorePaths::entryFile(storeFolder(), group, title);
    const ReadResult read = readWholeFile(path, storeFolder());
    if (read.ok) {
        *bytes = read.bytes;
        return true;
    }
    if (read.error.number == ENOENT) {
        bytes->reset();
        return true;
    }
    return fail(read.error);
}

bool NotebookChange::keepMask(const QString &group, QByteArray *bytes)
{
    if (failure_ || committed_)
        return false;
    const ReadResult read =
        readWholeFile(StorePaths::maskFile(storeFolder(), group), storeFolder());
    if (read.ok || read.error.number == ENOENT) {
        *bytes = read.bytes;
        return true;
    }
    return fail(read.error);
}

bool NotebookChange::indexStillOurs()
{
    // Never written over: the table no longer matches what the disk holds.
    // Where the window is told, it reads idx.dat again and says so; the
    // command is cancelled either way.
    if (store_.indexStillOurs(&changedOutside_))
        return true;
    return fail(IoError::custom(u"The file was changed by another program"_s)
                    .at(StorePaths::indexFile(storeFolder())));
}

bool NotebookChange::commit()
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    if (!indexStillOurs())
        return false;
    // The batch's files on disk under their names before idx.dat names them.
    if (batch_ && (!step(batch_->finish(), {}) || !mayWrite()))
        return false;
    const bool tableChanged = before_.has_value();
    if (!commitWith(store_.Save_idx()))
        return false;
    if (tableChanged && tableCommitted_)
        tableCommitted_();
    return true;
}

bool NotebookChange::commitAsIs()
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    return indexStillOurs() && commitWith(FileResult{});
}

bool NotebookChange::commitEntry(const QString &group, const QString &title, const QString &date,
                                 const QString &text)
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    const FileResult written = EntryStore::writeEntry(storeFolder(), group, title, date, text);
    written_ = written.identity;
    return commitWith(written);
}

bool NotebookChange::commitMask(const QString &group, const QString &text)
{
    if (failure_ || committed_ || !mayWrite())
        return false;
    return commitWith(EntryStore::writeMask(storeFolder(), group, text));
}

bool NotebookChange::commitWith(const FileResult &written)
{
    if (!written)
        return fail(written.error);
    committed_ = true;
    undo_.clear();
    before_.reset();
    if (written.unsynced)
        warn(written.error);
    return true;
}

void NotebookChange::afterCommit(const FileResult &result)
{
    if (!result || result.unsynced)
        warn(result.error);
}

void NotebookChange::removeEntryFile(const QString &group, const QString &title)
{
    if (committed_ && mayWrite())
        afterCommit(NotebookFiles::deleteEntryFile(storeFolder(), group, title));
}

void NotebookChange::removeGroupFolder(const QString &group)
{
    if (committed_ && mayWrite())
        afterCommit(NotebookFiles::removeGroupFolder(storeFolder(), group));
}

void NotebookChange::removeStoreFile(const QString &fileName)
{
    if (committed_ && mayWrite())
        afterCommit(NotebookFiles::deleteStoreFile(storeFolder(), fileName));
}

void NotebookChange::writeAfterCommit(const std::function<FileResult()> &write)
{
    if (committed_)
        afterCommit(write());
}

void NotebookChange::removeOldGroupFolder(const QString &oldGroup)
{
    if (committed_ && mayWrite())
        afterCommit(NotebookFiles::removeGroupFiles(storeFolder(), oldGroup,
                                                    copiedGroups_.value(oldGroup)));
}
