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
#include "notebook/revision.h"
#include "notebook/undohistory_w.h"
#include "notebook/uniquename.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QMainWindow>
#include <QPushButton>

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
        QStringList titles = view_.entries.storedTitles();
        titles.removeAt(view_.entryLine());
        const Place here{view_.groupName(), view_.entryLine()};
        return view_.runColumn(u"Trash"_s, titles, here, here);
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

void EntryCommands::renameTo(const QString &answer, const QString &old, const QString &text)
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
        if (!renameSelectedEntry(NotebookModel::storedForm(title), text))
            return;
    }
    view_.ctx.RefreshCommands();
}

bool EntryCommands::renameSelectedEntry(const QString &newStored, const QString &text)
{
    const int g = view_.groupSlot();
    const int s = view_.entryLine();
    if (!view_.onEntry())
        return false;
    const NoteTable &table = view_.ctx.table;
    const QString group = table.name(g);
    const QString oldStored = table.cell(g, s + 1);
    NoteTable after = table;
    after.cell(g, s + 1) = newStored;
    // The text gets its new name beside the old one; the old name goes once
    // idx.dat names the new one. An entry without a file keeps having none.
    Revision revision(table, after);
    revision.entryMoved(group, oldStored, group, newStored, true);
    const Place here{group, s, true};
    return view_.run(text, std::move(revision), here, here);
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
    const NoteTable &table = view_.ctx.table;
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
    const QString title =
        UniqueName::uniqueMoveTitle(table, g, s + 1, t, view_.entries.selectedTitle());
    const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
    if (refusal != UniqueName::Refusal::None) {
        view_.caution(RefusalTexts::name(refusal, title));
        return MoveResult::Refused;
    }
    const QString newStored = NotebookEdit::movedStoredTitle(title, oldStored);

    QStringList titles = view_.entries.storedTitles();
    titles.removeAt(s);
    NoteTable after = table;
    NotebookEdit::appendTitle(after, t, newStored);
    NotebookEdit::setEntryColumn(after, g, titles);
    // The copy and idx.dat come before the source file goes, so a crash at
    // any step leaves the text where idx.dat points.
    Revision revision(table, after);
    revision.entryMoved(table.name(g), oldStored, table.name(t), newStored);
    // Into the trash the view stays on the group, on the line that took the
    // entry's place; anywhere else it follows the entry.
    const bool intoTrash = t == NotebookEdit::trashGroup(table);
    const Place source{table.name(g), s};
    const Place arrived{table.name(t), after.entryCount(t) - 1};
    const QString shownSource = view_.groups.lines().at(sourceLine);
    if (!view_.history().run(intoTrash ? u"Trash"_s : u"Move"_s, std::move(revision),
                             intoTrash ? source : arrived, source))
        return MoveResult::Failed;
    if (!intoTrash)
        view_.main.LastMovePosition = shownSource + u'/';
    view_.entries.showPlace(intoTrash ? source : arrived);
    return MoveResult::Moved;
}
