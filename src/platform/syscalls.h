#pragma once

#include <ctime>
#include <fcntl.h>
#include <functional>
#include <sys/types.h>

// The file-system calls through which the program changes or reads its files.
// They behave exactly as the C library's, with one seam for tests: a hook that
// may fail a call before it reaches the system (a full disk, a read-only
// folder, a crash from some call on) on machines where nobody can make a disk
// full or a folder read-only for real.
namespace Sys {

// Open is an open that may write or create; OpenRead one for reading only
// (files and folders).
enum class Op {
    Open,
    OpenRead,
    Read,
    Write,
    Fsync,
    FolderSync,
    Close,
    Rename,
    Link,
    Unlink,
    Mkdir,
    Lock,
    SetTimes,
    FileSystemSync
};

// What the hook decides for one call: run it (no error), fail it with the
// errno, or, for a write, write only part of the bytes.
struct Fault
{
    int error = 0;
    bool shortWrite = false;
};
// `name` is the path or name the call acts on (a rename's new name), nullptr
// for calls on a descriptor (read, write, fsync, close, folder sync).
using Hook = std::function<Fault(Op op, const char *name)>;

// Installs the hook for the whole process (nullptr removes it). Tests only.
void setHook(Hook hook);
// While the hook runs: the descriptor the call acts on (the file's for a read,
// write, fsync or close, the folder's for a folder sync and for a name taken
// relative to a folder), -1 for a path of its own. Lets a test follow which
// file or folder each call reaches, as the power-cut check must.
int hookedFd();

int open(const char *path, int flags, mode_t mode = 0);
int openat(int dirFd, const char *path, int flags, mode_t mode = 0);
ssize_t read(int fd, void *buffer, size_t size);
ssize_t write(int fd, const void *buffer, size_t size);
int fsync(int fd);
// fsync of a folder, so that renames, links and removals in it survive a power cut.
int syncFolder(int dirFd);
// syncfs: everything written on the file system of `fd` made lasting at
// once, for a batch of files that would otherwise take an fsync each.
int syncFileSystem(int fd);
// A descriptor is closed also when the hook fails the call, as the system does.
int close(int fd);
int renameat(int fromDir, const char *from, int toDir, const char *to);
// renameat2 with RENAME_NOREPLACE where the system has it; EINVAL otherwise.
int renameNoReplace(int fromDir, const char *from, int toDir, const char *to);
int linkat(int fromDir, const char *from, int toDir, const char *to, int flags);
int unlinkat(int dirFd, const char *path, int flags);
int mkdirat(int dirFd, const char *path, mode_t mode);
// fcntl with a lock command (F_OFD_SETLK, ...) and flock: the store marker's
// lock, taken at the start and asserted again before every write into the store.
int fcntlLock(int fd, int command, struct flock *lock);
int flock(int fd, int operation);
// utimensat: an exported file's modification time.
int utimensat(int dirFd, const char *path, const struct timespec times[2], int flags);

// Op's name for test output: "open", "fsync", "folder sync", ...
const char *name(Op op);

} // namespace Sys
