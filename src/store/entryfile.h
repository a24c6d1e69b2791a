#pragma once

#include "store/ioerror.h"
#include "store/safewrite.h"
#include "store/textlines.h"

#include <QByteArrayView>
#include <QString>

#include <functional>

// Entry text files (a date line, then the text) and group masks (the text
// alone). In memory a text holds its line breaks as CR LF, as read from the file.
namespace EntryFile {

struct Entry
{
    QString date;
    QString text; // every line followed by CR LF, as stored
};

// The date is the first line; the text is the rest of the file exactly as it
// stands, its last line break included. Files with LF or lone CR line ends
// come back with CR LF in their place.
Entry parseEntry(QByteArrayView bytes);
QString parseMask(QByteArrayView bytes);

// The date line, then one line per text line; a break at the end of the text
// gives no empty last line. CR LF, LF and a lone CR each end a text line.
TextLines::Encoded formatEntry(const QString &date, const QString &text);
TextLines::Encoded formatMask(const QString &text);

struct EntryRead
{
    bool ok = false;
    Entry entry;
    IoError error;
    FileIdentity identity; // of the file read, for the check before it is written again
};
struct MaskRead
{
    bool ok = false;
    QString text;
    IoError error;
};
// Reads within `storeFolder` only, as the writes below. An empty entry file
// holds no date line and is unreadable.
EntryRead readEntry(const QString &path, const QString &storeFolder);
MaskRead readMask(const QString &path, const QString &storeFolder);
// The same for a text box: `text` is given the entry's text a part at a time,
// decoded, each line break as LF (BoxTextDecoder), and `entry.text` stays
// empty, so that a very large entry is never held whole beside the box's own
// copy. Parts given before a read fails are no part of a text.
EntryRead readEntryForBox(const QString &path, const QString &storeFolder,
                          const std::function<void(const QString &)> &text,
                          qsizetype partBytes = qsizetype(1) << 20);
// The same through reads of many files within the store.
EntryRead readEntry(FileReads &reads, const QString &path);
MaskRead readMask(FileReads &reads, const QString &path);

// Whole-file writes inside `storeFolder`. Text the code page cannot hold is
// refused with an error and nothing is written.
FileResult writeEntry(const QString &path, const QString &date, const QString &text,
                      const QString &storeFolder);
FileResult writeMask(const QString &path, const QString &text, const QString &storeFolder);

} // namespace EntryFile
