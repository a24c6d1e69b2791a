#include "store/store.h"

#include "app/errorreport.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
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

Store::Store(AppState &state, NoteTable &table, ErrorReport &reports, Messages &messages,
             const Words &words)
    : state_(state), table_(table), reports_(reports), messages_(messages), words_(words)
{}

void Store::aboutToOpen(const QString &path)
{
    state_.CurrentFile = path;
    state_.TargetFile.clear();
}

void Store::opened()
{
    state_.CurrentFile.clear();
    state_.TargetFile.clear();
}

bool Store::LoadPreferences()
{
    aboutToOpen(prefFile(state_));
    const ReadResult read = readWholeFile(state_.CurrentFile);
    if (!read.ok) {
        reports_.ShowErrorCancel(read.error);
        return false;
    }
    // CurrentFile still names pref.dat, so a damaged line is reported with it.
    const PrefFile::ParseResult parsed = PrefFile::parse(read.bytes, state_.prefs);
    if (!parsed) {
        reports_.ShowErrorCancel(parsed.error());
        return false;
    }
    opened();
    Preferences &prefs = state_.prefs;
    prefs.StorePath = StoreLocation::completeStorePath(prefs.StorePath);
    state_.storeFolder = StoreLocation::storeFolder(state_.programFolder, prefs.StorePath);
    return true;
}

bool Store::Save_pref()
{
    state_.FilesWritten = true;
    return write(prefFile(state_), PrefFile::serialize(state_.prefs, state_.ProgramVersion),
                 state_.programFolder);
}

bool Store::Save_idx()
{
    state_.FilesWritten = true;
    return write(StorePaths::indexFile(state_.storeFolder),
                 indexEncoder_.encode(table_, state_.ProgramVersion), state_.storeFolder);
}

bool Store::write(const QString &path, const TextLines::Encoded &content, const QString &root)
{
    aboutToOpen(path);
    const WriteResult written =
        content ? writeWholeFile(path, content.bytes, root) : WriteResult{false, *content.error};
    if (!written) {
        reports_.ShowErrorContinue(written.error);
        return false;
    }
    opened();
    return true;
}

std::optional<IoError> Store::readIndex()
{
    aboutToOpen(StorePaths::indexFile(state_.storeFolder));
    const ReadResult read = readWholeFile(state_.CurrentFile);
    if (!read.ok)
        return read.error;
    const IndexFile::ParseResult parsed = IndexFile::parse(read.bytes, table_);
    if (!parsed)
        return parsed.error();
    opened();
    return std::nullopt;
}

Store::IndexResult Store::LoadIndex()
{
    table_.clear();
    if (!readIndex())
        return IndexResult::Loaded;
    messages_.message(Messages::Icon::Critical, words_(79), words_(115));
    return LoadIndexFallback() ? IndexResult::LoadedFallback : IndexResult::Failed;
}

bool Store::LoadIndexFallback()
{
    state_.storeFolder = StoreLocation::defaultStoreFolder(state_.programFolder);
    // Nothing read before the failure may remain.
    table_.clear();
    if (const std::optional<IoError> error = readIndex()) {
        table_.clear();
        reports_.ShowErrorCancel(*error);
        return false;
    }
    state_.StoreFallback = true;
    return true;
}

void Store::TakeStoreMarker()
{
    aboutToOpen(StorePaths::markerFile(state_.storeFolder));
    if (!marker_.take(state_.storeFolder)) {
        opened(); // the refusal is expected; no later report should name the marker
        messages_.message(Messages::Icon::Information, words_(79),
                          words_(111) + u"\n\n"_s + words_(112));
        state_.StoreInUse = true;
        return;
    }
    opened();
}

void Store::removeLeftovers()
{
    // Only the copy that holds the store may clear away what a crashed copy left.
    if (!marker_.held())
        return;
    removeLeftoverNewFiles(state_.storeFolder, true);
    removeLeftoverNewFiles(state_.programFolder, false);
}
