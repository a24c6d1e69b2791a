#include "store/outsidechange.h"

#include <QFile>
#include <QRegularExpression>

#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

FileIdentity FileIdentity::of(const struct stat &st)
{
    return FileIdentity{quint64(st.st_dev), quint64(st.st_ino), qint64(st.st_size),
                        qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec,
                        S_ISREG(st.st_mode)};
}

FileIdentity FileIdentity::ofPath(const QString &path)
{
    // Forced past the attribute cache of a network file system, which could
    // otherwise answer with the file as it was seconds ago.
    struct statx st;
    if (::statx(AT_FDCWD, QFile::encodeName(path).constData(),
                AT_SYMLINK_NOFOLLOW | AT_STATX_FORCE_SYNC, STATX_BASIC_STATS, &st) != 0)
        return {};
    return FileIdentity{quint64(makedev(st.stx_dev_major, st.stx_dev_minor)), quint64(st.stx_ino),
                        qint64(st.stx_size),
                        qint64(st.stx_mtime.tv_sec) * 1'000'000'000 + st.stx_mtime.tv_nsec,
                        S_ISREG(st.stx_mode)};
}

namespace OutsideChange {

namespace {
// The two marks a synchronising service puts into the name of a conflict copy.
constexpr char kSyncConflict[] = ".sync-conflict-";
constexpr char kConflictedCopy[] = "conflicted copy"; // in any case
} // namespace

bool isConflictCopy(const QString &fileName)
{
    if (!fileName.endsWith(u".dat"_s, Qt::CaseInsensitive) &&
        !fileName.endsWith(u".txt"_s, Qt::CaseInsensitive))
        return false;
    return fileName.contains(QLatin1StringView(kSyncConflict)) ||
           fileName.contains(QLatin1StringView(kConflictedCopy), Qt::CaseInsensitive);
}

std::optional<ConflictName> parseConflictCopy(const QString &fileName)
{
    if (!isConflictCopy(fileName))
        return std::nullopt;
    // Syncthing: the mark between the name and its extension, a copy of a
    // copy with a second mark after the first; the day of the first is taken.
    static const QRegularExpression syncthing(
        u"^(.+?)\\.sync-conflict-(\\d{4})(\\d{2})(\\d{2})-\\d{6}-[A-Z0-9]{7}.*(\\.[^.]+)$"_s);
    // Others: " (... conflicted copy YYYY-MM-DD ...)" before the extension.
    static const QRegularExpression others(
        u"^(.+?) \\([^()]*conflicted copy (\\d{4}-\\d{2}-\\d{2})[^()]*(?:\\(\\d+\\))?\\)(?: \\(\\d+\\))?(\\.[^.]+)$"_s,
        QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = syncthing.match(fileName); m.hasMatch())
        return ConflictName{m.captured(1) + m.captured(5),
                            m.captured(2) + u'-' + m.captured(3) + u'-' + m.captured(4)};
    if (const QRegularExpressionMatch m = others.match(fileName); m.hasMatch())
        return ConflictName{m.captured(1) + m.captured(3), m.captured(2)};
    return std::nullopt;
}

namespace {

// The test on the bytes before a name is decoded. Nearly every name holds
// neither pattern; looking only where a 'c' stands is many times cheaper
// than the C library's case-blind search over every name of the store.
bool mayBeConflictCopy(const char *name)
{
    for (const char *c = name; (c = std::strpbrk(c, "cC")); ++c)
        if (::strncasecmp(c, kConflictedCopy, sizeof kConflictedCopy - 1) == 0)
            return true;
    return std::strstr(name, kSyncConflict) != nullptr;
}

// Names only, through the open folder: one listing, no stat of the entries
// unless the file system leaves their kind open.
void scan(int folderFd, const QString &prefix, bool descend, QStringList &found)
{
    DIR *dir = ::fdopendir(folderFd);
    if (!dir) {
        ::close(folderFd);
        return;
    }
    while (const struct dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat st;
            isFolder = ::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
                       S_ISDIR(st.st_mode);
        }
        if (isFolder) {
            if (!descend)
                continue;
            const int sub = ::openat(::dirfd(dir), name,
                                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (sub >= 0)
                scan(sub, prefix + QFile::decodeName(name) + u'/', false, found);
            continue;
        }
        if (!mayBeConflictCopy(name))
            continue;
        const QString fileName = QFile::decodeName(name);
        if (isConflictCopy(fileName))
            found.append(prefix + fileName);
    }
    ::closedir(dir);
}

} // namespace

QStringList findConflictCopies(const QString &storeFolder)
{
    QStringList found;
    const int fd = ::open(QFile::encodeName(storeFolder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        scan(fd, QString(), true, found);
    found.sort();
    return found;
}

QStringList findConflictCopiesIn(const QString &storeFolder, const QString &relativeFolder)
{
    QStringList found;
    const int fd = ::open(QFile::encodeName(storeFolder + relativeFolder).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0)
        scan(fd, relativeFolder, false, found);
    found.sort();
    return found;
}

} // namespace OutsideChange
