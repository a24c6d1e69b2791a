#include "store/store.h"

#include "store/appstate.h"
#include "store/indexfile.h"
#include "store/notetable.h"
#include "store/preffile.h"
#include "store/storelocation.h"
#include "store/storepaths.h"

using namespace Qt::StringLiterals;

namespace {

QString prefFile(const AppState &state)
{
    return state.programFolder + u"pref.dat"_s;
}

} // namespace

Store::Store(AppState &state, NoteTable &table) : state_(state), table_(table) {}

const QString &Store::storeFolder() const
{
    return state_.storeFolder;
}

std::optional<IoError> Store::LoadPreferences()
{
    const QString path = prefFile(state_);
    const ReadResult read = readWholeFile(path);
    if (!read.ok)
        return read.error;
    const PrefFile::ParseResult parsed = PrefFile::parse(read.bytes, state_.prefs);
    if (!parsed)
        return parsed.error().at(path);
    Preferences &prefs = state_.prefs;
    prefs.StorePath = StoreLocation::completeStorePath(prefs.StorePath);
    state_.storeFolder = StoreLocation::storeFolder(state_.programFolder, prefs.StorePath);
    return std::nullopt;
}

FileResult Store::Save_pref()
{
    return write(prefFile(state_), PrefFile::serialize(state_.prefs, state_.ProgramVersion),
                 state_.programFolder);
}

FileResult Store::Save_idx()
{
    return write(StorePaths::indexFile(state_.storeFolder),
                 indexEncoder_.encode(table_, state_.ProgramVersion), state_.storeFolder);
}

FileResult Store::write(const QString &path, const TextLines::Encoded &content, const QString &root)
{
    if (!content)
        return FileResult::failed(content.error->at(path));
    return writeWholeFile(path, content.bytes, root);
}

std::optional<IoError> Store::readIndex()
{
    const QString path = StorePaths::indexFile(state_.storeFolder);
    table_.clear();
    const ReadResult read = readWholeFile(path);
    if (!read.ok)
        return read.error;
    const IndexFile::ParseResult parsed = IndexFile::parse(read.bytes, table_);
    if (!parsed) {
        // Nothing read before the damage may remain.
        table_.clear();
        return parsed.error().at(path);
    }
    return std::nullopt;
}

std::optional<IoError> Store::LoadIndex()
{
    return readIndex();
}

std::optional<IoError> Store::LoadIndexFallback()
{
    state_.storeFolder = StoreLocation::defaultStoreFolder(state_.programFolder);
    if (const std::optional<IoError> error = readIndex())
        return error;
    state_.StoreFallback = true;
    return std::nullopt;
}

bool Store::TakeStoreMarker()
{
    if (!marker_.take(state_.storeFolder, &markerRefusal_)) {
        state_.StoreInUse = true;
        return false;
    }
    return true;
}

void Store::removeLeftovers()
{
    // Only the copy that holds the store may clear away what a crashed copy left.
    if (!marker_.held())
        return;
    removeLeftoverNewFiles(state_.storeFolder, true);
    removeLeftoverNewFiles(state_.programFolder, false);
}

bool Store::markerStillHeld()
{
    IoError why;
    if (marker_.stillHeld(&why))
        return true;
    // Lost for the rest of the run, even where the lock could be had again:
    // another copy may have written the store meanwhile.
    marker_.release();
    if (storeLost_)
        storeLost_(why);
    return false;
}
