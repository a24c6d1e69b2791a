#include "store/ioerror.h"

#include <cstring>

IoError IoError::fromErrno(int err, const QString &file, const QString &targetFile)
{
    return IoError{QString::fromLocal8Bit(std::strerror(err)), err, file, targetFile};
}
