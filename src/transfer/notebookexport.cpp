#include "transfer/notebookexport.h"

#include "platform/syscalls.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/notetable.h"
#include "store/safewrite.h"
#include "store/storepaths.h"
#include "transfer/notebookimport.h"
#include "transfer/transferrules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <cerrno>
#include <utility>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace NotebookExport {
namespace {

QString inFolder(const QString &folder, const QString &path)
{
    return folder.endsWith(u'/') ? folder + path : folder + u'/' + path;
}

// A folder that may be there already, but not as a file or a link.
int makeFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (Sys::mkdirat(AT_FDCWD, name.constData(), 0777) == 0)
        return 0;
    const int err = errno;
    struct stat st;
    if (err == EEXIST && ::lstat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode))
        return 0;
    return err;
}

// The files an earlier export wrote into `folder` (below `exportFolder`), as
// its listing there names them: only plain names of regular files in that
// folder, whatever a listing edited by hand may say.
QStringList earlierExport(const QString &exportFolder, const QString &folder)
{
    const QString dir = inFolder(exportFolder, folder);
    const QFileInfo listingFile(inFolder(dir, NotebookImport::kTitlesFile));
    if (!listingFile.isFile() || listingFile.isSymLink() ||
        listingFile.size() > NotebookImport::kMaxFileBytes)
        return {};
    const ReadResult read = readWholeFile(listingFile.filePath());
    const auto listing = read.ok ? NotebookImport::readListing(read.bytes) : std::nullopt;
    if (!listing)
        return {};
    QStringList names{NotebookImport::kTitlesFile, NotebookImport::kMaskFile};
    for (const NotebookImport::Listing::Line &line : listing->lines)
        names.append(line.file);
    QStringList found;
    for (const QString &name : std::as_const(names)) {
        if (name.isEmpty() || name.contains(u'/') || name == u"."_s || name == u".."_s)
            continue;
        const QString path = folder + u'/' + name;
        const QFileInfo info(inFolder(exportFolder, path));
        if (info.isFile() && !info.isSymLink() && !found.contains(path))
            found.append(path);
    }
    return found;
}

// What an earlier export left in the folder that this plan does not write:
// in the plan's folders, and for the whole notebook in every folder of an
// earlier export whose group is gone.
void findStale(Plan &plan, const QString &exportFolder, bool wholeNotebook)
{
    if (!QFileInfo(exportFolder).isDir())
        return;
    QSet<QString> written;
    for (const OutFile &file : std::as_const(plan.files))
        written.insert(file.path);
    QStringList folders = plan.folders;
    if (wholeNotebook) {
        for (const QString &sub :
             QDir(exportFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks)) {
            if (!folders.contains(sub))
                folders.append(sub);
        }
    }
    for (const QString &folder : std::as_const(folders)) {
        const QStringList earlier = earlierExport(exportFolder, folder);
        for (const QString &path : earlier) {
            if (!written.contains(path))
                plan.stale.append(path);
        }
        if (!earlier.isEmpty() && !plan.folders.contains(folder))
            plan.staleFolders.append(folder);
    }
}

// Unlinks `path`; 0 or the errno (a file gone already is no failure).
int removeFile(const QString &path)
{
    if (Sys::unlinkat(AT_FDCWD, QFile::encodeName(path).constData(), 0) == 0 || errno == ENOENT)
        return 0;
    return errno;
}

} // namespace

bool isWithinStore(const QString &exportFolder, const QString &storeFolder)
{
    // The folder may not exist yet: its nearest existing ancestor decides.
    QFileInfo info(QDir::cleanPath(QDir(exportFolder).absolutePath()));
    QString missing;
    while (!info.exists() && !info.isRoot() && !info.filePath().isEmpty()) {
        missing = info.fileName() + u'/' + missing;
        info = QFileInfo(info.path());
    }
    const QString real = QDir::cleanPath(info.canonicalFilePath() + u'/' + missing);
    const QString store = QFileInfo(storeFolder).canonicalFilePath();
    return !store.isEmpty() && (real == store || real.startsWith(store + u'/'));
}

Plan makePlan(const NoteTable &table, const QString &storeFolder, std::optional<int> onlyGroup,
              const QString &exportFolder, const QLocale &locale)
{
    Plan plan;
    FileReads reads(storeFolder);
    const TransferRules::DateLineReader dates(locale);
    QStringList folderNames;
    const int groups = table.groupCount();
    for (int g = 0; g < groups; ++g) {
        if (onlyGroup && *onlyGroup != g)
            continue;
        ++plan.groups;
        const QString group = table.name(g);
        const QString folder = TransferRules::uniqueFileName(
            TransferRules::safeFileName(InDOS(group)), QString(), folderNames);
        plan.folders.append(folder);
        QStringList taken{NotebookImport::kTitlesFile, NotebookImport::kMaskFile};
        QStringList listing{NotebookImport::kTitlesHeader, InDOS(group)};
        const qint64 withoutFilesBefore = plan.withoutFiles;
        const int entries = table.entryCount(g);
        for (int c = 1; c <= entries; ++c) {
            const QString title = table.cell(g, c);
            const EntryFile::EntryRead read =
                EntryFile::readEntry(reads, StorePaths::entryFile(storeFolder, group, title));
            if (!read.ok) {
                ++plan.withoutFiles;
                if (read.error.number != ENOENT)
                    plan.unreadable.append(
                        u"%1/%2: %3"_s.arg(InDOS(group), InDOS(title), read.error.description));
                listing.append(u"\t\t"_s + InDOS(title));
                continue;
            }
            ++plan.entries;
            const QString file = TransferRules::uniqueFileName(
                TransferRules::safeFileName(InDOS(title), u".txt"_s), u".txt"_s, taken);
            QString date = read.entry.date;
            date.replace(u'\t', u' ');
            listing.append(file + u'\t' + date + u'\t' + InDOS(title));
            plan.files.append({folder + u'/' + file,
                               TransferRules::toExportedBytes(read.entry.text),
                               dates.read(read.entry.date), true});
        }
        const EntryFile::MaskRead mask =
            EntryFile::readMask(reads, StorePaths::maskFile(storeFolder, group));
        if (mask.ok && !mask.text.isEmpty())
            plan.files.append({folder + u'/' + NotebookImport::kMaskFile,
                               TransferRules::toExportedBytes(mask.text), std::nullopt});
        // Last, so that a listing names only files written before it.
        plan.files.append({folder + u'/' + NotebookImport::kTitlesFile,
                           (listing.join(u'\n') + u'\n').toUtf8(), std::nullopt, false,
                           plan.withoutFiles - withoutFilesBefore});
    }
    // Nothing is in the way in a folder that is not there (the usual fresh export).
    QHash<QString, bool> folderThere;
    for (const OutFile &file : std::as_const(plan.files)) {
        const QString folder = inFolder(exportFolder, file.path.section(u'/', 0, 0));
        auto known = folderThere.constFind(folder);
        if (known == folderThere.cend())
            known = folderThere.insert(folder, QFileInfo::exists(folder));
        if (!*known)
            continue;
        const QFileInfo there(inFolder(exportFolder, file.path));
        if (there.exists() || there.isSymLink())
            plan.existing.append(file.path);
    }
    findStale(plan, exportFolder, !onlyGroup);
    return plan;
}

Outcome run(const Plan &plan, const QString &exportFolder, const Progress &progress)
{
    Outcome outcome;
    const QString root = QDir::cleanPath(exportFolder);
    if (const int err = makeFolder(root)) {
        outcome.failure = IoError::fromErrno(err, root);
        return outcome;
    }
    // An earlier listing goes before anything else: until the new one is
    // written, the folder's files are taken by their names, and no listing
    // names a title that is no longer in the notebook.
    QStringList removals = plan.stale;
    for (const QString &folder : plan.folders) {
        const QString listing = folder + u'/' + NotebookImport::kTitlesFile;
        if (plan.existing.contains(listing))
            removals.append(listing);
    }
    for (const QString &file : std::as_const(removals)) {
        const QString path = inFolder(root, file);
        if (const int err = removeFile(path)) {
            outcome.failure = IoError::fromErrno(err, path);
            return outcome;
        }
        if (plan.stale.contains(file))
            ++outcome.removed;
    }
    for (const QString &folder : plan.staleFolders) {
        // Kept where anything else is left in it.
        (void)Sys::unlinkat(AT_FDCWD, QFile::encodeName(inFolder(root, folder)).constData(),
                            AT_REMOVEDIR);
    }
    // What a crash of an earlier export left.
    removeLeftoverNewFiles(root, false);
    for (const QString &folder : plan.folders) {
        const QString path = inFolder(root, folder);
        if (const int err = makeFolder(path)) {
            outcome.failure = IoError::fromErrno(err, path);
            return outcome;
        }
        removeLeftoverNewFiles(path, false);
    }
    // Each file written without an fsync of its own; the whole export is made
    // lasting at the end, and only then reported done.
    FileBatch batch(root, FileBatch::Naming::AtOnce);
    const qint64 total = plan.files.size();
    // The entries of the group being written, counted once its listing is.
    qint64 groupEntries = 0;
    for (const OutFile &file : plan.files) {
        if (progress && !progress(outcome.written, total)) {
            outcome.cancelled = true;
            break;
        }
        const QString path = inFolder(root, file.path);
        const FileResult written = batch.write(path, file.bytes);
        if (!written) {
            outcome.failure = written.error;
            break;
        }
        ++outcome.written;
        if (file.entry)
            ++groupEntries;
        if (file.listed >= 0) {
            ++outcome.groupsWritten;
            outcome.entriesWritten += std::exchange(groupEntries, 0);
            outcome.withoutFilesWritten += file.listed;
        }
        if (file.modified) {
            const qint64 seconds = file.modified->toSecsSinceEpoch();
            const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
            if (Sys::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times,
                               AT_SYMLINK_NOFOLLOW) != 0)
                ++outcome.timesNotSet;
        }
    }
    // Entries of a group cut short are written all the same.
    outcome.entriesWritten += groupEntries;
    // What was written before a failure or a cancel is kept, so it is made
    // lasting too; a failed sync is the export's failure.
    if (const FileResult synced = batch.finish(); (!synced || synced.unsynced) && !outcome.failure)
        outcome.failure = synced.error;
    if (progress && !outcome.cancelled && !outcome.failure)
        progress(outcome.written, total);
    return outcome;
}

QString summary(const Plan &plan, const Outcome &outcome)
{
    QString line = u"%1 groups and %2 entries exported (%3 titles without files), %4 files "
                   "written"_s.arg(outcome.groupsWritten)
                       .arg(outcome.entriesWritten)
                       .arg(outcome.withoutFilesWritten)
                       .arg(outcome.written);
    if (outcome.removed > 0)
        line += u", %1 files of an earlier export removed"_s.arg(outcome.removed);
    if (outcome.failure) {
        line += u"; stopped, %1 files not written"_s.arg(plan.files.size() - outcome.written);
    } else if (outcome.cancelled) {
        line += u"; cancelled, %1 files not written"_s.arg(plan.files.size() - outcome.written);
    }
    if (!plan.unreadable.isEmpty())
        line += u"; %1 entry files could not be read"_s.arg(plan.unreadable.size());
    if (outcome.timesNotSet > 0)
        line += u"; modification times not set on %1 files"_s.arg(outcome.timesNotSet);
    return line + u'.';
}

} // namespace NotebookExport
