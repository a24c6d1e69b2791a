#pragma once

#include <QString>
#include <QStringList>

class NoteTable;

// Table steps that the group and entry commands share. None of them writes
// idx.dat: the command calls Save_idx once its file steps are done, in the
// order notebookfiles.h gives.
namespace NotebookEdit {

// The trash group: the one whose name is the literal "Trash" (never
// translated), or -1.
int trashGroup(const NoteTable &table);

// No room for another group (100) or for another entry in group g (999).
// The commands refuse New, a move and a drop before anything changes.
bool notebookIsFull(const NoteTable &table);
bool groupIsFull(const NoteTable &table, int g);

// Stored titles, in list order, become group g's titles 1..999, each byte for
// byte as given; every column after them is emptied, so the column never has
// a gap. An empty title ends the list. Returns the number of titles now in
// the group.
int setEntryColumn(NoteTable &table, int g, const QStringList &storedTitles);

// The stored form of `title`, the name an entry stored as `oldStored` takes
// in another group: its stored form as it was, byte for byte, where the title
// is the one it showed (no suffix was needed).
QString movedStoredTitle(const QString &title, const QString &oldStored);

// Puts a stored title into the first free column of group g. False, with the
// table unchanged, when the group already holds 999 entries.
bool appendTitle(NoteTable &table, int g, const QString &storedTitle);

// A new group at slot L, the line the sorted group list gave it: the rows
// from L down move one slot further, and row L gets the name and no entries.
// False, with the table unchanged, when all 100 slots are in use or L lies
// beyond the groups (it would leave a gap).
bool insertGroupRow(NoteTable &table, int L, const QString &storedName);

// The slot a group of this stored name takes so that slot order stays the
// order of the sorted group list: the number of groups whose shown name sorts
// before it. `leaveOut` is a slot not counted (the group being renamed).
int sortedGroupSlot(const NoteTable &table, const QString &storedName, int leaveOut = -1);

// A renamed group: the row at slot L moves, with all its entries, to slot K
// (its line in the group list after the rename) and takes the new name; the
// rows between close up behind it. False, with the table unchanged, when L
// or K is not a slot in use.
bool moveRenamedGroupRow(NoteTable &table, int L, int K, const QString &storedName);

// Stored titles in the list-box order of their shown forms (`shownTitles`,
// line by line; listLess), Z to A when `descending`, as the sort command puts
// them back into the list.
QStringList sortTitles(const QStringList &storedTitles, const QStringList &shownTitles,
                       bool descending);

} // namespace NotebookEdit
