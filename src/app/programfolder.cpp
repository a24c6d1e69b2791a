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

void copyIfMissing(const QString &from, const QString &to, const QString &root)
{
    if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
        return;
    const ReadResult read = readWholeFile(from);
    if (!read.ok)
        return;
    QDir().mkpath(QFileInfo(to).absolutePath());
    // A failure leaves the file missing; the start then reports it by name.
    writeWholeFile(to, read.bytes, root);
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

void copyMissingDefaults(const QString &defaultsFolder, const QString &target)
{
    const QString root = withSlash(target);
    const QDir defaults(defaultsFolder);
    QDirIterator it(defaultsFolder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString relative = defaults.relativeFilePath(from);
        if (relative != kPrefFile)
            copyIfMissing(from, root + relative, root);
    }
    copyIfMissing(withSlash(defaultsFolder) + kPrefFile, root + kPrefFile, root);
}

QString locateProgramFolder(const ProgramFolderPlaces &places)
{
    const QString exe = withSlash(places.executableFolder);
    if (QFileInfo(exe + kPrefFile).isFile())
        return exe;
    const QString user = withSlash(places.userFolder);
    if (!QFileInfo::exists(user + kPrefFile)) {
        QDir().mkpath(user);
        copyMissingDefaults(places.defaultsFolder, user);
    }
    return user;
}
