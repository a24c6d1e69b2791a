#include "store/indexfile.h"

#include "store/codepage.h"
#include "store/notetable.h"
#include "store/storepaths.h"

#include <cstring>

using namespace Qt::StringLiterals;

namespace IndexFile {

namespace {

// A name that can be its own folder (a group) or file (an entry) in the store:
// what is read from the file and what is written to it.
bool isValidName(const QString &name, bool entry)
{
    return StorePaths::isSafeStoredName(name) &&
           StorePaths::fitsFileName(entry ? StorePaths::entryFileName(name) : name);
}

// A stored byte becomes at most three in the file name's encoding, so only a
// long name needs to be decoded to know whether it fits.
bool fitsFileName(QByteArrayView stored, bool entry)
{
    if ((stored.size() + 4) * 3 <= 255)
        return true;
    const QString name = CodePage::decode(QByteArray::fromRawData(stored.data(), stored.size()));
    return StorePaths::fitsFileName(entry ? StorePaths::entryFileName(name) : name);
}

} // namespace

IoError ParseResult::error() const
{
    QString what;
    switch (damage) {
    case Damage::None:
        return IoError{};
    case Damage::NoHeader:
        what = u"the file is empty"_s;
        break;
    case Damage::EmptyLine:
        what = u"an empty line"_s;
        break;
    case Damage::EntryBeforeGroup:
        what = u"an entry before the first group"_s;
        break;
    case Damage::TooManyGroups:
        what = u"more than %1 groups"_s.arg(NoteTable::kGroups);
        break;
    case Damage::TooManyEntries:
        what = u"more than %1 entries in a group"_s.arg(NoteTable::kMaxEntries);
        break;
    case Damage::UnsafeName:
        what = u"a name that is not a valid file name"_s;
        break;
    }
    return IoError::custom(u"Damaged index, line %1: %2"_s.arg(line).arg(what));
}

QString header(const QString &programVersion)
{
    return u"idx Plimsa "_s + programVersion;
}

ParseResult parse(const QByteArray &bytes, NoteTable &table)
{
    table.setSource(bytes);
    TextLines::Reader reader(bytes);
    QByteArrayView line;
    if (!reader.next(line))
        return {Damage::NoHeader, 1};
    int lineNo = 1;
    int g = -1;
    int k = 0;
    while (reader.next(line)) {
        ++lineNo;
        if (line.isEmpty())
            return {Damage::EmptyLine, lineNo};
        const bool entry = line.front() == '\\';
        if (entry) {
            if (g < 0)
                return {Damage::EntryBeforeGroup, lineNo};
            if (k > NoteTable::kMaxEntries)
                return {Damage::TooManyEntries, lineNo};
            line = line.sliced(1);
        } else if (g + 1 >= NoteTable::kGroups) {
            return {Damage::TooManyGroups, lineNo};
        }
        if (!StorePaths::isSafeStoredName(line) || !fitsFileName(line, entry))
            return {Damage::UnsafeName, lineNo};
        // The cell keeps its place in the file; its string is made when first used.
        const qsizetype offset = line.data() - bytes.data();
        if (entry) {
            table.setEncoded(g, k++, offset, line.size());
        } else {
            table.setEncoded(++g, 0, offset, line.size());
            k = 1;
        }
    }
    return {};
}

namespace {

qsizetype slotBytes(const NoteTable &table, int g)
{
    qsizetype bytes = 0;
    for (int c = 0; c < NoteTable::kColumns; ++c) {
        const qsizetype n = table.cell(g, c).size();
        if (n != 0)
            bytes += n + 3;
    }
    return bytes;
}

// The lines of slot g: every cell that is not empty, a cell after a gap too.
bool writeSlot(TextLines::Writer &out, const NoteTable &table, int g,
               std::optional<IoError> &refused)
{
    for (int c = 0; c < NoteTable::kColumns; ++c) {
        const QString &cell = table.cell(g, c);
        if (cell.isEmpty())
            continue;
        if (!isValidName(cell, c != 0)) {
            refused = IoError::custom(
                u"The name \"%1\" (group %2, column %3) is not a valid file name"_s.arg(
                    cell, QString::number(g), QString::number(c)));
            return false;
        }
        if (!out.line(cell, c == 0 ? QByteArrayView() : QByteArrayView("\\")))
            return false;
    }
    return true;
}

} // namespace

TextLines::Encoded serialize(const NoteTable &table, const QString &programVersion)
{
    qsizetype expected = 64;
    for (int g = 0; g < NoteTable::kGroups; ++g)
        expected += slotBytes(table, g);
    TextLines::Writer out(expected);
    out.line(header(programVersion));
    std::optional<IoError> refused;
    for (int g = 0; g < NoteTable::kGroups; ++g) {
        if (!writeSlot(out, table, g, refused))
            return refused ? TextLines::Encoded{QByteArray(), refused} : out.finish();
    }
    return out.finish();
}

Encoder::Encoder() = default;

bool Encoder::unchanged(const NoteTable &table, int g) const
{
    if (!slots_[g].valid)
        return false;
    const QString *then = &cells_[g * NoteTable::kColumns];
    for (int c = 0; c < NoteTable::kColumns; ++c) {
        const QString &now = table.cell(g, c);
        if (now.size() != then[c].size() ||
            (!now.isEmpty() && now.constData() != then[c].constData()))
            return false;
    }
    return true;
}

TextLines::Encoded Encoder::encode(const NoteTable &table, const QString &programVersion)
{
    // Made at the first save, not with the window at the start.
    if (cells_.empty())
        cells_.resize(size_t(NoteTable::kGroups) * NoteTable::kColumns);
    std::optional<IoError> refused;
    for (int g = 0; g < NoteTable::kGroups; ++g) {
        Slot &slot = slots_[g];
        if (unchanged(table, g))
            continue;
        slot.valid = false;
        TextLines::Writer out(slotBytes(table, g), std::move(slot.lines));
        if (!writeSlot(out, table, g, refused)) {
            // The whole file again, for the report with the right line.
            return serialize(table, programVersion);
        }
        slot.lines = out.finish().bytes;
        for (int c = 0; c < NoteTable::kColumns; ++c)
            cells_[g * NoteTable::kColumns + c] = table.cell(g, c);
        slot.valid = true;
    }

    TextLines::Writer head;
    head.line(header(programVersion));
    const TextLines::Encoded headLine = head.finish();
    if (!headLine)
        return headLine;
    qsizetype total = headLine.bytes.size();
    for (const Slot &slot : slots_)
        total += slot.lines.size();
    file_.resize(total);
    char *dst = file_.data();
    std::memcpy(dst, headLine.bytes.constData(), size_t(headLine.bytes.size()));
    dst += headLine.bytes.size();
    for (const Slot &slot : slots_) {
        std::memcpy(dst, slot.lines.constData(), size_t(slot.lines.size()));
        dst += slot.lines.size();
    }
    return TextLines::Encoded{file_, std::nullopt};
}

} // namespace IndexFile
