#include "store/storemarker.h"

#include "platform/syscalls.h"
#include "store/storepaths.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// Set as the number of a refusal whose marker is no plain file: neither an
// open nor a lock of a regular file gives it.
constexpr int kNotAFile = EMEDIUMTYPE;

QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return u"a folder"_s;
    if (S_ISLNK(mode))
        return u"a symbolic link"_s;
    if (S_ISFIFO(mode))
        return u"a named pipe"_s;
    if (S_ISSOCK(mode))
        return u"a socket"_s;
    return u"a device"_s;
}

} // namespace

StoreMarker::~StoreMarker()
{
    release();
}

int StoreMarker::lock(int fd) const
{
    if (!ofd_)
        return Sys::flock(fd, LOCK_EX | LOCK_NB);
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return Sys::fcntlLock(fd, F_OFD_SETLK, &lock);
}

bool StoreMarker::take(const QString &storeFolder, IoError *error)
{
    release();
    path_ = QFile::encodeName(StorePaths::markerFile(storeFolder));
    // O_NOFOLLOW and O_NONBLOCK: a link or a fifo in place of the marker must
    // neither create a file outside the store nor hang the start. O_CLOEXEC:
    // a program we start (the editor) must not keep the store locked.
    const int fd =
        ::open(path_.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    auto refuse = [&](int err) {
        if (fd >= 0)
            ::close(fd);
        if (!error)
            return false;
        *error = IoError::fromErrno(err, QFile::decodeName(path_));
        struct stat st;
        if (::lstat(path_.constData(), &st) == 0 && !S_ISREG(st.st_mode))
            *error = IoError{u"The store's marker is %1, not a file"_s.arg(kindOf(st.st_mode)),
                             kNotAFile,
                             error->file,
                             {}};
        return false;
    };
    if (fd < 0)
        return refuse(errno);
    struct stat st;
    if (::fstat(fd, &st) != 0)
        return refuse(errno);
    if (!S_ISREG(st.st_mode))
        return refuse(EINVAL);

    // An open-file-description lock belongs to this one descriptor: closing
    // any other descriptor of the file does not drop it (a classic record lock
    // would be lost), and a second take in the same process conflicts.
    ofd_ = true;
    if (lock(fd) == 0)
        return keep(fd);
    if (errno != EINVAL)
        return refuse(errno);
    // Kernels without open-file-description locks: flock has the same owner.
    ofd_ = false;
    if (lock(fd) == 0)
        return keep(fd);
    return refuse(errno);
}

bool StoreMarker::keep(int fd)
{
    fd_ = fd;
    char buffer[128];
    const ssize_t n = ::pread(fd, buffer, sizeof buffer, 0);
    note_ = n > 0 ? QByteArray(buffer, n) : QByteArray();
    return true;
}

bool StoreMarker::writeNote(const QByteArray &note, qint64 *at)
{
    if (!stillHeld())
        return false;
    if ((!note.isEmpty() && ::pwrite(fd_, note.constData(), size_t(note.size()), 0) != note.size()) ||
        ::ftruncate(fd_, note.size()) != 0)
        return false;
    struct stat st;
    if (at && ::fstat(fd_, &st) == 0)
        *at = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

bool StoreMarker::stillHeld(IoError *error) const
{
    const auto lost = [&](int err, const QString &why) {
        if (error)
            *error = IoError{err ? why + u": "_s + IoError::fromErrno(err).description : why,
                             err,
                             QFile::decodeName(path_),
                             {}};
        return false;
    };
    if (fd_ < 0)
        return lost(0, u"The store was not taken or was let go"_s);
    // Asking again for the lock this descriptor holds changes nothing while
    // it holds it; it fails once another holder has it or the descriptor died.
    if (lock(fd_) != 0)
        return lost(errno, u"The lock on the store was lost"_s);
    struct stat held;
    struct stat onDisk;
    if (::fstat(fd_, &held) != 0)
        return lost(errno, u"The lock on the store was lost"_s);
    if (::lstat(path_.constData(), &onDisk) != 0)
        return lost(errno, u"The store's marker is gone"_s);
    if (held.st_dev != onDisk.st_dev || held.st_ino != onDisk.st_ino)
        return lost(ESTALE, u"The store's marker was replaced"_s);
    return true;
}

bool StoreMarker::keepsNoLocks(const IoError &refusal)
{
    return refusal.number == ENOLCK || refusal.number == EOPNOTSUPP || refusal.number == ENOSYS;
}

bool StoreMarker::notAFile(const IoError &refusal)
{
    return refusal.number == kNotAFile;
}

void StoreMarker::release()
{
    note_.clear();
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}
