#pragma once

class GroupList;
class NoteTable;
class TitleListView;

// After idx.dat was read (at the start, after a change from outside): the
// lists follow the table, the ÿ-groups shown or not, and the history keeps
// only what still applies to the table read.
void fillGroupList(TitleListView &groupList, GroupList &list, const NoteTable &table,
                   bool hideYGroups);
