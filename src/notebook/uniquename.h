#pragma once

#include <QString>

class NoteTable;

// The rules that make a typed group name or entry title fit the notebook:
// the uniqueness suffix "_" and the refusals of names no folder or file can
// carry. Names go in and come out in shown form (as typed); every comparison
// is with the stored form of the name (NotebookModel::storedForm), exactly,
// case included.
namespace UniqueName {

// A new or renamed group: "_" is appended to `answer` until its stored form
// is the name of none of the 100 rows, hidden ÿ-groups included. A group
// being renamed is compared with its own row too, as the rename only runs
// for an answer that differs from the old name.
QString uniqueGroupName(const NoteTable &table, const QString &answer);

// A new title within group g (the new-title command, and the title asked for
// when a new entry is first confirmed): "_" appended until no title of g has
// the stored form, the entry's own column included.
QString uniqueTitle(const NoteTable &table, int g, const QString &title);

// The title an entry (column `ownColumn` of group `fromGroup`) takes when it
// moves into `toGroup`: free in the target and, its own column left out, in
// the group it leaves, since it is renamed there before its file is copied.
// Each pass appends one "_" per group that still holds the stored form.
QString uniqueMoveTitle(const NoteTable &table, int fromGroup, int ownColumn, int toGroup,
                        const QString &title);

// Why a name cannot be used; None when it can. Checked on the final name,
// after the suffix, because each "_" makes the file name longer.
enum class Refusal {
    None,
    Empty,       // nothing but blanks, or "." or "..": handled like an empty answer
    Unencodable, // a character the code page cannot hold
    LineBreak,   // CR, LF or NUL: idx.dat holds one name per line, a path no NUL
    TooLong,     // longer than the file system allows for one file or folder name
};

// A group name as typed: its stored form becomes a folder name in the store.
Refusal checkGroupName(const QString &answer);
// An entry title as typed: its stored form plus ".txt" becomes a file name.
Refusal checkEntryTitle(const QString &title);

} // namespace UniqueName
