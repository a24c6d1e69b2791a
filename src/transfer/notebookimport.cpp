#include "transfer/notebookimport.h"

#include "notebook/notebookedit.h"
#include "notebook/uniquename.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/errorreports.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "store/pendingfiles.h"
#include "store/safewrite.h"
#include "store/store.h"
#include "store/storepaths.h"
#include "transfer/transferrules.h"

#include "platform/fd.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QScopeGuard>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace NotebookImport {

const QString kTitlesFile = u"_titles.lst"_s;
const QString kMaskFile = u"_mask.dat"_s;
const QString kTitlesHeader = u"Plimsa titles 1"_s;

namespace {

// A group's entries are written and committed together: idx.dat is written
// once a group, not once an entry (nor once a few hundred, each time with the
// whole group again). A failure undoes the files of the group it stopped in.
constexpr int kEntriesPerChange = NoteTable::kMaxEntries;

// The kinds of file an import reads as notes: those named as text, and those
// without an extension (README, TODO, LICENSE), which are read when what they
// hold is text.
bool isTextFileName(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return true;
    const QStringView suffix = QStringView(name).sliced(dot + 1);
    return suffix.compare(u"txt", Qt::CaseInsensitive) == 0 ||
           suffix.compare(u"md", Qt::CaseInsensitive) == 0 ||
           suffix.compare(u"text", Qt::CaseInsensitive) == 0;
}

QString joined(const QString &rel, const QString &name)
{
    return rel.isEmpty() ? name : rel + u'/' + name;
}

bool isWithin(const QString &path, const QString &root)
{
    return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

// A name as the system holds it, readable: what is valid UTF-8 as it is,
// every other byte as \xHH.
QString escapedName(QByteArrayView name)
{
    QString out;
    for (qsizetype i = 0; i < name.size();) {
        const uchar lead = uchar(name[i]);
        const int length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        const QByteArrayView part = name.sliced(i, std::min<qsizetype>(length, name.size() - i));
        const QString decoded = QString::fromUtf8(part);
        if (lead >= 0xC2 && lead <= 0xF4 && part.size() == length && decoded.toUtf8() == part) {
            out += decoded;
            i += length;
        } else if (lead < 0x80) {
            out += QLatin1Char(char(lead));
            ++i;
        } else {
            out += u"\\x"_s + QString::number(lead, 16).toUpper();
            ++i;
        }
    }
    return out;
}

// One name of a folder as the system lists it, and what it is where the
// listing says (DT_UNKNOWN otherwise).
struct FolderEntry
{
    QByteArray bytes;
    QString name;
    QString key; // the name without case, to sort by
    bool validName = true;
    unsigned char type = DT_UNKNOWN;
};

// The entries of the open folder `fd` in the order files are imported:
// by name without case, then with it.
std::optional<std::vector<FolderEntry>> listFolder(int fd)
{
    DIR *dir = ::fdopendir(::dup(fd));
    if (!dir)
        return std::nullopt;
    std::vector<FolderEntry> entries;
    while (const dirent *d = ::readdir(dir)) {
        const QByteArrayView bytes(d->d_name);
        if (bytes == "." || bytes == "..")
            continue;
        FolderEntry entry;
        entry.bytes = bytes.toByteArray();
        const bool ascii = std::all_of(bytes.begin(), bytes.end(),
                                       [](char c) { return uchar(c) < 0x80; });
        entry.name = ascii ? QString::fromLatin1(entry.bytes) : QFile::decodeName(entry.bytes);
        // A name that is not UTF-8 cannot be given back to the system from
        // the text, nor be a title: the file is named and left out.
        entry.validName = ascii || QFile::encodeName(entry.name) == entry.bytes;
        entry.key = entry.name.toCaseFolded();
        entry.type = d->d_type;
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const FolderEntry &a, const FolderEntry &b) {
        const int byKey = a.key.compare(b.key);
        return byKey != 0 ? byKey < 0 : a.bytes < b.bytes;
    });
    return entries;
}

} // namespace

std::optional<Listing> readListing(QByteArrayView bytes)
{
    // Line by line in the bytes: a listing has a line per title.
    QList<QByteArrayView> lines;
    for (qsizetype at = 0; at < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            end = bytes.size();
        QByteArrayView line = bytes.sliced(at, end - at);
        if (line.endsWith('\r'))
            line.chop(1);
        lines.append(line);
        at = end + 1;
    }
    if (lines.size() < 2 || QString::fromUtf8(lines.at(0)) != kTitlesHeader)
        return std::nullopt;
    Listing listing;
    listing.group = QString::fromUtf8(lines.at(1));
    listing.lines.reserve(lines.size() - 2);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QByteArrayView line = lines.at(i);
        const qsizetype a = line.indexOf('\t');
        const qsizetype b = a < 0 ? -1 : line.indexOf('\t', a + 1);
        if (b < 0)
            continue;
        listing.lines.append({QString::fromUtf8(line.first(a)),
                              QString::fromUtf8(line.sliced(a + 1, b - a - 1)),
                              QString::fromUtf8(line.sliced(b + 1))});
    }
    return listing;
}

namespace {

class Scanner
{
public:
    Scanner(const QString &root, const QString &storeFolder, const Progress &progress)
        : progress_(progress)
    {
        root_ = QFileInfo(root).canonicalFilePath();
        rootName_ = QFileInfo(root_).fileName();
        store_ = storeFolder.isEmpty() ? QString() : QFileInfo(storeFolder).canonicalFilePath();
    }

    Scan scan()
    {
        if (root_.isEmpty() || !QFileInfo(root_).isDir()) {
            result_.failure = u"not a folder that can be read"_s;
            return std::move(result_);
        }
        // Its entries would come in a second time, each with its date line
        // as the first line of its text.
        if (!store_.isEmpty() && isWithin(root_, store_)) {
            result_.failure = u"lies within the notebook's store %1; import from a folder "
                              "outside it"_s.arg(store_);
            return std::move(result_);
        }
        walk(root_, QString(), {root_});
        return std::move(result_);
    }

private:
    void skip(const QString &path, const QString &why) { result_.skipped.append({path, why}); }

    bool tick()
    {
        if (progress_ && !progress_(++read_, 0))
            result_.cancelled = true;
        return !result_.cancelled;
    }

    // The file `name` of the open folder `dir`; `rel` names it in the report.
    std::optional<SourceItem> readFile(int dir, const QByteArray &name, const QString &rel)
    {
        const ReadResult read = readWholeFileAt(dir, name, rel, kMaxFileBytes);
        if (!read.ok) {
            if (read.error.number == EFBIG)
                skip(rel, u"larger than 1 MiB, so not taken for a note"_s);
            else if (read.error.number == EINVAL || read.error.number == EISDIR)
                skip(rel, u"not a regular file"_s);
            else
                skip(rel, u"cannot be read: "_s + read.error.description);
            return std::nullopt;
        }
        SourceItem item;
        item.stored = TransferRules::storedFromUtf8(read.bytes);
        if (!item.stored) {
            TransferRules::Decoded decoded = TransferRules::decodeText(read.bytes);
            if (decoded.text.contains(QChar(u'\0'))) {
                skip(rel, u"not a text file (it holds a NUL byte)"_s);
                return std::nullopt;
            }
            item.text = TransferRules::toStoredText(decoded.text);
        }
        item.path = rel;
        // The name without its extension; a name without one is the title whole.
        const QStringView fileName = QStringView(rel).sliced(rel.lastIndexOf(u'/') + 1);
        const qsizetype dot = fileName.lastIndexOf(u'.');
        item.title = (dot > 0 ? fileName.first(dot) : fileName).toString();
        // In UTC from the read's own stat: a local time costs a look at the
        // time zone per file, and only a file without a listed date needs one.
        item.modified =
            QDateTime::fromMSecsSinceEpoch(read.identity.modifiedNs / 1'000'000, Qt::UTC);
        return item;
    }

    // Where a link in the folder leads, when it may be followed: a file
    // within the imported folder. Otherwise it is named with why.
    std::optional<QString> linkTarget(const QString &linkPath, const QString &path,
                                      const QStringList &ancestors)
    {
        const QFileInfo entry(linkPath);
        const QString target = entry.canonicalFilePath();
        if (target.isEmpty()) {
            skip(path, u"a link that leads nowhere"_s);
        } else if (!isWithin(target, root_)) {
            skip(path, u"a link that leads out of the imported folder"_s);
        } else if (entry.isDir()) {
            // Every folder inside is reached by its own path anyway.
            skip(path, ancestors.contains(target)
                           ? u"a link that leads in a circle"_s
                           : u"a link to a folder that is imported under its own path"_s);
        } else if (!isTextFileName(entry.fileName())) {
            skip(path, u"not a text file by its name (only .txt, .md, .text and names "
                       "without an extension are imported)"_s);
        } else {
            return target;
        }
        return std::nullopt;
    }

    void walk(const QString &folder, const QString &rel, QStringList ancestors)
    {
        const QString shownRel = rel.isEmpty() ? u"."_s : rel;
        const Fd dir(::open(QFile::encodeName(folder).constData(),
                            O_RDONLY | O_DIRECTORY | O_CLOEXEC));
        const auto entries = dir ? listFolder(dir.get()) : std::nullopt;
        if (!entries) {
            skip(shownRel, u"the folder cannot be read"_s);
            return;
        }
        QHash<QString, SourceItem> files; // by file name
        files.reserve(qsizetype(entries->size()));
        QStringList fileOrder;
        fileOrder.reserve(qsizetype(entries->size()));
        QList<std::pair<QString, QString>> subfolders; // real path, relative path
        bool hasListing = false, hasMask = false;
        for (const FolderEntry &entry : *entries) {
            const QString &name = entry.name;
            const QString path = joined(rel, name);
            unsigned char type = entry.type;
            struct stat st;
            if (type == DT_UNKNOWN) {
                type = ::fstatat(dir.get(), entry.bytes.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0
                           ? DT_UNKNOWN
                       : S_ISDIR(st.st_mode) ? DT_DIR
                       : S_ISLNK(st.st_mode) ? DT_LNK
                       : S_ISREG(st.st_mode) ? DT_REG
                                             : DT_UNKNOWN;
            }
            const bool isFolder = type == DT_DIR;
            if (!entry.validName) {
                skip(joined(rel, escapedName(entry.bytes)),
                     isFolder ? u"a folder whose name is not valid UTF-8, left out with "
                                "everything in it"_s
                              : u"its name is not valid UTF-8"_s);
                continue;
            }
            // Hidden files and folders belong to other programs (.git, editor backups).
            if (name.startsWith(u'.')) {
                skip(path, isFolder ? u"a hidden folder, left out with everything in it"_s
                                    : u"a hidden file"_s);
                continue;
            }
            if (isFolder) {
                const QString real = folder + u'/' + name;
                if (real == store_)
                    skip(path, u"the notebook's own store"_s);
                else
                    subfolders.append({real, path});
                continue;
            }
            if (type == DT_REG && name == kTitlesFile) {
                hasListing = true;
                continue;
            }
            if (type == DT_REG && name == kMaskFile) {
                hasMask = true;
                continue;
            }
            std::optional<SourceItem> item;
            if (type == DT_LNK) {
                const auto target = linkTarget(folder + u'/' + name, path, ancestors);
                if (!target)
                    continue;
                if (!tick())
                    return;
                item = readFile(AT_FDCWD, QFile::encodeName(*target), path);
            } else if (type != DT_REG) {
                skip(path, u"not a regular file"_s);
                continue;
            } else if (!isTextFileName(name)) {
                skip(path, u"not a text file by its name (only .txt, .md, .text and names "
                           "without an extension are imported)"_s);
                continue;
            } else {
                if (!tick())
                    return;
                item = readFile(dir.get(), entry.bytes, path);
            }
            if (item) {
                files.emplace(name, std::move(*item));
                fileOrder.append(name);
            }
        }

        SourceGroup group;
        group.path = rel;
        group.name = rel.isEmpty() ? rootName_ : rel;
        std::optional<Listing> listing;
        if (hasListing) {
            const ReadResult read = readWholeFileAt(dir.get(), QFile::encodeName(kTitlesFile),
                                                    joined(rel, kTitlesFile), kMaxFileBytes);
            if (read.ok)
                listing = readListing(read.bytes);
            if (!listing)
                skip(joined(rel, kTitlesFile), u"not a list of titles as an export writes it"_s);
        }
        if (listing) {
            group.listed = true;
            if (!listing->group.trimmed().isEmpty())
                group.name = listing->group;
            for (const Listing::Line &line : listing->lines) {
                if (line.file.isEmpty()) {
                    SourceItem item;
                    item.hasFile = false;
                    item.title = line.title;
                    group.items.append(item);
                    continue;
                }
                const auto it = files.find(line.file);
                if (it == files.end())
                    continue;
                SourceItem item = std::move(*it);
                files.erase(it);
                item.title = line.title;
                item.date = line.date;
                group.items.append(std::move(item));
            }
        }
        for (const QString &name : fileOrder) {
            if (const auto it = files.find(name); it != files.end())
                group.items.append(std::move(*it));
        }
        // Once the titles are final; the plan lists these and acts on them.
        for (SourceItem &item : group.items) {
            if (!item.hasFile)
                continue;
            if (!item.stored)
                item.unencodable = TransferRules::unencodableCharacters(item.text);
            for (const QString &c : TransferRules::unencodableCharacters(item.title)) {
                if (!item.unencodable.contains(c))
                    item.unencodable.append(c);
            }
        }
        if (hasMask) {
            const ReadResult read = readWholeFileAt(dir.get(), QFile::encodeName(kMaskFile),
                                                    joined(rel, kMaskFile), kMaxFileBytes);
            if (read.ok)
                group.mask = TransferRules::toStoredText(
                    TransferRules::closeEquivalent(TransferRules::decodeText(read.bytes).text));
        }
        // An export's listing brings its group along even when it is empty.
        if (!group.items.isEmpty() || listing)
            result_.groups.append(std::move(group));

        for (const auto &[real, path] : subfolders) {
            if (result_.cancelled)
                return;
            QStringList inner = ancestors;
            inner.append(real);
            walk(real, path, inner);
        }
    }

    QString root_;
    QString rootName_;
    QString store_;
    const Progress &progress_;
    Scan result_;
    qint64 read_ = 0;
};

// How the file system will hold a text written as an entry: every line ends
// in CR LF, the last one too. Compared in this form with what is there.
QString asStored(const QString &text)
{
    if (text.isEmpty() || text.endsWith(u"\r\n"_s))
        return text;
    return text + u"\r\n"_s;
}

bool isSuffixed(const QString &stored, const QString &base)
{
    if (!stored.startsWith(base))
        return false;
    for (qsizetype i = base.size(); i < stored.size(); ++i) {
        if (stored.at(i) != u'_')
            return false;
    }
    return true;
}

// A title without the "_" the suffix rule adds: every title isSuffixed to a
// base shares the base's stem, so a group's titles are looked up by it
// instead of compared one by one.
QString stemOf(const QString &stored)
{
    qsizetype end = stored.size();
    while (end > 0 && stored.at(end - 1) == u'_')
        --end;
    return stored.left(end);
}

// The titles whose entry files are in `groupFolder`, whatever idx.dat says.
QSet<QString> titlesOfFiles(const QString &groupFolder)
{
    QSet<QString> titles;
    const Fd dir(::open(QFile::encodeName(groupFolder).constData(),
                        O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    const auto entries = dir ? listFolder(dir.get()) : std::nullopt;
    if (!entries)
        return titles;
    const QString extension = StorePaths::entryFileName(QString());
    for (const FolderEntry &entry : *entries) {
        if (entry.name.endsWith(extension))
            titles.insert(entry.name.chopped(extension.size()));
    }
    return titles;
}

class Planner
{
public:
    Planner(const NoteTable &table, const QString &storeFolder, Unencodable choice,
            const QLocale &locale)
        : work_(table), groupsBefore_(table.groupCount()), store_(storeFolder), choice_(choice),
          locale_(locale)
    {}

    Plan plan(const Scan &scan, const std::optional<QString> &into)
    {
        plan_.skipped = scan.skipped;
        plan_.choice = choice_;
        for (const SourceGroup &source : scan.groups) {
            for (const SourceItem &item : source.items) {
                if (!item.unencodable.isEmpty())
                    plan_.unencodable.append({item.path, item.unencodable});
            }
        }
        if (!plan_.unencodable.isEmpty() && choice_ == Unencodable::Ask) {
            plan_.needsChoice = true;
            return std::move(plan_);
        }
        for (const SourceGroup &source : scan.groups) {
            const QString shown = into ? *into : TransferRules::groupNameFromPath(source.name);
            const int index = targetGroup(OutDOS(shown));
            if (!into && plan_.groups[index].isNew && source.mask && !source.mask->isEmpty())
                plan_.groups[index].mask = source.mask;
            if (source.listed)
                wanted_[index] = true;
            reserve(index, source.items.size());
            for (const SourceItem &item : source.items)
                add(index, item);
        }
        // A new group none of whose files go in is not made.
        QList<PlannedGroup> groups;
        QList<Titles> titles;
        for (qsizetype i = 0; i < plan_.groups.size(); ++i) {
            if (wanted_[i] || !plan_.groups[i].isNew) {
                groups.append(plan_.groups[i]);
                titles.append(titles_[i]);
            }
        }
        plan_.groups = groups;
        titles_ = titles;
        checkLimits();
        return std::move(plan_);
    }

private:
    // The plan's group for a stored name: one there already, or a new one
    // whose folder name is free on disk as well.
    int targetGroup(QString stored)
    {
        if (const auto it = planned_.constFind(stored); it != planned_.cend())
            return *it;
        if (work_.findGroup(stored) < 0) {
            // A folder left from a group no longer in idx.dat may hold files.
            while (work_.findGroup(stored) < 0 &&
                   QFileInfo::exists(StorePaths::groupFolder(store_, stored)))
                stored += u'_';
            if (const auto it = planned_.constFind(stored); it != planned_.cend())
                return *it;
        }
        PlannedGroup group;
        group.storedName = stored;
        group.isNew = work_.findGroup(stored) < 0;
        plan_.groups.append(group);
        const int index = int(plan_.groups.size() - 1);
        planned_.insert(stored, index);
        titles_.append(Titles());
        texts_.append(QHash<QString, QByteArray>());
        stems_.append(QHash<QString, QStringList>());
        wanted_.push_back(false);
        if (!group.isNew) {
            const int g = work_.findGroup(stored);
            const int entries = work_.entryCount(g);
            Titles &titles = titles_[index];
            titles.count = entries;
            for (int c = 1; c <= entries; ++c) {
                titles.taken.insert(work_.cell(g, c));
                stems_[index][stemOf(work_.cell(g, c))].append(work_.cell(g, c));
            }
            // A file idx.dat does not name (a sync program brings files before
            // idx.dat; a copy may have crashed) is never written over: its
            // title is taken as any other.
            titles.taken.unite(titlesOfFiles(StorePaths::groupFolder(store_, stored)));
        }
        return index;
    }

    // Room for `more` titles in the group's sets, grown at once rather than
    // step by step (and at least doubled, for many small folders into one).
    void reserve(int index, qsizetype more)
    {
        const auto grow = [more](auto &container) {
            const qsizetype needed = container.size() + more;
            if (needed > container.capacity())
                container.reserve(std::max(needed, 2 * container.capacity()));
        };
        grow(titles_[index].taken);
        grow(stems_[index]);
        grow(texts_[index]);
        grow(plan_.groups[index].entries);
    }

    // The text of an entry the group holds, as its file holds it.
    std::optional<QByteArray> existingText(int index, const QString &storedTitle)
    {
        const PlannedGroup &group = plan_.groups.at(index);
        QHash<QString, QByteArray> &texts = texts_[index];
        if (const auto it = texts.constFind(storedTitle); it != texts.cend())
            return *it;
        if (group.isNew)
            return std::nullopt;
        const EntryFile::EntryRead read = EntryFile::readEntry(
            StorePaths::entryFile(store_, group.storedName, storedTitle), store_);
        if (!read.ok)
            return std::nullopt;
        const QByteArray text = CodePage::encode(read.entry.text).value_or(QByteArray());
        texts.insert(storedTitle, text);
        return text;
    }

    void add(int index, const SourceItem &item)
    {
        PlannedGroup &group = plan_.groups[index];
        Titles &titles = titles_[index];
        const bool unencodable = !item.unencodable.isEmpty();
        const QString refused = u"holds characters the notebook's code page cannot hold"_s;
        if (unencodable && choice_ == Unencodable::Skip) {
            plan_.skipped.append({item.path, refused});
            return;
        }
        QByteArray text;
        if (item.stored) {
            text = *item.stored;
        } else if (item.hasFile) {
            // The scan's text has its lines ended already; a stand-in may add breaks.
            const QString shown =
                unencodable ? TransferRules::toStoredText(TransferRules::closeEquivalent(item.text))
                            : item.text;
            const auto encoded = CodePage::encode(asStored(shown));
            if (!encoded) {
                plan_.skipped.append({item.path, refused});
                return;
            }
            text = *encoded;
        }

        const QString base = TransferRules::titleFromName(item.title);
        const QString storedBase = OutDOS(base);
        for (const QString &taken : stems_[index].value(stemOf(storedBase))) {
            if (!isSuffixed(taken, storedBase))
                continue;
            if (!item.hasFile) {
                ++plan_.duplicates;
                return;
            }
            const auto there = existingText(index, taken);
            if (there && *there == text) {
                ++plan_.duplicates;
                return;
            }
        }
        // The base is a valid title by its making; a suffix may make it too long.
        QString title = base;
        QString storedTitle = storedBase;
        while (titles.taken.contains(storedTitle)) {
            title += u'_';
            storedTitle = OutDOS(title);
        }
        if (title != base && UniqueName::checkEntryTitle(title) != UniqueName::Refusal::None) {
            plan_.skipped.append(
                {item.hasFile ? item.path : base,
                 u"its title cannot be made unique within a file name's length"_s});
            return;
        }
        PlannedEntry entry;
        entry.storedTitle = storedTitle;
        entry.hasFile = item.hasFile;
        if (item.hasFile) {
            entry.text = text;
            // An export's own listing carries the stamp exactly; other files
            // get theirs from the modification time.
            entry.date = item.date && CodePage::firstUnencodable(*item.date) < 0
                             ? *item.date
                             : TransferRules::dateLine(item.modified.toLocalTime(), locale_);
            texts_[index].insert(entry.storedTitle, text);
        }
        titles.taken.insert(entry.storedTitle);
        ++titles.count;
        stems_[index][stemOf(entry.storedTitle)].append(entry.storedTitle);
        group.entries.append(entry);
        wanted_[index] = true;
    }

    void checkLimits()
    {
        const qint64 groups = groupsBefore_ + plan_.newGroupCount();
        if (groups > NoteTable::kGroups) {
            plan_.wontFit.append(
                u"The import needs %1 new groups; the notebook has %2 and holds %3 at most."_s
                    .arg(plan_.newGroupCount())
                    .arg(groupsBefore_)
                    .arg(NoteTable::kGroups));
        }
        for (qsizetype i = 0; i < plan_.groups.size(); ++i) {
            const PlannedGroup &group = plan_.groups.at(i);
            const qint64 count = titles_.at(i).count;
            const qint64 there = count - group.entries.size();
            if (count > NoteTable::kMaxEntries) {
                plan_.wontFit.append(
                    u"Group \"%1\" would get %2 entries (%3 there, %4 to import); a group "
                    "holds %5 at most."_s.arg(InDOS(group.storedName))
                        .arg(count)
                        .arg(there)
                        .arg(group.entries.size())
                        .arg(NoteTable::kMaxEntries));
            }
        }
    }

    NoteTable work_;
    int groupsBefore_;
    QString store_;
    Unencodable choice_;
    QLocale locale_;
    Plan plan_;
    QHash<QString, int> planned_;
    struct Titles
    {
        QSet<QString> taken; // stored titles held, planned, or of a file in the folder
        qint64 count = 0;    // entries the group will hold
    };
    QList<Titles> titles_; // per planned group
    QList<QHash<QString, QStringList>> stems_; // per planned group: its titles by stem
    QList<QHash<QString, QByteArray>> texts_; // per planned group: texts by stored title
    std::vector<bool> wanted_; // per planned group: something goes into it
};

} // namespace

qint64 Plan::entryCount() const
{
    qint64 n = 0;
    for (const PlannedGroup &g : groups)
        n += g.entries.size();
    return n;
}

qint64 Plan::newGroupCount() const
{
    return std::count_if(groups.cbegin(), groups.cend(),
                         [](const PlannedGroup &g) { return g.isNew; });
}

Scan scanFolder(const QString &folder, const QString &storeFolder, const Progress &progress)
{
    return Scanner(folder, storeFolder, progress).scan();
}

Plan makePlan(const Scan &scan, const NoteTable &table, const QString &storeFolder,
              const std::optional<QString> &into, Unencodable choice, const QLocale &locale)
{
    return Planner(table, storeFolder, choice, locale).plan(scan, into);
}

Outcome run(Store &store, NoteTable &table, ErrorReports &userReports, const Plan &plan,
            const Progress &progress)
{
    // One report for the whole import: the list's clear-up adds none of its own.
    struct Told : ErrorReports
    {
        explicit Told(ErrorReports &to) : to(to) {}
        void ShowErrorCancel(const IoError &error) override
        {
            any = true;
            to.ShowErrorCancel(error);
        }
        void ShowErrorContinue(const IoError &error) override
        {
            any = true;
            to.ShowErrorContinue(error);
        }
        ErrorReports &to;
        bool any = false;
    } told(userReports);
    ErrorReports &reports = told;
    Outcome outcome;
    if (plan.needsChoice || !plan.wontFit.isEmpty() ||
        (plan.entryCount() == 0 && plan.newGroupCount() == 0))
        return outcome;
    // Every file the import may make, listed before the first: what a crash
    // leaves of them the next start clears away.
    QList<PendingFiles::File> pending;
    for (const PlannedGroup &group : plan.groups) {
        if (group.isNew)
            pending.append({group.storedName, QString()});
        for (const PlannedEntry &entry : group.entries) {
            if (entry.hasFile)
                pending.append({group.storedName, entry.storedTitle});
        }
    }
    const QString storeFolder = store.storeFolder();
    if (!store.markerStillHeld()) {
        outcome.failed = true;
        return outcome;
    }
    if (const FileResult noted = PendingFiles::note(storeFolder, pending);
        !noted || noted.unsynced) {
        reports.ShowErrorCancel(noted.error);
        (void)PendingFiles::clear(storeFolder);
        outcome.failed = true;
        return outcome;
    }
    // Once the import has ended, however: the steps it finished are in
    // idx.dat, and a failed one has taken its files away again. A list left
    // after a failure that was told already is cleared by the next start.
    const auto cleared = qScopeGuard([&] {
        if (!store.markerStillHeld())
            return;
        if (const FileResult done = PendingFiles::clear(storeFolder);
            (!done || done.unsynced) && !told.any)
            reports.ShowErrorContinue(done.error);
    });
    const qint64 total = plan.entryCount();
    qint64 done = 0;
    for (const PlannedGroup &group : plan.groups) {
        qsizetype next = 0;
        bool groupMade = false;
        while (next < group.entries.size() || (group.isNew && !groupMade)) {
            NotebookChange change(store, table, reports);
            NoteTable &t = change.table();
            int g = t.findGroup(group.storedName);
            if (g < 0) {
                if (!change.createGroupFolder(group.storedName)) {
                    outcome.failed = true;
                    return outcome;
                }
                g = NotebookEdit::sortedGroupSlot(t, group.storedName);
                if (!NotebookEdit::insertGroupRow(t, g, group.storedName)) {
                    outcome.failed = true;
                    return outcome;
                }
            }
            qint64 made = 0;
            // Counted once a step, not for every title appended.
            int count = t.entryCount(g);
            const qsizetype end = std::min(next + kEntriesPerChange, group.entries.size());
            for (; next < end; ++next) {
                if (progress && !progress(done, total)) {
                    outcome.cancelled = true;
                    break;
                }
                // The plan keeps within the limit; a file idx.dat cannot name is not written.
                if (count >= NoteTable::kMaxEntries)
                    break;
                const PlannedEntry &entry = group.entries.at(next);
                if (entry.hasFile &&
                    !change.writeNewEntryInBatch(group.storedName, entry.storedTitle, entry.date,
                                                 entry.text)) {
                    outcome.failed = true;
                    return outcome;
                }
                t.cell(g, ++count) = entry.storedTitle;
                ++made;
                ++done;
            }
            // Cancelled before the first entry of a new group: the group is
            // not made (the change undoes its folder).
            if (outcome.cancelled && made == 0 && group.isNew && !groupMade)
                return outcome;
            if (!change.commit()) {
                outcome.failed = true;
                return outcome;
            }
            if (!groupMade && group.isNew)
                ++outcome.groupsMade;
            groupMade = true;
            outcome.entriesMade += made;
            if (outcome.cancelled)
                return outcome;
        }
        if (group.isNew && group.mask) {
            NotebookChange change(store, table, reports);
            if (!change.commitMask(group.storedName, *group.mask)) {
                outcome.failed = true;
                return outcome;
            }
        }
    }
    if (progress)
        progress(done, total);
    return outcome;
}

QString unencodableList(const Plan &plan, int maxFiles)
{
    QStringList lines;
    for (const UnencodableFile &file : plan.unencodable) {
        if (lines.size() == maxFiles) {
            lines.append(u"... and %1 more files"_s.arg(plan.unencodable.size() - maxFiles));
            break;
        }
        QStringList shown;
        for (const QString &c : file.characters) {
            shown.append(u"%1 (U+%2)"_s.arg(c).arg(
                QString::number(c.toUcs4().value(0), 16).toUpper(), 4, u'0'));
            if (shown.size() == 8) {
                shown.append(u"..."_s);
                break;
            }
        }
        lines.append(file.path + u": "_s + shown.join(u", "_s));
    }
    return lines.join(u'\n');
}

QString summary(const Plan &plan, const Outcome &outcome)
{
    QString line = u"%1 groups and %2 entries made, %3 files skipped, %4 already there"_s
                       .arg(outcome.groupsMade)
                       .arg(outcome.entriesMade)
                       .arg(plan.skipped.size())
                       .arg(plan.duplicates);
    if (outcome.cancelled)
        line +=
            u"; cancelled, %1 entries not imported"_s.arg(plan.entryCount() - outcome.entriesMade);
    else if (outcome.failed)
        line += u"; stopped by a failed write, %1 entries not imported"_s.arg(plan.entryCount() -
                                                                              outcome.entriesMade);
    return line + u'.';
}

QString report(const Plan &plan, const Outcome &outcome, const QString &folder)
{
    QString text = summary(plan, outcome);
    if (!plan.unencodable.isEmpty() && plan.choice == Unencodable::Replace) {
        text += u"\n\nCharacters the notebook cannot hold were replaced by close equivalents "
                "in %1 files."_s.arg(plan.unencodable.size());
    }
    if (!plan.skipped.isEmpty()) {
        text += u"\n\nSkipped, in %1:"_s.arg(folder);
        int shown = 0;
        for (const Skipped &s : plan.skipped) {
            if (++shown > 100) {
                text += u"\n... and %1 more"_s.arg(plan.skipped.size() - 100);
                break;
            }
            text += u"\n"_s + s.path + u": "_s + s.why;
        }
    }
    return text;
}

} // namespace NotebookImport
