#include "notebook/ordering_w.h"

#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "store/appstate.h"
#include "ui/buttonaction_w.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"
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
    const MainWidgets &w = view_.w;
    connect(buttonAction(w.cmdSort[0]), &QAction::triggered, this, &Ordering::sort);
    connect(w.mnuSortAll, &QAction::triggered, this, &Ordering::sort);
    connect(w.mnuSort[0], &QAction::triggered, this, &Ordering::moveSelectedUp);
    connect(w.mnuSort[1], &QAction::triggered, this, &Ordering::moveSelectedDown);
    connect(w.mnuIndent[0], &QAction::triggered, this, &Ordering::indentRight);
    connect(w.mnuIndent[1], &QAction::triggered, this, &Ordering::indentLeft);
    // The buttons under the entry list: indent left and right, up, down. A
    // click on an indent button gives the entry list the focus back.
    connect(buttonAction(w.cmdH[0]), &QAction::triggered, this, &Ordering::indentLeft);
    connect(buttonAction(w.cmdH[1]), &QAction::triggered, this, &Ordering::indentRight);
    for (QPushButton *indent : {w.cmdH[0], w.cmdH[1]})
        connect(indent, &QPushButton::clicked, w.lstEntry, [&w] { w.lstEntry->setFocus(); });
    connect(buttonAction(w.cmdH[2]), &QAction::triggered, this, &Ordering::moveSelectedUp);
    connect(buttonAction(w.cmdH[3]), &QAction::triggered, this, &Ordering::moveSelectedDown);
    // The cursor pad beside the lists.
    connect(buttonAction(w.cmdCRSR[0]), &QAction::triggered, this, &Ordering::previousGroup);
    connect(buttonAction(w.cmdCRSR[1]), &QAction::triggered, this, &Ordering::nextGroup);
    connect(buttonAction(w.cmdCRSR[2]), &QAction::triggered, this, &Ordering::previousEntry);
    connect(buttonAction(w.cmdCRSR[3]), &QAction::triggered, this, &Ordering::nextEntryPaging);
    connect(buttonAction(w.cmdCRSR[4]), &QAction::triggered, this, &Ordering::jump);
    bindKeys(keys);
}

void Ordering::sort()
{
    view_.w.lstEntry->setFocus();
    sortEntries();
}

void Ordering::moveSelectedUp()
{
    view_.w.lstEntry->setFocus();
    moveSelectedLineTo(view_.entryLine() - 1);
}

void Ordering::moveSelectedDown()
{
    view_.w.lstEntry->setFocus();
    moveSelectedLineTo(view_.entryLine() + 1);
}

void Ordering::moveSelectedLineTo(int target)
{
    const int s = view_.entryLine();
    if (!view_.onEntry() || target < 0 || target > view_.entryLineCount() - 2 || target == s)
        return;
    QStringList titles = view_.entries.storedTitles();
    titles.move(s, target);
    {
        NotebookChange change = view_.ctx.change();
        view_.entries.setEntryColumn(change, titles);
        if (!change.commit())
            return;
    }
    view_.entries.showTitles(titles, target, true);
}

void Ordering::sortEntries()
{
    const QStringList &stored = view_.entries.storedTitles();
    if (stored.size() < 2 || view_.groupSlot() < 0)
        return;
    const QStringList titles =
        NotebookEdit::sortTitles(stored, view_.ctx.state.prefs.SortDescending != 0);
    {
        NotebookChange change = view_.ctx.change();
        view_.entries.setEntryColumn(change, titles);
        if (!change.commit())
            return;
    }
    view_.entries.showTitles(titles, 0, false);
}

void Ordering::indentRight()
{
    if (view_.onEntry())
        entryCommands_.renameTo(u'_' + view_.entries.selectedTitle());
}

void Ordering::indentLeft()
{
    const QString title = view_.entries.selectedTitle();
    if (view_.onEntry() && title.size() >= 2 && title.startsWith(u'_'))
        entryCommands_.renameTo(title.mid(1));
}

int Ordering::firstVisibleEntryLine() const
{
    return qMax(0, view_.w.lstEntry->indexAt(QPoint(0, 0)).row());
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
    view_.w.lstGroup->setFocus();
    if (line >= 0 && line < view_.w.lstGroup->count())
        view_.entries.selectGroupLine(line);
}

void Ordering::previousEntry()
{
    view_.w.lstEntry->setFocus();
    if (view_.entryLine() > 0)
        view_.entries.selectEntryLine(view_.entryLine() - 1);
}

void Ordering::nextEntry()
{
    view_.w.lstEntry->setFocus();
    if (view_.entryLine() < view_.entryLineCount() - 1)
        view_.entries.selectEntryLine(view_.entryLine() + 1);
}

void Ordering::nextEntryPaging()
{
    nextEntry();
    // Once the selection has pushed the list down, the selected line goes to
    // the top: the list pages instead of creeping line by line.
    TitleListView *list = view_.w.lstEntry;
    if (firstVisibleEntryLine() > lastFirstVisible_ && list->currentIndex().isValid())
        list->scrollTo(list->currentIndex(), QAbstractItemView::PositionAtTop);
    lastFirstVisible_ = firstVisibleEntryLine();
}

void Ordering::jump()
{
    const int last = view_.entryLineCount() - 1;
    view_.entries.selectEntryLine(view_.entryLine() == last ? 0 : last);
    view_.w.lstEntry->setFocus();
}

void Ordering::bindKeys(KeyHandlers &keys)
{
    using KeyMap::Command;
    const MainWidgets &w = view_.w;
    // Down with a modifier in the group list is one place down in the entry list.
    keys.bind(Command::GroupListDown, [this, &w](int, Qt::KeyboardModifiers modifiers) {
        w.lstEntry->setFocus();
        if (KeyMap::matches(KeyMap::Modifiers::Some, modifiers))
            buttonAction(w.cmdH[3])->trigger();
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
    keys.bind(Command::IndentLeft, buttonAction(w.cmdH[0]));
    keys.bind(Command::IndentRight, buttonAction(w.cmdH[1]));
    keys.bind(Command::OnePlaceUp, buttonAction(w.cmdH[2]));
    keys.bind(Command::OnePlaceDown, buttonAction(w.cmdH[3]));
    keys.bind(Command::TrashEntry, [this, &w](int, Qt::KeyboardModifiers) {
        if (!view_.locked())
            w.mnuEntryCall[1]->trigger();
        return true;
    });
    keys.bind(Command::RenameEntry, w.mnuEntryRename);
}
