#include "store/indexmerge.h"

#include "store/indexfile.h"

#include <QHash>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace IndexMerge {

namespace {

// One version as lists: its groups in table order, each group's titles in
// list order. A name a hand-edited file repeats counts once.
struct Book
{
    QStringList groups;
    QHash<QString, QStringList> titles;
    QHash<QString, QSet<QString>> has;

    bool hasGroup(const QString &g) const { return titles.contains(g); }
    bool hasTitle(const QString &g, const QString &t) const
    {
        const auto it = has.constFind(g);
        return it != has.cend() && it->contains(t);
    }
    bool operator==(const Book &other) const
    {
        return groups == other.groups && titles == other.titles;
    }
};

Book bookOf(const NoteTable &table)
{
    Book book;
    for (int g = 0; g < table.groupCount(); ++g) {
        const QString &name = table.name(g);
        if (!book.titles.contains(name))
            book.groups << name;
        QStringList &titles = book.titles[name];
        QSet<QString> &seen = book.has[name];
        for (int c = 1; c <= table.entryCount(g); ++c) {
            const QString &title = table.cell(g, c);
            if (!seen.contains(title)) {
                seen.insert(title);
                titles << title;
            }
        }
    }
    return book;
}

// An order being built: each item links to the one after it; "" is the front.
class Order
{
public:
    bool contains(const QString &item) const { return in_.contains(item); }
    void insertAfter(const QString &before, const QString &item)
    {
        next_.insert(item, next_.value(before));
        next_.insert(before, item);
        in_.insert(item);
    }
    // Each item of `source` that `take` wants and the order lacks, after the
    // nearest item before it in `source` that the order holds, and after the
    // items `source` does not have that follow that one (lines new on the
    // side placed before: two sides' new lines after one line keep the order
    // of the sides).
    template <typename Take> void placeFrom(const QStringList &source, Take take)
    {
        const QSet<QString> own(source.cbegin(), source.cend());
        QString before;
        for (const QString &item : source) {
            if (!contains(item) && take(item)) {
                QString at = before;
                for (QString n = next_.value(at); !n.isEmpty() && !own.contains(n);
                     n = next_.value(at))
                    at = n;
                insertAfter(at, item);
            }
            if (contains(item))
                before = item;
        }
    }
    QStringList list() const
    {
        QStringList out;
        for (QString item = next_.value(QString()); !item.isEmpty(); item = next_.value(item))
            out << item;
        return out;
    }

private:
    QHash<QString, QString> next_;
    QSet<QString> in_;
};

// The items of `side` that kept their order among themselves since the base,
// as many as can (a longest increasing run of their places there); the
// others count as moved. The same input always gives the same run.
QSet<QString> unmoved(const QStringList &side, const QHash<QString, int> &place)
{
    const auto n = size_t(side.size());
    std::vector<int> value(n, 0);
    std::vector<int> prev(n, -1);
    std::vector<int> tails;
    for (size_t i = 0; i < n; ++i)
        value[i] = place.value(side[qsizetype(i)]);
    for (int i = 0; i < int(n); ++i) {
        const auto it = std::lower_bound(tails.begin(), tails.end(), value[size_t(i)],
                                         [&](int tail, int v) { return value[size_t(tail)] < v; });
        if (it != tails.begin())
            prev[size_t(i)] = *(it - 1);
        if (it == tails.end())
            tails.push_back(i);
        else
            *it = i;
    }
    QSet<QString> run;
    for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = prev[size_t(i)])
        run.insert(side[i]);
    return run;
}

QStringList only(const QStringList &list, const std::function<bool(const QString &)> &keep)
{
    QStringList out;
    for (const QString &item : list) {
        if (keep(item))
            out << item;
    }
    return out;
}

// Two orders of one group's titles, the first deciding where they disagree.
QStringList mergeOrder(const QStringList *base, const QStringList &first,
                       const QStringList &second, const QSet<QString> &kept)
{
    const auto isKept = [&](const QString &t) { return kept.contains(t); };
    const QStringList p = only(first, isKept);
    const QStringList s = only(second, isKept);
    Order order;
    if (base) {
        const QSet<QString> inP(p.begin(), p.end()), inS(s.begin(), s.end());
        QHash<QString, int> place;
        QStringList common;
        for (const QString &t : *base) {
            if (inP.contains(t) && inS.contains(t) && !place.contains(t)) {
                place.insert(t, int(common.size()));
                common << t;
            }
        }
        const auto isCommon = [&](const QString &t) { return place.contains(t); };
        const QStringList pc = only(p, isCommon), sc = only(s, isCommon);
        const QSet<QString> stayP = unmoved(pc, place), stayS = unmoved(sc, place);
        // What neither side moved, in the base's order; then each side's moves.
        QString before;
        for (const QString &t : std::as_const(common)) {
            if (stayP.contains(t) && stayS.contains(t)) {
                order.insertAfter(before, t);
                before = t;
            }
        }
        order.placeFrom(pc, [&](const QString &t) { return !stayP.contains(t); });
        order.placeFrom(sc, [&](const QString &t) { return !stayS.contains(t); });
    }
    const auto all = [](const QString &) { return true; };
    order.placeFrom(p, all);
    order.placeFrom(s, all);
    return order.list();
}

QStringList sorted(QStringList names)
{
    std::sort(names.begin(), names.end(),
              [](const QString &a, const QString &b) { return QString::compare(a, b) < 0; });
    return names;
}

// A file name the disk shows that can become a title or group: not a hidden
// file (a sync program's temporary file, an editor's), and one idx.dat holds.
bool takeable(const QString &name, bool entry)
{
    return !name.startsWith(u'.') && IndexFile::canHold(name, entry);
}

} // namespace

QString otherTextTitle(const QString &title, const QString &date)
{
    return title + u" (other computer "_s + date + u')';
}

Result merge(const Input &in)
{
    Result out;
    QList<Book> books;
    for (const NoteTable &version : in.versions) {
        Book book = bookOf(version);
        if (!books.contains(book))
            books << std::move(book);
    }
    std::optional<Book> base;
    if (in.base)
        base = bookOf(*in.base);
    const auto inAll = [&](const auto &has) { return std::all_of(books.begin(), books.end(), has); };
    // A name whose file or folder is not there. Without a base nothing can
    // be told taken away: every name stays.
    const auto keptWithoutFile = [&](bool inBase, bool everywhere) {
        return !base || !inBase || everywhere;
    };
    // A name its file keeps, though a version took it away.
    const auto onlyByFile = [&](bool inBase, bool everywhere) {
        return !everywhere && (!base || inBase);
    };
    const auto folderOf = [&](const QString &g) -> const Disk::Folder * {
        const auto it = in.disk.folders.constFind(g);
        return it == in.disk.folders.cend() ? nullptr : &*it;
    };

    QStringList named;
    for (const Book &book : std::as_const(books)) {
        for (const QString &g : book.groups) {
            if (!named.contains(g))
                named << g;
        }
    }
    QStringList groups;
    for (const QString &g : std::as_const(named)) {
        const bool everywhere = inAll([&](const Book &b) { return b.hasGroup(g); });
        const bool inBase = base && base->hasGroup(g);
        if (folderOf(g) || keptWithoutFile(inBase, everywhere))
            groups << g;
        if (folderOf(g) && onlyByFile(inBase, everywhere))
            out.keptByFile << g + u'/';
    }
    // Folders no version names, holding a mask or an entry's file.
    for (auto it = in.disk.folders.cbegin(); it != in.disk.folders.cend(); ++it) {
        if (!named.contains(it.key()) && takeable(it.key(), false) &&
            (it->mask || std::any_of(it->titles.cbegin(), it->titles.cend(),
                                     [](const QString &t) { return takeable(t, true); })))
            groups << it.key();
    }
    if (groups.size() > NoteTable::kGroups) {
        out.refused = u"The merged notebook would hold %1 groups, more than %2"_s.arg(
            QString::number(groups.size()), QString::number(NoteTable::kGroups));
        return out;
    }

    QHash<QString, QStringList> titles;
    for (const QString &g : std::as_const(groups)) {
        const Disk::Folder *folder = folderOf(g);
        QSet<QString> kept;
        for (const Book &book : std::as_const(books)) {
            for (const QString &t : book.titles.value(g)) {
                if (kept.contains(t))
                    continue;
                const bool everywhere = inAll([&](const Book &b) { return b.hasTitle(g, t); });
                const bool inBase = base && base->hasTitle(g, t);
                const bool file = folder && folder->titles.contains(t);
                if (file || keptWithoutFile(inBase, everywhere))
                    kept.insert(t);
                if (file && onlyByFile(inBase, everywhere))
                    out.keptByFile << g + u'/' + t;
            }
        }
        const QStringList *baseOrder =
            base && base->hasGroup(g) ? &*base->titles.constFind(g) : nullptr;
        QStringList order;
        bool first = true;
        for (const Book &book : std::as_const(books)) {
            if (!book.hasGroup(g))
                continue;
            order = first ? only(book.titles.value(g), [&](const QString &t) { return kept.contains(t); })
                          : mergeOrder(baseOrder, order, book.titles.value(g), kept);
            first = false;
        }
        if (order.size() > NoteTable::kMaxEntries) {
            out.refused = u"The merged group \"%1\" would hold %2 entries, more than %3"_s.arg(
                g, QString::number(order.size()), QString::number(NoteTable::kMaxEntries));
            return out;
        }
        titles.insert(g, order);
    }

    // Each entry's other text beside it, after the other texts it already has.
    QHash<QString, QString> lastBeside; // "group/title" -> the line the next one follows
    QSet<QString> madeTitles;           // "group/title" taken from copies
    for (const EntryCopy &copy : in.entryCopies) {
        const auto list = titles.find(copy.group);
        if (list == titles.end()) {
            out.copiesLeft << copy;
            continue;
        }
        const Disk::Folder *folder = folderOf(copy.group);
        NewEntry made{copy.group, copy.copyTitle, {}, false};
        for (QString t = otherTextTitle(copy.title, copy.date); IndexFile::canHold(t, true);
             t += u'_') {
            if (copy.sameBytes.contains(t)) {
                made.title = t;
                made.fileThere = true;
                break;
            }
            if (!list->contains(t) && !(folder && folder->titles.contains(t))) {
                made.title = t;
                break;
            }
        }
        const bool listed = !made.title.isEmpty() && list->contains(made.title);
        if (made.title.isEmpty() || (!listed && list->size() >= NoteTable::kMaxEntries)) {
            out.copiesLeft << copy;
            continue;
        }
        if (!listed) {
            const QString key = copy.group + u'/' + copy.title;
            const qsizetype at = list->indexOf(lastBeside.value(key, copy.title));
            list->insert(at < 0 ? list->size() : at + 1, made.title);
            lastBeside.insert(key, made.title);
        }
        madeTitles.insert(copy.group + u'/' + made.title);
        out.fromCopies << made;
    }

    // Entry files no version names, at the end of their group.
    for (const QString &g : std::as_const(groups)) {
        const Disk::Folder *folder = folderOf(g);
        if (!folder)
            continue;
        QStringList &list = titles[g];
        const QSet<QString> listed(list.cbegin(), list.cend());
        QStringList extra;
        for (const QString &t : folder->titles) {
            if (!listed.contains(t) && !madeTitles.contains(g + u'/' + t) && takeable(t, true))
                extra << t;
        }
        for (const QString &t : sorted(extra)) {
            if (list.size() < NoteTable::kMaxEntries)
                list << t;
        }
    }

    for (int g = 0; g < int(groups.size()); ++g) {
        out.table.cell(g, 0) = groups[g];
        const QStringList &list = titles[groups[g]];
        for (int c = 0; c < int(list.size()); ++c)
            out.table.cell(g, c + 1) = list[c];
    }
    if (in.orderGroups)
        in.orderGroups(out.table);
    return out;
}

Summary compare(const NoteTable &before, const NoteTable &after)
{
    const Book b = bookOf(before), a = bookOf(after);
    Summary summary;
    for (const QString &g : a.groups) {
        if (!b.hasGroup(g))
            summary.groupsAdded << g;
        for (const QString &t : a.titles.value(g)) {
            if (!b.hasTitle(g, t))
                summary.entriesAdded << g + u'/' + t;
        }
    }
    for (const QString &g : b.groups) {
        if (!a.hasGroup(g))
            summary.groupsGone << g;
        for (const QString &t : b.titles.value(g)) {
            if (!a.hasTitle(g, t))
                summary.entriesGone << g + u'/' + t;
        }
    }
    return summary;
}

} // namespace IndexMerge
