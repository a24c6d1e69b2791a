#include "notebook/notebookfiles.h"

#include "platform/fd.h"
#include "store/safewrite.h"
#include "store/storepaths.h"

#include <QFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace NotebookFiles {
namespace {

Result failure(int err, const QString &currentFile, const QString &targetFile = QString())
{
    return Result{false, IoError::fromErrno(err), currentFile, targetFile};
}

QByteArray entryName(const QString &title)
{
    return QFile::encodeName(StorePaths::entryFileName(title));
}

const char kMaskName[] = "_mask.dat";

int openStore(const QString &store)
{
    return ::open(QFile::encodeName(store).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// The store folder itself may be reached through links the user set up; a
// group folder inside it never is.
int openGroup(int storeFd, const QString &group)
{
    const QByteArray name = QFile::encodeName(group);
    const int fd =
        ::openat(storeFd, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    // A link is reported as the writer reports it, not as "not a directory".
    struct stat st;
    if (fd < 0 && errno == ENOTDIR &&
        ::fstatat(storeFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode))
        errno = ELOOP;
    return fd;
}

bool notSupported(int err)
{
    return err == EINVAL || err == ENOSYS || err == EOPNOTSUPP;
}

// rename() replaces whatever is at the new name; this never does. Where the
// file system cannot refuse by itself, a file is hard-linked (which does
// refuse) and the old name removed; a folder, or a file on a file system
// without hard links, is checked first (not atomic, the best left there).
int renameNoReplace(int dirFd, const QByteArray &from, const QByteArray &to, bool folder)
{
#ifdef RENAME_NOREPLACE
    if (::renameat2(dirFd, from.constData(), dirFd, to.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (!notSupported(errno))
        return errno;
#endif
    if (!folder) {
        if (::linkat(dirFd, from.constData(), dirFd, to.constData(), 0) == 0) {
            if (::unlinkat(dirFd, from.constData(), 0) == 0)
                return 0;
            const int err = errno;
            ::unlinkat(dirFd, to.constData(), 0);
            return err;
        }
        if (errno != EPERM && !notSupported(errno))
            return errno;
    }
    struct stat st;
    if (::fstatat(dirFd, to.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return EEXIST;
    if (errno != ENOENT)
        return errno;
    return ::renameat(dirFd, from.constData(), dirFd, to.constData()) == 0 ? 0 : errno;
}

int writeAndSync(int fd, const QByteArray &bytes)
{
    if (const int err = writeAllBytes(fd, bytes))
        return err;
    return ::fsync(fd) == 0 ? 0 : errno;
}

int readAll(int fd, QByteArray *bytes)
{
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
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
    Fd unnamed(::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (unnamed) {
        if (const int err = writeAndSync(unnamed.get(), bytes))
            return err;
        char procPath[64];
        std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", unnamed.get());
        if (::linkat(AT_FDCWD, procPath, dirFd, name.constData(), AT_SYMLINK_FOLLOW) == 0)
            return 0;
        if (errno == EEXIST)
            return EEXIST;
    }
    Fd file(::openat(dirFd, name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                     0666));
    if (!file)
        return errno;
    int err = writeAndSync(file.get(), bytes);
    if (::close(file.release()) != 0 && !err && errno != EINTR)
        err = errno;
    if (err)
        ::unlinkat(dirFd, name.constData(), 0);
    return err;
}

// Renames and deletions are made durable before idx.dat is written to match.
void syncFolder(int dirFd)
{
    ::fsync(dirFd);
}

} // namespace

Result createGroupFolder(const QString &store, const QString &group)
{
    const QString folderPath = StorePaths::groupFolder(store, group);
    if (!StorePaths::isSafeStoredName(group))
        return failure(EINVAL, folderPath);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    const QByteArray name = QFile::encodeName(group);
    if (::mkdirat(storeFd.get(), name.constData(), 0777) != 0)
        return failure(errno, folderPath);
    const QString maskPath = StorePaths::maskFile(store, group);
    const WriteResult written = writeWholeFile(maskPath, QByteArray(), store);
    if (!written) {
        ::unlinkat(storeFd.get(), name.constData(), AT_REMOVEDIR);
        return Result{false, written.error, maskPath, QString()};
    }
    syncFolder(storeFd.get());
    return {};
}

Result renameGroupFolder(const QString &store, const QString &oldGroup, const QString &newGroup)
{
    const QString from = StorePaths::groupFolder(store, oldGroup);
    const QString to = StorePaths::groupFolder(store, newGroup);
    if (!StorePaths::isSafeStoredName(oldGroup) || !StorePaths::isSafeStoredName(newGroup))
        return failure(EINVAL, from, to);
    if (oldGroup == newGroup)
        return {};
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    if (const int err = renameNoReplace(storeFd.get(), QFile::encodeName(oldGroup),
                                        QFile::encodeName(newGroup), true))
        return failure(err, from, to);
    syncFolder(storeFd.get());
    return {};
}

GroupRemoval removeGroupFolder(const QString &store, const QString &group)
{
    const QString folderPath = StorePaths::groupFolder(store, group);
    if (!StorePaths::isSafeStoredName(group))
        return {failure(EINVAL, folderPath)};
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return {failure(errno, store)};
    const Fd groupFd(openGroup(storeFd.get(), group));
    if (!groupFd)
        return errno == ENOENT ? GroupRemoval{} : GroupRemoval{failure(errno, folderPath)};
    if (::unlinkat(groupFd.get(), kMaskName, 0) != 0 && errno != ENOENT)
        return {failure(errno, StorePaths::maskFile(store, group))};
    syncFolder(groupFd.get());
    if (::unlinkat(storeFd.get(), QFile::encodeName(group).constData(), AT_REMOVEDIR) != 0) {
        if (errno == ENOTEMPTY || errno == EEXIST)
            return {Result{}, true};
        return {failure(errno, folderPath)};
    }
    syncFolder(storeFd.get());
    return {};
}

Result renameEntryFile(const QString &store, const QString &group, const QString &oldTitle,
                       const QString &newTitle)
{
    const QString from = StorePaths::entryFile(store, group, oldTitle);
    const QString to = StorePaths::entryFile(store, group, newTitle);
    if (!StorePaths::isSafeStoredName(group) || !StorePaths::isSafeStoredName(oldTitle) ||
        !StorePaths::isSafeStoredName(newTitle))
        return failure(EINVAL, from, to);
    if (oldTitle == newTitle)
        return {};
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    const Fd groupFd(openGroup(storeFd.get(), group));
    if (!groupFd)
        return errno == ENOENT ? Result{} : failure(errno, from, to);
    const QByteArray toName = entryName(newTitle);
    const int err = renameNoReplace(groupFd.get(), entryName(oldTitle), toName, false);
    if (err == ENOENT) {
        struct stat st;
        if (::fstatat(groupFd.get(), toName.constData(), &st, AT_SYMLINK_NOFOLLOW) == 0)
            return failure(EEXIST, from, to);
        return {};
    }
    if (err)
        return failure(err, from, to);
    syncFolder(groupFd.get());
    return {};
}

Result copyEntryFile(const QString &store, const QString &fromGroup, const QString &toGroup,
                     const QString &title)
{
    return copyEntryFile(store, fromGroup, title, toGroup, title);
}

Result copyEntryFile(const QString &store, const QString &fromGroup, const QString &fromTitle,
                     const QString &toGroup, const QString &toTitle)
{
    const QString from = StorePaths::entryFile(store, fromGroup, fromTitle);
    const QString to = StorePaths::entryFile(store, toGroup, toTitle);
    if (!StorePaths::isSafeStoredName(fromGroup) || !StorePaths::isSafeStoredName(toGroup) ||
        !StorePaths::isSafeStoredName(fromTitle) || !StorePaths::isSafeStoredName(toTitle))
        return failure(EINVAL, from, to);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);

    const Fd sourceFolder(openGroup(storeFd.get(), fromGroup));
    if (!sourceFolder)
        return failure(errno, from, to);
    // O_NONBLOCK: a fifo in place of the file is refused below, not waited on.
    const Fd source(::openat(sourceFolder.get(), entryName(fromTitle).constData(),
                             O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
    if (!source)
        return failure(errno, from, to);
    struct stat st;
    if (::fstat(source.get(), &st) != 0)
        return failure(errno, from, to);
    if (!S_ISREG(st.st_mode))
        return failure(EINVAL, from, to);
    const Fd targetFolder(openGroup(storeFd.get(), toGroup));
    if (!targetFolder)
        return failure(errno, from, to);
    const QByteArray toName = entryName(toTitle);

    // On one file system the copy is a second name for the same bytes, which
    // are on disk already: only the folder entry is written. The file opened
    // above is linked, not whatever its name leads to by now.
    char procPath[64];
    std::snprintf(procPath, sizeof procPath, "/proc/self/fd/%d", source.get());
    if (::linkat(AT_FDCWD, procPath, targetFolder.get(), toName.constData(), AT_SYMLINK_FOLLOW) ==
        0) {
        syncFolder(targetFolder.get());
        return {};
    }
    if (errno == EEXIST)
        return failure(EEXIST, from, to);

    QByteArray bytes;
    if (const int err = readAll(source.get(), &bytes))
        return failure(err, from, to);
    if (const int err = createNoReplace(targetFolder.get(), toName, bytes))
        return failure(err, from, to);
    syncFolder(targetFolder.get());
    return {};
}

Result deleteEntryFile(const QString &store, const QString &group, const QString &title)
{
    const QString path = StorePaths::entryFile(store, group, title);
    if (!StorePaths::isSafeStoredName(group) || !StorePaths::isSafeStoredName(title))
        return failure(EINVAL, path);
    const Fd storeFd(openStore(store));
    if (!storeFd)
        return failure(errno, store);
    const Fd groupFd(openGroup(storeFd.get(), group));
    if (!groupFd)
        return errno == ENOENT ? Result{} : failure(errno, path);
    if (::unlinkat(groupFd.get(), entryName(title).constData(), 0) != 0)
        return errno == ENOENT ? Result{} : failure(errno, path);
    syncFolder(groupFd.get());
    return {};
}

} // namespace NotebookFiles
