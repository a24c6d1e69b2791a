#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The lines of the group list or of the entry list. Each line is a stored
// name, shown the way the window shows names (InDOS). Commands read and write
// the stored names; what a line shows is never turned back into a name, since
// a stored name that is not in its canonical form (a blank at one end, a
// literal ':' another program wrote) would not survive the round trip.
class TitleListModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum Role { StoredNameRole = Qt::UserRole };
    // The entry list ends in a blank line " " that stands for "no entry":
    // new entries and separators go in before it.
    enum class ClosingLine { None, Blank };

    explicit TitleListModel(ClosingLine closing, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

    // The stored names in line order, without the closing line.
    const QStringList &storedNames() const { return stored_; }
    // The stored name of a line; "" for the closing line and for no line.
    QString storedName(int row) const;
    // What a line shows: " " for the closing line, "" for no line.
    QString shownName(int row) const;
    // Every line as shown, the closing line included.
    QStringList shownNames() const;
    // The line that shows `shown`, -1 for none.
    int rowShowing(const QString &shown) const;
    bool isClosingLine(int row) const;

    // The lines become `names`. Lines change in place where they can, so a
    // list of 999 lines is not rebuilt for a move of one and a view keeps its
    // selection where the line count stays.
    void setStoredNames(const QStringList &names);
    void setStoredName(int row, const QString &name);

private:
    QStringList stored_;
    QStringList shown_;
    ClosingLine closing_;
};
