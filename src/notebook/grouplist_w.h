#pragma once

class GroupList;
class NoteTable;
class QListWidget;

// FillGroupList: refills lstGroup from the table; `list` keeps each line's slot.
void FillGroupList(QListWidget &lstGroup, GroupList &list, const NoteTable &table,
                   bool hideYGroups);
