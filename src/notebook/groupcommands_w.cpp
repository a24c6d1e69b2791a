#include "notebook/groupcommands_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/inputdialog_w.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/notetable.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"

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
    NoteTable &table = view_.ctx.table;
    if (NotebookEdit::notebookIsFull(table)) {
        view_.caution(RefusalTexts::notebookFull());
        return;
    }
    const QString answer = askGroupName(52, QString());
    if (answer.isEmpty())
        return;
    if (view_.ctx.state.hideYGroups() && isYGroup(OutDOS(answer))) {
        view_.caution(view_.ctx.words(Word::OnlyIfYGroupsShown));
        return;
    }
    const QString name = uniqueAcceptedName(answer);
    if (name.isEmpty())
        return;
    const QString stored = OutDOS(name);

    NotebookChange change = view_.ctx.change();
    if (!change.createGroupFolder(stored))
        return;
    const int slot = NotebookEdit::sortedGroupSlot(table, stored);
    NotebookEdit::insertGroupRow(change.table(), slot, stored);
    if (!change.commit())
        return;
    view_.refillGroupList();
    view_.selectGroupOrFirst(view_.groups.lineOfSlot(slot));
}

void GroupCommands::renameGroup()
{
    NoteTable &table = view_.ctx.table;
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
    const QString newStored = OutDOS(name);

    // The group's files get the new folder beside the old one, which goes
    // once idx.dat names the new one: idx.dat never names a folder that is gone.
    NotebookChange change = view_.ctx.change();
    if (!change.copyGroupFolder(oldStored, newStored))
        return;
    const int newSlot = NotebookEdit::sortedGroupSlot(table, newStored, slot);
    NotebookEdit::moveRenamedGroupRow(change.table(), slot, newSlot, newStored);
    if (!change.commit())
        return;
    change.removeOldGroupFolder(oldStored);
    view_.refillGroupList();
    view_.selectGroupOrFirst(view_.groups.lineOfSlot(newSlot));
}

void GroupCommands::deleteGroup()
{
    NoteTable &table = view_.ctx.table;
    if (!view_.entries.onBlankLine() || view_.entryLine() < 0) {
        view_.ctx.messages.beep();
        return;
    }
    const int line = view_.groupLine();
    if (view_.groupSlot() < 0 || line == view_.trashLine() || view_.entryLineCount() > 2)
        return;
    const int slot = view_.groupSlot();
    const QString stored = table.name(slot);
    NotebookChange change = view_.ctx.change();
    // The group's last entry is not dropped with it: it goes into the trash,
    // in the same idx.dat write that lets go of the group.
    QString lastTitle;
    if (view_.entryLineCount() == 2 && !keepLastEntry(change, slot, &lastTitle))
        return;
    change.table().closeRow(slot);
    if (!change.commit())
        return;
    if (!lastTitle.isEmpty())
        change.removeEntryFile(stored, lastTitle);
    // The folder goes after idx.dat no longer names the group; one that
    // still holds files the user put there is kept.
    change.removeGroupFolder(stored);
    view_.refillGroupList();
    view_.selectGroupOrFirst(0);
}

bool GroupCommands::keepLastEntry(NotebookChange &change, int slot, QString *storedTitle)
{
    const int trashLine = view_.trashLine();
    if (trashLine < 0) {
        view_.caution(RefusalTexts::groupStillHoldsEntry());
        return false;
    }
    NoteTable &table = view_.ctx.table;
    const int trash = view_.groups.slotOfLine(trashLine);
    if (NotebookEdit::groupIsFull(table, trash)) {
        view_.caution(RefusalTexts::groupFull(u"Trash"_s));
        return false;
    }
    const QString old = table.cell(slot, 1);
    const QString title = UniqueName::uniqueMoveTitle(table, slot, 1, trash, InDOS(old));
    const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
    if (refusal != UniqueName::Refusal::None) {
        view_.caution(RefusalTexts::name(refusal, title));
        return false;
    }
    // An entry without a file has no text to keep: its title simply goes.
    bool made = false;
    const QString newStored = NotebookEdit::movedStoredTitle(title, old);
    if (!change.copyEntryFile(table.name(slot), old, table.name(trash), newStored, true, &made))
        return false;
    if (made)
        NotebookEdit::appendTitle(change.table(), trash, newStored);
    *storedTitle = old;
    return true;
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

    NoteTable &table = view_.ctx.table;
    const int trash = NotebookEdit::trashGroup(table);
    const int count = trash < 0 ? 0 : table.entryCount(trash);
    if (count == 0)
        return;
    QStringList titles;
    for (int c = 1; c <= count; ++c)
        titles.append(table.cell(trash, c));
    // idx.dat lets go of the entries before their files go.
    NotebookChange change = view_.ctx.change();
    NotebookEdit::setEntryColumn(change.table(), trash, {});
    if (!change.commit())
        return;
    for (const QString &title : std::as_const(titles))
        change.removeEntryFile(table.name(trash), title);
    view_.selectGroupOrFirst(view_.groups.lineOfSlot(trash));
}
