#pragma once

#include "store/entryfile.h"
#include "store/safewrite.h"

#include <QString>

struct AppState;
class NoteTable;

// An entry's text file and a group's mask, found through the stored names. A
// read that fails is no error (the window shows the entry as missing). A write
// that fails names the file in its error.
namespace EntryStore {

// The largest entry file the window shows, in bytes. The text box takes
// about four times a file's bytes to show it (a 50 MB entry of 80-character
// lines: 190 MB, and seconds), and eight times once its width changes (the
// window resized, word wrap switched), when every line is laid out again; a
// larger file is refused by name and left to another program.
inline constexpr qint64 kLargestShownEntry = qint64(64) << 20;

EntryFile::EntryRead readEntry(const AppState &state, const NoteTable &table, int g, int column);
// The same for a text box, a part at a time (EntryFile::readEntryForBox).
EntryFile::EntryRead readEntryForBox(const AppState &state, const NoteTable &table, int g,
                                     int column, const std::function<void(const QString &)> &text);
EntryFile::MaskRead readMask(const AppState &state, const NoteTable &table, int g);

// `text` as the text box holds it (lines ended by LF); stored with CR LF. The
// group and the title are stored names.
FileResult writeEntry(const QString &storeFolder, const QString &group, const QString &title,
                      const QString &date, const QString &text);
FileResult writeMask(const QString &storeFolder, const QString &group, const QString &text);
// An entry file written through a batch (a change that makes many), its
// text already in the code page with CR LF (EntryFile::formatEntry's lines).
FileResult writeEntry(FileBatch &batch, const QString &storeFolder, const QString &group,
                      const QString &title, const QString &date, const QByteArray &storedText);

// Text as a file holds it (CR LF) for a text box, which keeps LF alone.
QString toTextBox(const QString &stored);

} // namespace EntryStore
