#include "notebook/entrystore.h"

#include "store/appstate.h"
#include "store/notetable.h"
#include "store/storepaths.h"

using namespace Qt::StringLiterals;

namespace EntryStore {

namespace {

void aboutToOpen(AppState &state, const QString &path)
{
    state.CurrentFile = path;
    state.TargetFile.clear();
}

void opened(AppState &state)
{
    state.CurrentFile.clear();
    state.TargetFile.clear();
}

} // namespace

EntryFile::EntryRead readEntry(const AppState &state, const NoteTable &table, int g, int column)
{
    // No file is looked for behind an empty title or a name that would leave
    // the group folder (a damaged index): such an entry simply has no text.
    if (!StorePaths::isSafeStoredName(table.name(g)) ||
        !StorePaths::isSafeStoredName(table.cell(g, column)))
        return EntryFile::EntryRead{false, {}, IoError::custom(u"No file name"_s)};
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

WriteResult writeEntry(AppState &state, const QString &group, const QString &title,
                       const QString &date, const QString &text)
{
    aboutToOpen(state, StorePaths::entryFile(state.storeFolder, group, title));
    if (!StorePaths::isSafeStoredName(group) || !StorePaths::isSafeStoredName(title))
        return WriteResult{false, IoError::custom(u"The name cannot be a file name"_s)};
    const WriteResult written =
        EntryFile::writeEntry(state.CurrentFile, date, text, state.storeFolder);
    if (written)
        opened(state);
    return written;
}

WriteResult writeMask(AppState &state, const QString &group, const QString &text)
{
    aboutToOpen(state, StorePaths::maskFile(state.storeFolder, group));
    if (!StorePaths::isSafeStoredName(group))
        return WriteResult{false, IoError::custom(u"The name cannot be a folder name"_s)};
    const WriteResult written = EntryFile::writeMask(state.CurrentFile, text, state.storeFolder);
    if (written)
        opened(state);
    return written;
}

QString toTextBox(const QString &stored)
{
    QString text = stored;
    text.replace(u"\r\n"_s, u"\n"_s);
    return text;
}

} // namespace EntryStore
