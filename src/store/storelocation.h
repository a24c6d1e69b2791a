#pragma once

#include <QString>

// Where the store folder is, from the StorePath setting: the word "preset" (any
// case) for FileStore/ in the program folder, or a folder path that always
// names a folder called FileStore.
namespace StoreLocation {

bool isPreset(const QString &storePath);

// The setting in the form it is kept and written back: "preset" as typed;
// otherwise ending in "/" and then in "FileStore/" unless the path already ends
// in that folder (in any case).
QString completeStorePath(const QString &storePath);

// The store folder for a completed (or preset) StorePath; ends in "/".
QString storeFolder(const QString &programFolder, const QString &storePath);

// The store every start can fall back on: FileStore/ in the program folder.
QString defaultStoreFolder(const QString &programFolder);

// Whether `storeFolder` holds an idx.dat the store can read: a regular file,
// not a link to one (the reader never follows a link).
bool holdsIndex(const QString &storeFolder);

} // namespace StoreLocation
