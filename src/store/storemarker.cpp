#include "store/storemarker.h"

#include "store/storepaths.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

StoreMarker::~StoreMarker()
{
    release();
}

bool StoreMarker::take(const QString &storeFolder, IoError *error)
{
    release();
    // O_NOFOLLOW and O_NONBLOCK: a link or a fifo in place of the marker must
    // neither create a file outside the store nor hang the start. O_CLOEXEC:
    // a program we start (the editor) must not keep the store locked.
    const int fd = ::open(QFile::encodeName(StorePaths::markerFile(storeFolder)).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0666);
    auto refuse = [&](int err) {
        if (fd >= 0)
            ::close(fd);
        if (error)
            *error = IoError::fromErrno(err);
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
    struct flock lock = {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_OFD_SETLK, &lock) == 0) {
        fd_ = fd;
        return true;
    }
    if (errno != EINVAL)
        return refuse(errno);
    // Kernels without open-file-description locks: flock has the same owner.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        fd_ = fd;
        return true;
    }
    return refuse(errno);
}

void StoreMarker::release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}
