#include "store/store.h"

#include "store/appstate.h"
#include "store/indexfile.h"
#include "store/localfolder.h"
#include "store/notetable.h"
#include "store/pendingfiles.h"
#include "store/preffile.h"
#include "store/storelocation.h"
#include "store/storepaths.h"

#include <QFileInfo>

#include <cerrno>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

// The note of a clean end in the marker, followed by the store's leftoverStamp.
constexpr QByteArrayView kCleanEnd = "clean end ";

QString prefFile(const AppState &state)
{
    return state.programFolder + u"pref.dat"_s;
}

} // namespace

Store::Store(AppState &state, NoteTable &table) : state_(state), table_(table) {}

Store::~Store()
{
    noteCleanEnd();
}

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
    FileResult written = write(StorePaths::indexFile(state_.storeFolder),
                               indexEncoder_.encode(table_, state_.ProgramVersion),
                               state_.storeFolder);
    if (written)
        indexIdentity_ = written.identity;
    return written;
}

bool Store::indexChangedOutside() const
{
    const FileIdentity now = FileIdentity::ofPath(StorePaths::indexFile(state_.storeFolder));
    // A folder or link in its place holds no notebook to keep: the write
    // refuses it and says so.
    if (now.exists() && !now.regularFile)
        return false;
    return now != indexIdentity_;
}

bool Store::indexStillOurs(bool *told)
{
    if (told)
        *told = false;
    if (!indexChangedOutside())
        return true;
    if (indexChanged_) {
        indexChanged_();
        if (told)
            *told = true;
    }
    return false;
}

std::optional<IoError> Store::reloadIndex()
{
    const QString path = StorePaths::indexFile(state_.storeFolder);
    const ReadResult read = readWholeFile(path);
    if (!read.ok)
        return read.error;
    NoteTable fresh;
    if (const IndexFile::ParseResult parsed = IndexFile::parse(read.bytes, fresh); !parsed)
        return parsed.error().at(path);
    table_ = std::move(fresh);
    indexIdentity_ = read.identity;
    return std::nullopt;
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
    indexIdentity_ = read.identity;
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

Store::IndexFailure Store::indexFailure(const IoError &error) const
{
    if (error.number == ENOENT || error.number == ENOTDIR)
        return IndexFailure::NotFound;
    const QString fallback =
        QFileInfo(StoreLocation::defaultStoreFolder(state_.programFolder)).canonicalFilePath();
    return QFileInfo(state_.storeFolder).canonicalFilePath() == fallback ? IndexFailure::Final
                                                                          : IndexFailure::NotReadable;
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
    // Whatever the note says: a command cut short may have left its list.
    PendingFiles::clearAfterCrash(state_.storeFolder, table_);
    // The copy before this one ended cleanly, and no folder of the store has
    // changed since: no new file can be left in it. Anything else (a crash, a
    // write by a copy that leaves no note, a file put there by hand) changed
    // a folder, and every folder is read.
    const QByteArray &note = marker_.note();
    if (!note.startsWith(kCleanEnd) ||
        note.sliced(kCleanEnd.size()) != leftoverStamp(state_.storeFolder))
        removeLeftoverNewFiles(state_.storeFolder, true);
    // Small folders: always read. What the program keeps of each store it
    // was used on lies one level down (LocalFolder::forStore).
    removeLeftoverNewFiles(state_.programFolder, false);
    removeLeftoverNewFiles(LocalFolder::root(state_.programFolder), true);
}

void Store::releaseStoreMarker()
{
    noteCleanEnd();
    marker_.release();
}

void Store::noteCleanEnd()
{
    if (!marker_.held() || newFilesMayBeLeft())
        return;
    qint64 newest = 0;
    const QByteArray stamp = leftoverStamp(state_.storeFolder, &newest);
    qint64 at = std::numeric_limits<qint64>::min() / 2;
    if (stamp.isEmpty() || !marker_.writeNote(kCleanEnd.toByteArray() + stamp, &at))
        return;
    // A folder changed in the last moments could change again within the
    // same tick of the file system's clock and keep its time: no note then.
    constexpr qint64 kSettled = 2'000'000'000;
    if (newest > at - kSettled)
        (void)marker_.writeNote(QByteArray());
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
