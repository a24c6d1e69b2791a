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

// Whether idx.dat can hold `name` as a group's name or (`entry`) a title, to
// be read back as the same cell: a file name of the store in the code page,
// on one line. A name found on disk is asked before it is taken in.
bool canHold(const QString &name, bool entry);

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
// while most changes touch one group. The lines of each row are kept with the
// row's version (NoteTable::rowVersion), which changes whenever the row is
// written to: only the rows written to since the last save are encoded
// again, and a row nobody wrote to since the load is written from the bytes
// that were read.
class Encoder
{
public:
    Encoder();
    TextLines::Encoded encode(const NoteTable &table, const QString &programVersion);

private:
    struct Slot
    {
        quint64 version = 0;
        QByteArray bytes; // the row's own lines, or the file the table read them from
        qsizetype begin = 0;
        qsizetype size = 0;
    };

    std::array<Slot, NoteTable::kGroups> slots_;
    QByteArray file_;
};

} // namespace IndexFile
