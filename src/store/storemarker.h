#pragma once

#include "store/ioerror.h"

#include <QByteArray>
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

    // False when another copy holds the store, the folder is read-only or its
    // file system keeps no locks (see keepsNoLocks).
    bool take(const QString &storeFolder, IoError *error = nullptr);
    void release();
    bool held() const { return fd_ >= 0; }

    // The lock asserted again on the descriptor held since take, and the
    // marker on disk still the file that descriptor locks. A network file
    // system frees the lock of a client it lost and lets another computer take
    // it; the holder learns of it only by asking. False, with the reason, when
    // the lock is gone, the descriptor is dead (a lost connection) or the
    // marker was removed or replaced.
    bool stillHeld(IoError *error = nullptr) const;

    // What the copy that held the marker last left in it (read by take; empty
    // when nothing), and a new note in its place while this copy holds it.
    // `at` receives the marker's modification time after the write (ns since
    // the epoch, from the file system's clock). Nothing else reads the marker.
    const QByteArray &note() const { return note_; }
    bool writeNote(const QByteArray &note, qint64 *at = nullptr);

    // A refusal of take that says the file system cannot lock at all.
    static bool keepsNoLocks(const IoError &refusal);
    // A refusal of take because InUse.dat is no plain file (a folder, a link,
    // a pipe): no other copy is the cause.
    static bool notAFile(const IoError &refusal);

private:
    int lock(int fd) const;
    bool keep(int fd);

    int fd_ = -1;
    bool ofd_ = true; // an open-file-description lock, or flock where none exist
    QByteArray path_;
    QByteArray note_;
};
