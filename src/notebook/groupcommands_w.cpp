#include "notebook/groupcommands_w.h"

#include "app/maincontext.h"
#include "app/mainstate.h"
#include "app/mainwidgets_w.h"
#include "i18n/wordtable.h"
#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/frminput.h"
#include "notebook/grouplist.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookfiles.h"
#include "notebook/notebookview_w.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/notetable.h"
#include "store/store.h"

#include <QAction>
#include <QEventLoop>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <vector>

using namespace Qt::StringLiterals;

GroupCommands::GroupCommands(NotebookView &view, EntryCommands &entryCommands, QObject *parent)
    : QObject(parent), view_(view), entryCommands_(entryCommands)
{
    setObjectName(u"groupCommands"_s);
    const MainWidgets &w = view_.w;
    connect(w.mnuGroupNew, &QAction::triggered, this, &GroupCommands::mnuGroupNew_Click);
    connect(w.mnuGroupRename, &QAction::triggered, this, &GroupCommands::mnuGroupRename_Click);
    connect(w.mnuGroupDelete, &QAction::triggered, this, &GroupCommands::mnuGroupDelete_Click);
    connect(w.mnuClearTrash, &QAction::triggered, this, &GroupCommands::mnuClearTrash_Click);
}

QString GroupCommands::askGroupName(int promptWord, const QString &proposed)
{
    AppState &state = view_.ctx.state;
    state.DialogPrompt = StripAmp(view_.ctx.words(promptWord));
    state.InputAnswer = proposed;
    FrmInput::run(state, view_.ctx.words, view_.ctx.messages, view_.w.frmMain);
    const QString answer = state.InputAnswer;
    // "." and ".." would name the store or the folder above it: no answer.
    if (answer == u"CANCEL"_s || UniqueName::checkGroupName(answer) == UniqueName::Refusal::Empty)
        return QString();
    return answer;
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

void GroupCommands::mnuGroupNew_Click()
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
        view_.caution(view_.ctx.words(77));
        return;
    }
    const QString name = uniqueAcceptedName(answer);
    if (name.isEmpty())
        return;
    const QString stored = OutDOS(name);

    const NotebookFiles::Result created =
        NotebookFiles::createGroupFolder(view_.storeFolder(), stored);
    if (!created) {
        view_.reportCancel(created);
        return;
    }
    const int slot = NotebookEdit::sortedGroupSlot(table, stored);
    NotebookEdit::insertGroupRow(table, slot, stored);
    if (!view_.ctx.store.Save_idx()) {
        table.closeRow(slot);
        NotebookFiles::removeGroupFolder(view_.storeFolder(), stored);
        return;
    }
    view_.refillGroupList();
    view_.selectGroupOrFirst(view_.groups.lineOfSlot(slot));
}

void GroupCommands::mnuGroupRename_Click()
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

    const NotebookFiles::Result renamed =
        NotebookFiles::renameGroupFolder(view_.storeFolder(), oldStored, newStored);
    if (!renamed) {
        view_.reportCancel(renamed);
        return;
    }
    const int newSlot = NotebookEdit::sortedGroupSlot(table, newStored, slot);
    NotebookEdit::moveRenamedGroupRow(table, slot, newSlot, newStored);
    if (!view_.ctx.store.Save_idx()) {
        NotebookEdit::moveRenamedGroupRow(table, newSlot, slot, oldStored);
        const NotebookFiles::Result back =
            NotebookFiles::renameGroupFolder(view_.storeFolder(), newStored, oldStored);
        if (!back)
            view_.reportContinue(back);
        return;
    }
    view_.refillGroupList();
    view_.selectGroupOrFirst(view_.groups.lineOfSlot(newSlot));
}

void GroupCommands::mnuGroupDelete_Click()
{
    NoteTable &table = view_.ctx.table;
    if (view_.entryText(view_.entryLine()) != u" "_s) {
        view_.ctx.messages.beep();
        return;
    }
    const int line = view_.groupLine();
    if (view_.groupSlot() < 0 || line == view_.trashLine() || view_.entryLineCount() > 2)
        return;
    if (view_.entryLineCount() == 2) {
        // The group's last entry is not dropped with it: it goes into the trash.
        if (view_.trashLine() < 0) {
            view_.caution(RefusalTexts::groupStillHoldsEntry());
            return;
        }
        view_.entries.selectEntryLine(0);
        if (!entryCommands_.trashSelectedEntry())
            return;
    }

    const int slot = view_.groupSlot();
    const QString stored = table.name(slot);
    std::vector<QString> row(NoteTable::kColumns);
    for (int c = 0; c < NoteTable::kColumns; ++c)
        row[c] = table.cell(slot, c);
    table.closeRow(slot);
    if (!view_.ctx.store.Save_idx()) {
        table.openRow(slot);
        for (int c = 0; c < NoteTable::kColumns; ++c)
            table.cell(slot, c) = row[c];
        return;
    }
    // The folder goes after idx.dat no longer names the group; one that
    // still holds files the user put there is kept.
    const NotebookFiles::GroupRemoval removed =
        NotebookFiles::removeGroupFolder(view_.storeFolder(), stored);
    if (!removed.result)
        view_.reportContinue(removed.result);
    view_.refillGroupList();
    view_.selectGroupOrFirst(0);
}

void GroupCommands::waitOneSecond()
{
    // Paints and timers only: a click or key now would act on a list about to change.
    QEventLoop loop;
    QTimer::singleShot(1000, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void GroupCommands::mnuClearTrash_Click()
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
    waitOneSecond();
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
    NotebookEdit::syncEntryColumn(table, trash, {});
    if (!view_.ctx.store.Save_idx()) {
        for (int c = 1; c <= count; ++c)
            table.cell(trash, c) = titles.at(c - 1);
        return;
    }
    bool reported = false;
    for (const QString &title : titles) {
        const NotebookFiles::Result deleted =
            NotebookFiles::deleteEntryFile(view_.storeFolder(), table.name(trash), title);
        if (!deleted && !reported) {
            view_.reportContinue(deleted);
            reported = true;
        }
    }
    view_.selectGroupOrFirst(view_.groups.lineOfSlot(trash));
}
