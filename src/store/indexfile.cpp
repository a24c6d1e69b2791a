#include "store/indexfile.h"

#include "store/codepage.h"
#include "store/notetable.h"
#include "store/storepaths.h"

using namespace Qt::StringLiterals;

namespace IndexFile {

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

ParseResult parse(QByteArrayView bytes, NoteTable &table)
{
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
        QString name = CodePage::decode(QByteArray::fromRawData(line.data(), line.size()));
        if (!StorePaths::isSafeStoredName(name))
            return {Damage::UnsafeName, lineNo};
        if (entry) {
            table.cell(g, k++) = std::move(name);
        } else {
            table.cell(++g, 0) = std::move(name);
            k = 1;
        }
    }
    return {};
}

TextLines::Encoded serialize(const NoteTable &table, const QString &programVersion,
                             QByteArray reuse)
{
    qsizetype expected = 64;
    for (int g = 0; g < NoteTable::kGroups; ++g) {
        for (int c = 0; c < NoteTable::kColumns; ++c) {
            const qsizetype n = table.cell(g, c).size();
            if (n != 0)
                expected += n + 3;
        }
    }
    TextLines::Writer out(expected, std::move(reuse));
    out.line(header(programVersion));
    for (int g = 0; g < NoteTable::kGroups; ++g) {
        for (int c = 0; c < NoteTable::kColumns; ++c) {
            const QString &cell = table.cell(g, c);
            if (cell.isEmpty())
                continue;
            if (!StorePaths::isSafeStoredName(cell)) {
                return {QByteArray(),
                        IoError::custom(
                            u"The name \"%1\" (group %2, column %3) is not a valid file name"_s.arg(
                                cell, QString::number(g), QString::number(c)))};
            }
            if (!out.line(cell, c == 0 ? QByteArrayView() : QByteArrayView("\\")))
                return out.finish();
        }
    }
    return out.finish();
}

} // namespace IndexFile
