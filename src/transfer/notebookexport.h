#pragma once

#include "store/ioerror.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class NoteTable;

// Taking the notebook (or one group) out as plain files: one folder per
// group, one UTF-8 .txt file per entry that has a file (its text without the
// date line, its modification time from the date line), the group's mask as
// _mask.dat and its titles in order in _titles.lst, which an import reads.
// Only reads the store, so it works while another copy holds it.
namespace NotebookExport {

using Progress = std::function<bool(qint64 done, qint64 total)>;

struct OutFile
{
    QString path; // below the export folder
    QByteArray bytes;
    std::optional<QDateTime> modified;
    bool entry = false;    // an entry's text
    qint64 listed = -1;    // the group's listing: how many titles without a file it holds
};

struct Plan
{
    QStringList folders; // below the export folder
    QList<OutFile> files;
    QStringList existing;   // files of the plan that are in the export folder already
    // Files an earlier export wrote into the export folder (its listings name
    // them) that this one does not write: their entries or groups are gone
    // from the notebook, and an import of the folder must not bring them back.
    // Removed before anything is written, then the folders left empty.
    QStringList stale;
    QStringList staleFolders;
    QStringList unreadable; // entries whose file could not be read, and why
    qint64 groups = 0;
    qint64 entries = 0;      // entries with a file
    qint64 withoutFiles = 0; // titles without a file, listed in _titles.lst only

    // Files are in the way: the export replaces or removes them only when told to.
    bool touchesExisting() const { return !existing.isEmpty() || !stale.isEmpty(); }
};

// The export folder is the store or lies within it: an export there would
// replace entry files with files of another format, so it is refused.
bool isWithinStore(const QString &exportFolder, const QString &storeFolder);

// `onlyGroup`: a group slot, or every group. Reads every entry file now.
Plan makePlan(const NoteTable &table, const QString &storeFolder, std::optional<int> onlyGroup,
              const QString &exportFolder, const QLocale &locale);

struct Outcome
{
    qint64 written = 0;
    qint64 removed = 0; // files of an earlier export
    // What the files written hold: entries, and groups whose every file is written.
    qint64 entriesWritten = 0;
    qint64 groupsWritten = 0;
    qint64 withoutFilesWritten = 0;
    qint64 timesNotSet = 0;
    bool cancelled = false;
    std::optional<IoError> failure; // names the file that could not be written
};

// Writes the plan into `exportFolder` (made when its parent exists): the
// stale files removed first, then each file written whole under a new name
// and renamed, so that a crash leaves no short file under a name of the
// export (the new files it leaves, the next export into the folder removes).
// The first failure ends the export. Files in the way are replaced: the
// caller has asked before.
Outcome run(const Plan &plan, const QString &exportFolder, const Progress &progress = {});

// What was done, in counts; a failure itself is told apart.
QString summary(const Plan &plan, const Outcome &outcome);

} // namespace NotebookExport
