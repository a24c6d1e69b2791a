#include "notebook/entrycommands_w.h"

#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/frmchange.h"
#include "notebook/frminput.h"
#include "notebook/grouplist.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/notetable.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"

#include <QAction>
#include <QListWidget>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalBlocker>

#include <utility>

using namespace Qt::StringLiterals;

EntryCommands::EntryCommands(NotebookView &view, QObject *parent) : QObject(parent), view_(view)
{
    setObjectName(u"entryCommands"_s);
    const MainWidgets &w = view_.w;
    connect(w.cmdEntry[1], &QPushButton::clicked, this, [this] { cmdEntry_Click(1); });
    connect(w.mnuEntryCall[1], &QAction::triggered, this, [this] { cmdEntry_Click(1); });
    connect(w.mnuEntryRename, &QAction::triggered, this, &EntryCommands::mnuEntryRename_Click);
    connect(w.mnuEntryChange, &QAction::triggered, this, &EntryCommands::mnuEntryChange_Click);
}

void EntryCommands::cmdEntry_Click(int index)
{
    if (index != 1)
        return;
    trashSelectedEntry();
    view_.w.lstEntry->setFocus();
}

bool EntryCommands::trashSelectedEntry()
{
    const int trash = view_.trashLine();
    if (!view_.onEntry() || (trash >= 0 && view_.groupLine() == trash))
        return false;
    if (trash < 0) {
        view_.caution(RefusalTexts::noTrashGroup());
        return false;
    }
    if (view_.main.FileMissing) {
        // No text to keep: the line simply leaves the notebook.
        return view_.entries.RemoveSelectedEntry(false);
    }
    view_.ctx.state.ChosenGroupIndex = trash;
    return moveSelectedEntry(trash) == MoveResult::Moved;
}

void EntryCommands::mnuEntryRename_Click()
{
    const bool preset = std::exchange(view_.main.TitlePreset, false);
    if (!view_.onEntry())
        return;
    AppState &state = view_.ctx.state;
    QString old;
    if (!preset) {
        old = view_.entryText(view_.entryLine());
        state.DialogPrompt = StripAmp(view_.ctx.words(54));
        state.InputAnswer = old;
        FrmInput::run(state, view_.ctx.words, view_.ctx.messages, view_.w.frmMain);
    }
    const QString answer = state.InputAnswer;
    if (answer != u"CANCEL"_s && !answer.isEmpty() && answer != old &&
        UniqueName::checkEntryTitle(answer) != UniqueName::Refusal::Empty) {
        state.InputAnswer = UniqueName::uniqueTitle(view_.ctx.table, view_.groupSlot(), answer);
        const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(state.InputAnswer);
        if (refusal != UniqueName::Refusal::None) {
            view_.caution(RefusalTexts::name(refusal, state.InputAnswer));
            return;
        }
        if (!RenameSelectedEntry())
            return;
    }
    view_.ctx.RefreshCommands();
}

bool EntryCommands::RenameSelectedEntry()
{
    const int g = view_.groupSlot();
    const int s = view_.entryLine();
    if (!view_.onEntry())
        return false;
    const QString group = view_.ctx.table.name(g);
    const QString oldStored = view_.ctx.table.cell(g, s + 1);
    const QString newStored = OutDOS(view_.ctx.state.InputAnswer);
    // The text gets its new name beside the old one; the old name goes once
    // idx.dat names the new one. An entry without a file keeps having none.
    NotebookChange change = view_.ctx.change();
    if (!change.copyEntryFile(group, oldStored, group, newStored, true))
        return false;
    change.table().cell(g, s + 1) = newStored;
    if (!change.commit())
        return false;
    change.removeEntryFile(group, oldStored);
    // The list shows the title as stored, as it will after the next load.
    view_.w.lstEntry->item(s)->setText(InDOS(newStored));
    return true;
}

void EntryCommands::mnuEntryChange_Click()
{
    const bool chosen = std::exchange(view_.main.MoveTargetChosen, false);
    if (!view_.onEntry())
        return;
    AppState &state = view_.ctx.state;
    if (!chosen) {
        state.DialogPrompt = StripAmp(view_.ctx.words(10));
        FrmChange::run(state, view_.ctx.words, view_.groups.lines(), view_.groupLine(),
                       view_.w.frmMain);
    }
    moveSelectedEntry(state.ChosenGroupIndex);
}

EntryCommands::MoveResult EntryCommands::moveSelectedEntry(int targetLine)
{
    NoteTable &table = view_.ctx.table;
    AppState &state = view_.ctx.state;
    const int sourceLine = view_.groupLine();
    const int g = view_.groupSlot();
    const int t = view_.groups.slotOfLine(targetLine);
    const int s = view_.entryLine();
    if (!view_.onEntry() || t < 0 || t == g)
        return MoveResult::Refused;
    if (NotebookEdit::groupIsFull(table, t)) {
        view_.caution(RefusalTexts::groupFull(view_.groups.lines().at(targetLine)));
        return MoveResult::Refused;
    }

    const QString oldStored = table.cell(g, s + 1);
    const QString title = UniqueName::uniqueMoveTitle(table, g, s + 1, t, InDOS(oldStored));
    const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
    if (refusal != UniqueName::Refusal::None) {
        view_.caution(RefusalTexts::name(refusal, title));
        return MoveResult::Refused;
    }
    const QString newStored = OutDOS(title);

    // The copy and idx.dat come before the source file goes, so a crash at
    // any step leaves the text where idx.dat points.
    NotebookChange change = view_.ctx.change();
    if (!change.copyEntryFile(table.name(g), oldStored, table.name(t), newStored))
        return MoveResult::Failed;
    QStringList lines = view_.entryLines();
    lines.removeAt(s);
    NotebookEdit::appendTitle(change.table(), t, newStored);
    NotebookEdit::syncEntryColumn(change.table(), g, lines);
    if (!change.commit())
        return MoveResult::Failed;
    change.removeEntryFile(table.name(g), oldStored);

    if (t == NotebookEdit::trashGroup(table)) {
        dropSelectedLine();
    } else {
        state.LastMovePosition = view_.groups.lines().at(sourceLine) + u'/';
        view_.entries.selectGroupLine(targetLine);
        view_.entries.selectEntryLine(view_.entryLineCount() - 2);
    }
    return MoveResult::Moved;
}

void EntryCommands::dropSelectedLine()
{
    const int s = view_.entryLine();
    {
        const QSignalBlocker blocker(view_.w.lstEntry);
        delete view_.w.lstEntry->takeItem(s);
    }
    view_.entries.selectEntryLine(s);
}
