#include "store/ioerror.h"

#include <cstring>

IoError IoError::fromErrno(int err)
{
    return IoError{QString::fromLocal8Bit(std::strerror(err)), err};
}
