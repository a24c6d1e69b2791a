#include "store/entrystore.h"

#include "store/appstate.h"
#include "store/notetable.h"
#include "store/storepaths.h"

using namespace Qt::StringLiterals;

namespace EntryStore {

EntryFile::EntryRead readEntry(const AppState &state, const NoteTable &table, int g, int column)
{
    // No file is looked for behind an empty title or a name that would leave
    // the group folder (a damaged index): such an entry simply has no text.
    if (!StorePaths::isSafeStoredName(table.name(g)) ||
        !StorePaths::isSafeStoredName(table.cell(g, column)))
        return EntryFile::EntryRead{false, {}, IoError::custom(u"No file name"_s), {}};
    return EntryFile::readEntry(
        StorePaths::entryFile(state.storeFolder, table.name(g), table.cell(g, column)),
        state.storeFolder);
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
    TextLines::Encoded encoded = EntryFile::formatEntry(date, QString());
    if (!encoded)
        return FileResult::failed(encoded.error->at(path));
    return batch.write(path, encoded.bytes + storedText);
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
    QString text = stored;
    text.replace(u"\r\n"_s, u"\n"_s);
    return text;
}

} // namespace EntryStore
