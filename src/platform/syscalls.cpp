#include "platform/syscalls.h"

#include <cerrno>
#include <cstdio>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace Sys {
namespace {

Hook &hook()
{
    static Hook installed;
    return installed;
}

// The hook's answer for this call; 0 lets it through.
Op openOp(int flags)
{
    return (flags & (O_WRONLY | O_RDWR | O_CREAT | O_TRUNC)) != 0 ? Op::Open : Op::OpenRead;
}

thread_local int askedFd = -1;

Fault ask(Op op, const char *name = nullptr, int fd = -1)
{
    const Hook &h = hook();
    if (!h)
        return Fault{};
    askedFd = fd;
    const Fault fault = h(op, name);
    askedFd = -1;
    return fault;
}

int refuse(int error)
{
    errno = error;
    return -1;
}

} // namespace

void setHook(Hook h)
{
    hook() = std::move(h);
}

int hookedFd()
{
    return askedFd;
}

int open(const char *path, int flags, mode_t mode)
{
    if (const int e = ask(openOp(flags), path).error)
        return refuse(e);
    return ::open(path, flags, mode);
}

int openat(int dirFd, const char *path, int flags, mode_t mode)
{
    if (const int e = ask(openOp(flags), path, dirFd).error)
        return refuse(e);
    return ::openat(dirFd, path, flags, mode);
}

ssize_t read(int fd, void *buffer, size_t size)
{
    if (const int e = ask(Op::Read, nullptr, fd).error)
        return refuse(e);
    return ::read(fd, buffer, size);
}

ssize_t write(int fd, const void *buffer, size_t size)
{
    const Fault fault = ask(Op::Write, nullptr, fd);
    if (fault.error)
        return refuse(fault.error);
    if (fault.shortWrite && size > 1)
        size /= 2;
    return ::write(fd, buffer, size);
}

int fsync(int fd)
{
    if (const int e = ask(Op::Fsync, nullptr, fd).error)
        return refuse(e);
    return ::fsync(fd);
}

int syncFolder(int dirFd)
{
    if (const int e = ask(Op::FolderSync, nullptr, dirFd).error)
        return refuse(e);
    return ::fsync(dirFd);
}

int syncFileSystem(int fd)
{
    if (const int e = ask(Op::FileSystemSync, nullptr, fd).error)
        return refuse(e);
    return ::syncfs(fd);
}

int close(int fd)
{
    const int e = ask(Op::Close, nullptr, fd).error;
    const int result = ::close(fd);
    return e ? refuse(e) : result;
}

int renameat(int fromDir, const char *from, int toDir, const char *to)
{
    if (const int e = ask(Op::Rename, to, toDir).error)
        return refuse(e);
    return ::renameat(fromDir, from, toDir, to);
}

int renameNoReplace(int fromDir, const char *from, int toDir, const char *to)
{
#ifdef RENAME_NOREPLACE
    if (const int e = ask(Op::Rename, to, toDir).error)
        return refuse(e);
    return ::renameat2(fromDir, from, toDir, to, RENAME_NOREPLACE);
#else
    (void)fromDir, (void)from, (void)toDir, (void)to;
    return refuse(EINVAL);
#endif
}

int linkat(int fromDir, const char *from, int toDir, const char *to, int flags)
{
    if (const int e = ask(Op::Link, to, toDir).error)
        return refuse(e);
    return ::linkat(fromDir, from, toDir, to, flags);
}

int unlinkat(int dirFd, const char *path, int flags)
{
    if (const int e = ask(Op::Unlink, path, dirFd).error)
        return refuse(e);
    return ::unlinkat(dirFd, path, flags);
}

int mkdirat(int dirFd, const char *path, mode_t mode)
{
    if (const int e = ask(Op::Mkdir, path, dirFd).error)
        return refuse(e);
    return ::mkdirat(dirFd, path, mode);
}

int fcntlLock(int fd, int command, struct flock *lock)
{
    if (const int e = ask(Op::Lock, nullptr, fd).error)
        return refuse(e);
    return ::fcntl(fd, command, lock);
}

int flock(int fd, int operation)
{
    if (const int e = ask(Op::Lock, nullptr, fd).error)
        return refuse(e);
    return ::flock(fd, operation);
}

int utimensat(int dirFd, const char *path, const struct timespec times[2], int flags)
{
    if (const int e = ask(Op::SetTimes, path, dirFd).error)
        return refuse(e);
    return ::utimensat(dirFd, path, times, flags);
}

const char *name(Op op)
{
    switch (op) {
    case Op::Open:
        return "open";
    case Op::OpenRead:
        return "open for reading";
    case Op::Read:
        return "read";
    case Op::Write:
        return "write";
    case Op::Fsync:
        return "fsync";
    case Op::FolderSync:
        return "folder sync";
    case Op::Close:
        return "close";
    case Op::Rename:
        return "rename";
    case Op::Link:
        return "link";
    case Op::Unlink:
        return "unlink";
    case Op::Mkdir:
        return "mkdir";
    case Op::Lock:
        return "lock";
    case Op::SetTimes:
        return "set times";
    case Op::FileSystemSync:
        return "file system sync";
    }
    return "?";
}

} // namespace Sys
