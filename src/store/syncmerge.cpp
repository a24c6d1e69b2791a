#include "store/syncmerge.h"

#include "platform/syscalls.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/errorreports.h"
#include "store/indexfile.h"
#include "store/localfolder.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "store/outsidechange.h"
#include "store/safewrite.h"
#include "store/store.h"
#include "store/storepaths.h"

#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace SyncMerge {

namespace {

constexpr char kIndexName[] = "idx.dat";
constexpr char kMaskName[] = "_mask.dat";
constexpr char kEntryEnd[] = ".txt";
// Names a message lists before it only counts the rest.
constexpr int kNamedAtMost = 8;

struct Name
{
    QString name;
    bool folder = false;
};

// The regular files and folders of a folder, not following links: one
// listing, a stat only where the file system leaves the kind open.
QList<Name> listFolder(const QString &path)
{
    QList<Name> names;
    DIR *dir = ::opendir(QFile::encodeName(path).constData());
    if (!dir)
        return names;
    while (const dirent *entry = ::readdir(dir)) {
        const char *name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0')))
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(::dirfd(dir), name, &st, AT_SYMLINK_NOFOLLOW) == 0)
                type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_UNKNOWN;
        }
        if (type == DT_DIR || type == DT_REG)
            names.append(Name{QFile::decodeName(name), type == DT_DIR});
    }
    ::closedir(dir);
    return names;
}

// What the store folder and its group folders hold, as the merge asks.
struct Found
{
    IndexMerge::Disk disk;
    QList<IndexMerge::EntryCopy> entryCopies;
    QStringList maskCopies;
    QStringList otherCopies;
};

// Every group folder, but hidden folders no version names (a sync program's
// own, such as ".stfolder"): they hold no entries.
Found readDisk(const QString &store, const QSet<QString> &named)
{
    Found found;
    for (const Name &folder : listFolder(store)) {
        if (!folder.folder || (folder.name.startsWith(u'.') && !named.contains(folder.name)))
            continue;
        IndexMerge::Disk::Folder &files = found.disk.folders[folder.name];
        for (const Name &file : listFolder(store + folder.name)) {
            if (file.folder)
                continue;
            if (file.name == QLatin1StringView(kMaskName)) {
                files.mask = true;
            } else if (const auto copy = OutsideChange::parseConflictCopy(file.name)) {
                const QString relative = folder.name + u'/' + file.name;
                if (copy->original == QLatin1StringView(kMaskName))
                    found.maskCopies << relative;
                else if (copy->original.endsWith(QLatin1StringView(kEntryEnd)) &&
                         file.name.endsWith(QLatin1StringView(kEntryEnd)))
                    found.entryCopies << IndexMerge::EntryCopy{
                        folder.name, file.name.chopped(4), copy->original.chopped(4), copy->date};
                else
                    found.otherCopies << relative;
            } else if (file.name.endsWith(QLatin1StringView(kEntryEnd))) {
                files.titles.insert(file.name.chopped(4));
            }
        }
    }
    const auto byName = [](const IndexMerge::EntryCopy &a, const IndexMerge::EntryCopy &b) {
        return QString::compare(a.group + u'/' + a.copyTitle, b.group + u'/' + b.copyTitle) < 0;
    };
    std::sort(found.entryCopies.begin(), found.entryCopies.end(), byName);
    found.maskCopies.sort();
    return found;
}

// The files of the group named as an earlier merge names an entry's other
// text that hold the copy's bytes: the copy was taken in already.
std::optional<IoError> findSameBytes(const QString &store, const IndexMerge::Disk &disk,
                                     IndexMerge::EntryCopy &copy)
{
    const QString made = IndexMerge::otherTextTitle(copy.title, copy.date);
    const IndexMerge::Disk::Folder &folder = disk.folders[copy.group];
    QStringList candidates;
    for (const QString &title : folder.titles) {
        const QStringView rest = QStringView(title).mid(made.size());
        if (title.startsWith(made) &&
            std::all_of(rest.begin(), rest.end(), [](QChar c) { return c == u'_'; }))
            candidates << title;
    }
    if (candidates.isEmpty())
        return std::nullopt;
    const ReadResult copyRead =
        readWholeFile(StorePaths::entryFile(store, copy.group, copy.copyTitle), store);
    if (!copyRead.ok)
        return copyRead.error;
    for (const QString &title : std::as_const(candidates)) {
        const ReadResult read = readWholeFile(StorePaths::entryFile(store, copy.group, title), store);
        if (!read.ok)
            return read.error;
        if (read.bytes == copyRead.bytes)
            copy.sameBytes << title;
    }
    return std::nullopt;
}

// The base, if this computer keeps one: a file that is not there, or no
// longer reads as an index, is none; a read that fails is an error.
std::optional<IoError> readBase(const AppState &state, const QString &path,
                                std::optional<NoteTable> &base)
{
    const ReadResult read = readWholeFile(path, state.programFolder);
    if (!read.ok)
        return read.error.number == ENOENT ? std::nullopt : std::optional(read.error);
    NoteTable table;
    if (IndexFile::parse(read.bytes, table))
        base = std::move(table);
    return std::nullopt;
}

// `before`: the base a merge of copies of idx.dat started from, kept beside
// it; every other base lets the one kept go.
FileResult writeBase(const AppState &state, const NoteTable &table,
                     const NoteTable *before = nullptr)
{
    const QString file = StorePaths::mergeBaseFile(state.programFolder, state.storeFolder);
    const QString beforeFile = StorePaths::mergeBaseBeforeFile(state.programFolder, state.storeFolder);
    // The folder is made as needed.
    if (std::optional<IoError> error = LocalFolder::make(state.programFolder, state.storeFolder))
        return FileResult::failed(std::move(*error));
    // Written or let go of first: where that fails, both stay as they were.
    if (before) {
        const TextLines::Encoded kept = IndexFile::serialize(*before, state.ProgramVersion);
        if (!kept)
            return FileResult::failed(kept.error->at(beforeFile));
        if (FileResult written = writeWholeFile(beforeFile, kept.bytes, state.programFolder); !written)
            return written;
    } else if (Sys::unlinkat(AT_FDCWD, QFile::encodeName(beforeFile).constData(), 0) != 0 &&
               errno != ENOENT) {
        return FileResult::failed(IoError::fromErrno(errno, beforeFile));
    }
    const TextLines::Encoded bytes = IndexFile::serialize(table, state.ProgramVersion);
    if (!bytes)
        return FileResult::failed(bytes.error->at(file));
    return writeWholeFile(file, bytes.bytes, state.programFolder);
}

// "group/title" as the lists show it.
QString shown(const QString &stored)
{
    const qsizetype slash = stored.indexOf(u'/');
    return slash < 0 ? InDOS(stored) : InDOS(stored.left(slash)) + u'/' + InDOS(stored.mid(slash + 1));
}

QString listed(const QStringList &names)
{
    QStringList out;
    for (const QString &name : names.mid(0, kNamedAtMost))
        out << shown(name);
    if (names.size() > kNamedAtMost)
        out << u"and %1 more"_s.arg(names.size() - kNamedAtMost);
    return out.join(u", "_s);
}

bool isGone(const AppState &state, const QString &name)
{
    const QString group = name.section(u'/', 0, 0);
    const QString title = name.section(u'/', 1);
    const QString path = title.isEmpty() ? StorePaths::groupFolder(state.storeFolder, group)
                                         : StorePaths::entryFile(state.storeFolder, group, title);
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT;
}

// Whether the table names `name` ("group/" or "group/title"); its slot and column.
bool names(const NoteTable &table, const QString &name, int *g, int *c)
{
    *g = table.findGroup(name.section(u'/', 0, 0));
    const QString title = name.section(u'/', 1);
    *c = title.isEmpty() || *g < 0 ? 0 : table.findTitle(*g, title);
    return *g >= 0 && *c >= 0;
}

// The names of `keptByFile` whose files have gone, out of the table; those
// it no longer names, out of the list. False when none went.
bool dropGone(NoteTable &table, const AppState &state, QStringList &keptByFile)
{
    bool dropped = false;
    keptByFile.removeIf([&](const QString &name) {
        int g = 0, c = 0;
        if (!names(table, name, &g, &c))
            return true;
        if (!isGone(state, name))
            return false;
        if (c == 0) {
            table.closeRow(g);
        } else {
            const int last = table.entryCount(g);
            for (int k = c; k < last; ++k)
                table.cell(g, k) = table.cell(g, k + 1);
            table.cell(g, last).clear();
        }
        dropped = true;
        return true;
    });
    return dropped;
}

} // namespace

bool anyGone(const AppState &state, const NoteTable &table, const QStringList &keptByFile)
{
    return std::any_of(keptByFile.cbegin(), keptByFile.cend(), [&](const QString &name) {
        int g = 0, c = 0;
        return names(table, name, &g, &c) && isGone(state, name);
    });
}

QStringList indexCopies(const QString &storeFolder)
{
    QStringList copies;
    for (const Name &file : listFolder(storeFolder)) {
        if (file.folder)
            continue;
        const auto copy = OutsideChange::parseConflictCopy(file.name);
        if (copy && copy->original == QLatin1StringView(kIndexName))
            copies << file.name;
    }
    copies.sort();
    return copies;
}

namespace {

// The copies of idx.dat that read as an index, after idx.dat itself; those
// that do not, `left`. A copy that cannot be read fails the merge: merged
// without it, the notebook would differ from the one the other computer makes.
std::optional<IoError> readCopies(const QString &folder, QList<NoteTable> &versions,
                                  QStringList &merged, QStringList &left)
{
    for (const QString &name : indexCopies(folder)) {
        const ReadResult read = readWholeFile(folder + name, folder);
        if (!read.ok)
            return read.error;
        NoteTable version;
        if (!IndexFile::parse(read.bytes, version)) {
            left << name;
            continue;
        }
        versions << std::move(version);
        merged << name;
    }
    return std::nullopt;
}

// The names gone late out of idx.dat, in a change of their own; false when
// none went or the change failed (and was told).
bool writeLate(Store &store, NoteTable &table, ErrorReports &reports, const AppState &state,
               QStringList &keptByFile, bool *failed)
{
    NoteTable left = table;
    if (!dropGone(left, state, keptByFile))
        return false;
    NotebookChange change(store, table, reports);
    change.table() = left;
    *failed = !change.commit();
    if (*failed)
        return false;
    change.writeAfterCommit([&] { return writeBase(state, left); });
    return true;
}

// The merge as one change: the entries made of copies, idx.dat (unless it
// holds the merge already), then the copies leave and the base is written.
bool writeMerge(Store &store, NoteTable &table, ErrorReports &reports, const AppState &state,
                const IndexMerge::Result &result, const QStringList &merged,
                const NoteTable *base)
{
    NotebookChange change(store, table, reports);
    for (const IndexMerge::NewEntry &entry : result.fromCopies) {
        if (!entry.fileThere &&
            !change.copyEntryFile(entry.group, entry.copyTitle, entry.group, entry.title))
            return false;
    }
    const bool sameIndex = result.table == table;
    if (!sameIndex)
        change.table() = result.table;
    if (!(sameIndex ? change.commitAsIs() : change.commit()))
        return false;
    for (const QString &name : merged)
        change.removeStoreFile(name);
    for (const IndexMerge::NewEntry &entry : result.fromCopies)
        change.removeEntryFile(entry.group, entry.copyTitle);
    // The other computer comes to the same notebook where it merges the same
    // versions; entries made of copies alone are this computer's change.
    if (!merged.isEmpty())
        change.writeAfterCommit([&] { return writeBase(state, result.table, base); });
    return true;
}

} // namespace

Outcome takeIn(Store &store, NoteTable &table, ErrorReports &reports, const AppState &state,
               const std::function<void(NoteTable &)> &orderGroups, bool mayMerge,
               QStringList &keptByFile)
{
    Outcome outcome;
    const NoteTable before = table;
    if (std::optional<IoError> error = store.reloadIndex()) {
        outcome.unread = error;
        return outcome;
    }
    if (!mayMerge)
        return outcome;
    const QString &folder = state.storeFolder;
    const auto failed = [&](const std::optional<IoError> &error) {
        if (error)
            reports.ShowErrorCancel(*error);
        outcome.failed = true;
        return outcome;
    };

    QList<NoteTable> versions{table};
    QStringList merged;
    if (std::optional<IoError> error = readCopies(folder, versions, merged, outcome.left))
        return failed(error);
    QSet<QString> named;
    for (const NoteTable &version : std::as_const(versions)) {
        for (int g = 0; g < version.groupCount(); ++g)
            named.insert(version.name(g));
    }
    Found found = readDisk(folder, named);
    outcome.maskCopies = found.maskCopies;
    outcome.left += found.otherCopies;
    // A copy in a folder that is no group has no entry to stand beside.
    found.entryCopies.removeIf([&](const IndexMerge::EntryCopy &copy) {
        if (named.contains(copy.group))
            return false;
        outcome.left << copy.group + u'/' + StorePaths::entryFileName(copy.copyTitle);
        return true;
    });
    if (merged.isEmpty() && found.entryCopies.isEmpty()) {
        if (writeLate(store, table, reports, state, keptByFile, &outcome.failed)) {
            outcome.late = true;
            outcome.summary = IndexMerge::compare(before, table);
        } else if (!outcome.failed && !(table == before)) {
            // A change another computer made, now shown: the base from here
            // on. Where it is not written, the next merge starts from an older one.
            (void)writeBase(state, table);
        }
        return outcome;
    }

    for (IndexMerge::EntryCopy &copy : found.entryCopies) {
        if (std::optional<IoError> error = findSameBytes(folder, found.disk, copy))
            return failed(error);
    }
    const auto isVersion = [&](const std::optional<NoteTable> &t) {
        return t && std::any_of(versions.cbegin(), versions.cend(),
                                [&](const NoteTable &v) { return v == *t; });
    };
    std::optional<NoteTable> base;
    if (std::optional<IoError> error =
            readBase(state, StorePaths::mergeBaseFile(state.programFolder, state.storeFolder), base))
        return failed(error);
    // This computer's last merge is a version: both computers merged at once
    // and came to different results (a file on its way to one of them). Both
    // started from the base that merge started from, which tells once more
    // what a version took away; it is kept for one such merge only. Failing
    // that, no base: every name stays, so that the two come to one.
    bool baseBefore = false;
    if (isVersion(base)) {
        base.reset();
        std::optional<NoteTable> before;
        (void)readBase(state,
                       StorePaths::mergeBaseBeforeFile(state.programFolder, state.storeFolder),
                       before);
        baseBefore = before && !isVersion(before);
        if (baseBefore)
            base = std::move(before);
    }
    const IndexMerge::Result result =
        IndexMerge::merge({versions, base, found.disk, found.entryCopies, orderGroups});
    for (const IndexMerge::EntryCopy &copy : result.copiesLeft)
        outcome.left << copy.group + u'/' + StorePaths::entryFileName(copy.copyTitle);
    if (!result.refused.isEmpty()) {
        outcome.refused = result.refused;
        outcome.left += merged;
        return outcome;
    }
    // A failure is told by the change.
    if (!writeMerge(store, table, reports, state, result, merged,
                    base && !baseBefore ? &*base : nullptr))
        return failed(std::nullopt);

    outcome.merged = true;
    keptByFile = result.keptByFile;
    outcome.summary = IndexMerge::compare(before, result.table);
    // A copy an earlier merge took in (it was cut short, or the other
    // computer merged first) is no news.
    for (const IndexMerge::NewEntry &entry : result.fromCopies) {
        const QString name = entry.group + u'/' + entry.title;
        if (outcome.summary.entriesAdded.contains(name))
            outcome.otherTexts << name;
    }
    return outcome;
}

void keepFirstBase(const AppState &state, const NoteTable &table)
{
    struct stat st;
    const QString path = StorePaths::mergeBaseFile(state.programFolder, state.storeFolder);
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0 && errno == ENOENT)
        (void)writeBase(state, table);
}

QString message(const Outcome &outcome, const QString &storeFolder)
{
    if (outcome.late) {
        QStringList gone;
        if (!outcome.summary.entriesGone.isEmpty())
            gone << u"Entries moved, renamed or deleted there: "_s +
                        listed(outcome.summary.entriesGone);
        if (!outcome.summary.groupsGone.isEmpty())
            gone << u"Groups renamed or deleted there: "_s + listed(outcome.summary.groupsGone);
        return u"The sync program has now carried over the last of the other computer's "
               "changes.\n\n"_s +
               gone.join(u'\n');
    }
    if (!outcome.merged && outcome.refused.isEmpty())
        return {};
    if (!outcome.refused.isEmpty())
        return u"The notebook was changed on two computers at once, and the sync program kept "
               "both versions. Plimsa cannot merge them: %1. Nothing was changed; the copies "
               "stay in %2:\n%3"_s.arg(outcome.refused, storeFolder, outcome.left.join(u'\n'));
    QStringList lines;
    const IndexMerge::Summary &s = outcome.summary;
    QStringList added = s.entriesAdded;
    for (const QString &other : outcome.otherTexts)
        added.removeOne(other);
    if (!added.isEmpty())
        lines << u"Entries now here: "_s + listed(added);
    if (!s.entriesGone.isEmpty())
        lines << u"Entries moved, renamed or deleted on the other computer: "_s +
                     listed(s.entriesGone);
    if (!s.groupsAdded.isEmpty())
        lines << u"Groups now here: "_s + listed(s.groupsAdded);
    if (!s.groupsGone.isEmpty())
        lines << u"Groups renamed or deleted on the other computer: "_s + listed(s.groupsGone);
    if (!outcome.otherTexts.isEmpty())
        lines << u"Entries changed on both computers; the other computer's text is now the "
                 "entry beside each: "_s +
                     listed(outcome.otherTexts);
    if (!outcome.maskCopies.isEmpty())
        lines << u"Masks changed on both computers; each shows one computer's text, the "
                 "other text is in: "_s +
                     outcome.maskCopies.join(u", "_s);
    if (lines.isEmpty())
        return {};
    return u"The notebook was changed on another computer while the two were apart, and the "
           "sync program brought both versions here. Plimsa has merged them into one:\n\n"_s +
           lines.join(u"\n"_s);
}

} // namespace SyncMerge
