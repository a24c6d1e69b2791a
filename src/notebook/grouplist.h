#pragma once

#include "ui/listorder.h"

#include <QStringList>

class GroupLinesModel;
class NoteTable;
class NotebookModel;

// The lines of groupList and the group slot behind each. Hidden ÿ-groups and a
// store written in another order would otherwise break "line = slot", so every
// command asks this map instead of using a line number as a slot.
class GroupList
{
public:
    // Puts the table's group rows into the order of the list (stably), as the
    // list shows them. Done once after the index is read.
    static void orderRows(NoteTable &table);

    // The lines are those of `lines`, a view of `model`'s groups.
    void attach(NotebookModel &model, GroupLinesModel &lines);
    NotebookModel *model() const { return model_; }

    // The table changed (it was read again, or its groups moved): the lines
    // follow it, the ÿ-groups shown or not.
    void fill(bool hideYGroups);

    // The shown names, in line order.
    QStringList lines() const;
    int count() const;
    // Group slot of a line, -1 for a line that does not exist.
    int slotOfLine(int line) const;
    // Line of a group slot, -1 while that group is hidden or does not exist.
    int lineOfSlot(int slot) const;

private:
    NotebookModel *model_ = nullptr;
    GroupLinesModel *lines_ = nullptr;
};
