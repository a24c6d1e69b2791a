#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct stat;

// What tells a file apart from the one this copy last read or wrote. Another
// program (a sync program, an editor) replaces a file by a rename (a new inode)
// or rewrites it in place (a new size or modification time). One stat compares
// it, also on network file systems that send no change notification.
struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1; // -1: no file
    qint64 modifiedNs = 0;
    bool regularFile = false; // not a folder, link or other kind of file

    bool exists() const { return size >= 0; }
    bool operator==(const FileIdentity &) const = default;
    static FileIdentity of(const struct stat &st);
    // Not following a link; "no file" when it cannot be looked at.
    static FileIdentity ofPath(const QString &path);
};

namespace OutsideChange {

// A copy a sync program left beside a file it found changed on two computers:
// "name.sync-conflict-DATE-TIME-DEVICE.ext", "name (conflicted copy DATE).ext",
// "name (someone's conflicted copy DATE).ext"; only those of the notebook's
// own kinds of file (.dat, .txt).
bool isConflictCopy(const QString &fileName);

// What a conflict copy's name tells: the file it is a copy of and the day
// the sync program made it. Syncthing's "x.sync-conflict-20261207-101500-
// ABCDEF1.txt", and "x (conflicted copy 2026-12-07 101500).txt" or
// "x (Someone's conflicted copy 2026-12-07).txt" as other sync programs name
// theirs; nothing for any other name, also for a copy of another kind of file.
struct ConflictName
{
    QString original; // "x.txt"
    QString date;     // "2026-12-07"
};
std::optional<ConflictName> parseConflictCopy(const QString &fileName);

// The conflict copies in the store folder and its group folders, as paths
// relative to the store folder, sorted. Reads every group folder: not for the
// way to the first paint.
QStringList findConflictCopies(const QString &storeFolder);
// The same in one folder of the store alone ("" for the store folder itself,
// else a group folder's name and "/"), for a folder that has just changed.
QStringList findConflictCopiesIn(const QString &storeFolder, const QString &relativeFolder);

} // namespace OutsideChange
