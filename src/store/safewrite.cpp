#include "store/safewrite.h"

#include "platform/fd.h"
#include "platform/syscalls.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

// New files are named ".plimsa-new-" and six letters or digits: no stored
// name becomes such a file (entry files end in ".txt"), so the clean-up after
// a crash can never take a file of the notebook.
constexpr char kNewPrefix[] = ".plimsa-new-";
constexpr std::size_t kNewPrefixLength = sizeof(kNewPrefix) - 1;
constexpr std::size_t kNewRandomLength = 6;
constexpr char kNewAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool isAsciiAlnum(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

bool isNewFileName(const char *name)
{
    if (std::strncmp(name, kNewPrefix, kNewPrefixLength) != 0)
        return false;
    const char *rest = name + kNewPrefixLength;
    return std::strlen(rest) == kNewRandomLength &&
           std::all_of(rest, rest + kNewRandomLength, isAsciiAlnum);
}

// Set when a failed write could not take its new file away again.
std::atomic<bool> newFileLeft{false};

QByteArray randomNewName()
{
    QByteArray name(kNewPrefix);
    for (std::size_t i = 0; i < kNewRandomLength; ++i)
        name += kNewAlphabet[QRandomGenerator::global()->bounded(int(sizeof(kNewAlphabet) - 1))];
    return name;
}

std::optional<QByteArray> canonical(const QByteArray &path, int *err)
{
    char *resolved = ::realpath(path.constData(), nullptr);
    if (!resolved) {
        *err = errno;
        return std::nullopt;
    }
    QByteArray result(resolved);
    std::free(resolved);
    return result;
}

bool isWithin(const QByteArray &folder, const QByteArray &root)
{
    if (folder == root)
        return true;
    return folder.startsWith(root.endsWith('/') ? root : root + '/');
}

// A file-size limit (ulimit -f) must fail the write with EFBIG, not end the
// program: SIGXFSZ is held back in this thread while writing, and the one our
// write raised is taken off again. Nothing changes for the rest of the program
// or for the programs it starts.
class FileSizeSignalGuard
{
public:
    FileSizeSignalGuard()
    {
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signal_, &previous_);
    }
    ~FileSizeSignalGuard()
    {
        if (!sigismember(&previous_, SIGXFSZ)) {
            const timespec noWait{};
            while (sigtimedwait(&signal_, nullptr, &noWait) == SIGXFSZ) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    }
    FileSizeSignalGuard(const FileSizeSignalGuard &) = delete;
    FileSizeSignalGuard &operator=(const FileSizeSignalGuard &) = delete;

private:
    sigset_t signal_;
    sigset_t previous_;
};

// Owner and permissions of the file being replaced. Best effort: file systems
// without Unix permissions (FAT, some network shares) refuse both, and that
// must not stop the notes from being saved.
void keepOwnerAndMode(int fd, const struct stat &old)
{
    if (old.st_uid != ::geteuid() || old.st_gid != ::getegid()) {
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
    }
    ::fchmod(fd, old.st_mode & 0777);
}

// Names alone decide which directory entries are looked at: a store holds a
// hundred thousand entry files, and only a name of the writer's pattern (or a
// folder, when going down) is worth a stat.
void removeLeftoversIn(int folderFd, bool recursive)
{
    DIR *dir = ::fdopendir(folderFd);
    if (!dir) {
        ::close(folderFd);
        return;
    }
    const int fd = ::dirfd(dir);
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        const bool newFile = isNewFileName(name);
        const bool maybeFolder =
            recursive && (entry->d_type == DT_DIR || entry->d_type == DT_UNKNOWN);
        if ((!newFile && !maybeFolder) || std::strcmp(name, ".") == 0 ||
            std::strcmp(name, "..") == 0)
            continue;
        struct stat st;
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISREG(st.st_mode) && newFile) {
            ::unlinkat(fd, name, 0);
        } else if (recursive && S_ISDIR(st.st_mode)) {
            const int sub = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0)
                removeLeftoversIn(sub, false);
        }
    }
    ::closedir(dir);
}

// Opens the folder of `path` once its real place is known to lie within `root`,
// and gives the file's name in it; 0 or the errno.
int openFolderWithin(const QString &path, const QString &root, Fd &dir, QByteArray &name)
{
    const QByteArray encoded = QFile::encodeName(path);
    // The system would cut the path at a NUL and reach some other file.
    if (encoded.contains('\0'))
        return EINVAL;
    const qsizetype slash = encoded.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : encoded.left(std::max<qsizetype>(slash, 1));
    name = encoded.mid(slash + 1);
    if (name.isEmpty() || name == "." || name == "..")
        return EISDIR;

    int err = 0;
    const auto realRoot = canonical(QFile::encodeName(root), &err);
    if (!realRoot)
        return err;
    const auto realFolder = canonical(folder, &err);
    if (!realFolder)
        return err;
    if (!isWithin(*realFolder, *realRoot))
        return EPERM;
    dir.reset(Sys::open(realFolder->constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    return dir ? 0 : errno;
}

// O_NONBLOCK: a fifo in place of a file must not hang the program.
constexpr int kReadFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

ReadResult readFailure(int err, const QString &path)
{
    ReadResult result;
    result.error = IoError::fromErrno(err, path);
    return result;
}

ReadResult readOpened(const Fd &fd, const QString &path)
{
    if (!fd)
        return readFailure(errno, path);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        return readFailure(errno, path);
    if (!S_ISREG(st.st_mode))
        return readFailure(S_ISDIR(st.st_mode) ? EISDIR : EINVAL, path);
    ReadResult result;
    result.identity = FileIdentity::of(st);
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = Sys::read(fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return readFailure(errno, path);
        }
        if (n == 0)
            break;
        used += n;
    }
    bytes.truncate(used);
    result.bytes = bytes;
    result.ok = true;
    return result;
}

} // namespace

int writeAllBytes(int fd, const QByteArray &bytes)
{
    FileSizeSignalGuard guard;
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = Sys::write(fd, data, std::min<qsizetype>(left, 1 << 30));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            return EIO;
        data += n;
        left -= n;
    }
    return 0;
}

FileResult writeWholeFile(const QString &path, const QByteArray &bytes, const QString &root)
{
    const auto failure = [&path](int err) {
        return FileResult::failed(IoError::fromErrno(err, path));
    };
    Fd dir;
    QByteArray name;
    if (const int err = openFolderWithin(path, root, dir, name))
        return failure(err);

    struct stat old;
    bool replacing = false;
    if (::fstatat(dir.get(), name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(old.st_mode))
            return failure(ELOOP);
        if (S_ISDIR(old.st_mode))
            return failure(EISDIR);
        if (!S_ISREG(old.st_mode))
            return failure(EINVAL);
        // A file the user made read-only stays as it is, as it would on Windows.
        if (::faccessat(dir.get(), name.constData(), W_OK, AT_EACCESS) != 0)
            return failure(errno);
        replacing = true;
    } else if (errno != ENOENT) {
        return failure(errno);
    }

    QByteArray newName;
    Fd file;
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        newName = randomNewName();
        file.reset(Sys::openat(dir.get(), newName.constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file && errno != EEXIST)
            return failure(errno);
    }
    if (!file)
        return failure(EEXIST);

    auto fail = [&](int e) {
        file.reset();
        if (Sys::unlinkat(dir.get(), newName.constData(), 0) != 0 && errno != ENOENT)
            newFileLeft = true;
        return failure(e);
    };
    if (replacing)
        keepOwnerAndMode(file.get(), old);
    if (const int e = writeAllBytes(file.get(), bytes))
        return fail(e);
    if (Sys::fsync(file.get()) != 0)
        return fail(errno);
    // The rename keeps the inode and the modification time.
    struct stat written;
    FileIdentity identity;
    if (::fstat(file.get(), &written) == 0)
        identity = FileIdentity::of(written);
    if (Sys::close(file.release()) != 0 && errno != EINTR)
        return fail(errno);
    if (Sys::renameat(dir.get(), newName.constData(), dir.get(), name.constData()) != 0)
        return fail(errno);
    // Committed. EINVAL: the file system cannot sync folders at all.
    if (Sys::syncFolder(dir.get()) != 0 && errno != EINVAL)
        return FileResult{true, IoError::fromErrno(errno, QFileInfo(path).path()), true, identity};
    FileResult done;
    done.identity = identity;
    return done;
}

void removeLeftoverNewFiles(const QString &folder, bool recursive)
{
    const QByteArray encoded = QFile::encodeName(folder);
    const int fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        removeLeftoversIn(fd, recursive);
}

namespace {

// FNV-1a, enough to tell one folder's state from another.
quint64 mixed(quint64 hash, const void *data, std::size_t size)
{
    const auto *p = static_cast<const unsigned char *>(data);
    for (std::size_t i = 0; i < size; ++i)
        hash = (hash ^ p[i]) * 0x100000001b3ull;
    return hash;
}

quint64 folderHash(const char *name, const struct stat &st)
{
    quint64 hash = mixed(0xcbf29ce484222325ull, name, std::strlen(name) + 1);
    const qint64 fields[] = {qint64(st.st_dev),         qint64(st.st_ino),
                             qint64(st.st_ctim.tv_sec), qint64(st.st_ctim.tv_nsec),
                             qint64(st.st_mtim.tv_sec), qint64(st.st_mtim.tv_nsec)};
    return mixed(hash, fields, sizeof fields);
}

qint64 changedNs(const struct stat &st)
{
    return qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
}

} // namespace

QByteArray leftoverStamp(const QString &folder, qint64 *newest)
{
    const int fd = ::open(QFile::encodeName(folder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {};
    DIR *dir = ::fdopendir(fd);
    struct stat st;
    if (!dir || ::fstat(fd, &st) != 0) {
        if (dir)
            ::closedir(dir);
        else
            ::close(fd);
        return {};
    }
    // A sum of each folder's hash: the order of the listing does not matter.
    quint64 sum = folderHash(".", st);
    qint64 latest = changedNs(st);
    int folders = 1;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if ((entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) ||
            std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
            continue;
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISDIR(st.st_mode))
            continue;
        sum += folderHash(name, st);
        latest = std::max(latest, changedNs(st));
        ++folders;
    }
    ::closedir(dir);
    if (newest)
        *newest = latest;
    return QByteArray::number(sum, 16) + ' ' + QByteArray::number(folders);
}

bool newFilesMayBeLeft()
{
    return newFileLeft;
}

ReadResult readWholeFile(const QString &path)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.contains('\0'))
        return readFailure(EINVAL, path);
    return readOpened(Fd(Sys::open(encoded.constData(), kReadFlags)), path);
}

ReadResult readWholeFile(const QString &path, const QString &root)
{
    Fd dir;
    QByteArray name;
    if (const int err = openFolderWithin(path, root, dir, name))
        return readFailure(err, path);
    return readOpened(Fd(Sys::openat(dir.get(), name.constData(), kReadFlags)), path);
}
