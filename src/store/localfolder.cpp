#include "store/localfolder.h"

#include "platform/fd.h"
#include "platform/syscalls.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>

using namespace Qt::StringLiterals;

namespace LocalFolder {

namespace {

const QString kLocal = u"local"_s;

QString storeKey(const QString &storeFolder)
{
    QString real = QFileInfo(storeFolder).canonicalFilePath();
    if (real.isEmpty())
        real = QDir::cleanPath(QFileInfo(storeFolder).absoluteFilePath());
    return QString::fromLatin1(
        QCryptographicHash::hash(QFile::encodeName(real), QCryptographicHash::Sha256)
            .toHex()
            .left(16));
}

// `name` made in the open folder `parent` unless it is there; 0 or the errno.
int makeIn(int parent, const QString &name)
{
    const QByteArray encoded = QFile::encodeName(name);
    if (Sys::mkdirat(parent, encoded.constData(), 0700) != 0)
        return errno == EEXIST ? 0 : errno;
    // The new name lasts only once its folder is synced; EINVAL: a file
    // system that cannot sync folders at all.
    if (Sys::syncFolder(parent) != 0 && errno != EINVAL)
        return errno;
    return 0;
}

} // namespace

QString forStore(const QString &programFolder, const QString &storeFolder)
{
    return root(programFolder) + storeKey(storeFolder) + u'/';
}

QString root(const QString &programFolder)
{
    return programFolder + kLocal + u'/';
}

std::optional<IoError> make(const QString &programFolder, const QString &storeFolder)
{
    const QString folder = forStore(programFolder, storeFolder);
    if (QFileInfo(folder).isDir())
        return std::nullopt;
    const QString local = programFolder + kLocal + u'/';
    const Fd program(Sys::open(QFile::encodeName(programFolder).constData(),
                               O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!program)
        return IoError::fromErrno(errno, programFolder);
    if (const int err = makeIn(program.get(), kLocal))
        return IoError::fromErrno(err, local);
    const Fd parent(Sys::openat(program.get(), QFile::encodeName(kLocal).constData(),
                                O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!parent)
        return IoError::fromErrno(errno, local);
    if (const int err = makeIn(parent.get(), storeKey(storeFolder)))
        return IoError::fromErrno(err, folder);
    return std::nullopt;
}

} // namespace LocalFolder
