#include "store/indexfile.h"

#include "store/codepage.h"
#include "store/notetable.h"
#include "store/storepaths.h"

#include <climits>
#include <cstring>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace IndexFile {

namespace {

#ifdef NAME_MAX
constexpr qsizetype kNameMax = NAME_MAX;
#else
constexpr qsizetype kNameMax = 255;
#endif

// Bytes of `name` in UTF-8, the file name's encoding, counted without making them.
qsizetype utf8Size(QStringView name)
{
    qsizetype n = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t u = name[i].unicode();
        if (u < 0x80)
            n += 1;
        else if (u < 0x800)
            n += 2;
        else if (QChar::isHighSurrogate(u) && i + 1 < name.size() &&
                 QChar::isLowSurrogate(name[i + 1].unicode()))
            n += 4, ++i;
        else
            n += 3;
    }
    return n;
}

// A name that can be its own folder (a group) or file (an entry) in the store:
// what is read from the file and what is written to it. Checked for every
// cell at every save, so nothing is allocated: a character is at most three
// bytes of the file name, and only a long name is counted.
bool isValidName(const QString &name, bool entry)
{
    if (!StorePaths::isSafeStoredName(name))
        return false;
    const qsizetype suffix = entry ? 4 : 0; // ".txt"
    if ((name.size() + suffix) * 3 <= kNameMax)
        return true;
    return utf8Size(name) + suffix <= kNameMax;
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

bool canHold(const QString &name, bool entry)
{
    return isValidName(name, entry) && CodePage::firstUnencodable(name) < 0 &&
           !name.contains(u'\r') && !name.contains(u'\n');
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
    // The cells of the group being read, handed to the table a group at a
    // time. Where the group began, and whether each of its lines ended in
    // CR LF, as the writer ends them: then its bytes are its lines.
    std::vector<NoteTable::Span> cells;
    cells.reserve(NoteTable::kColumns);
    qsizetype groupBegin = 0;
    qsizetype lineEnd = 0;
    bool asWritten = false;
    const auto groupDone = [&] {
        if (g >= 0 && !cells.empty())
            table.setEncodedRow(g, cells, groupBegin, asWritten ? lineEnd : 0);
        cells.clear();
    };
    const auto damaged = [&](Damage damage) {
        // What was read before the damaged line stays in the table.
        asWritten = false;
        groupDone();
        return ParseResult{damage, lineNo};
    };
    while (reader.next(line)) {
        ++lineNo;
        if (line.isEmpty()) {
            // Empty lines at the end (an editor's last line break) are
            // nothing; one before another line is damage.
            bool more = false;
            while (!more && reader.next(line))
                more = !line.isEmpty();
            if (!more)
                break;
            return damaged(Damage::EmptyLine);
        }
        const bool entry = line.front() == '\\';
        if (entry) {
            const int k = int(cells.size()); // the column the title would take
            if (g < 0)
                return damaged(Damage::EntryBeforeGroup);
            if (k > NoteTable::kMaxEntries)
                return damaged(Damage::TooManyEntries);
        } else if (g + 1 >= NoteTable::kGroups) {
            return damaged(Damage::TooManyGroups);
        }
        const qsizetype begin = line.data() - bytes.data();
        const qsizetype end = begin + line.size();
        if (entry)
            line = line.sliced(1);
        if (!StorePaths::isSafeStoredName(line) || !fitsFileName(line, entry))
            return damaged(Damage::UnsafeName);
        if (!entry) {
            groupDone();
            ++g;
            groupBegin = begin;
            asWritten = true;
        }
        lineEnd = end + 2;
        asWritten = asWritten && lineEnd <= bytes.size() && bytes[end] == '\r' &&
                    bytes[end + 1] == '\n';
        // The cell keeps its place in the file; its string is made when first used.
        cells.push_back({line.data() - bytes.data(), line.size()});
    }
    groupDone();
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

TextLines::Encoded Encoder::encode(const NoteTable &table, const QString &programVersion)
{
    std::array<Slot, NoteTable::kGroups> slots;
    std::optional<IoError> refused;
    for (int g = 0; g < NoteTable::kGroups; ++g) {
        Slot &slot = slots[size_t(g)];
        slot.version = table.rowVersion(g);
        if (slot.version == 0)
            continue; // an empty row has no lines
        // The same row as at an earlier save, here or in another slot (rows
        // move as groups are added, removed and sorted): its lines as they were.
        const auto kept =
            slots_[size_t(g)].version == slot.version
                ? slots_.begin() + g
                : std::find_if(slots_.begin(), slots_.end(),
                               [&](const Slot &old) { return old.version == slot.version; });
        if (kept != slots_.end()) {
            slot = std::move(*kept);
            kept->version = 0;
            continue;
        }
        // A row nobody wrote to since the load: its lines are the bytes read.
        if (table.rowBytes(g, &slot.bytes, &slot.begin, &slot.size))
            continue;
        TextLines::Writer out(slotBytes(table, g));
        if (!writeSlot(out, table, g, refused)) {
            // The whole file again, for the report with the right line.
            return serialize(table, programVersion);
        }
        slot.bytes = out.finish().bytes;
        slot.begin = 0;
        slot.size = slot.bytes.size();
    }
    slots_ = std::move(slots);

    TextLines::Writer head;
    head.line(header(programVersion));
    const TextLines::Encoded headLine = head.finish();
    if (!headLine)
        return headLine;
    qsizetype total = headLine.bytes.size();
    for (const Slot &slot : slots_)
        total += slot.size;
    // The buffer of the last save is written into again unless the caller still holds it.
    file_.resize(total);
    char *dst = file_.data();
    std::memcpy(dst, headLine.bytes.constData(), size_t(headLine.bytes.size()));
    dst += headLine.bytes.size();
    for (const Slot &slot : slots_) {
        if (slot.size != 0)
            std::memcpy(dst, slot.bytes.constData() + slot.begin, size_t(slot.size));
        dst += slot.size;
    }
    return TextLines::Encoded{file_, std::nullopt};
}

} // namespace IndexFile
