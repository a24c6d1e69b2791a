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
    connect(actions.renameEntry, &QAction::triggered, this, &EntryCommands::rename);
    connect(actions.moveEntryToGroup, &QAction::triggered, this, &EntryCommands::moveToChosenGroup);
}

void EntryCommands::trash()
{
    trashEntry(view_.entries.selectedEntryItem());
    view_.controls.entryList->setFocus();
}

bool EntryCommands::trashEntry(const QModelIndex &entry)
{
    const NotebookModel &model = view_.entries.model();
    const int trashLine = view_.trashLine();
    const int trash = view_.groups.slotOfLine(trashLine);
    if (!model.isEntry(entry) || (trash >= 0 && model.slotOf(entry) == trash))
        return false;
    if (trash < 0) {
        view_.caution(RefusalTexts::noTrashGroup());
        return false;
    }
    if (view_.main.FileMissing) {
        // No text to keep: the line simply leaves the notebook.
        const int g = model.slotOf(entry);
        QStringList titles = model.storedTitles(g);
        titles.removeAt(entry.row());
        const Place here{view_.ctx.table.name(g), entry.row()};
        return view_.runColumn(u"Trash"_s, g, titles, here, here);
    }
    return moveEntry(entry, model.groupIndex(trash)) == MoveResult::Moved;
}

void EntryCommands::rename()
{
    const QModelIndex entry = view_.entries.selectedEntryItem();
    if (!entry.isValid())
        return;
    const QString old = entry.data().toString();
    const std::optional<QString> answer =
        InputDialog::ask(StripAmp(view_.ctx.words(Word::ChangeEntryTitle)), old, view_.ctx.words,
                         view_.ctx.messages, view_.controls.window);
    if (answer)
        renameEntry(entry, *answer, old);
}

void EntryCommands::renameEntry(const QModelIndex &entry, const QString &answer, const QString &old,
                                const QString &text)
{
    const NotebookModel &model = view_.entries.model();
    if (!model.isEntry(entry))
        return;
    if (!answer.isEmpty() && answer != old &&
        UniqueName::checkEntryTitle(answer) != UniqueName::Refusal::Empty) {
        const QString title = UniqueName::uniqueTitle(view_.ctx.table, model.slotOf(entry), answer);
        const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
        if (refusal != UniqueName::Refusal::None) {
            view_.caution(RefusalTexts::name(refusal, title));
            return;
        }
        if (!giveTitle(entry, NotebookModel::storedForm(title), text))
            return;
    }
}

bool EntryCommands::giveTitle(const QModelIndex &entry, const QString &newStored,
                              const QString &text)
{
    const NoteTable &table = view_.ctx.table;
    const int g = view_.entries.model().slotOf(entry);
    const int s = entry.row();
    const QString group = table.name(g);
    const QString oldStored = entry.data(NotebookModel::StoredNameRole).toString();
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
    const QModelIndex entry = view_.entries.selectedEntryItem();
    if (!entry.isValid())
        return;
    const std::optional<int> line =
        GroupChoiceDialog::choose(StripAmp(view_.ctx.words(Word::MenuChangeGroup)), view_.ctx.words,
                                  view_.groups.lines(), view_.groupLine(), view_.controls.window);
    if (line)
        moveEntry(entry, view_.entries.model().groupIndex(view_.groups.slotOfLine(*line)));
}

EntryCommands::MoveResult EntryCommands::moveEntry(const QModelIndex &entry,
                                                   const QModelIndex &group)
{
    const NotebookModel &model = view_.entries.model();
    const NoteTable &table = view_.ctx.table;
    const int g = model.slotOf(entry);
    const int t = model.slotOf(group);
    const int s = entry.row();
    if (!model.isEntry(entry) || t < 0 || model.isEntry(group) || t == g)
        return MoveResult::Refused;
    if (NotebookEdit::groupIsFull(table, t)) {
        view_.caution(RefusalTexts::groupFull(model.shownName(t)));
        return MoveResult::Refused;
    }

    const QString oldStored = entry.data(NotebookModel::StoredNameRole).toString();
    const QString title = UniqueName::uniqueMoveTitle(table, g, s + 1, t, entry.data().toString());
    const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
    if (refusal != UniqueName::Refusal::None) {
        view_.caution(RefusalTexts::name(refusal, title));
        return MoveResult::Refused;
    }
    const QString newStored = NotebookEdit::movedStoredTitle(title, oldStored);

    QStringList titles = model.storedTitles(g);
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
    const QString shownSource = model.shownName(g);
    if (!view_.history().run(intoTrash ? u"Trash"_s : u"Move"_s, std::move(revision),
                             intoTrash ? source : arrived, source))
        return MoveResult::Failed;
    if (!intoTrash)
        view_.main.LastMovePosition = shownSource + u'/';
    view_.entries.showPlace(intoTrash ? source : arrived);
    return MoveResult::Moved;
}
