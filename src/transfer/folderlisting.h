#pragma once

#include <QByteArray>
#include <QString>

#include <dirent.h>
#include <optional>
#include <vector>

// A folder's names as the system lists them, for the import: the bytes as
// they are, so that a name that is not UTF-8 can be named and left out.
namespace NotebookImport {

// One name of a folder as the system lists it, and what it is where the
// listing says (DT_UNKNOWN otherwise).
struct FolderEntry
{
    QByteArray bytes;
    QString name;
    QString key; // the name without case, to sort by
    bool validName = true;
    unsigned char type = DT_UNKNOWN;
};

// The entries of the open folder `fd` in the order files are imported:
// by name without case, then with it.
std::optional<std::vector<FolderEntry>> listFolder(int fd);

} // namespace NotebookImport
