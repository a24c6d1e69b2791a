#include "store/entryfile.h"

#include "store/codepage.h"

using namespace Qt::StringLiterals;

namespace EntryFile {

namespace {

QString decode(QByteArrayView bytes)
{
    return CodePage::decode(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

FileResult write(const QString &path, TextLines::Encoded encoded, const QString &storeFolder)
{
    if (!encoded)
        return FileResult::failed(encoded.error->at(path));
    return writeWholeFile(path, encoded.bytes, storeFolder);
}

} // namespace

Entry parseEntry(QByteArrayView bytes)
{
    TextLines::Reader reader(bytes);
    QByteArrayView date;
    reader.next(date);
    return Entry{decode(date), TextLines::toCrLf(decode(reader.rest()))};
}

QString parseMask(QByteArrayView bytes)
{
    return TextLines::toCrLf(decode(bytes));
}

TextLines::Encoded formatEntry(const QString &date, const QString &text)
{
    TextLines::Writer out(date.size() + text.size() + text.size() / 16 + 4);
    out.line(date);
    out.lines(text);
    return out.finish();
}

TextLines::Encoded formatMask(const QString &text)
{
    TextLines::Writer out(text.size() + text.size() / 16 + 2);
    out.lines(text);
    return out.finish();
}

namespace {

EntryRead entryFrom(const ReadResult &read)
{
    if (!read.ok)
        return EntryRead{false, {}, read.error, {}};
    // Not even a date line: opened as an entry, its first save would store an
    // empty date for good. A date line without its break is read as it stands.
    if (read.bytes.isEmpty())
        return EntryRead{false, {}, IoError::custom(u"The file is empty"_s), {}};
    return EntryRead{true, parseEntry(read.bytes), {}, read.identity};
}

MaskRead maskFrom(const ReadResult &read)
{
    if (!read.ok)
        return MaskRead{false, {}, read.error};
    return MaskRead{true, parseMask(read.bytes), {}};
}

} // namespace

EntryRead readEntry(const QString &path, const QString &storeFolder)
{
    return entryFrom(readWholeFile(path, storeFolder));
}

MaskRead readMask(const QString &path, const QString &storeFolder)
{
    return maskFrom(readWholeFile(path, storeFolder));
}

EntryRead readEntryForBox(const QString &path, const QString &storeFolder,
                          const std::function<void(const QString &)> &text, qsizetype partBytes)
{
    QByteArray date;
    bool inDate = true;
    TextLines::BoxTextDecoder decoder;
    const ReadResult read =
        readFileInParts(path, storeFolder, partBytes, [&](QByteArrayView bytes) {
            if (inDate) {
                TextLines::Reader line(bytes);
                QByteArrayView first;
                line.next(first);
                date += first;
                if (first.size() == bytes.size())
                    return;
                inDate = false;
                decoder.followLineEnd(bytes.at(first.size()));
                bytes = bytes.sliced(first.size() + 1);
            }
            if (!bytes.isEmpty())
                text(decoder.decode(bytes));
        });
    if (!read.ok)
        return EntryRead{false, {}, read.error, {}};
    if (read.identity.size == 0)
        return EntryRead{false, {}, IoError::custom(u"The file is empty"_s), {}};
    return EntryRead{true, Entry{decode(date), QString()}, {}, read.identity};
}

EntryRead readEntry(FileReads &reads, const QString &path)
{
    return entryFrom(reads.read(path));
}

MaskRead readMask(FileReads &reads, const QString &path)
{
    return maskFrom(reads.read(path));
}

FileResult writeEntry(const QString &path, const QString &date, const QString &text,
                      const QString &storeFolder)
{
    return write(path, formatEntry(date, text), storeFolder);
}

FileResult writeMask(const QString &path, const QString &text, const QString &storeFolder)
{
    return write(path, formatMask(text), storeFolder);
}

} // namespace EntryFile
