#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ErrorReports;
class NoteTable;
class Store;

// Bringing a folder of text files into the notebook, in three stages: the
// scan reads every file (and writes nothing), the plan decides every group,
// title and text against the notebook (and writes nothing: whatever cannot
// be done is known before the first write), the run writes the plan a part
// of a group at a time through NotebookChange.
namespace NotebookImport {

// Files above this size are not notes; they are skipped, not read.
constexpr qint64 kMaxFileBytes = 1024 * 1024;
// The listing of titles an export writes beside the entry files, and the mask.
extern const QString kTitlesFile; // "_titles.lst"
extern const QString kMaskFile;   // "_mask.dat"
extern const QString kTitlesHeader;

// Called now and then with the work done and the work to do (0 while the
// amount is not known yet); false asks to stop.
using Progress = std::function<bool(qint64 done, qint64 total)>;

// An export's listing (kTitlesFile) read back: the group's name, then a line
// per title, "file<TAB>date line<TAB>title", the file empty for a title
// without one. Nothing when `bytes` are not such a listing.
struct Listing
{
    QString group;
    struct Line
    {
        QString file, date, title;
    };
    QList<Line> lines;
};
std::optional<Listing> readListing(QByteArrayView bytes);

struct Skipped
{
    QString path; // below the imported folder
    QString why;
};

struct SourceItem
{
    QString path;  // below the imported folder; empty for a title without a file
    QString title; // shown form: the listed title, else the file's name without extension
    std::optional<QString> date; // the listed date line
    QString text;                // decoded, lines ended by CR LF; empty where `stored` is set
    // The text as the entry file will hold it, where it was read straight
    // into the code page (TransferRules::storedFromUtf8).
    std::optional<QByteArray> stored;
    QDateTime modified;          // the file's modification time, in UTC
    QStringList unencodable;     // characters of the text and title the code page cannot hold
    bool hasFile = true;
};

struct SourceGroup
{
    QString path; // below the imported folder, "" for the folder itself
    QString name; // the listed group name, else the path (the folder's own name for "")
    QList<SourceItem> items;
    std::optional<QString> mask;
    bool listed = false; // an export's _titles.lst names the group
};

struct Scan
{
    QList<SourceGroup> groups;
    QList<Skipped> skipped; // every file and folder left out, with why
    bool cancelled = false;
    QString failure; // the folder itself cannot be read
};

// `storeFolder`: the notebook's store, which is never imported into itself:
// a folder within it is refused, and met within the folder it is left out.
Scan scanFolder(const QString &folder, const QString &storeFolder,
                const Progress &progress = {});

enum class Unencodable { Ask, Replace, Skip };

struct PlannedEntry
{
    QString storedTitle;
    QString date;
    QByteArray text; // in the code page, every line ended by CR LF
    bool hasFile = true;
};

struct PlannedGroup
{
    QString storedName;
    bool isNew = false;
    std::optional<QString> mask; // only for a group the import makes
    QList<PlannedEntry> entries;
};

struct UnencodableFile
{
    QString path;
    QStringList characters;
};

struct Plan
{
    QList<PlannedGroup> groups;
    QList<Skipped> skipped;
    QList<UnencodableFile> unencodable; // listed whatever the choice
    qint64 duplicates = 0;
    QStringList wontFit;      // why the import cannot fit; nothing may be written
    bool needsChoice = false; // unencodable files and no choice made yet
    Unencodable choice = Unencodable::Ask;

    qint64 entryCount() const;
    qint64 newGroupCount() const;
};

// `into`: every file goes into this group (shown form, already checked).
Plan makePlan(const Scan &scan, const NoteTable &table, const QString &storeFolder,
              const std::optional<QString> &into, Unencodable choice, const QLocale &locale);

struct Outcome
{
    qint64 groupsMade = 0;
    qint64 entriesMade = 0;
    bool cancelled = false;
    bool failed = false; // told through the error reports
};

// Writes the plan; the notebook loads and names only files that exist after
// every part, so a cancel, a failure or a crash keeps what was done.
Outcome run(Store &store, NoteTable &table, ErrorReports &reports, const Plan &plan,
            const Progress &progress = {});

// The lines a user reads: characters per file, why it cannot fit, and the report.
QString unencodableList(const Plan &plan, int maxFiles = 50);
// `folder` is the imported folder, which the skipped files' paths are below.
QString report(const Plan &plan, const Outcome &outcome, const QString &folder);
QString summary(const Plan &plan, const Outcome &outcome);

} // namespace NotebookImport
