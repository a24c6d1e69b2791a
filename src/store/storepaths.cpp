#include "store/storepaths.h"

using namespace Qt::Literals::StringLiterals;

namespace StorePaths {

QString indexFile(const QString &storeFolder)
{
    return storeFolder + u"idx.dat"_s;
}

QString markerFile(const QString &storeFolder)
{
    return storeFolder + u"InUse.dat"_s;
}

QString groupFolder(const QString &storeFolder, const QString &group)
{
    return storeFolder + group + u'/';
}

QString entryFile(const QString &storeFolder, const QString &group, const QString &title)
{
    return groupFolder(storeFolder, group) + title + u".txt"_s;
}

QString maskFile(const QString &storeFolder, const QString &group)
{
    return groupFolder(storeFolder, group) + u"_mask.dat"_s;
}

QString exportFile(const QString &storeFolder)
{
    return storeFolder + u"LstPrnt.txt"_s;
}

bool isSafeStoredName(const QString &storedName)
{
    if (storedName.isEmpty() || storedName == u"."_s || storedName == u".."_s)
        return false;
    for (const QChar c : storedName) {
        if (c == u'/' || c == u'\\' || c == QChar(u'\0'))
            return false;
    }
    return true;
}

bool isSafeStoredName(QByteArrayView storedBytes)
{
    if (storedBytes.isEmpty() || storedBytes == "." || storedBytes == "..")
        return false;
    // The code page gives these three characters their ASCII bytes and no others.
    for (const char b : storedBytes) {
        if (b == '/' || b == '\\' || b == '\0')
            return false;
    }
    return true;
}

} // namespace StorePaths
