#include "notebook/grouplist_w.h"

#include "notebook/grouplist.h"

#include <QListWidget>

void FillGroupList(QListWidget &lstGroup, GroupList &list, const NoteTable &table, bool hideYGroups)
{
    list.fill(table, hideYGroups);
    lstGroup.clear();
    lstGroup.addItems(list.lines());
}
