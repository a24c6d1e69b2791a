#pragma once

#include "store/indexfile.h"
#include "store/ioerror.h"
#include "store/safewrite.h"
#include "store/storemarker.h"
#include "store/textlines.h"

#include <functional>
#include <optional>

struct AppState;

// The procedures that move the notebook between memory and the store folder:
// pref.dat, idx.dat and the store marker. They report nothing themselves: each
// result carries its error, with the path, for the caller's report.
class Store
{
public:
    Store(AppState &state, NoteTable &table);
    // A copy that still holds the store notes its clean end in the marker.
    ~Store();
    Store(const Store &) = delete;
    Store &operator=(const Store &) = delete;

    // Reads pref.dat and resolves the store folder; the error names pref.dat.
    [[nodiscard]] std::optional<IoError> LoadPreferences();
    // Writes all preferences.
    [[nodiscard]] FileResult Save_pref();

    // Reads the store folder's idx.dat into the (emptied) table. On failure the
    // table is left empty.
    [[nodiscard]] std::optional<IoError> LoadIndex();
    // The same from the fallback store in the program folder, which becomes the
    // store folder; sets StoreFallback when it loads.
    [[nodiscard]] std::optional<IoError> LoadIndexFallback();
    // What a start tells after LoadIndex failed with `error`, and whether it
    // tries the fallback store: only a store without idx.dat "cannot find"
    // it; a file that is there is named with what is wrong with it, and is
    // not read a second time from the same folder.
    enum class IndexFailure {
        NotFound,    // "cannot find", then the fallback store
        NotReadable, // the error, then the fallback store
        Final,       // the error in the fallback store itself, and the end
    };
    IndexFailure indexFailure(const IoError &error) const;
    // Rewrites idx.dat from the table.
    [[nodiscard]] FileResult Save_idx();

    // Asked before idx.dat is written: true while it is still the file this
    // copy last read or wrote. Otherwise another program changed it (a sync
    // program, a second computer, an editor), the write must not happen, and
    // the callback set below, if any, has been told (`told`).
    [[nodiscard]] bool indexStillOurs(bool *told = nullptr);
    // The same question, asked without telling anyone.
    bool indexChangedOutside() const;
    void setIndexChangedOutside(std::function<void()> changed) { indexChanged_ = std::move(changed); }
    // Reads idx.dat again after a change from outside. On failure the table
    // stays as it was (and so does the mismatch: nothing is written over it).
    [[nodiscard]] std::optional<IoError> reloadIndex();

    // Takes InUse.dat; false (and StoreInUse) when another copy holds it or the
    // folder cannot hold it.
    [[nodiscard]] bool TakeStoreMarker();
    // Removes new files left over by a crash, once the store is ours, and
    // what a command cut short left of its pending files. After a
    // clean end that nothing has changed since, there are none; otherwise it
    // reads every group folder, so the window calls it after its first paint.
    void removeLeftovers();
    // Lets the store go, with a note of the clean end.
    void releaseStoreMarker();
    // Why TakeStoreMarker failed; StoreMarker::keepsNoLocks tells a file
    // system without locks from a store in use.
    const IoError &markerRefusal() const { return markerRefusal_; }

    // Asked before every write into the store: true while this copy still
    // holds InUse.dat (StoreMarker::stillHeld). Otherwise the write must not
    // happen, and the lost-store callback has been told why.
    [[nodiscard]] bool markerStillHeld();
    // app/ turns the loss into the lock of a start with the store in use.
    void setStoreLost(std::function<void(const IoError &)> lost) { storeLost_ = std::move(lost); }

    const QString &storeFolder() const;

private:
    std::optional<IoError> readIndex();
    void noteCleanEnd();
    FileResult write(const QString &path, const TextLines::Encoded &content, const QString &root);

    AppState &state_;
    NoteTable &table_;
    StoreMarker marker_;
    IoError markerRefusal_;
    std::function<void(const IoError &)> storeLost_;
    IndexFile::Encoder indexEncoder_;
    FileIdentity indexIdentity_;
    std::function<void()> indexChanged_;
};
