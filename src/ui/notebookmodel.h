#pragma once

#include "store/notetable.h"

#include <QAbstractItemModel>
#include <QList>
#include <QPersistentModelIndex>
#include <QStringList>

#include <vector>

struct AppState;

// The notebook as Qt's views see it: the groups as the top-level items, in
// slot order, each group's entries as its children, in list order. The model
// shows what the NoteTable holds and follows it when told (refresh()): each
// change comes out as the standard signals of the rows it concerns (rows
// removed, reordered within their parent, inserted, renamed), so a view keeps
// its selection and scroll position on the items that stay, and whatever
// watches the model can follow these signals.
//
// The model is where a stored name becomes the name a list shows (the display
// role); it is never turned back: commands take the stored name
// (StoredNameRole) or the item's index.
class NotebookModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum Role {
        StoredNameRole = Qt::UserRole,
        KindRole, // an entry's Kind; nothing for a group
    };
    // What an entry is: one with its text file; a separator line (a line of
    // the Insert menu: a title without a file that structures the list); a new
    // entry, whose title and file come with its first save; or one whose file
    // is not there.
    enum class Kind { Entry, Separator, New, MissingFile };
    Q_ENUM(Kind)

    // `state` gives the store folder where an entry's kind is asked for.
    NotebookModel(const NoteTable &table, const AppState &state, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    bool hasChildren(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The table has changed: the items follow it.
    void refresh();
    // The same after the table was read again from idx.dat (tableReread).
    void refreshAfterReading();

    // The two forms of a name: what the lists show, and what idx.dat and the
    // file names hold (thirteen characters file names forbid are kept as
    // letters of the code page's upper half). A name typed by the user
    // becomes stored once, where it comes in; nothing shown goes back.
    static QString shownForm(const QString &stored);
    static QString storedForm(const QString &typed);

    QModelIndex groupIndex(int slot) const;
    QModelIndex entryIndex(int slot, int row) const;
    // The group slot of a group or entry item, -1 for none.
    int slotOf(const QModelIndex &index) const;
    bool isEntry(const QModelIndex &index) const;
    // The shown form of a group's name and of its titles, in list order.
    QString shownName(int slot) const;
    QStringList shownTitles(int slot) const;
    // A group's titles as stored, in list order.
    QStringList storedTitles(int slot) const;

    // A new entry is one the program has just put in and whose title the
    // user gives with its first save; the state follows the item through
    // every change of the rows and ends with the item or setNew(false).
    void setNew(const QModelIndex &entry, bool isNew);
    bool isNew(const QModelIndex &entry) const;

Q_SIGNALS:
    void tableReread();

private:
    struct Names
    {
        quint64 version = 0; // of the row the names were made from
        int count = 0;
        QString group;
        mutable QList<QString> titles; // made when first shown
    };
    const Names &names(int slot) const;
    // A group's entries as the views know them (also while they are brought in step).
    int entryCountOf(int slot) const;
    QString storedTitleOf(int slot, int row) const;
    QString shownTitle(int slot, int row) const;
    Kind kindOf(int slot, int row) const;
    int slotOfId(quintptr id) const;

    void syncGroups();
    void syncEntries(int slot);

    const NoteTable &table_;
    const AppState &state_;
    // The table as the views know it: at every signal, what the rows said then.
    NoteTable shown_;
    int groups_ = 0;
    // Each shown group's number: an entry's index names its group by it, so
    // it stays the same entry's index while groups come, go and move.
    std::vector<quintptr> ids_;
    quintptr nextId_ = 1;
    mutable std::vector<Names> names_;
    // While one group's entries are brought in step with the table: that
    // group, and its titles as the views know them so far.
    int pendingSlot_ = -1;
    QStringList pendingTitles_;
    QList<QPersistentModelIndex> new_;
};
