#pragma once

#include "store/entryfile.h"
#include "store/safewrite.h"

#include <QString>

struct AppState;
class NoteTable;

// An entry's text file and a group's mask, found through the stored names. A
// read that fails is no error (the window shows the entry as missing). A write
// leaves CurrentFile naming the file when it fails, for the error report, and
// clears it once the file is written.
namespace EntryStore {

EntryFile::EntryRead readEntry(const AppState &state, const NoteTable &table, int g, int column);
EntryFile::MaskRead readMask(const AppState &state, const NoteTable &table, int g);

// `text` as the text box holds it (lines ended by LF); stored with CR LF. The
// group and the title are stored names.
WriteResult writeEntry(AppState &state, const QString &group, const QString &title,
                       const QString &date, const QString &text);
WriteResult writeMask(AppState &state, const QString &group, const QString &text);

// Text as a file holds it (CR LF) for a text box, which keeps LF alone.
QString toTextBox(const QString &stored);

} // namespace EntryStore
