#pragma once

#include "store/indexfile.h"
#include "store/ioerror.h"
#include "store/safewrite.h"
#include "store/storemarker.h"
#include "store/textlines.h"

#include <optional>

struct AppState;
class ErrorReport;
class Messages;
class Words;

// The procedures that move the notebook between memory and the store folder:
// pref.dat, idx.dat and the store marker. Reports go through the error report
// and the message boxes, exactly where the program always gave them.
class Store
{
public:
    Store(AppState &state, NoteTable &table, ErrorReport &reports, Messages &messages,
          const Words &words);

    // Reads pref.dat and resolves the store folder. False after the report that
    // names pref.dat: the program then ends.
    bool LoadPreferences();
    // Writes all preferences; a failure is reported (ShowErrorContinue) and false.
    bool Save_pref();

    enum class IndexResult { Loaded, LoadedFallback, Failed };
    // Reads idx.dat into the (empty) table; on failure word 115 and the fallback
    // store. Failed after the report naming the fallback idx.dat: the program ends.
    // The group list is filled by the caller.
    IndexResult LoadIndex();
    // Rewrites idx.dat from the table; a failure is reported and false.
    bool Save_idx();

    // Takes InUse.dat; on refusal words 111 and 112 and StoreInUse.
    void TakeStoreMarker();
    // Removes new files left over by a crash, once the store is ours. It reads
    // every group folder, so the window calls it after its first paint.
    void removeLeftovers();
    void releaseStoreMarker() { marker_.release(); }

private:
    bool LoadIndexFallback();
    // Reads the store folder's idx.dat into the table; the error when it cannot.
    std::optional<IoError> readIndex();
    bool write(const QString &path, const TextLines::Encoded &content, const QString &root);
    // CurrentFile names the file about to be opened until it has been opened.
    void aboutToOpen(const QString &path);
    void opened();

    AppState &state_;
    NoteTable &table_;
    ErrorReport &reports_;
    Messages &messages_;
    const Words &words_;
    StoreMarker marker_;
    IndexFile::Encoder indexEncoder_;
};
