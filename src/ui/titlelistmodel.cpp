#include "ui/titlelistmodel.h"

#include "ui/listorder.h"
#include "ui/notebookmodel.h"

using namespace Qt::StringLiterals;

GroupLinesModel::GroupLinesModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    setDynamicSortFilter(true);
    sort(0);
}

void GroupLinesModel::setHideYGroups(bool hide)
{
    if (hide == hideYGroups_)
        return;
    hideYGroups_ = hide;
    invalidateFilter();
}

bool GroupLinesModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    // Groups only: a group's entries are not this list's lines, and are
    // neither sorted nor looked at when they change.
    if (sourceParent.isValid())
        return false;
    if (!hideYGroups_)
        return true;
    const QModelIndex group = sourceModel()->index(sourceRow, 0, sourceParent);
    return !isYGroup(group.data(NotebookModel::StoredNameRole).toString());
}

bool GroupLinesModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    // Two names that compare equal keep their slot order (the sort is stable).
    return listLess(left.data().toString(), right.data().toString());
}

EntryLinesModel::EntryLinesModel(QObject *parent) : QAbstractProxyModel(parent) {}

void EntryLinesModel::setSourceModel(QAbstractItemModel *source)
{
    beginResetModel();
    if (sourceModel())
        disconnect(sourceModel(), nullptr, this, nullptr);
    QAbstractProxyModel::setSourceModel(source);
    group_ = QPersistentModelIndex();
    pending_.clear();
    endResetModel();
    if (!source)
        return;
    enum Pending { Other, Insert, Remove, Reset };
    connect(source, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex &parent, int first, int last) {
                const bool mine = ours(parent);
                if (mine)
                    beginInsertRows({}, first, last);
                pending_.push_back(mine ? Insert : Other);
            });
    connect(source, &QAbstractItemModel::rowsInserted, this, [this] {
        const int pending = pending_.empty() ? Other : pending_.back();
        if (!pending_.empty())
            pending_.pop_back();
        if (pending == Insert)
            endInsertRows();
    });
    connect(source, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex &parent, int first, int last) {
                int pending = Other;
                if (ours(parent)) {
                    beginRemoveRows({}, first, last);
                    pending = Remove;
                } else if (!parent.isValid() && group_.isValid() && group_.row() >= first &&
                           group_.row() <= last) {
                    // The group itself goes: no entry lines are left.
                    beginResetModel();
                    pending = Reset;
                }
                pending_.push_back(pending);
            });
    connect(source, &QAbstractItemModel::rowsRemoved, this, [this] {
        const int pending = pending_.empty() ? Other : pending_.back();
        if (!pending_.empty())
            pending_.pop_back();
        if (pending == Remove) {
            endRemoveRows();
        } else if (pending == Reset) {
            group_ = QPersistentModelIndex();
            endResetModel();
        }
    });
    connect(source, &QAbstractItemModel::layoutAboutToBeChanged, this,
            &EntryLinesModel::sourceLayoutAboutToBeChanged);
    connect(source, &QAbstractItemModel::layoutChanged, this,
            &EntryLinesModel::sourceLayoutChanged);
    connect(source, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight,
                   const QList<int> &roles) {
                if (ours(topLeft.parent()))
                    Q_EMIT dataChanged(index(topLeft.row(), 0), index(bottomRight.row(), 0), roles);
            });
    connect(source, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(source, &QAbstractItemModel::modelReset, this, [this] {
        group_ = QPersistentModelIndex();
        endResetModel();
    });
}

bool EntryLinesModel::ours(const QModelIndex &sourceParent) const
{
    return group_.isValid() && sourceParent == group_;
}

void EntryLinesModel::setGroup(const QModelIndex &group)
{
    if (group == group_ && group.isValid() == group_.isValid())
        return;
    beginResetModel();
    group_ = QPersistentModelIndex(group);
    endResetModel();
}

int EntryLinesModel::entryCount() const
{
    return group_.isValid() && sourceModel() ? sourceModel()->rowCount(group_) : 0;
}

void EntryLinesModel::sourceLayoutAboutToBeChanged(const QList<QPersistentModelIndex> &parents)
{
    if (!parents.isEmpty() && !parents.contains(group_))
        return;
    Q_EMIT layoutAboutToBeChanged();
    heldLines_ = persistentIndexList();
    heldItems_.clear();
    for (const QModelIndex &line : std::as_const(heldLines_))
        heldItems_.append(QPersistentModelIndex(mapToSource(line)));
}

void EntryLinesModel::sourceLayoutChanged(const QList<QPersistentModelIndex> &parents)
{
    if (!parents.isEmpty() && !parents.contains(group_))
        return;
    QModelIndexList now;
    for (const QPersistentModelIndex &item : std::as_const(heldItems_))
        now.append(item.isValid() ? mapFromSource(item) : index(entryCount(), 0));
    changePersistentIndexList(heldLines_, now);
    heldLines_.clear();
    heldItems_.clear();
    Q_EMIT layoutChanged();
}

QModelIndex EntryLinesModel::index(int row, int column, const QModelIndex &parent) const
{
    if (parent.isValid() || column != 0 || row < 0 || row > entryCount())
        return {};
    return createIndex(row, 0);
}

QModelIndex EntryLinesModel::parent(const QModelIndex &) const
{
    return {};
}

int EntryLinesModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : entryCount() + 1;
}

int EntryLinesModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

bool EntryLinesModel::hasChildren(const QModelIndex &parent) const
{
    return !parent.isValid();
}

QModelIndex EntryLinesModel::mapToSource(const QModelIndex &proxyIndex) const
{
    if (!proxyIndex.isValid() || proxyIndex.model() != this || proxyIndex.row() >= entryCount())
        return {};
    return sourceModel()->index(proxyIndex.row(), 0, group_);
}

QModelIndex EntryLinesModel::mapFromSource(const QModelIndex &sourceIndex) const
{
    if (!sourceIndex.isValid() || !ours(sourceIndex.parent()))
        return {};
    return index(sourceIndex.row(), 0);
}

QVariant EntryLinesModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this)
        return {};
    const bool closing = index.row() == entryCount();
    if (role == TitleLines::ClosingLineRole)
        return closing;
    if (!closing)
        return QAbstractProxyModel::data(index, role);
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return u" "_s;
    return {};
}

Qt::ItemFlags EntryLinesModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

int TitleLines::count() const
{
    return lines_ ? lines_->rowCount() : 0;
}

QModelIndex TitleLines::index(int row) const
{
    return lines_ ? lines_->index(row, 0) : QModelIndex();
}

QString TitleLines::shownName(int row) const
{
    return index(row).data().toString();
}

QString TitleLines::storedName(int row) const
{
    return index(row).data(NotebookModel::StoredNameRole).toString();
}

QStringList TitleLines::shownNames() const
{
    QStringList names;
    const int n = count();
    names.reserve(n);
    for (int row = 0; row < n; ++row)
        names.append(shownName(row));
    return names;
}

QStringList TitleLines::storedNames() const
{
    QStringList names;
    const int n = itemCount();
    names.reserve(n);
    for (int row = 0; row < n; ++row)
        names.append(storedName(row));
    return names;
}

int TitleLines::rowShowing(const QString &shown) const
{
    const int n = count();
    for (int row = 0; row < n; ++row) {
        if (shownName(row) == shown)
            return row;
    }
    return -1;
}

bool TitleLines::isClosingLine(int row) const
{
    return index(row).data(ClosingLineRole).toBool();
}

int TitleLines::itemCount() const
{
    const int n = count();
    return n > 0 && isClosingLine(n - 1) ? n - 1 : n;
}

QModelIndex TitleLines::item(int row) const
{
    const auto *proxy = qobject_cast<const QAbstractProxyModel *>(lines_);
    return proxy ? proxy->mapToSource(index(row)) : QModelIndex();
}
