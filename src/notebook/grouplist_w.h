#pragma once

class GroupList;
class NoteTable;
class TitleListView;

// Refills the group list from the table; `list` keeps each line's slot.
void fillGroupList(TitleListView &groupList, GroupList &list, const NoteTable &table,
                   bool hideYGroups);
