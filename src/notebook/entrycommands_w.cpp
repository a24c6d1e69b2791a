#include "notebook/entrycommands_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/groupchoicedialog_w.h"
#include "notebook/grouplist.h"
#include "notebook/inputdialog_w.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/notetable.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QMainWindow>
#include <QPushButton>
#include <QSignalBlocker>

#include <optional>

using namespace Qt::StringLiterals;

EntryCommands::EntryCommands(NotebookView &view, QObject *parent) : QObject(parent), view_(view)
{
    setObjectName(u"entryCommands"_s);
    const CommandActions &actions = view_.actions;
    connect(actions.trashEntry, &QAction::triggered, this, &EntryCommands::trash);
    connect(actions.trashEntryItem, &QAction::triggered, this, &EntryCommands::trash);
    connect(actions.renameEntry, &QAction::triggered, this, &EntryCommands::rename);
    connect(actions.moveEntryToGroup, &QAction::triggered, this, &EntryCommands::moveToChosenGroup);
}

void EntryCommands::trash()
{
    trashSelectedEntry();
    view_.controls.entryList->setFocus();
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
        return view_.entries.removeSelectedEntry(false);
    }
    return moveSelectedEntry(trash) == MoveResult::Moved;
}

void EntryCommands::rename()
{
    if (!view_.onEntry())
        return;
    const QString old = view_.entries.selectedTitle();
    const std::optional<QString> answer =
        InputDialog::ask(StripAmp(view_.ctx.words(Word::ChangeEntryTitle)), old, view_.ctx.words,
                         view_.ctx.messages, view_.controls.window);
    if (answer)
        renameTo(*answer, old);
    else
        view_.ctx.RefreshCommands();
}

void EntryCommands::renameTo(const QString &answer, const QString &old)
{
    if (!view_.onEntry())
        return;
    if (!answer.isEmpty() && answer != old &&
        UniqueName::checkEntryTitle(answer) != UniqueName::Refusal::Empty) {
        const QString title = UniqueName::uniqueTitle(view_.ctx.table, view_.groupSlot(), answer);
        const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
        if (refusal != UniqueName::Refusal::None) {
            view_.caution(RefusalTexts::name(refusal, title));
            return;
        }
        if (!renameSelectedEntry(OutDOS(title)))
            return;
    }
    view_.ctx.RefreshCommands();
}

bool EntryCommands::renameSelectedEntry(const QString &newStored)
{
    const int g = view_.groupSlot();
    const int s = view_.entryLine();
    if (!view_.onEntry())
        return false;
    const QString group = view_.ctx.table.name(g);
    const QString oldStored = view_.ctx.table.cell(g, s + 1);
    // The text gets its new name beside the old one; the old name goes once
    // idx.dat names the new one. An entry without a file keeps having none.
    NotebookChange change = view_.ctx.change();
    if (!change.copyEntryFile(group, oldStored, group, newStored, true))
        return false;
    change.table().cell(g, s + 1) = newStored;
    if (!change.commit())
        return false;
    change.removeEntryFile(group, oldStored);
    view_.controls.entryList->titles().setStoredName(s, newStored);
    return true;
}

void EntryCommands::moveToChosenGroup()
{
    if (!view_.onEntry())
        return;
    const std::optional<int> line =
        GroupChoiceDialog::choose(StripAmp(view_.ctx.words(Word::MenuChangeGroup)), view_.ctx.words,
                                  view_.groups.lines(), view_.groupLine(), view_.controls.window);
    if (line)
        moveSelectedEntry(*line);
}

EntryCommands::MoveResult EntryCommands::moveSelectedEntry(int targetLine)
{
    NoteTable &table = view_.ctx.table;
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
    const QString newStored = NotebookEdit::movedStoredTitle(title, oldStored);

    // The copy and idx.dat come before the source file goes, so a crash at
    // any step leaves the text where idx.dat points.
    NotebookChange change = view_.ctx.change();
    if (!change.copyEntryFile(table.name(g), oldStored, table.name(t), newStored))
        return MoveResult::Failed;
    QStringList titles = view_.entries.storedTitles();
    titles.removeAt(s);
    NotebookEdit::appendTitle(change.table(), t, newStored);
    NotebookEdit::setEntryColumn(change.table(), g, titles);
    if (!change.commit())
        return MoveResult::Failed;
    change.removeEntryFile(table.name(g), oldStored);

    if (t == NotebookEdit::trashGroup(table)) {
        dropSelectedLine();
    } else {
        view_.main.LastMovePosition = view_.groups.lines().at(sourceLine) + u'/';
        view_.entries.selectGroupLine(targetLine);
        view_.entries.selectEntryLine(view_.entryLineCount() - 2);
    }
    return MoveResult::Moved;
}

void EntryCommands::dropSelectedLine()
{
    const int s = view_.entryLine();
    QStringList titles = view_.entries.storedTitles();
    titles.removeAt(s);
    {
        const QSignalBlocker blocker(view_.controls.entryList);
        view_.controls.entryList->titles().setStoredNames(titles);
    }
    view_.entries.selectEntryLine(s);
}
