#pragma once

#include <QAbstractProxyModel>
#include <QPersistentModelIndex>
#include <QSortFilterProxyModel>
#include <QStringList>

#include <vector>

// The lines the two lists show, as models over the NotebookModel. Each line
// is an item of the notebook model (mapToSource), shown as the model shows it;
// the entry list has one line more, its closing blank line, which belongs to
// the list and to no item.

// The group list: the groups in the sorted order of their shown names, the
// ÿ-groups left out while they are hidden.
class GroupLinesModel : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    explicit GroupLinesModel(QObject *parent = nullptr);
    void setHideYGroups(bool hide);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    bool hideYGroups_ = false;
};

// The entry list: the entries of one group, then a blank line " " that stands
// for "no entry" (new entries and separators go in before it, a group is
// deleted from it).
class EntryLinesModel : public QAbstractProxyModel
{
    Q_OBJECT
public:
    explicit EntryLinesModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;
    // The group whose entries are shown (an index of the source); the lines
    // are made anew unless it is the group shown already.
    void setGroup(const QModelIndex &group);
    QModelIndex group() const { return group_; }
    int entryCount() const;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QModelIndex mapToSource(const QModelIndex &proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex &sourceIndex) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    bool ours(const QModelIndex &sourceParent) const;
    void sourceLayoutAboutToBeChanged(const QList<QPersistentModelIndex> &parents);
    void sourceLayoutChanged(const QList<QPersistentModelIndex> &parents);

    QPersistentModelIndex group_;
    // Open begin...() calls, so that each end...() matches its own begin.
    std::vector<int> pending_;
    // Across a reordering of the entries: what each held line showed.
    QModelIndexList heldLines_;
    QList<QPersistentModelIndex> heldItems_;
};

// The lines of a list, by line number.
class TitleLines
{
public:
    enum Role { ClosingLineRole = Qt::UserRole + 16 };

    explicit TitleLines(const QAbstractItemModel *lines) : lines_(lines) {}

    int count() const;
    QModelIndex index(int row) const;
    // What a line shows: " " for the closing line, "" for no line.
    QString shownName(int row) const;
    // A line's stored name: "" for the closing line and for no line.
    QString storedName(int row) const;
    // Every line as shown, the closing line included.
    QStringList shownNames() const;
    // The stored names of the items, in line order.
    QStringList storedNames() const;
    // The line that shows `shown`, -1 for none.
    int rowShowing(const QString &shown) const;
    bool isClosingLine(int row) const;
    // Lines that are items: all but the closing line.
    int itemCount() const;
    // The item of the notebook model that a line shows; invalid for the
    // closing line and for no line.
    QModelIndex item(int row) const;

private:
    const QAbstractItemModel *lines_;
};
