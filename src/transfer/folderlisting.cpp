#include "transfer/folderlisting.h"

#include <QFile>

#include <algorithm>
#include <unistd.h>

namespace NotebookImport {

std::optional<std::vector<FolderEntry>> listFolder(int fd)
{
    DIR *dir = ::fdopendir(::dup(fd));
    if (!dir)
        return std::nullopt;
    std::vector<FolderEntry> entries;
    while (const dirent *d = ::readdir(dir)) {
        const QByteArrayView bytes(d->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        FolderEntry entry;
        entry.bytes = bytes.toByteArray();
        const bool ascii =
            std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
        entry.name = ascii ? QString::fromLatin1(entry.bytes) : QFile::decodeName(entry.bytes);
        // A name that is not UTF-8 cannot be given back to the system from
        // the text, nor be a title: the file is named and left out.
        entry.validName = ascii || QFile::encodeName(entry.name) == entry.bytes;
        entry.key = entry.name.toCaseFolded();
        entry.type = d->d_type;
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry &a, const FolderEntry &b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : a.bytes < b.bytes;
    });
    return entries;
}

} // namespace NotebookImport
