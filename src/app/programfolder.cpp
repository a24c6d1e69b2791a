#include "app/programfolder.h"

#include "store/safewrite.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace {

const QString kPrefFile = u"pref.dat"_s;

std::optional<IoError> copyIfMissing(const QString &from, const QString &to, const QString &root)
{
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return std::nullopt;
    const ReadResult read = readWholeFile(from);
    if (!read.ok)
        return read.error.at(from, to);
    // A folder that cannot be made fails the write below, with its reason.
    QDir().mkpath(QFileInfo(to).absolutePath());
    const FileResult written = writeWholeFile(to, read.bytes, root);
    if (!written)
        return written.error.at(from, to);
    return std::nullopt;
}

} // namespace

QString withSlash(const QString &folder)
{
    QString f = folder;
    while (f.size() > 1 && f.endsWith(u'/'))
        f.chop(1);
    return f.endsWith(u'/') ? f : f + u'/';
}

ProgramFolderPlaces standardProgramFolderPlaces()
{
    const QString exe = QCoreApplication::applicationDirPath();
    return {exe, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation),
            QDir(exe + u"/../share/plimsa/defaults"_s).absolutePath()};
}

std::optional<IoError> copyMissingDefaults(const QString &defaultsFolder, const QString &target)
{
    const QString root = withSlash(target);
    const QDir defaults(defaultsFolder);
    QDirIterator it(defaultsFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = defaults.relativeFilePath(from);
        if (relative == kPrefFile)
            continue;
        if (auto failure = copyIfMissing(from, root + relative, root))
            return failure;
    }
    return copyIfMissing(withSlash(defaultsFolder) + kPrefFile, root + kPrefFile, root);
}

ProgramFolder locateProgramFolder(const ProgramFolderPlaces &places)
{
    const QString exe = withSlash(places.executableFolder);
    if (QFileInfo(exe + kPrefFile).isFile())
        return exe;
    const QString user = withSlash(places.userFolder);
    if (QFileInfo::exists(user + kPrefFile))
        return user;
    QDir().mkpath(user);
    return {user, copyMissingDefaults(places.defaultsFolder, user)};
}
