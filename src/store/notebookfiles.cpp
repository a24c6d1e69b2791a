#include "store/notebookfiles.h"

#include "platform/fd.h"
#include "platform/syscalls.h"
#include "store/storepaths.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace NotebookFiles {
namespace {

FileResult failure(int err, const QString &path, const QString &target = QString())
{
    return FileResult::failed(IoError::fromErrno(err, path, target));
}

const char kMaskName[] = "_mask.dat";

int openStore(const QString &store)
{
    return Sys::open(QFile::encodeName(store).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// The store folder itself may be reached through links the user set up; a
// group folder inside it never is.
int openGroup(int storeFd, const QString &group)
{
    const QByteArray name = QFile::encodeName(group);
    const int fd =
        Sys::openat(storeFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // A link is reported as the writer reports it, not as "not a directory".
    struct stat st;
    if (fd < 0 && errno == ENOTDIR &&
        ::fstatat(storeFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        errno = ELOOP;
    return fd;
}

// File systems without hard links (FAT, many network shares) answer a link
// with one of these; the bytes are copied there instead.
bool noHardLinks(int err)
{
    return err == EPERM || err == EXDEV || err == EINVAL || err == ENOSYS || err == EOPNOTSUPP ||
           err == EMLINK;
}

int writeAndSync(int fd, const QByteArray &bytes)
{
    if (const int err = writeAllBytes(fd, bytes))
        return err;
    return Sys::fsync(fd) == 0 ? 0 : errno;
}

int readAll(int fd, QByteArray *bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = Sys::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return 0;
        bytes->append(buffer, n);
    }
}

// The copy gets its name only once all of it is on disk, so a crash never
// leaves a short file under an entry's name: an unnamed file is written and
// then linked in, which refuses an existing name. File systems without
// unnamed files get the name at once, created exclusively.
int createNoReplace(int dirFd, const QByteArray &name, const QByteArray &bytes)
{
    Fd unnamed(Sys::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (unnamed) {
        if (const int err = writeAndSync(unnamed.get(), bytes))
            return err;
        char procPath[64];
        std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", unnamed.get());
        if (Sys::linkat(AT_FDCWD, procPath, dirFd, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno == EEXIST)
            return EEXIST;
    }
    Fd file(Sys::openat(dirFd, name.constData(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file)
        return errno;
    int err = writeAndSync(file.get(), bytes);
    if (Sys::close(file.release()) != 0 && !err && errno != EINTR)
        err = errno;
    if (err)
        Sys::unlinkat(dirFd, name.constData(), 0);
    return err;
}

// Whether `toName` is a second name for `fromName` that an earlier command
// made and then did not get to name in idx.dat (the program was killed, the
// power went): the same file, or a complete copy of the same bytes. Taking it
// as this command's copy loses nothing, where refusing it would refuse the
// command for as long as it lies there.
bool isLeftoverCopy(int fromDir, const QByteArray &fromName, int toDir, const QByteArray &toName)
{
    struct stat from, to;
    if (::fstatat(fromDir, fromName.constData(), &from, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::fstatat(toDir, toName.constData(), &to, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(from.st_mode) || !S_ISREG(to.st_mode))
        return false;
    if (from.st_dev == to.st_dev && from.st_ino == to.st_ino)
        return true;
    if (from.st_size != to.st_size)
        return false;
    const int flags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;
    const Fd a(Sys::openat(fromDir, fromName.constData(), flags));
    const Fd b(Sys::openat(toDir, toName.constData(), flags));
    QByteArray aBytes, bBytes;
    return a && b && readAll(a.get(), &aBytes) == 0 && readAll(b.get(), &bBytes) == 0 &&
           aBytes == bBytes;
}

// A second name in `toDir` for the regular file `fromName` of `fromDir`: a
// link, or a complete copy. The file opened is the one linked, not whatever
// its name leads to by then. O_NONBLOCK: a fifo in place of the file must not
// hang the command; it is refused as not a regular file.
int secondName(int fromDir, const QByteArray &fromName, int toDir, const QByteArray &toName)
{
    const Fd source(
        Sys::openat(fromDir, fromName.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!source)
        return errno;
    struct stat st;
    if (::fstat(source.get(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return EINVAL;
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", source.get());
    if (Sys::linkat(AT_FDCWD, procPath, toDir, toName.constData(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    // Without /proc the name is linked instead (it was just opened and checked).
    if (errno == ENOENT &&
        Sys::linkat(fromDir, fromName.constData(), toDir, toName.constData(), 0) == 0)
        return 0;
    // A second name an earlier run of this command left is taken as this
    // command's; anything else in the way stays.
    const int err = errno;
    if (err == EEXIST)
        return isLeftoverCopy(fromDir, fromName, toDir, toName) ? 0 : EEXIST;
    if (!noHardLinks(err))
        return err;
    QByteArray bytes;
    if (const int readError = readAll(source.get(), &bytes))
        return readError;
    const int copyError = createNoReplace(toDir, toName, bytes);
    return copyError == EEXIST && isLeftoverCopy(fromDir, fromName, toDir, toName) ? 0 : copyError;
}

// 0 or the errno; EINVAL means the file system cannot sync folders at all.
int syncFolder(int dirFd)
{
    return Sys::syncFolder(dirFd) == 0 || errno == EINVAL ? 0 : errno;
}

// The step is done; a failed sync of its folder leaves its durability open.
FileResult done(int syncError, const QString &folder)
{
    if (!syncError)
        return {};
    return FileResult{true, IoError::fromErrno(syncError, folder), true, {}};
}

bool safe(std::initializer_list<const QString *> names)
{
    for (const QString *name : names) {
        if (!StorePaths::isSafeStoredName(*name))
            return false;
    }
    return true;
}

// The regular files of an open folder, by name.
QList<QByteArray> regularFiles(int dirFd, int *err)
{
    QList<QByteArray> names;
    const int own = ::dup(dirFd);
    DIR *dir = own < 0 ? nullptr : ::fdopendir(own);
    if (!dir) {
        *err = errno;
        if (own >= 0)
            ::close(own);
        return names;
    }
    ::rewinddir(dir);
    while (const dirent *entry = ::readdir(dir)) {
        struct stat st;
        if (entry->d_type == DT_REG ||
            (entry->d_type == DT_UNKNOWN &&
             ::fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)))
            names.append(QByteArray(entry->d_name));
    }
    ::closedir(dir);
    *err = 0;
    return names;
}

// The folder of entry `title` of `group`, opened within the store: 0, or
// the errno, with the path that failed in `at` (the entry's file, or the
// store folder itself).
int openEntryFolder(const QString &store, const QString &group, const QString &title, Fd &groupFd,
                    QString *at)
{
    *at = StorePaths::entryFile(store, group, title);
    if (!safe({&group, &title}))
        return EINVAL;
    const Fd storeFd(openStore(store));
    if (!storeFd) {
        *at = store;
        return errno;
    }
    groupFd.reset(openGroup(storeFd.get(), group));
    return groupFd ? 0 : errno;
}

} // namespace

FileResult createGroupFolder(const QString &store, const QString &group, const QByteArray &mask)
{
    const QString folderPath = StorePaths::groupFolder(store, group);
    if (!safe({&group}))
        return failure(EINVAL, folderPath);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    const QByteArray name = QFile::encodeName(group);
    if (Sys::mkdirat(storeFd.get(), name.constData(), 0777) != 0)
        return failure(errno, folderPath);
    const QString maskPath = StorePaths::maskFile(store, group);
    FileResult written = writeWholeFile(maskPath, mask, store);
    if (written && !written.unsynced) {
        if (const int err = syncFolder(storeFd.get()))
            written = FileResult::failed(IoError::fromErrno(err, store));
    }
    if (!written || written.unsynced) {
        const Fd groupFd(openGroup(storeFd.get(), group));
        if (groupFd)
            Sys::unlinkat(groupFd.get(), kMaskName, 0);
        Sys::unlinkat(storeFd.get(), name.constData(), AT_REMOVEDIR);
        written.ok = false;
        return written;
    }
    return {};
}

FileResult removeGroupFolder(const QString &store, const QString &group, bool *folderKept)
{
    const FileResult removed = removeGroupFiles(store, group, {QString::fromLatin1(kMaskName)});
    if (folderKept) {
        struct stat st;
        *folderKept =
            removed &&
            ::lstat(QFile::encodeName(StorePaths::groupFolder(store, group)).constData(), &st) == 0;
    }
    return removed;
}

FileResult removeGroupFiles(const QString &store, const QString &group, const QStringList &names)
{
    const QString folderPath = StorePaths::groupFolder(store, group);
    if (!safe({&group}))
        return failure(EINVAL, folderPath);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    const Fd groupFd(openGroup(storeFd.get(), group));
    if (!groupFd)
        return errno == ENOENT ? FileResult{} : failure(errno, folderPath);
    for (const QString &name : names) {
        if (Sys::unlinkat(groupFd.get(), QFile::encodeName(name).constData(), 0) != 0 &&
            errno != ENOENT)
            return failure(errno, folderPath + name);
    }
    const int groupSynced = syncFolder(groupFd.get());
    if (Sys::unlinkat(storeFd.get(), QFile::encodeName(group).constData(), AT_REMOVEDIR) != 0) {
        // Files the notebook does not name stay, and so does their folder.
        if (errno != ENOTEMPTY && errno != EEXIST)
            return failure(errno, folderPath);
        return done(groupSynced, folderPath);
    }
    if (groupSynced)
        return done(groupSynced, folderPath);
    return done(syncFolder(storeFd.get()), store);
}

FileResult copyGroupFolder(const QString &store, const QString &oldGroup, const QString &newGroup,
                           QStringList *names)
{
    const QString from = StorePaths::groupFolder(store, oldGroup);
    const QString to = StorePaths::groupFolder(store, newGroup);
    names->clear();
    if (!safe({&oldGroup, &newGroup}))
        return failure(EINVAL, from, to);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    const Fd fromFd(openGroup(storeFd.get(), oldGroup));
    if (!fromFd)
        return failure(errno, from, to);
    int err = 0;
    const QList<QByteArray> files = regularFiles(fromFd.get(), &err);
    if (err)
        return failure(err, from, to);
    const QByteArray newName = QFile::encodeName(newGroup);
    if (Sys::mkdirat(storeFd.get(), newName.constData(), 0777) != 0)
        return failure(errno, from, to);
    const Fd toFd(openGroup(storeFd.get(), newGroup));
    FileResult result;
    if (!toFd)
        result = failure(errno, from, to);
    for (qsizetype i = 0; result && i < files.size(); ++i) {
        if (const int e = secondName(fromFd.get(), files[i], toFd.get(), files[i]))
            result =
                failure(e, from + QFile::decodeName(files[i]), to + QFile::decodeName(files[i]));
        else
            names->append(QFile::decodeName(files[i]));
    }
    if (result) {
        if (const int e = syncFolder(toFd.get()))
            result = failure(e, to);
        else if (const int e2 = syncFolder(storeFd.get()))
            result = failure(e2, store);
    }
    if (!result) {
        // Nothing of the new folder is left behind.
        for (const QString &name : std::as_const(*names))
            Sys::unlinkat(toFd.get(), QFile::encodeName(name).constData(), 0);
        names->clear();
        Sys::unlinkat(storeFd.get(), newName.constData(), AT_REMOVEDIR);
    }
    return result;
}

FileResult copyEntryFile(const QString &store, const QString &fromGroup, const QString &fromTitle,
                         const QString &toGroup, const QString &toTitle, bool missingIsNoFile,
                         bool *made)
{
    if (made)
        *made = false;
    const QString from = StorePaths::entryFile(store, fromGroup, fromTitle);
    const QString to = StorePaths::entryFile(store, toGroup, toTitle);
    if (!safe({&fromGroup, &toGroup, &fromTitle, &toTitle}))
        return failure(EINVAL, from, to);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    const Fd sourceFolder(openGroup(storeFd.get(), fromGroup));
    if (!sourceFolder)
        return failure(errno, from, to);
    const Fd targetFolder(openGroup(storeFd.get(), toGroup));
    if (!targetFolder)
        return failure(errno, from, to);
    const QByteArray fromName = QFile::encodeName(StorePaths::entryFileName(fromTitle));
    const QByteArray toName = QFile::encodeName(StorePaths::entryFileName(toTitle));
    const int err = secondName(sourceFolder.get(), fromName, targetFolder.get(), toName);
    if (err == ENOENT && missingIsNoFile) {
        // No file to follow the title; but a file of the new name would
        // become this entry's text.
        struct stat st;
        if (::fstatat(targetFolder.get(), toName.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            return failure(EEXIST, from, to);
        return {};
    }
    if (err)
        return failure(err, from, to);
    if (const int e = syncFolder(targetFolder.get())) {
        Sys::unlinkat(targetFolder.get(), toName.constData(), 0);
        return failure(e, StorePaths::groupFolder(store, toGroup));
    }
    if (made)
        *made = true;
    return {};
}

FileResult createEntryFile(const QString &store, const QString &group, const QString &title,
                           const QByteArray &bytes)
{
    Fd groupFd;
    QString at;
    if (const int err = openEntryFolder(store, group, title, groupFd, &at))
        return failure(err, at);
    const QByteArray name = QFile::encodeName(StorePaths::entryFileName(title));
    if (const int err = createNoReplace(groupFd.get(), name, bytes))
        return failure(err, at);
    if (const int err = syncFolder(groupFd.get())) {
        Sys::unlinkat(groupFd.get(), name.constData(), 0);
        return failure(err, StorePaths::groupFolder(store, group));
    }
    return {};
}

FileResult deleteEntryFile(const QString &store, const QString &group, const QString &title)
{
    const QString path = StorePaths::entryFile(store, group, title);
    Fd groupFd;
    QString at;
    // No group folder: no file to delete.
    if (const int err = openEntryFolder(store, group, title, groupFd, &at))
        return err == ENOENT && at == path ? FileResult{} : failure(err, at);
    if (Sys::unlinkat(groupFd.get(),
                      QFile::encodeName(StorePaths::entryFileName(title)).constData(), 0) != 0)
        return errno == ENOENT ? FileResult{} : failure(errno, path);
    return done(syncFolder(groupFd.get()), StorePaths::groupFolder(store, group));
}

FileResult deleteStoreFile(const QString &store, const QString &fileName)
{
    const QString path = store + fileName;
    if (!safe({&fileName}))
        return failure(EINVAL, path);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    if (Sys::unlinkat(storeFd.get(), QFile::encodeName(fileName).constData(), 0) != 0)
        return errno == ENOENT ? FileResult{} : failure(errno, path);
    return done(syncFolder(storeFd.get()), store);
}

} // namespace NotebookFiles
