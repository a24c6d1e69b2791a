#include "app/recoveryoffer_w.h"

#include "editing/editrules.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/notebookedit.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/entrystore.h"
#include "store/errorreports.h"
#include "store/localfolder.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalBlocker>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// The same file, also where a restart gave its file system another device
// number (a network share).
bool sameFile(const FileIdentity &a, const FileIdentity &b)
{
    return a.exists() == b.exists() && a.inode == b.inode && a.size == b.size &&
           a.modifiedNs == b.modifiedNs;
}

// A saved text ends in the line end of its last line.
QString withoutClosingBreaks(QString text)
{
    while (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

// The first lines of the text, each cut short and indented, for the question.
QString preview(const QString &text)
{
    constexpr int kLines = 12, kWidth = 100;
    const QStringList lines = withoutClosingBreaks(text).split(u'\n');
    QStringList shown;
    for (const QString &line : lines.mid(0, kLines))
        shown << u"    "_s + (line.size() > kWidth ? line.left(kWidth) + u"..."_s : line);
    if (lines.size() > kLines)
        shown << u"    ..."_s;
    return shown.join(u'\n');
}

} // namespace

RecoveryOffer::RecoveryOffer(const RecoveryOfferControls &controls, MainState &main,
                             MainContext &ctx, GroupList &groups, EntryList &entries,
                             QObject *parent)
    : QObject(parent), controls_(controls), main_(main), ctx_(ctx), groups_(groups),
      entries_(entries)
{
    setObjectName(u"recoveryOffer"_s);
}

void RecoveryOffer::offer()
{
    // Only the copy that holds the store edits it; another copy on this
    // computer runs locked and leaves the holder's copy alone.
    const AppState &state = ctx_.state;
    if (state.StoreInUse)
        return;
    const QString folder = LocalFolder::forStore(state.programFolder, state.storeFolder);
    if (!QFileInfo(folder).isDir())
        return;
    removeLeftoverNewFiles(folder, false);
    const QString file = RecoveryFile::path(state.programFolder, state.storeFolder);
    if (!QFileInfo::exists(file))
        return;
    const ReadResult read = readWholeFile(file, state.programFolder);
    if (!read.ok) {
        ctx_.reports.ShowErrorContinue(read.error);
        return;
    }
    const std::optional<RecoveryCopy> copy = RecoveryFile::parse(read.bytes);
    if (!copy) {
        ctx_.messages.message(
            Messages::Icon::Information, ctx_.words(Word::Caution),
            u"The recovery copy of an earlier edit is damaged and cannot be read. It is left "
            "as it is: open it in a text editor to take over its text, then delete it.\n\n%1"_s.arg(
                file));
        return;
    }
    const Place place = locate(*copy);
    if (alreadyStored(*copy, place)) {
        removeCopy();
        return;
    }
    enum { Restore, Discard };
    const int answer = ctx_.messages.ask(
        Messages::Icon::Information, ctx_.words(Word::Caution), question(*copy, place),
        {{u"cmdRestore"_s, u"&Restore"_s}, {u"cmdDiscard"_s, u"&Discard"_s}}, Restore, Restore);
    if (answer == Discard) {
        removeCopy();
        return;
    }
    if (!restore(*copy, place))
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              u"The recovered text could not be put back into the notebook. "
                              "It stays in its recovery copy and is offered again at the next "
                              "start.\n\n%1"_s.arg(file));
}

RecoveryOffer::Place RecoveryOffer::locate(const RecoveryCopy &copy) const
{
    Place place;
    const NoteTable &table = ctx_.table;
    int slot = -1;
    for (int g = 0; g < table.groupCount(); ++g) {
        if (table.name(g) == copy.group)
            slot = g;
    }
    if (slot < 0)
        return place;
    place.groupLine = groups_.lineOfSlot(slot);
    const QString &store = ctx_.state.storeFolder;
    switch (copy.kind) {
    case RecoveryCopy::Kind::Mask:
        place.changed =
            !sameFile(FileIdentity::ofPath(StorePaths::maskFile(store, copy.group)), copy.shown);
        break;
    case RecoveryCopy::Kind::Entry:
        for (int c = 1; c <= table.entryCount(slot); ++c) {
            if (table.cell(slot, c) != copy.title)
                continue;
            const FileIdentity now =
                FileIdentity::ofPath(StorePaths::entryFile(store, copy.group, copy.title));
            // A title whose file is gone is no entry to edit.
            if (now.exists() && now.regularFile) {
                place.entryLine = c - 1;
                place.changed = !sameFile(now, copy.shown);
            }
            break;
        }
        break;
    case RecoveryCopy::Kind::NewEntry: {
        // The placeholder stored at once when the entry was begun; the one
        // on its own line first.
        const QString placeholder = OutDOS(EditRules::newEntryTitle());
        for (int c = 1; c <= table.entryCount(slot); ++c) {
            if (table.cell(slot, c) == placeholder && (place.entryLine < 0 || c - 1 == copy.line))
                place.entryLine = c - 1;
        }
        break;
    }
    }
    return place;
}

bool RecoveryOffer::alreadyStored(const RecoveryCopy &copy, const Place &place) const
{
    if (copy.kind == RecoveryCopy::Kind::NewEntry && copy.text.isEmpty())
        return true;
    // Whoever stored the same text (this program's own save, whose removal
    // of the copy a power cut undid), nothing is missing.
    if (place.groupLine < 0)
        return false;
    const int slot = groups_.slotOfLine(place.groupLine);
    // A new entry's first save puts its title where the placeholder stood.
    const int line = copy.kind == RecoveryCopy::Kind::NewEntry ? copy.line : place.entryLine;
    QString stored;
    if (copy.kind == RecoveryCopy::Kind::Mask) {
        const EntryFile::MaskRead read = EntryStore::readMask(ctx_.state, ctx_.table, slot);
        if (!read.ok)
            return false;
        stored = read.text;
    } else {
        if (line < 0 || line >= ctx_.table.entryCount(slot) ||
            (copy.kind == RecoveryCopy::Kind::NewEntry && place.entryLine == line))
            return false;
        const EntryFile::EntryRead read =
            EntryStore::readEntry(ctx_.state, ctx_.table, slot, line + 1);
        if (!read.ok)
            return false;
        stored = read.entry.text;
    }
    return withoutClosingBreaks(EntryStore::toTextBox(stored)) == withoutClosingBreaks(copy.text);
}

QString RecoveryOffer::question(const RecoveryCopy &copy, const Place &place) const
{
    const QString group = InDOS(copy.group);
    QString what;
    QString where;
    switch (copy.kind) {
    case RecoveryCopy::Kind::Mask:
        what = u"the mask of group \"%1\""_s.arg(group);
        if (place.groupLine < 0)
            where = u"The group is no longer in the notebook: the text comes back as a new "
                    "entry."_s;
        break;
    case RecoveryCopy::Kind::Entry:
        what = u"the entry \"%1\" in group \"%2\""_s.arg(InDOS(copy.title), group);
        if (place.entryLine < 0 || place.groupLine < 0)
            where = u"The entry is no longer in the notebook: the text comes back as a new "
                    "entry."_s;
        else if (place.changed)
            where = u"The entry's file was changed by another program or on another computer "
                    "since the edit began: saving the restored text offers to keep both."_s;
        break;
    case RecoveryCopy::Kind::NewEntry:
        what = u"a new entry in group \"%1\""_s.arg(group);
        if (place.groupLine < 0)
            where = u"The group is no longer in the notebook: the text comes back as a new "
                    "entry in another group."_s;
        break;
    }
    QString text = u"Plimsa ended while %1 was being edited, before the edit was saved or "
                   "cancelled. The text as it was typed up to about a second before the end:"
                   "\n\n%2\n\n"_s.arg(what, preview(copy.text));
    if (!where.isEmpty())
        text += where + u"\n\n"_s;
    return text + u"Restore: the text opens in the edit again, to be saved or cancelled.\n"
                  "Discard: the typed text is deleted; the notebook stays as it is stored."_s;
}

bool RecoveryOffer::restore(const RecoveryCopy &copy, const Place &place)
{
    // The user asked for the edit back: it needs edit permission.
    if (controls_.lock->isChecked())
        controls_.lock->setChecked(false);
    if (place.groupLine < 0)
        return restoreAsNewEntry(copy, controls_.views.groupList->currentRow());

    if (copy.kind == RecoveryCopy::Kind::Mask) {
        entries_.selectGroupLine(place.groupLine);
        if (!controls_.viewMask->isChecked())
            controls_.viewMask->trigger();
        QPlainTextEdit *mask = controls_.mask;
        {
            const QSignalBlocker quiet(mask);
            mask->setPlainText(u"x"_s);
        }
        mask->setPlainText(copy.text); // a change: the mask edit begins
        mask->setFocus();
        mask->moveCursor(QTextCursor::End);
        return main_.edit.maskEdit();
    }
    if (place.entryLine < 0)
        return restoreAsNewEntry(copy, place.groupLine);

    entries_.selectGroupLine(place.groupLine);
    entries_.selectEntryLine(place.entryLine);
    if (copy.kind == RecoveryCopy::Kind::NewEntry) {
        // Its placeholder line, stored when the entry was begun, is a new entry again.
        entries_.markSelectedNew();
        main_.FileMissing = false;
        controls_.date->clear();
    } else if (place.changed) {
        // The save compares with the file the edit began on, and so finds the
        // change made meanwhile.
        main_.ShownEntryFile = copy.shown;
    }
    startTextEdit(copy.text);
    return main_.edit.textEdit();
}

bool RecoveryOffer::restoreAsNewEntry(const RecoveryCopy &copy, int groupLine)
{
    const int g = groups_.slotOfLine(groupLine);
    if (g < 0 || NotebookEdit::groupIsFull(ctx_.table, g))
        return false;
    entries_.selectGroupLine(groupLine);
    const int line = std::clamp(copy.line, 0, ctx_.table.entryCount(g));
    if (!entries_.insertNewEntry(line, EditRules::newEntryTitle()))
        return false;
    main_.FileMissing = false;
    controls_.date->clear();
    startTextEdit(copy.text);
    return main_.edit.textEdit();
}

void RecoveryOffer::startTextEdit(const QString &text)
{
    QPlainTextEdit *box = controls_.views.text;
    {
        const QSignalBlocker quiet(box);
        box->setPlainText(u"x"_s);
    }
    box->setPlainText(text); // a change: the text edit begins
    box->setFocus();
    box->moveCursor(QTextCursor::End);
}

void RecoveryOffer::removeCopy()
{
    const FileResult removed =
        RecoveryFile::remove(ctx_.state.programFolder, ctx_.state.storeFolder);
    if (!removed || removed.unsynced)
        ctx_.reports.ShowErrorContinue(removed.error);
}
