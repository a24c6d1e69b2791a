#pragma once

#include <QStringList>
#include <vector>

class NoteTable;

// The lines of groupList and the group slot behind each. Hidden ÿ-groups and a
// store written in another order would otherwise break "line = slot", so every
// command asks this map instead of using a line number as a slot.
class GroupList
{
public:
    // Puts the table's group rows into the order of the list (stably), as the
    // list shows them. Done once after the index is read.
    static void orderRows(NoteTable &table);

    // FillGroupList: the shown names (InDOS) of every group, sorted, without the
    // ÿ-groups while they are hidden.
    void fill(const NoteTable &table, bool hideYGroups);

    const QStringList &lines() const { return lines_; }
    int count() const { return int(lines_.size()); }
    // Group slot of a line, -1 for a line that does not exist.
    int slotOfLine(int line) const;
    // Line of a group slot, -1 while that group is hidden or does not exist.
    int lineOfSlot(int slot) const;

private:
    QStringList lines_;
    std::vector<int> slots_;
};

// A ÿ-group: a group name beginning with "ÿ" (hidden while HideYGroups is set).
bool isYGroup(const QString &storedName);
