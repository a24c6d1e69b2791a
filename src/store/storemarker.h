#pragma once

#include "store/ioerror.h"

#include <QString>

// InUse.dat: an exclusive open-file-description lock held for the whole run.
// The kernel drops it when the holder ends, also after a crash.
class StoreMarker
{
public:
    StoreMarker() = default;
    ~StoreMarker();
    StoreMarker(const StoreMarker &) = delete;
    StoreMarker &operator=(const StoreMarker &) = delete;

    // False when another copy holds the store or the folder is read-only.
    bool take(const QString &storeFolder, IoError *error = nullptr);
    void release();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
