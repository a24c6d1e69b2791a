#pragma once

#include "store/ioerror.h"
#include "store/outsidechange.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

// The writer of every file whose content the program makes (idx.dat, pref.dat,
// Language.dat, entries, masks, the entry list export, an export's files). The
// copies a rename or move makes (notebookfiles.cpp) and the marker
// (storemarker.cpp) are written where they are made. A file is replaced only once
// its new content is completely on disk: new file in the same folder, every byte
// checked, fsync, rename over the old file, fsync of the folder. On any failure
// the new file is removed and the old one stays as it was.
//
// The rename is the commit point. A failure before it leaves the old file and
// is a failed write. A failure after it (the folder sync) is not: the new
// content is in place and stays, but the rename may not survive a power cut;
// `unsynced` says so and `error` names the folder, for a warning.
struct [[nodiscard]] FileResult
{
    bool ok = true;
    IoError error;
    bool unsynced = false;
    // The file as written, for the check that nobody else wrote it since.
    FileIdentity identity;
    explicit operator bool() const { return ok; }
    static FileResult failed(const IoError &error) { return FileResult{false, error, false, {}}; }
};

// `root` is the folder the file must stay within (the store folder, or the
// program folder for pref.dat and Language.dat). A target that is a symbolic
// link, not a regular file, or whose folder resolves outside `root` is refused.
FileResult writeWholeFile(const QString &path, const QByteArray &bytes, const QString &root);

// Many files of one command written whole and made lasting together: where
// the file system's sync is known to reach the disk (local file systems), each
// file is written without an fsync of its own and finish() makes them all
// lasting with one sync of the file system, which costs about what one fsync
// costs. Elsewhere (network shares, FUSE) each file is written by
// writeWholeFile as it comes. Every path must lie within `root`, as for
// writeWholeFile.
class FileBatch
{
public:
    enum class Naming {
        // Each file keeps a new name until finish() has its bytes on disk;
        // only then does it take its own name, and its folder is synced. A
        // crash never leaves a torn file under its name (new entry files,
        // which idx.dat names after the commit). The files are new: a file
        // that is there under the name is never replaced, the write or
        // finish() fails.
        AfterSync,
        // Each file takes its name as soon as it is written whole (a file in
        // the way is replaced only then); finish() makes them all lasting. For
        // an export, whose folder is not done before finish() has returned.
        AtOnce,
    };
    FileBatch(const QString &root, Naming naming);
    ~FileBatch();
    FileBatch(const FileBatch &) = delete;
    FileBatch &operator=(const FileBatch &) = delete;

    // A failed write leaves no new file and no half file behind.
    FileResult write(const QString &path, const QByteArray &bytes);
    // Every file written so far on disk under its name. A failure before the
    // files have their names is a failed write; a failed folder sync after it
    // is `unsynced`, as for writeWholeFile.
    FileResult finish();
    // Removes the files this batch has made so far, under either name (the
    // undo of a change that failed before its commit). A batch that is
    // neither finished nor undone leaves its new files to the clean-up after
    // a crash.
    void removeWritten();

private:
    struct Folder;
    struct Pending
    {
        Folder *folder;
        QByteArray newName, name;
        QString path;
    };
    Folder *folderOf(const QString &path, QByteArray &name, int &err);

    QString root_;
    Naming naming_;
    QHash<QByteArray, std::shared_ptr<Folder>> folders_;
    Folder *last_ = nullptr; // the folder of the last file, and its path
    QString lastPath_;
    QList<Pending> pending_; // AfterSync: written under a new name, not yet named
    QList<Pending> written_; // under their names
};

// Removes new files left over by a crash, in `folder` and (when `recursive`)
// its immediate subfolders. Called by the copy that holds the store.
void removeLeftoverNewFiles(const QString &folder, bool recursive);

// A line that changes whenever a file is made, removed or renamed in `folder`
// or one of its immediate subfolders: their identities and change times,
// from one listing of `folder`'s names and a stat of each subfolder. Kept at
// a clean end, the same line at the next start says nothing could have left
// a new file since. `newest` receives the latest change time (ns since the
// epoch). Empty when the folder cannot be read.
QByteArray leftoverStamp(const QString &folder, qint64 *newest = nullptr);

// Whether a new file of this run may be left behind: its removal after a
// failed write failed too.
bool newFilesMayBeLeft();

// Writes every byte to `fd`; 0 or the errno. A file-size limit gives EFBIG
// instead of the signal that would end the program.
int writeAllBytes(int fd, const QByteArray &bytes);

// Reads a whole regular file (never through a symbolic link). The error names the path.
struct [[nodiscard]] ReadResult
{
    bool ok = false;
    QByteArray bytes;
    IoError error;
    // The file opened, as it was before its bytes were read.
    FileIdentity identity;
};
ReadResult readWholeFile(const QString &path);
// The same for the file `name` in the open folder `dirFd` (`path` names it
// in an error); a file larger than `maxBytes` is not read (EFBIG).
ReadResult readWholeFileAt(int dirFd, const QByteArray &name, const QString &path,
                           qint64 maxBytes);
// The same for a file that must lie within `root`, as writeWholeFile requires.
ReadResult readWholeFile(const QString &path, const QString &root);
// The same a part at a time, for a file too large to hold whole beside what
// is made of it: `part` is given the file's bytes in order, at most
// `partBytes` at a time, and the result's `bytes` stay empty. A read that
// fails after some parts were given is a failed read all the same.
ReadResult readFileInParts(const QString &path, const QString &root, qsizetype partBytes,
                           const std::function<void(QByteArrayView)> &part);

// The same for many files within `root`: each folder's real place is checked
// and the folder opened once, at its first file (an export reads a whole
// store, a thousand files a folder).
class FileReads
{
public:
    explicit FileReads(const QString &root);
    ~FileReads();
    FileReads(const FileReads &) = delete;
    FileReads &operator=(const FileReads &) = delete;

    ReadResult read(const QString &path);

private:
    struct Folder;
    QString root_;
    QHash<QByteArray, std::shared_ptr<Folder>> folders_;
};
