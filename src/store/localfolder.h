#pragma once

#include "store/ioerror.h"

#include <QString>
#include <optional>

// The program's own folder for one store: files this computer keeps about a
// store that never go into the store itself, where a sync program or another
// computer would carry them (the recovery copy of an open edit). It lies in
// the program folder, under "local/", named by a short hash of the store's
// real path, so each store has its own and a store reached by another path
// (a link) finds the same one.
namespace LocalFolder {

// "<program folder>local/<16 hex digits>/"; `programFolder` ends in "/".
QString forStore(const QString &programFolder, const QString &storeFolder);
// "<program folder>local/", the folder of every store's own.
QString root(const QString &programFolder);

// Makes the folder where it is missing (and "local/" before it), each made
// lasting in its parent; the error names the folder that could not be made.
std::optional<IoError> make(const QString &programFolder, const QString &storeFolder);

} // namespace LocalFolder
