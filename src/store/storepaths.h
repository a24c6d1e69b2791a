#pragma once

#include <QByteArrayView>
#include <QString>

// Paths inside the store, each kind built in one place. Names are stored names
// (after OutDOS); the store folder ends in "/".
namespace StorePaths {

QString indexFile(const QString &storeFolder);                         // idx.dat
QString markerFile(const QString &storeFolder);                        // InUse.dat
QString groupFolder(const QString &storeFolder, const QString &group); // ends in "/"
QString entryFile(const QString &storeFolder, const QString &group, const QString &title);
QString maskFile(const QString &storeFolder, const QString &group);
QString exportFile(const QString &storeFolder); // LstPrnt.txt

// In this computer's own folder for the store (LocalFolder), never in the
// store. The notebook as this computer last took it in from the store, which a
// merge of two computers' versions starts from.
QString mergeBaseFile(const QString &programFolder, const QString &storeFolder);
// The base the last merge of copies of idx.dat started from, while the
// other computer may not have come to the same result yet.
QString mergeBaseBeforeFile(const QString &programFolder, const QString &storeFolder);

// A stored name that stays one path component inside its folder: not empty,
// not "." or "..", and without "/", "\" or NUL. A name read from idx.dat that
// fails this is a damaged index line; a typed name that fails it is refused.
bool isSafeStoredName(const QString &storedName);
// The same for a name still in the bytes of the code page, as idx.dat holds it.
bool isSafeStoredName(QByteArrayView storedBytes);

// The name of an entry's file in its group folder: the title and ".txt".
QString entryFileName(const QString &title);

// Whether a file or folder name is short enough for the file system: at most
// 255 bytes in Qt's file-name encoding, which is what the system is given.
bool fitsFileName(const QString &name);
// Whether any name of `length` UTF-16 characters fits, whatever they are
// (three bytes each at most): most names need not be encoded to know.
bool surelyFitsFileName(qsizetype length);

} // namespace StorePaths
