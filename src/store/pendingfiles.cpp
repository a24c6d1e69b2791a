#include "store/pendingfiles.h"

#include "platform/fd.h"
#include "platform/syscalls.h"
#include "store/notetable.h"
#include "store/storepaths.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace PendingFiles {
namespace {

// Hidden, so the window never shows it; no stored name starts with a dot
// and a dot, nor holds a "/", which separates a group from a title here.
constexpr char kName[] = ".plimsa-pending";
const QByteArray kHeader = "Plimsa pending files 1\n";

QString listPath(const QString &storeFolder)
{
    return storeFolder + QLatin1StringView(kName);
}

} // namespace

FileResult note(const QString &storeFolder, const QList<File> &files)
{
    QByteArray bytes = kHeader;
    bytes.reserve(kHeader.size() + files.size() * 40);
    QString group;
    QByteArray groupBytes; // the same group for a thousand files
    for (const File &file : files) {
        if (file.group != group || groupBytes.isEmpty()) {
            group = file.group;
            groupBytes = group.toUtf8();
        }
        bytes += groupBytes;
        bytes += '/';
        bytes += file.title.toUtf8();
        bytes += '\n';
    }
    return writeWholeFile(listPath(storeFolder), bytes, storeFolder);
}

FileResult clear(const QString &storeFolder)
{
    const QByteArray folder = QFile::encodeName(storeFolder);
    const Fd dir(Sys::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir)
        return FileResult::failed(IoError::fromErrno(errno, storeFolder));
    if (Sys::unlinkat(dir.get(), kName, 0) != 0 && errno != ENOENT)
        return FileResult::failed(IoError::fromErrno(errno, listPath(storeFolder)));
    if (Sys::syncFolder(dir.get()) != 0 && errno != EINVAL)
        return FileResult{true, IoError::fromErrno(errno, storeFolder), true, {}};
    return {};
}

void clearAfterCrash(const QString &storeFolder, const NoteTable &table)
{
    const QString path = listPath(storeFolder);
    const QByteArray encoded = QFile::encodeName(path);
    struct stat st;
    if (::lstat(encoded.constData(), &st) != 0)
        return;
    const ReadResult read = readWholeFile(path, storeFolder);
    // A list that cannot be read whole names nothing for certain: it is kept.
    if (!read.ok || !read.bytes.startsWith(kHeader))
        return;
    QHash<QString, QSet<QString>> named; // group -> titles idx.dat names, as asked
    const auto titlesOf = [&](const QString &group) -> const QSet<QString> * {
        const int g = table.findGroup(group);
        if (g < 0)
            return nullptr;
        auto it = named.find(group);
        if (it == named.end()) {
            QSet<QString> titles;
            for (int c = 1, n = table.entryCount(g); c <= n; ++c)
                titles.insert(table.cell(g, c));
            it = named.insert(group, titles);
        }
        return &*it;
    };
    QStringList newFolders;
    const QList<QByteArray> lines = read.bytes.sliced(kHeader.size()).split('\n');
    for (const QByteArray &line : lines) {
        const QString entry = QString::fromUtf8(line);
        const qsizetype slash = entry.indexOf(u'/');
        if (slash < 0)
            continue;
        const QString group = entry.left(slash);
        const QString title = entry.mid(slash + 1);
        if (!StorePaths::isSafeStoredName(group))
            continue;
        const QSet<QString> *titles = titlesOf(group);
        if (title.isEmpty()) {
            if (!titles)
                newFolders.append(group);
        } else if (StorePaths::isSafeStoredName(title) && (!titles || !titles->contains(title))) {
            ::unlink(QFile::encodeName(StorePaths::entryFile(storeFolder, group, title)).constData());
        }
    }
    // A new group's folder held its empty mask and the files listed; with
    // anything else in it, it is kept.
    for (const QString &group : std::as_const(newFolders)) {
        const QByteArray mask = QFile::encodeName(StorePaths::maskFile(storeFolder, group));
        if (::lstat(mask.constData(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0)
            ::unlink(mask.constData());
        const QString folder = StorePaths::groupFolder(storeFolder, group);
        removeLeftoverNewFiles(folder, false);
        ::rmdir(QFile::encodeName(folder).constData());
    }
    ::unlink(encoded.constData());
}

} // namespace PendingFiles
