#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

// The whole notebook in memory: group slot 0..99 by column 0..999. Column 0 holds
// the group's stored name, columns 1..999 its entry titles in list order. The
// first empty name (or title) ends the list; everything after it is empty.
//
// A table read from idx.dat keeps the file's bytes and makes the string of a
// cell when the cell is first asked for: the start needs a hundred names and
// the titles of one group, not 100,000 strings. Asking makes the string, also
// through the const accessor, so a table is used by one thread at a time.
class NoteTable
{
public:
    static constexpr int kGroups = 100;
    static constexpr int kColumns = 1000;
    static constexpr int kMaxEntries = kColumns - 1;

    NoteTable() : cells_(kGroups * kColumns) {}

    QString &cell(int g, int c) { return text(cells_[index(g, c)]); }
    const QString &cell(int g, int c) const { return text(cells_[index(g, c)]); }
    const QString &name(int g) const { return cell(g, 0); }

    bool operator==(const NoteTable &other) const;

    // The bytes that setEncoded takes its cells from, kept until the table is
    // cleared (a view is copied). Cells still waiting for an earlier source are
    // made first.
    void setSource(const QByteArray &bytes);
    void setSource(QByteArrayView bytes) { setSource(bytes.toByteArray()); }
    // Cell (g, c) becomes bytes offset..offset+length-1 of the source in the
    // code page; `length` is not 0.
    void setEncoded(int g, int c, qsizetype offset, qsizetype length);

    // Every cell back to "".
    void clear();
    // Number of groups before the first empty name.
    int groupCount() const;
    // Number of titles before the first empty title of group g.
    int entryCount(int g) const;

    // Copies all 1000 columns of row `from` into row `to`.
    void copyRow(int from, int to);
    void clearRow(int g);
    // Makes room at row L: rows L..98 move down by one while they have a name.
    // Whatever stood in row 99 is overwritten, so callers refuse a 101st group first.
    void openRow(int L);
    // Removes row L: rows L+1..99 move up by one and row 99 becomes empty.
    void closeRow(int L);
    // Moves row `from` to position `to`, shifting the rows between.
    void moveRow(int from, int to);
    // Row i becomes what row order[i] was; the rows after the last become empty.
    void reorderRows(const std::vector<int> &order);

    // Slot of the group whose stored name is `storedName`, or -1.
    int findGroup(const QString &storedName) const;
    // Column (1..999) of the stored title in group g, or -1.
    int findTitle(int g, const QString &storedTitle) const;

private:
    struct Cell
    {
        QString text;
        quint32 offset = 0;
        quint32 length = 0; // not 0: the text is still bytes of the source
    };
    static int index(int g, int c) { return g * kColumns + c; }
    QString &text(Cell &cell) const
    {
        if (cell.length != 0)
            decode(cell);
        return cell.text;
    }
    void decode(Cell &cell) const;
    bool empty(int g, int c) const;

    mutable std::vector<Cell> cells_;
    QByteArray source_;
};
