#include "ui/notebookmodel.h"

#include "store/appstate.h"
#include "store/dostext.h"
#include "store/storepaths.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <numeric>
#include <optional>

namespace {

QStringList groupNames(const NoteTable &table)
{
    QStringList names;
    const int count = table.groupCount();
    names.reserve(count);
    for (int g = 0; g < count; ++g)
        names.append(table.name(g));
    return names;
}

QStringList titlesOf(const NoteTable &table, int g)
{
    QStringList titles;
    const int count = table.entryCount(g);
    titles.reserve(count);
    for (int c = 1; c <= count; ++c)
        titles.append(table.cell(g, c));
    return titles;
}

// How one list of names became another: each old row's new row (-1: gone),
// the old rows that went and the new rows that came (both ascending), and
// the one renamed row, where exactly one row on each side has no partner of
// its name. A name that stands where it stood is the same item; the others
// are paired in order (names occur twice in a group only by accident: two
// new entries' placeholders, a hand-edited idx.dat).
struct ListChange
{
    std::vector<int> newRowOf;
    std::vector<int> removed;
    std::vector<int> inserted;
    std::optional<std::pair<int, int>> renamed;
};

// The changes of one row alone, found without a table of names: most
// commands rename, remove or add one line.
std::optional<ListChange> oneRowChange(const QStringList &before, const QStringList &after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype first = 0;
    while (first < shorter && before.at(first) == after.at(first))
        ++first;
    const qsizetype tail = std::max(before.size(), after.size()) - first - 1;
    const auto sameTail = [&](qsizetype from, qsizetype to) {
        for (qsizetype k = 0; k < tail; ++k) {
            if (before.at(from + k) != after.at(to + k))
                return false;
        }
        return true;
    };
    ListChange change;
    change.newRowOf.resize(size_t(before.size()));
    if (before.size() == after.size() && first == before.size()) {
        // the same names
    } else if (before.size() == after.size() && sameTail(first + 1, first + 1)) {
        change.renamed = std::pair{int(first), int(first)};
    } else if (before.size() == after.size() + 1 && sameTail(first + 1, first)) {
        change.removed.push_back(int(first));
    } else if (after.size() == before.size() + 1 && sameTail(first, first + 1)) {
        change.inserted.push_back(int(first));
    } else {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < before.size(); ++i) {
        const bool gone = !change.removed.empty() && i == first;
        change.newRowOf[size_t(i)] =
            gone ? -1
                 : int(i + (!change.inserted.empty() && i >= first ? 1 : 0) -
                       (!change.removed.empty() && i > first ? 1 : 0));
    }
    return change;
}

ListChange compareLists(const QStringList &before, const QStringList &after)
{
    if (const std::optional<ListChange> one = oneRowChange(before, after))
        return *one;
    ListChange change;
    // Each name's first new row, and from each new row the next of its name.
    QHash<QString, int> first;
    first.reserve(after.size());
    std::vector<int> next(size_t(after.size()), -1);
    for (int j = int(after.size()) - 1; j >= 0; --j) {
        int &head = first[after.at(j)];
        next[size_t(j)] = head - 1;
        head = j + 1; // 0 for none
    }
    change.newRowOf.assign(size_t(before.size()), -1);
    std::vector<bool> taken(size_t(after.size()), false);
    const auto pair = [&change, &taken](int i, int j) {
        change.newRowOf[size_t(i)] = j;
        taken[size_t(j)] = true;
    };
    for (int i = 0; i < std::min(before.size(), after.size()); ++i) {
        if (before.at(i) == after.at(i))
            pair(i, i);
    }
    for (int i = 0; i < before.size(); ++i) {
        if (change.newRowOf[size_t(i)] >= 0)
            continue;
        const auto it = first.find(before.at(i));
        if (it == first.end())
            continue;
        int j = *it - 1;
        while (j >= 0 && taken[size_t(j)])
            j = next[size_t(j)];
        if (j >= 0)
            pair(i, j);
        *it = j >= 0 ? next[size_t(j)] + 1 : 0;
    }
    for (int i = 0; i < before.size(); ++i) {
        if (change.newRowOf[size_t(i)] < 0)
            change.removed.push_back(i);
    }
    for (int j = 0; j < after.size(); ++j) {
        if (!taken[size_t(j)])
            change.inserted.push_back(j);
    }
    if (change.removed.size() == 1 && change.inserted.size() == 1) {
        change.renamed = std::pair{change.removed.front(), change.inserted.front()};
        change.newRowOf[size_t(change.removed.front())] = change.inserted.front();
        change.removed.clear();
        change.inserted.clear();
    }
    return change;
}

// Runs of consecutive rows, each as (first, last); from the last run back
// when `backwards`, so that removing one leaves the rows of the next in place.
std::vector<std::pair<int, int>> runs(const std::vector<int> &rows, bool backwards)
{
    std::vector<std::pair<int, int>> out;
    for (int row : rows) {
        if (!out.empty() && out.back().second + 1 == row)
            out.back().second = row;
        else
            out.emplace_back(row, row);
    }
    if (backwards)
        std::reverse(out.begin(), out.end());
    return out;
}

// The rows left after the removals, in their old order: which of them each
// new position takes (identity when the order stayed).
std::vector<int> remainingOrder(const ListChange &change)
{
    std::vector<int> targets;
    for (int target : change.newRowOf) {
        if (target >= 0)
            targets.push_back(target);
    }
    std::vector<int> order(targets.size());
    std::iota(order.begin(), order.end(), 0);
    std::sort(order.begin(), order.end(),
              [&targets](int a, int b) { return targets[size_t(a)] < targets[size_t(b)]; });
    return order;
}

bool isIdentity(const std::vector<int> &order)
{
    for (size_t i = 0; i < order.size(); ++i) {
        if (order[i] != int(i))
            return false;
    }
    return true;
}

// Where a row of the old order stands in `order`.
std::vector<int> inverse(const std::vector<int> &order)
{
    std::vector<int> rowOf(order.size());
    for (size_t k = 0; k < order.size(); ++k)
        rowOf[size_t(order[k])] = int(k);
    return rowOf;
}

// A line of the Insert menu: 99 of one character, after a line of blanks or
// of the user's character a closing ".".
bool looksLikeSeparator(const QString &shown)
{
    constexpr int kLength = 99;
    if (shown.size() != kLength && !(shown.size() == kLength + 1 && shown.back() == u'.'))
        return false;
    const QChar first = shown.front();
    return std::all_of(shown.begin(), shown.begin() + kLength,
                       [first](QChar c) { return c == first; });
}

} // namespace

NotebookModel::NotebookModel(const NoteTable &table, const AppState &state, QObject *parent)
    : QAbstractItemModel(parent), table_(table), state_(state)
{}

QString NotebookModel::shownForm(const QString &stored)
{
    return InDOS(stored);
}

QString NotebookModel::storedForm(const QString &typed)
{
    return OutDOS(typed);
}

const NotebookModel::Names &NotebookModel::names(int slot) const
{
    Names &names = names_[size_t(slot)];
    const quint64 version = shown_.rowVersion(slot);
    if (names.version != version) {
        names.version = version;
        names.count = shown_.entryCount(slot);
        names.group = shownForm(shown_.name(slot));
        names.titles = QList<QString>(names.count);
    }
    return names;
}

int NotebookModel::entryCountOf(int slot) const
{
    return slot == pendingSlot_ ? int(pendingTitles_.size()) : names(slot).count;
}

QString NotebookModel::storedTitleOf(int slot, int row) const
{
    return slot == pendingSlot_ ? pendingTitles_.value(row) : shown_.cell(slot, row + 1);
}

QString NotebookModel::shownTitle(int slot, int row) const
{
    if (slot == pendingSlot_)
        return shownForm(pendingTitles_.value(row));
    const Names &n = names(slot);
    QString &title = n.titles[row];
    if (title.isNull())
        title = shownForm(shown_.cell(slot, row + 1));
    return title;
}

int NotebookModel::slotOfId(quintptr id) const
{
    const auto it = std::find(ids_.begin(), ids_.end(), id);
    return it == ids_.end() ? -1 : int(it - ids_.begin());
}

QModelIndex NotebookModel::index(int row, int column, const QModelIndex &parent) const
{
    if (column != 0 || row < 0)
        return {};
    if (!parent.isValid())
        return row < groups_ ? createIndex(row, 0, quintptr(0)) : QModelIndex();
    if (parent.internalId() != 0 || parent.row() >= groups_ || row >= entryCountOf(parent.row()))
        return {};
    return createIndex(row, 0, ids_[size_t(parent.row())]);
}

QModelIndex NotebookModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    const int slot = slotOfId(child.internalId());
    return slot < 0 ? QModelIndex() : createIndex(slot, 0, quintptr(0));
}

int NotebookModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return groups_;
    if (parent.internalId() != 0 || parent.column() != 0 || parent.row() >= groups_)
        return 0;
    return entryCountOf(parent.row());
}

int NotebookModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() && parent.internalId() != 0 ? 0 : 1;
}

bool NotebookModel::hasChildren(const QModelIndex &parent) const
{
    return rowCount(parent) > 0;
}

QVariant NotebookModel::data(const QModelIndex &index, int role) const
{
    const int slot = slotOf(index);
    if (slot < 0)
        return {};
    const bool entry = index.internalId() != 0;
    if (entry && index.row() >= entryCountOf(slot))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return entry ? shownTitle(slot, index.row()) : names(slot).group;
    case StoredNameRole:
        return entry ? storedTitleOf(slot, index.row()) : shown_.name(slot);
    case KindRole:
        return entry ? QVariant::fromValue(kindOf(slot, index.row())) : QVariant();
    default:
        return {};
    }
}

NotebookModel::Kind NotebookModel::kindOf(int slot, int row) const
{
    if (isNew(entryIndex(slot, row)))
        return Kind::New;
    const QString &group = shown_.name(slot);
    const QString title = storedTitleOf(slot, row);
    if (StorePaths::isSafeStoredName(group) && StorePaths::isSafeStoredName(title) &&
        QFileInfo(StorePaths::entryFile(state_.storeFolder, group, title)).isFile())
        return Kind::Entry;
    return looksLikeSeparator(shownTitle(slot, row)) ? Kind::Separator : Kind::MissingFile;
}

QModelIndex NotebookModel::groupIndex(int slot) const
{
    return index(slot, 0);
}

QModelIndex NotebookModel::entryIndex(int slot, int row) const
{
    return index(row, 0, groupIndex(slot));
}

int NotebookModel::slotOf(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this)
        return -1;
    if (index.internalId() == 0)
        return index.row() < groups_ ? index.row() : -1;
    return slotOfId(index.internalId());
}

bool NotebookModel::isEntry(const QModelIndex &index) const
{
    return slotOf(index) >= 0 && index.internalId() != 0;
}

QString NotebookModel::shownName(int slot) const
{
    return slot >= 0 && slot < groups_ ? names(slot).group : QString();
}

QStringList NotebookModel::shownTitles(int slot) const
{
    QStringList titles;
    if (slot < 0 || slot >= groups_)
        return titles;
    const int count = entryCountOf(slot);
    titles.reserve(count);
    for (int row = 0; row < count; ++row)
        titles.append(shownTitle(slot, row));
    return titles;
}

QStringList NotebookModel::storedTitles(int slot) const
{
    return slot >= 0 && slot < groups_ ? titlesOf(shown_, slot) : QStringList();
}

void NotebookModel::setNew(const QModelIndex &entry, bool isNew)
{
    new_.removeIf(
        [&entry](const QPersistentModelIndex &item) { return !item.isValid() || item == entry; });
    if (isNew && isEntry(entry))
        new_.append(QPersistentModelIndex(entry));
}

bool NotebookModel::isNew(const QModelIndex &entry) const
{
    return entry.isValid() &&
           std::any_of(new_.begin(), new_.end(),
                       [&entry](const QPersistentModelIndex &item) { return item == entry; });
}

void NotebookModel::refresh()
{
    syncGroups();
    for (int slot = 0; slot < groups_; ++slot)
        syncEntries(slot);
    // Every row now says what the table's says: the rows are shared, and
    // each group's shown names stay good for the row that replaces its own.
    std::vector<quint64> before(static_cast<size_t>(groups_));
    for (int slot = 0; slot < groups_; ++slot)
        before[size_t(slot)] = shown_.rowVersion(slot);
    shown_ = table_;
    for (int slot = 0; slot < groups_; ++slot) {
        if (names_[size_t(slot)].version == before[size_t(slot)])
            names_[size_t(slot)].version = shown_.rowVersion(slot);
    }
}

void NotebookModel::refreshAfterReading()
{
    refresh();
    Q_EMIT tableReread();
}

void NotebookModel::syncGroups()
{
    const ListChange change = compareLists(groupNames(shown_), groupNames(table_));
    for (const auto &[first, last] : runs(change.removed, true)) {
        // The entries of a group that goes go with it, also where a view
        // holds one.
        const QModelIndexList held = persistentIndexList();
        for (const QModelIndex &index : held) {
            const int slot = slotOf(index);
            if (index.internalId() != 0 && slot >= first && slot <= last)
                changePersistentIndex(index, QModelIndex());
        }
        beginRemoveRows({}, first, last);
        for (int row = first; row <= last; ++row)
            shown_.closeRow(first);
        ids_.erase(ids_.begin() + first, ids_.begin() + last + 1);
        names_.erase(names_.begin() + first, names_.begin() + last + 1);
        groups_ -= last - first + 1;
        endRemoveRows();
    }

    const std::vector<int> order = remainingOrder(change);
    if (!isIdentity(order)) {
        Q_EMIT layoutAboutToBeChanged();
        const std::vector<int> rowOf = inverse(order);
        const QModelIndexList held = persistentIndexList();
        QModelIndexList from, to;
        for (const QModelIndex &index : held) {
            if (index.internalId() != 0 || index.row() >= int(rowOf.size()))
                continue;
            from.append(index);
            to.append(createIndex(rowOf[size_t(index.row())], 0, quintptr(0)));
        }
        shown_.reorderRows(order);
        std::vector<quintptr> ids(order.size());
        std::vector<Names> names(order.size());
        for (size_t k = 0; k < order.size(); ++k) {
            ids[k] = ids_[size_t(order[k])];
            names[k] = std::move(names_[size_t(order[k])]);
        }
        ids_ = std::move(ids);
        names_ = std::move(names);
        changePersistentIndexList(from, to);
        Q_EMIT layoutChanged();
    }

    for (const auto &[first, last] : runs(change.inserted, false)) {
        beginInsertRows({}, first, last);
        for (int row = first; row <= last; ++row) {
            shown_.openRow(row);
            shown_.copyRowFrom(table_, row, row);
            ids_.insert(ids_.begin() + row, nextId_++);
            names_.insert(names_.begin() + row, Names{});
        }
        groups_ += last - first + 1;
        endInsertRows();
    }

    if (change.renamed) {
        const int slot = change.renamed->second;
        shown_.cell(slot, 0) = table_.name(slot);
        const QModelIndex group = groupIndex(slot);
        Q_EMIT dataChanged(group, group);
    }
}

void NotebookModel::syncEntries(int slot)
{
    if (shown_.rowVersion(slot) == table_.rowVersion(slot))
        return;
    QStringList titles = titlesOf(shown_, slot);
    const QStringList after = titlesOf(table_, slot);
    if (titles == after)
        return;
    const ListChange change = compareLists(titles, after);
    const QModelIndex group = groupIndex(slot);
    const quintptr id = ids_[size_t(slot)];
    // The views see the titles change step by step; the table's row is
    // taken over once they are all in.
    pendingSlot_ = slot;
    pendingTitles_ = titles;

    for (const auto &[first, last] : runs(change.removed, true)) {
        beginRemoveRows(group, first, last);
        titles.remove(first, last - first + 1);
        pendingTitles_ = titles;
        endRemoveRows();
    }

    const std::vector<int> order = remainingOrder(change);
    if (!isIdentity(order)) {
        Q_EMIT layoutAboutToBeChanged({QPersistentModelIndex(group)});
        const std::vector<int> rowOf = inverse(order);
        const QModelIndexList held = persistentIndexList();
        QModelIndexList from, to;
        for (const QModelIndex &index : held) {
            if (index.internalId() != id || index.row() >= int(rowOf.size()))
                continue;
            from.append(index);
            to.append(createIndex(rowOf[size_t(index.row())], 0, id));
        }
        QStringList reordered;
        reordered.reserve(titles.size());
        for (int k : order)
            reordered.append(titles.at(k));
        titles = std::move(reordered);
        pendingTitles_ = titles;
        changePersistentIndexList(from, to);
        Q_EMIT layoutChanged({QPersistentModelIndex(group)});
    }

    for (const auto &[first, last] : runs(change.inserted, false)) {
        beginInsertRows(group, first, last);
        for (int row = first; row <= last; ++row)
            titles.insert(row, after.at(row));
        pendingTitles_ = titles;
        endInsertRows();
    }

    if (change.renamed) {
        const int row = change.renamed->second;
        titles[row] = after.at(row);
        pendingTitles_ = titles;
        const QModelIndex entry = index(row, 0, group);
        Q_EMIT dataChanged(entry, entry);
    }
    shown_.copyRowFrom(table_, slot, slot);
    pendingSlot_ = -1;
    pendingTitles_.clear();
}
