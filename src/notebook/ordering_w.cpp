#include "notebook/ordering_w.h"
#include "notebook/undohistory_w.h"

#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "store/appstate.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QKeyEvent>
#include <QPushButton>

using namespace Qt::StringLiterals;

Ordering::Ordering(NotebookView &view, EntryCommands &entryCommands, KeyHandlers &keys,
                   QObject *parent)
    : QObject(parent), view_(view), entryCommands_(entryCommands)
{
    setObjectName(u"ordering"_s);
    const CommandActions &actions = view_.actions;
    connect(actions.sort, &QAction::triggered, this, &Ordering::sort);
    // Their buttons under the entry list, too. A click on an indent button
    // gives the entry list the focus back.
    connect(actions.indentLeft, &QAction::triggered, this, &Ordering::indentLeft);
    connect(actions.indentRight, &QAction::triggered, this, &Ordering::indentRight);
    TitleListView *entryList = view_.controls.entryList;
    for (QPushButton *indent : view_.controls.indentButtons)
        connect(indent, &QPushButton::clicked, entryList, [entryList] { entryList->setFocus(); });
    connect(actions.moveUp, &QAction::triggered, this, &Ordering::moveSelectedUp);
    connect(actions.moveDown, &QAction::triggered, this, &Ordering::moveSelectedDown);
    // The cursor pad beside the lists.
    connect(actions.previousGroup, &QAction::triggered, this, &Ordering::previousGroup);
    connect(actions.nextGroup, &QAction::triggered, this, &Ordering::nextGroup);
    connect(actions.previousEntry, &QAction::triggered, this, &Ordering::previousEntry);
    connect(actions.nextEntry, &QAction::triggered, this, &Ordering::nextEntryPaging);
    connect(actions.jump, &QAction::triggered, this, &Ordering::jump);
    bindKeys(keys);
}

void Ordering::sort()
{
    view_.controls.entryList->setFocus();
    sortEntries();
}

void Ordering::moveSelectedUp()
{
    view_.controls.entryList->setFocus();
    moveEntryTo(view_.entries.selectedEntryItem(), view_.entryLine() - 1);
}

void Ordering::moveSelectedDown()
{
    view_.controls.entryList->setFocus();
    moveEntryTo(view_.entries.selectedEntryItem(), view_.entryLine() + 1);
}

void Ordering::moveEntryTo(const QModelIndex &entry, int target)
{
    const NotebookModel &model = view_.entries.model();
    const int g = model.slotOf(entry);
    const int s = entry.row();
    if (!model.isEntry(entry) || target < 0 || target > model.rowCount(entry.parent()) - 1 ||
        target == s)
        return;
    QStringList titles = model.storedTitles(g);
    titles.move(s, target);
    const QString text = target == s - 1   ? u"One Place Up"_s
                         : target == s + 1 ? u"One Place Down"_s
                                           : u"Drag and Drop"_s;
    // The same entry stays selected, its text not loaded again.
    const QString group = view_.ctx.table.name(g);
    view_.runColumn(text, g, titles, {group, target, true}, {group, s, true});
}

void Ordering::sortEntries()
{
    const QStringList stored = view_.entries.storedTitles();
    if (stored.size() < 2 || view_.groupSlot() < 0)
        return;
    const QStringList titles =
        NotebookEdit::sortTitles(stored, view_.entries.model().shownTitles(view_.groupSlot()),
                                 view_.ctx.state.prefs.SortDescending != 0);
    const QString group = view_.groupName();
    view_.runColumn(u"Sort"_s, view_.groupSlot(), titles, {group, 0}, {group, view_.entryLine()});
}

void Ordering::indentRight()
{
    if (view_.onEntry())
        entryCommands_.renameEntry(view_.entries.selectedEntryItem(),
                                   u'_' + view_.entries.selectedTitle(), {}, u"Indent Right"_s);
}

void Ordering::indentLeft()
{
    const QString title = view_.entries.selectedTitle();
    if (view_.onEntry() && title.size() >= 2 && title.startsWith(u'_'))
        entryCommands_.renameEntry(view_.entries.selectedEntryItem(), title.mid(1), {},
                                   u"Indent Left"_s);
}

int Ordering::firstVisibleEntryLine() const
{
    return qMax(0, view_.controls.entryList->indexAt(QPoint(0, 0)).row());
}

void Ordering::previousGroup()
{
    selectGroupLine(view_.groupLine() - 1);
}

void Ordering::nextGroup()
{
    selectGroupLine(view_.groupLine() + 1);
}

void Ordering::selectGroupLine(int line)
{
    view_.controls.groupList->setFocus();
    if (line >= 0 && line < view_.controls.groupList->count())
        view_.entries.selectGroupLine(line);
}

void Ordering::previousEntry()
{
    view_.controls.entryList->setFocus();
    if (view_.entryLine() > 0)
        view_.entries.selectEntryLine(view_.entryLine() - 1);
}

void Ordering::nextEntry()
{
    view_.controls.entryList->setFocus();
    if (view_.entryLine() < view_.entryCount())
        view_.entries.selectEntryLine(view_.entryLine() + 1);
}

void Ordering::nextEntryPaging()
{
    nextEntry();
    // Once the selection has pushed the list down, the selected line goes to
    // the top: the list pages instead of creeping line by line.
    TitleListView *list = view_.controls.entryList;
    if (firstVisibleEntryLine() > lastFirstVisible_ && list->currentIndex().isValid())
        list->scrollTo(list->currentIndex(), QAbstractItemView::PositionAtTop);
    lastFirstVisible_ = firstVisibleEntryLine();
}

void Ordering::jump()
{
    const int last = view_.entryCount(); // the closing line
    view_.entries.selectEntryLine(view_.entryLine() == last ? 0 : last);
    view_.controls.entryList->setFocus();
}

void Ordering::bindKeys(KeyHandlers &keys)
{
    using KeyMap::Command;
    const CommandActions &actions = view_.actions;
    // Down with a modifier in the group list is one place down in the entry list.
    keys.bind(Command::GroupListDown, [this](int, Qt::KeyboardModifiers modifiers) {
        view_.controls.entryList->setFocus();
        if (KeyMap::matches(KeyMap::Modifiers::Some, modifiers))
            view_.actions.moveDown->trigger();
        else
            nextEntry();
        return true;
    });
    keys.bind(Command::GroupListUp, [this](int, Qt::KeyboardModifiers) {
        previousEntry();
        return true;
    });
    keys.bind(Command::PreviousGroup, [this](int, Qt::KeyboardModifiers) {
        previousGroup();
        return true;
    });
    keys.bind(Command::NextGroup, [this](int, Qt::KeyboardModifiers) {
        nextGroup();
        return true;
    });
    keys.bind(Command::CursorPadDown, [this](int, Qt::KeyboardModifiers) {
        nextEntryPaging();
        return true;
    });
    keys.bind(Command::IndentLeft, actions.indentLeft);
    keys.bind(Command::IndentRight, actions.indentRight);
    keys.bind(Command::OnePlaceUp, actions.moveUp);
    keys.bind(Command::OnePlaceDown, actions.moveDown);
    keys.bind(Command::TrashEntry, [this](int, Qt::KeyboardModifiers) {
        if (!view_.locked())
            view_.actions.trashEntry->trigger();
        return true;
    });
    keys.bind(Command::RenameEntry, actions.renameEntry);
}
