#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <array>
#include <memory>
#include <vector>

// The whole notebook in memory: group slot 0..99 by column 0..999. Column 0 holds
// the group's stored name, columns 1..999 its entry titles in list order. The
// first empty name (or title) ends the list; everything after it is empty.
//
// A table read from idx.dat keeps the file's bytes and makes the string of a
// cell when the cell is first asked for: the start needs a hundred names and
// the titles of one group, not 100,000 strings. Asking makes the string, also
// through the const accessor.
//
// Rows are shared between copies of a table until one of them is written to
// (the non-const cell() makes its row the table's own first): a command keeps
// a copy of the table to put back if it fails, and that copy costs a hundred
// pointers, not a hundred thousand strings. A table and its copies are used by
// one thread at a time (the search copies what it reads before its threads
// start). A reference from cell() is good until the table's next call.
class NoteTable
{
public:
    static constexpr int kGroups = 100;
    static constexpr int kColumns = 1000;
    static constexpr int kMaxEntries = kColumns - 1;

    NoteTable() = default;

    QString &cell(int g, int c)
    {
        Row &row = ownRow(g);
        return text(row.cells[size_t(c)], row);
    }
    const QString &cell(int g, int c) const
    {
        // The pointer is const, not the row: a cell's string is made when asked.
        Row *row = rows_[size_t(g)].get();
        return row ? text(row->cells[size_t(c)], *row) : emptyText();
    }
    const QString &name(int g) const { return cell(g, 0); }

    bool operator==(const NoteTable &other) const;

    // The bytes that setEncoded takes its cells from (a view is copied); each
    // row keeps the bytes its cells came from for as long as it needs them.
    void setSource(const QByteArray &bytes);
    void setSource(QByteArrayView bytes) { setSource(bytes.toByteArray()); }
    // Where a cell lies in the source: `length` bytes (not 0) from `offset`.
    struct Span
    {
        qsizetype offset;
        qsizetype length;
    };
    // Cells (g, 0), (g, 1), ... become the spans of the source in the code
    // page, in order. With bytesEnd > bytesBegin, those bytes of the source
    // are the row's lines exactly as idx.dat's writer would write them (the
    // reader saw each end in CR LF): they stand for the row until it is next
    // written to, unless the row holds cells beyond the spans.
    void setEncodedRow(int g, const std::vector<Span> &spans, qsizetype bytesBegin = 0,
                       qsizetype bytesEnd = 0);
    // Those bytes, while the row has not been written to since: the source
    // they lie in and where. False otherwise.
    bool rowBytes(int g, QByteArray *source, qsizetype *begin, qsizetype *size) const;
    // A number that stays the same while row g holds the same cells, for the
    // index writer: it changes when the row is written to (or another row
    // takes its place), and two rows never share one unless one is a copy of
    // the other. 0 for an empty row.
    quint64 rowVersion(int g) const;

    // Every cell back to "".
    void clear();
    // Number of groups before the first empty name.
    int groupCount() const;
    // Number of titles before the first empty title of group g.
    int entryCount(int g) const;

    // Copies all 1000 columns of row `from` into row `to`.
    void copyRow(int from, int to);
    // Row `from` of `other` becomes row `to` of this table (shared until
    // either is written to).
    void copyRowFrom(const NoteTable &other, int from, int to);
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
        quint32 length = 0; // not 0: the text is still bytes of the row's source
    };
    struct Row
    {
        std::array<Cell, kColumns> cells;
        QByteArray source;        // what the cells still held as bytes are part of
        quint64 version = 0;      // 0: not numbered since the last write
        qsizetype bytesBegin = 0; // the row's lines in the source, when bytesEnd is not 0
        qsizetype bytesEnd = 0;
    };
    QString &text(Cell &cell, const Row &row) const
    {
        if (cell.length != 0)
            decode(cell, row);
        return cell.text;
    }
    static const QString &emptyText();
    void decode(Cell &cell, const Row &row) const;
    bool empty(int g, int c) const;
    // Row g as this table's own, to be written to.
    Row &ownRow(int g)
    {
        std::shared_ptr<Row> &row = rows_[size_t(g)];
        if (!row || row.use_count() > 1)
            makeOwn(row);
        // Whatever the caller does with the cell, the row may differ from now on.
        row->version = 0;
        row->bytesEnd = 0;
        return *row;
    }
    static void makeOwn(std::shared_ptr<Row> &row);

    std::array<std::shared_ptr<Row>, kGroups> rows_;
    QByteArray source_;
};
