#include "notebook/groupcommands_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/inputdialog_w.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "notebook/refusaltexts.h"
#include "notebook/revision.h"
#include "notebook/undohistory_w.h"
#include "notebook/uniquename.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/notebookmodel.h"

#include <QAction>
#include <QEventLoop>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

GroupCommands::GroupCommands(NotebookView &view, QObject *parent) : QObject(parent), view_(view)
{
    setObjectName(u"groupCommands"_s);
    const CommandActions &actions = view_.actions;
    connect(actions.newGroup, &QAction::triggered, this, &GroupCommands::newGroup);
    connect(actions.renameGroup, &QAction::triggered, this, &GroupCommands::renameGroup);
    connect(actions.deleteGroup, &QAction::triggered, this, &GroupCommands::deleteGroup);
    connect(actions.clearTrash, &QAction::triggered, this, &GroupCommands::clearTrash);
}

QString GroupCommands::askGroupName(int promptWord, const QString &proposed)
{
    const std::optional<QString> answer =
        InputDialog::ask(StripAmp(view_.ctx.words(promptWord)), proposed, view_.ctx.words,
                         view_.ctx.messages, view_.controls.window);
    // "." and ".." would name the store or the folder above it: no answer.
    if (!answer || UniqueName::checkGroupName(*answer) == UniqueName::Refusal::Empty)
        return QString();
    return *answer;
}

QString GroupCommands::uniqueAcceptedName(const QString &answer)
{
    const QString name = UniqueName::uniqueGroupName(view_.ctx.table, answer);
    const UniqueName::Refusal refusal = UniqueName::checkGroupName(name);
    if (refusal != UniqueName::Refusal::None) {
        view_.caution(RefusalTexts::name(refusal, name));
        return QString();
    }
    return name;
}

void GroupCommands::newGroup()
{
    const NoteTable &table = view_.ctx.table;
    if (NotebookEdit::notebookIsFull(table)) {
        view_.caution(RefusalTexts::notebookFull());
        return;
    }
    const QString answer = askGroupName(52, QString());
    if (answer.isEmpty())
        return;
    const QString stored = NotebookModel::storedForm(answer);
    if (view_.ctx.state.hideYGroups() && isYGroup(stored)) {
        view_.caution(view_.ctx.words(Word::OnlyIfYGroupsShown));
        return;
    }
    const QString name = uniqueAcceptedName(answer);
    if (name.isEmpty())
        return;
    const QString newStored = NotebookModel::storedForm(name);

    NoteTable after = table;
    NotebookEdit::insertGroupRow(after, NotebookEdit::sortedGroupSlot(table, newStored), newStored);
    Revision revision(table, after);
    revision.groupAdded(newStored);
    view_.run(u"New Group"_s, std::move(revision), {newStored}, {view_.groupName()});
}

void GroupCommands::renameGroup()
{
    const NoteTable &table = view_.ctx.table;
    const int line = view_.groupLine();
    const int slot = view_.groupSlot();
    if (slot < 0 || line == view_.trashLine())
        return;
    const QString old = view_.groups.lines().at(line);
    const QString answer = askGroupName(53, old);
    if (answer.isEmpty() || answer == old)
        return;
    const QString name = uniqueAcceptedName(answer);
    if (name.isEmpty())
        return;
    const QString oldStored = table.name(slot);
    const QString newStored = NotebookModel::storedForm(name);

    // The group's files get the new folder beside the old one, which goes
    // once idx.dat names the new one: idx.dat never names a folder that is gone.
    NoteTable after = table;
    NotebookEdit::moveRenamedGroupRow(
        after, slot, NotebookEdit::sortedGroupSlot(table, newStored, slot), newStored);
    Revision revision(table, after);
    revision.groupRenamed(oldStored, newStored);
    view_.run(u"Rename Group"_s, std::move(revision), {newStored}, {oldStored});
}

void GroupCommands::deleteGroup()
{
    const NoteTable &table = view_.ctx.table;
    if (!view_.entries.onBlankLine() || view_.entryLine() < 0) {
        view_.ctx.messages.beep();
        return;
    }
    const int line = view_.groupLine();
    const int slot = view_.groupSlot();
    if (slot < 0 || line == view_.trashLine() || view_.entryCount() > 1)
        return;
    const QString stored = table.name(slot);
    NoteTable after = table;
    Revision revision;
    // The group's last entry is not dropped with it: it goes into the trash,
    // in the same idx.dat write that lets go of the group.
    std::optional<std::pair<QString, QString>> lastEntry;
    if (view_.entryCount() == 1) {
        lastEntry = keepLastEntry(after, slot);
        if (!lastEntry)
            return;
    }
    after.closeRow(slot);
    revision = Revision(table, after);
    if (lastEntry && !lastEntry->second.isEmpty())
        revision.entryMoved(stored, lastEntry->first, u"Trash"_s, lastEntry->second);
    // The folder goes after idx.dat no longer names the group; one that
    // still holds files the user put there is kept.
    revision.groupRemoved(stored);
    view_.run(u"Delete Group"_s, std::move(revision), {}, {stored, view_.entryCount()});
}

std::optional<std::pair<QString, QString>> GroupCommands::keepLastEntry(NoteTable &after, int slot)
{
    const int trashLine = view_.trashLine();
    if (trashLine < 0) {
        view_.caution(RefusalTexts::groupStillHoldsEntry());
        return std::nullopt;
    }
    const NoteTable &table = view_.ctx.table;
    const int trash = view_.groups.slotOfLine(trashLine);
    if (NotebookEdit::groupIsFull(table, trash)) {
        view_.caution(RefusalTexts::groupFull(u"Trash"_s));
        return std::nullopt;
    }
    const QString old = table.cell(slot, 1);
    const QString title = UniqueName::uniqueMoveTitle(
        table, slot, 1, trash, view_.entries.model().shownTitles(slot).value(0));
    const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
    if (refusal != UniqueName::Refusal::None) {
        view_.caution(RefusalTexts::name(refusal, title));
        return std::nullopt;
    }
    // An entry without a file has no text to keep: its title simply goes.
    if (!view_.hasFile(slot, 0))
        return std::pair{old, QString()};
    const QString newStored = NotebookEdit::movedStoredTitle(title, old);
    NotebookEdit::appendTitle(after, trash, newStored);
    return std::pair{old, newStored};
}

void GroupCommands::waitBeforeClearing()
{
    if (clearTrashWait_.count() <= 0)
        return;
    // Paints and timers only: a click or key now would act on a list about to change.
    QEventLoop loop;
    QTimer::singleShot(clearTrashWait_, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void GroupCommands::clearTrash()
{
    if (clearingTrash_)
        return;
    const int trashLine = view_.trashLine();
    if (trashLine < 0) {
        view_.caution(RefusalTexts::noTrashGroup());
        return;
    }
    view_.entries.selectGroupLine(trashLine);
    clearingTrash_ = true;
    const QPointer<GroupCommands> alive(this);
    waitBeforeClearing();
    if (!alive)
        return;
    clearingTrash_ = false;

    const NoteTable &table = view_.ctx.table;
    const int trash = NotebookEdit::trashGroup(table);
    const int count = trash < 0 ? 0 : table.entryCount(trash);
    if (count == 0)
        return;
    QStringList titles;
    for (int c = 1; c <= count; ++c)
        titles.append(table.cell(trash, c));
    if (!confirmClearTrash(count))
        return;
    // idx.dat lets go of the entries before their files go.
    {
        NotebookChange change = view_.ctx.change();
        NotebookEdit::setEntryColumn(change.table(), trash, {});
        if (!change.commit())
            return;
        for (const QString &title : std::as_const(titles))
            change.removeEntryFile(table.name(trash), title);
    }
    // Their texts are gone for good: no step before this one can be taken
    // back over them.
    view_.history().clear();
    view_.selectGroupOrFirst(view_.groups.lineOfSlot(trash));
}

bool GroupCommands::confirmClearTrash(int count)
{
    enum { Delete, Keep };
    const QString text =
        count == 1 ? u"Delete the 1 entry in \"Trash\" for good? Its text cannot be brought back."_s
                   : u"Delete the %1 entries in \"Trash\" for good? Their texts cannot be brought "
                     "back."_s.arg(count);
    return view_.ctx.messages.ask(
               Messages::Icon::Information, u"Clear Trash"_s, text,
               {{u"cmdClearTrash"_s, u"&Delete"_s}, {u"cmdKeepTrash"_s, u"&Keep Them"_s}}, Keep,
               Keep) == Delete;
}
