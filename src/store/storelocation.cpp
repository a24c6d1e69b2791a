#include "store/storelocation.h"

#include "store/storepaths.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace StoreLocation {

bool isPreset(const QString &storePath)
{
    return storePath.compare(u"preset"_s, Qt::CaseInsensitive) == 0;
}

QString completeStorePath(const QString &storePath)
{
    if (isPreset(storePath))
        return storePath;
    QString path = storePath;
    if (!path.endsWith(u'/'))
        path += u'/';
    if (!path.endsWith(u"filestore/"_s, Qt::CaseInsensitive))
        path += u"FileStore/"_s;
    return path;
}

QString storeFolder(const QString &programFolder, const QString &storePath)
{
    return isPreset(storePath) ? defaultStoreFolder(programFolder) : completeStorePath(storePath);
}

QString defaultStoreFolder(const QString &programFolder)
{
    return programFolder + u"FileStore/"_s;
}

bool holdsIndex(const QString &storeFolder)
{
    const QFileInfo index(StorePaths::indexFile(storeFolder));
    return index.isFile() && !index.isSymLink();
}

} // namespace StoreLocation
