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
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/vfs.h>
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
    QByteArray name(kNewPrefixLength + kNewRandomLength, Qt::Uninitialized);
    std::memcpy(name.data(), kNewPrefix, kNewPrefixLength);
    // Six letters from one number: 62^6 of 2^64, nearly even.
    quint64 random = QRandomGenerator::global()->generate64();
    for (std::size_t i = 0; i < kNewRandomLength; ++i) {
        name[qsizetype(kNewPrefixLength + i)] = kNewAlphabet[random % (sizeof(kNewAlphabet) - 1)];
        random /= sizeof(kNewAlphabet) - 1;
    }
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
        // Without a limit no write raises it: three calls a write saved.
        rlimit limit{};
        if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur == RLIM_INFINITY)
            return;
        guarding_ = true;
        sigemptyset(&signal_);
        sigaddset(&signal_, SIGXFSZ);
        pthread_sigmask(SIG_BLOCK, &signal_, &previous_);
    }
    ~FileSizeSignalGuard()
    {
        if (!guarding_)
            return;
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
    bool guarding_ = false;
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

// Whether `name` can be a file's name in a folder; 0 or the errno.
int nameError(const QByteArray &name)
{
    // The system would cut the path at a NUL and reach some other file.
    if (name.contains('\0'))
        return EINVAL;
    if (name.isEmpty() || name == "." || name == "..")
        return EISDIR;
    return 0;
}

// The folder of `path` and the file's name in it; 0 or the errno.
int splitPath(const QString &path, QByteArray &folder, QByteArray &name)
{
    const QByteArray encoded = QFile::encodeName(path);
    const qsizetype slash = encoded.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : encoded.left(std::max<qsizetype>(slash, 1));
    name = encoded.mid(slash + 1);
    return folder.contains('\0') ? EINVAL : nameError(name);
}

// Opens `folder` once its real place is known to lie within `root`; 0 or the errno.
int openWithin(const QByteArray &folder, const QString &root, Fd &dir)
{
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

// Opens the folder of `path` once its real place is known to lie within `root`,
// and gives the file's name in it; 0 or the errno.
int openFolderWithin(const QString &path, const QString &root, Fd &dir, QByteArray &name)
{
    QByteArray folder;
    if (const int err = splitPath(path, folder, name))
        return err;
    return openWithin(folder, root, dir);
}

// Whether the file `name` in `dir` may be written: 0, with `replacing` set and
// `old` filled when a file is there, or the errno.
int checkTarget(int dir, const char *name, struct stat &old, bool &replacing)
{
    replacing = false;
    if (::fstatat(dir, name, &old, AT_SYMLINK_NOFOLLOW) == 0) {
        if (S_ISLNK(old.st_mode))
            return ELOOP;
        if (S_ISDIR(old.st_mode))
            return EISDIR;
        if (!S_ISREG(old.st_mode))
            return EINVAL;
        // A file the user made read-only stays as it is, as it would on Windows.
        if (::faccessat(dir, name, W_OK, AT_EACCESS) != 0)
            return errno;
        replacing = true;
        return 0;
    }
    return errno == ENOENT ? 0 : errno;
}

// A new file of the writer's pattern in `dir`; 0 or the errno.
int openNewFile(int dir, QByteArray &newName, Fd &file)
{
    for (int attempt = 0; attempt < 100 && !file; ++attempt) {
        newName = randomNewName();
        file.reset(Sys::openat(dir, newName.constData(),
                               O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (!file && errno != EEXIST)
            return errno;
    }
    return file ? 0 : EEXIST;
}

// Gives a new file its name unless a file of that name has come meanwhile.
// Where the file system cannot refuse in the rename itself, a look just
// before it is all there is.
int renameNew(int dir, const char *newName, const char *name)
{
    if (Sys::renameNoReplace(dir, newName, dir, name) == 0)
        return 0;
    if (errno != EINVAL)
        return -1;
    struct stat there;
    if (::fstatat(dir, name, &there, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return Sys::renameat(dir, newName, dir, name);
}

// File systems whose sync of the whole file system waits until everything
// written on it is on the disk, names included. Network shares and FUSE
// either do not pass a file system sync on to the server or are not known
// to: there each file keeps its own fsync.
bool syncsWholeFileSystem(int dir)
{
#ifdef __linux__
    struct statfs fs;
    if (::fstatfs(dir, &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0xEF53:     // ext2, ext3, ext4
    case 0x58465342: // xfs
    case 0x9123683E: // btrfs
    case 0xF2F52010: // f2fs
    case 0x794C7630: // overlayfs: syncs its upper file system
    case 0x01021994: // tmpfs: nothing to sync
        return true;
    default:
        return false;
    }
#else
    (void)dir;
    return false;
#endif
}

// O_NONBLOCK: a fifo in place of a file must not hang the program.
constexpr int kReadFlags = O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK;

// One read, taken again when a signal broke it off: the bytes read, 0 at
// the end of the file, -1 with errno set on a failure.
ssize_t readRetrying(int fd, char *into, qsizetype size)
{
    for (;;) {
        const ssize_t n = Sys::read(fd, into, size_t(size));
        if (n >= 0 || errno != EINTR)
            return n;
    }
}

ReadResult readFailure(int err, const QString &path)
{
    ReadResult result;
    result.error = IoError::fromErrno(err, path);
    return result;
}

// Whether the opened file may be read: a regular file of at most `maxBytes`
// (any size for -1); 0 or the errno.
int checkOpened(const Fd &fd, struct stat &st, qint64 maxBytes)
{
    if (!fd || ::fstat(fd.get(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    if (maxBytes >= 0 && st.st_size > maxBytes)
        return EFBIG;
    return 0;
}

ReadResult readOpened(const Fd &fd, const QString &path, qint64 maxBytes = -1)
{
    struct stat st;
    if (const int err = checkOpened(fd, st, maxBytes))
        return readFailure(err, path);
    ReadResult result;
    result.identity = FileIdentity::of(st);
    QByteArray bytes(qsizetype(st.st_size) + 1, Qt::Uninitialized);
    qsizetype used = 0;
    for (;;) {
        if (used == bytes.size())
            bytes.resize(bytes.size() * 2);
        const ssize_t n = readRetrying(fd.get(), bytes.data() + used, bytes.size() - used);
        if (n < 0)
            return readFailure(errno, path);
        if (n == 0)
            break;
        used += n;
        // All the bytes the file had when it was looked at: one read less a
        // file. (Bytes added since are no part of the read, as if it had
        // been made a moment sooner.)
        if (used == st.st_size && used > 0)
            break;
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
    if (const int err = checkTarget(dir.get(), name.constData(), old, replacing))
        return failure(err);

    QByteArray newName;
    Fd file;
    if (const int err = openNewFile(dir.get(), newName, file))
        return failure(err);

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

struct FileBatch::Folder
{
    Fd dir;
    QString path; // for errors
    dev_t device = 0;
    bool batched = false; // its file system's sync reaches the disk
    bool written = false; // AtOnce: something written since finish()
};

FileBatch::FileBatch(const QString &root, Naming naming) : root_(root), naming_(naming) {}

// Not even its new files are taken away here: a change that lost the store
// must not write any more.
FileBatch::~FileBatch() = default;

FileBatch::Folder *FileBatch::folderOf(const QString &path, QByteArray &name, int &err)
{
    // The files of one folder come a thousand in a row: its path is encoded
    // and looked up once.
    const qsizetype slash = path.lastIndexOf(u'/');
    if (last_ && slash > 0 && QStringView(path).first(slash) == lastPath_) {
        name = QFile::encodeName(path.sliced(slash + 1));
        return (err = nameError(name)) ? nullptr : last_;
    }
    QByteArray folder;
    if ((err = splitPath(path, folder, name)))
        return nullptr;
    const auto remembered = [&](Folder *known) {
        last_ = slash > 0 ? known : nullptr;
        lastPath_ = path.left(slash);
        return known;
    };
    if (const auto known = folders_.constFind(folder); known != folders_.cend())
        return remembered(known->get());
    auto made = std::make_shared<Folder>();
    if ((err = openWithin(folder, root_, made->dir)))
        return nullptr;
    struct stat st;
    if (::fstat(made->dir.get(), &st) != 0) {
        err = errno;
        return nullptr;
    }
    made->path = QFile::decodeName(folder);
    made->device = st.st_dev;
    made->batched = syncsWholeFileSystem(made->dir.get());
    folders_.insert(folder, made);
    return remembered(made.get());
}

FileResult FileBatch::write(const QString &path, const QByteArray &bytes)
{
    const auto failure = [&path](int err) {
        return FileResult::failed(IoError::fromErrno(err, path));
    };
    QByteArray name;
    int err = 0;
    Folder *folder = folderOf(path, name, err);
    if (!folder)
        return failure(err);
    // A new file never takes the place of one that is there, whoever put it there.
    struct stat old;
    if (naming_ == Naming::AfterSync && !folder->batched &&
        ::fstatat(folder->dir.get(), name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0)
        return failure(EEXIST);
    if (!folder->batched) {
        FileResult result = writeWholeFile(path, bytes, root_);
        if (result.ok)
            written_.append({folder, {}, name, path});
        return result;
    }
    const int dir = folder->dir.get();
    // A new file is refused at its rename (renameNew) when a file is there
    // under its name: no look a file is needed before.
    bool replacing = false;
    if (naming_ == Naming::AtOnce && (err = checkTarget(dir, name.constData(), old, replacing)))
        return failure(err);

    // Under a new name until every byte is written: a crash never leaves a
    // short or empty file under its own name.
    QByteArray newName;
    Fd file;
    if ((err = openNewFile(dir, newName, file)))
        return failure(err);
    auto fail = [&](int e) {
        file.reset();
        if (Sys::unlinkat(dir, newName.constData(), 0) != 0 && errno != ENOENT)
            newFileLeft = true;
        return failure(e);
    };
    if (replacing)
        keepOwnerAndMode(file.get(), old);
    if (const int e = writeAllBytes(file.get(), bytes))
        return fail(e);
    if (Sys::close(file.release()) != 0 && errno != EINTR)
        return fail(errno);
    if (naming_ == Naming::AfterSync) {
        pending_.append({folder, newName, name, path});
        return {};
    }
    if (Sys::renameat(dir, newName.constData(), dir, name.constData()) != 0)
        return fail(errno);
    folder->written = true;
    written_.append({folder, {}, name, path});
    return {};
}

FileResult FileBatch::finish()
{
    // One sync for each file system written on.
    QList<dev_t> synced;
    const auto syncOnce = [&synced](Folder *folder) {
        if (synced.contains(folder->device))
            return 0;
        synced.append(folder->device);
        return Sys::syncFileSystem(folder->dir.get()) == 0 ? 0 : errno;
    };
    QList<Folder *> toSync;
    for (const Pending &p : std::as_const(pending_)) {
        if (!toSync.contains(p.folder))
            toSync.append(p.folder);
    }
    for (const auto &folder : std::as_const(folders_)) {
        if (std::exchange(folder->written, false) && !toSync.contains(folder.get()))
            toSync.append(folder.get());
    }
    for (Folder *folder : std::as_const(toSync)) {
        if (const int err = syncOnce(folder))
            return FileResult::failed(IoError::fromErrno(err, folder->path));
    }
    if (pending_.isEmpty())
        return {};

    // Only now do the new files take their names, and their folders are synced.
    while (!pending_.isEmpty()) {
        const Pending &p = pending_.first();
        const int dir = p.folder->dir.get();
        if (renameNew(dir, p.newName.constData(), p.name.constData()) != 0)
            return FileResult::failed(IoError::fromErrno(errno, p.path));
        written_.append({p.folder, {}, p.name, p.path});
        pending_.removeFirst();
    }
    // EINVAL: the file system cannot sync folders at all.
    for (Folder *folder : std::as_const(toSync)) {
        if (Sys::syncFolder(folder->dir.get()) != 0 && errno != EINVAL)
            return FileResult{true, IoError::fromErrno(errno, folder->path), true, {}};
    }
    return {};
}

void FileBatch::removeWritten()
{
    for (const Pending &p : std::as_const(pending_)) {
        if (Sys::unlinkat(p.folder->dir.get(), p.newName.constData(), 0) != 0 && errno != ENOENT)
            newFileLeft = true;
    }
    pending_.clear();
    QList<Folder *> changed;
    for (const Pending &p : std::as_const(written_)) {
        if (Sys::unlinkat(p.folder->dir.get(), p.name.constData(), 0) == 0 &&
            !changed.contains(p.folder))
            changed.append(p.folder);
    }
    written_.clear();
    for (Folder *folder : std::as_const(changed))
        (void)Sys::syncFolder(folder->dir.get());
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

ReadResult readWholeFileAt(int dirFd, const QByteArray &name, const QString &path,
                           qint64 maxBytes)
{
    return readOpened(Fd(Sys::openat(dirFd, name.constData(), kReadFlags)), path, maxBytes);
}

ReadResult readWholeFile(const QString &path, const QString &root)
{
    Fd dir;
    QByteArray name;
    if (const int err = openFolderWithin(path, root, dir, name))
        return readFailure(err, path);
    return readOpened(Fd(Sys::openat(dir.get(), name.constData(), kReadFlags)), path);
}

ReadResult readFileInParts(const QString &path, const QString &root, qsizetype partBytes,
                           const std::function<void(QByteArrayView)> &part)
{
    Fd dir;
    QByteArray name;
    if (const int err = openFolderWithin(path, root, dir, name))
        return readFailure(err, path);
    const Fd fd(Sys::openat(dir.get(), name.constData(), kReadFlags));
    struct stat st;
    if (const int err = checkOpened(fd, st, -1))
        return readFailure(err, path);
    ReadResult result;
    result.identity = FileIdentity::of(st);
    QByteArray buffer(std::max<qsizetype>(partBytes, 1), Qt::Uninitialized);
    qint64 used = 0;
    for (;;) {
        const ssize_t n = readRetrying(fd.get(), buffer.data(), buffer.size());
        if (n < 0)
            return readFailure(errno, path);
        if (n == 0)
            break;
        part(QByteArrayView(buffer.constData(), n));
        used += n;
        // As readOpened: the bytes the file had when it was looked at.
        if (used == st.st_size)
            break;
    }
    result.ok = true;
    return result;
}

struct FileReads::Folder
{
    Fd dir;
    int error = 0; // the folder could not be opened within the root
};

FileReads::FileReads(const QString &root) : root_(root) {}

FileReads::~FileReads() = default;

ReadResult FileReads::read(const QString &path)
{
    QByteArray folder, name;
    if (const int err = splitPath(path, folder, name))
        return readFailure(err, path);
    auto known = folders_.constFind(folder);
    if (known == folders_.cend()) {
        auto opened = std::make_shared<Folder>();
        opened->error = openWithin(folder, root_, opened->dir);
        known = folders_.insert(folder, opened);
    }
    const Folder &f = **known;
    if (f.error)
        return readFailure(f.error, path);
    return readOpened(Fd(Sys::openat(f.dir.get(), name.constData(), kReadFlags)), path);
}
