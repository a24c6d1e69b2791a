#pragma once

#include "store/ioerror.h"
#include "store/notetable.h"
#include "store/textlines.h"

#include <QByteArrayView>
#include <QString>

#include <array>
#include <vector>

// idx.dat: a header line, then each group's stored name followed by its entry
// titles, each title behind a "\".
namespace IndexFile {

enum class Damage {
    None,
    NoHeader, // not even the header line
    EmptyLine,
    EntryBeforeGroup,
    TooManyGroups,  // a 101st group
    TooManyEntries, // a 1000th entry of a group
    UnsafeName,     // a name that would lead out of its folder, or too long for a file name
};

struct ParseResult
{
    Damage damage = Damage::None;
    int line = 0; // 1-based line of the damage
    explicit operator bool() const { return damage == Damage::None; }
    // What the error report shows for the damage.
    IoError error() const;
};

QString header(const QString &programVersion);

// Fills `table` (expected empty) from the file's bytes. The header is not
// checked. On damage the table holds what was read before the damaged line.
// The table keeps the bytes (shared, or copied when they are not the array's
// own) and makes each cell's string when it is first used.
ParseResult parse(const QByteArray &bytes, NoteTable &table);

// Every cell of the table in slot and column order, a cell after a gap too. A
// name that could not be read back as the same cell is refused, so a damaged
// index never reaches the disk.
TextLines::Encoded serialize(const NoteTable &table, const QString &programVersion);

// The same file, for Save_idx, which runs after every change of the notebook
// while most changes touch one group. The lines of each slot are kept with the
// strings they were made from; a slot whose cells are still those very strings
// is not encoded again. Qt shares the data of a copied string and gives a
// changed string new data, so the same data and size mean the same text.
class Encoder
{
public:
    Encoder();
    TextLines::Encoded encode(const NoteTable &table, const QString &programVersion);

private:
    struct Slot
    {
        QByteArray lines;
        bool valid = false;
    };
    bool unchanged(const NoteTable &table, int g) const;

    std::vector<QString> cells_; // what each slot's lines were made from
    std::array<Slot, NoteTable::kGroups> slots_;
    QByteArray file_;
};

} // namespace IndexFile
