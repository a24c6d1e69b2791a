#include "store/entrystore.h"

#include "store/appstate.h"
#include "store/notetable.h"
#include "store/storepaths.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace EntryStore {

namespace {

// The entry's file, or none behind an empty title or a name that would leave
// the group folder (a damaged index): such an entry simply has no text.
std::optional<QString> entryPath(const AppState &state, const NoteTable &table, int g, int column)
{
    if (!StorePaths::isSafeStoredName(table.name(g)) ||
        !StorePaths::isSafeStoredName(table.cell(g, column)))
        return std::nullopt;
    return StorePaths::entryFile(state.storeFolder, table.name(g), table.cell(g, column));
}

EntryFile::EntryRead noFileName()
{
    return EntryFile::EntryRead{false, {}, IoError::custom(u"No file name"_s), {}};
}

} // namespace

EntryFile::EntryRead readEntry(const AppState &state, const NoteTable &table, int g, int column)
{
    const auto path = entryPath(state, table, g, column);
    return path ? EntryFile::readEntry(*path, state.storeFolder) : noFileName();
}

EntryFile::EntryRead readEntryForBox(const AppState &state, const NoteTable &table, int g,
                                     int column, const std::function<void(const QString &)> &text)
{
    const auto path = entryPath(state, table, g, column);
    return path ? EntryFile::readEntryForBox(*path, state.storeFolder, text) : noFileName();
}

EntryFile::MaskRead readMask(const AppState &state, const NoteTable &table, int g)
{
    if (!StorePaths::isSafeStoredName(table.name(g)))
        return EntryFile::MaskRead{false, {}, IoError::custom(u"No folder name"_s)};
    return EntryFile::readMask(StorePaths::maskFile(state.storeFolder, table.name(g)),
                               state.storeFolder);
}

FileResult writeEntry(const QString &storeFolder, const QString &group, const QString &title,
                      const QString &date, const QString &text)
{
    const QString path = StorePaths::entryFile(storeFolder, group, title);
    if (!StorePaths::isSafeStoredName(group) || !StorePaths::isSafeStoredName(title))
        return FileResult::failed(IoError::custom(u"The name cannot be a file name"_s).at(path));
    return EntryFile::writeEntry(path, date, text, storeFolder);
}

FileResult writeEntry(FileBatch &batch, const QString &storeFolder, const QString &group,
                      const QString &title, const QString &date, const QByteArray &storedText)
{
    const QString path = StorePaths::entryFile(storeFolder, group, title);
    if (!StorePaths::isSafeStoredName(group) || !StorePaths::isSafeStoredName(title))
        return FileResult::failed(IoError::custom(u"The name cannot be a file name"_s).at(path));
    // The date line and the text in one allocation, for a thousand files.
    TextLines::Writer out(date.size() + 2 + storedText.size());
    out.line(date);
    TextLines::Encoded encoded = out.finish();
    if (!encoded)
        return FileResult::failed(encoded.error->at(path));
    encoded.bytes += storedText;
    return batch.write(path, encoded.bytes);
}

FileResult writeMask(const QString &storeFolder, const QString &group, const QString &text)
{
    const QString path = StorePaths::maskFile(storeFolder, group);
    if (!StorePaths::isSafeStoredName(group))
        return FileResult::failed(IoError::custom(u"The name cannot be a folder name"_s).at(path));
    return EntryFile::writeMask(path, text, storeFolder);
}

QString toTextBox(const QString &stored)
{
    // Not QString::replace, which moves the rest of a long text again for
    // every thousand breaks.
    QString text(stored.size(), Qt::Uninitialized);
    QChar *dst = text.data();
    const QChar *const end = stored.constEnd();
    for (const QChar *p = stored.constBegin(); p != end; ++p) {
        if (*p != u'\r' || p + 1 == end || p[1] != u'\n')
            *dst++ = *p;
    }
    text.truncate(dst - text.constData());
    return text;
}


} // namespace EntryStore
