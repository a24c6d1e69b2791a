#include "notebook/ordering_w.h"

#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "store/appstate.h"
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
    : QObject(parent), view_(view), entryCommands_(entryCommands), keys_(keys)
{
    setObjectName(u"ordering"_s);
    const MainWidgets &w = view_.w;
    connect(w.cmdSort[0], &QPushButton::clicked, this, &Ordering::sort);
    connect(w.mnuSortAll, &QAction::triggered, this, &Ordering::sort);
    connect(w.mnuSort[0], &QAction::triggered, this, &Ordering::moveSelectedUp);
    connect(w.mnuSort[1], &QAction::triggered, this, &Ordering::moveSelectedDown);
    connect(w.mnuIndent[0], &QAction::triggered, this, &Ordering::indentRight);
    connect(w.mnuIndent[1], &QAction::triggered, this, &Ordering::indentLeft);
    // The buttons under the entry list: indent left and right, up, down.
    const auto thenFocusList = [this](void (Ordering::*command)()) {
        return [this, command] {
            (this->*command)();
            view_.w.lstEntry->setFocus();
        };
    };
    connect(w.cmdH[0], &QPushButton::clicked, this, thenFocusList(&Ordering::indentLeft));
    connect(w.cmdH[1], &QPushButton::clicked, this, thenFocusList(&Ordering::indentRight));
    connect(w.cmdH[2], &QPushButton::clicked, this, &Ordering::moveSelectedUp);
    connect(w.cmdH[3], &QPushButton::clicked, this, &Ordering::moveSelectedDown);
    connect(w.cmdCRSR[0], &QPushButton::clicked, this, &Ordering::padLeft);
    connect(w.cmdCRSR[1], &QPushButton::clicked, this, &Ordering::padRight);
    connect(w.cmdCRSR[2], &QPushButton::clicked, this, &Ordering::padUp);
    connect(w.cmdCRSR[3], &QPushButton::clicked, this, &Ordering::padDown);
    connect(w.cmdCRSR[4], &QPushButton::clicked, this, &Ordering::padJump);
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

void Ordering::padArrow(int key)
{
    keys_.lstGroup_KeyDown(key, Qt::NoModifier);
}

void Ordering::padLeft()
{
    padArrow(Qt::Key_Left);
}

void Ordering::padRight()
{
    padArrow(Qt::Key_Right);
}

void Ordering::padUp()
{
    padArrow(Qt::Key_Up);
}

void Ordering::padDown()
{
    padArrow(Qt::Key_Down);
    // Once the selection has pushed the list down, the selected line goes to
    // the top: the list pages instead of creeping line by line.
    TitleListView *list = view_.w.lstEntry;
    if (firstVisibleEntryLine() > lastFirstVisible_ && list->currentIndex().isValid())
        list->scrollTo(list->currentIndex(), QAbstractItemView::PositionAtTop);
    lastFirstVisible_ = firstVisibleEntryLine();
}

void Ordering::padJump()
{
    const int last = view_.entryLineCount() - 1;
    view_.entries.selectEntryLine(view_.entryLine() == last ? 0 : last);
    view_.w.lstEntry->setFocus();
}

void Ordering::bindKeys(KeyHandlers &keys)
{
    using KeyMap::Command;
    const MainWidgets &w = view_.w;
    keys.bind(Command::GroupListDown, [this, &w](int, Qt::KeyboardModifiers modifiers) {
        w.lstEntry->setFocus();
        if (KeyMap::matches(KeyMap::Modifiers::Some, modifiers)) {
            if (w.cmdH[3]->isEnabled())
                moveSelectedDown();
        } else if (view_.entryLine() < view_.entryLineCount() - 1) {
            view_.entries.selectEntryLine(view_.entryLine() + 1);
        }
        return true;
    });
    keys.bind(Command::GroupListUp, [this, &w](int, Qt::KeyboardModifiers) {
        w.lstEntry->setFocus();
        if (view_.entryLine() > 0)
            view_.entries.selectEntryLine(view_.entryLine() - 1);
        return true;
    });
    for (const bool left : {true, false}) {
        keys.bind(left ? Command::PreviousGroup : Command::NextGroup,
                  [this, &w, left](int, Qt::KeyboardModifiers) {
                      w.lstGroup->setFocus();
                      const int next = view_.groupLine() + (left ? -1 : 1);
                      if (next >= 0 && next < w.lstGroup->count())
                          view_.entries.selectGroupLine(next);
                      return true;
                  });
        keys.bind(left ? Command::IndentLeft : Command::IndentRight,
                  [this, &w, left](int, Qt::KeyboardModifiers) {
                      if (w.cmdH[left ? 0 : 1]->isEnabled()) {
                          if (left)
                              indentLeft();
                          else
                              indentRight();
                      }
                      return true;
                  });
    }
    keys.bind(Command::OnePlaceUp, [this, &w](int, Qt::KeyboardModifiers) {
        if (w.cmdH[2]->isEnabled())
            moveSelectedUp();
        return true;
    });
    keys.bind(Command::OnePlaceDown, [this, &w](int, Qt::KeyboardModifiers) {
        if (w.cmdH[3]->isEnabled())
            moveSelectedDown();
        return true;
    });
    keys.bind(Command::CursorPadDown, [this](int, Qt::KeyboardModifiers) {
        padDown();
        return true;
    });
    keys.bind(Command::TrashEntry, [this, &w](int, Qt::KeyboardModifiers) {
        if (!view_.locked() && w.mnuEntryCall[1]->isEnabled())
            entryCommands_.trash();
        return true;
    });
    keys.bind(Command::RenameEntry, [this, &w](int, Qt::KeyboardModifiers) {
        if (w.mnuEntryRename->isEnabled())
            entryCommands_.rename();
        return true;
    });
}
