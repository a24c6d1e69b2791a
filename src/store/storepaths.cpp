#include "store/storepaths.h"

#include "store/localfolder.h"

#include <QFile>
#include <QStringBuilder>

#include <climits>
#include <cstring>

using namespace Qt::Literals::StringLiterals;

namespace StorePaths {

namespace {
constexpr char16_t kEntryExtension[] = u".txt";
#ifdef NAME_MAX
constexpr qsizetype kNameMax = NAME_MAX;
#else
constexpr qsizetype kNameMax = 255;
#endif
} // namespace

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
    // Built in one allocation: an import makes a thousand of them a group.
    return storeFolder % group % u'/' % title % kEntryExtension;
}

QString maskFile(const QString &storeFolder, const QString &group)
{
    return groupFolder(storeFolder, group) + u"_mask.dat"_s;
}

QString exportFile(const QString &storeFolder)
{
    return storeFolder + u"LstPrnt.txt"_s;
}

QString mergeBaseFile(const QString &programFolder, const QString &storeFolder)
{
    return LocalFolder::forStore(programFolder, storeFolder) + u"merge-base.dat"_s;
}

QString mergeBaseBeforeFile(const QString &programFolder, const QString &storeFolder)
{
    return LocalFolder::forStore(programFolder, storeFolder) + u"merge-base-before.dat"_s;
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

QString entryFileName(const QString &title)
{
    return title % kEntryExtension;
}

bool fitsFileName(const QString &name)
{
    return QFile::encodeName(name).size() <= kNameMax;
}

bool surelyFitsFileName(qsizetype length)
{
    return length <= kNameMax / 3;
}

bool isSafeStoredName(QByteArrayView storedBytes)
{
    if (storedBytes.isEmpty() || storedBytes == "." || storedBytes == "..")
        return false;
    // The code page gives "/", "\\" and NUL their ASCII bytes and no others. An
    // index holds 100,000 names: eight bytes are looked at a time, a word with
    // none of the three bytes being one where no byte equals 0 after an xor.
    constexpr quint64 kEach = 0x0101010101010101ull;
    const auto hasZeroByte = [](quint64 w) { return (w - kEach) & ~w & (kEach * 0x80); };
    const char *p = storedBytes.data();
    const char *end = p + storedBytes.size();
    for (; end - p >= 8; p += 8) {
        quint64 w;
        std::memcpy(&w, p, 8);
        if (hasZeroByte(w) | hasZeroByte(w ^ (kEach * '/')) | hasZeroByte(w ^ (kEach * '\\')))
            return false;
    }
    for (; p != end; ++p) {
        if (*p == '/' || *p == '\\' || *p == '\0')
            return false;
    }
    return true;
}

} // namespace StorePaths
