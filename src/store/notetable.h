#pragma once

#include <QString>
#include <vector>

// The whole notebook in memory: group slot 0..99 by column 0..999. Column 0 holds
// the group's stored name, columns 1..999 its entry titles in list order. The
// first empty name (or title) ends the list; everything after it is empty.
class NoteTable
{
public:
    static constexpr int kGroups = 100;
    static constexpr int kColumns = 1000;
    static constexpr int kMaxEntries = kColumns - 1;

    NoteTable() : cells_(kGroups * kColumns) {}

    QString &cell(int g, int c) { return cells_[index(g, c)]; }
    const QString &cell(int g, int c) const { return cells_[index(g, c)]; }
    const QString &name(int g) const { return cell(g, 0); }

    bool operator==(const NoteTable &other) const { return cells_ == other.cells_; }

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

    // Slot of the group whose stored name is `storedName`, or -1.
    int findGroup(const QString &storedName) const;
    // Column (1..999) of the stored title in group g, or -1.
    int findTitle(int g, const QString &storedTitle) const;

private:
    static int index(int g, int c) { return g * kColumns + c; }
    std::vector<QString> cells_;
};
