#include "transfer/notebookimport.h"

#include "notebook/uniquename.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "transfer/folderlisting.h"
#include "transfer/transferrules.h"

#include "platform/fd.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace NotebookImport {

namespace {

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
    const Fd dir(
        ::open(QFile::encodeName(groupFolder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
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
    QList<Titles> titles_;                     // per planned group
    QList<QHash<QString, QStringList>> stems_; // per planned group: its titles by stem
    QList<QHash<QString, QByteArray>> texts_;  // per planned group: texts by stored title
    std::vector<bool> wanted_;                 // per planned group: something goes into it
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

Plan makePlan(const Scan &scan, const NoteTable &table, const QString &storeFolder,
              const std::optional<QString> &into, Unencodable choice, const QLocale &locale)
{
    return Planner(table, storeFolder, choice, locale).plan(scan, into);
}

} // namespace NotebookImport
