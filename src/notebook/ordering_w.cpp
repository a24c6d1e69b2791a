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

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

Ordering::Ordering(NotebookView &view, EntryCommands &entryCommands, KeyHandlers &keys,
                   QObject *parent)
    : QObject(parent), view_(view), entryCommands_(entryCommands), keys_(keys)
{
    setObjectName(u"ordering"_s);
    const MainWidgets &w = view_.w;
    connect(w.cmdSort[0], &QPushButton::clicked, this, [this] { cmdSort_Click(0); });
    connect(w.mnuSortAll, &QAction::triggered, this, [this] { cmdSort_Click(0); });
    for (int i = 0; i < 2; ++i) {
        connect(w.mnuSort[i], &QAction::triggered, this, [this, i] { mnuSort_Click(i); });
        connect(w.mnuIndent[i], &QAction::triggered, this, [this, i] { mnuIndent_Click(i); });
    }
    for (int i = 0; i < int(w.cmdH.size()); ++i)
        connect(w.cmdH[i], &QPushButton::clicked, this, [this, i] { cmdH_Click(i); });
    for (int i = 0; i < int(w.cmdCRSR.size()); ++i)
        connect(w.cmdCRSR[i], &QPushButton::clicked, this, [this, i] { cmdCRSR_Click(i); });
    bindKeys(keys);
}

void Ordering::cmdSort_Click(int index)
{
    view_.w.lstEntry->setFocus();
    switch (index) {
    case 0:
        sortEntries();
        break;
    case 1:
        moveSelectedLineTo(view_.entryLine() - 1);
        break;
    case 2:
        moveSelectedLineTo(view_.entryLine() + 1);
        break;
    default:
        break;
    }
}

void Ordering::moveSelectedLineTo(int target)
{
    const int s = view_.entryLine();
    if (!view_.onEntry() || target < 0 || target > view_.entryLineCount() - 2 || target == s)
        return;
    QStringList lines = view_.entryLines();
    lines.move(s, target);
    {
        NotebookChange change = view_.ctx.change();
        view_.entries.SyncEntryColumn(change, lines);
        if (!change.commit())
            return;
    }
    view_.entries.showLines(lines, target, true);
}

void Ordering::sortEntries()
{
    const int titles = view_.entryLineCount() - 1;
    if (titles < 2 || view_.groupSlot() < 0)
        return;
    QStringList lines = view_.entryLines();
    lines.removeLast();
    lines = NotebookEdit::sortTitles(lines, view_.ctx.state.prefs.SortDescending != 0);
    lines.append(u" "_s);
    {
        NotebookChange change = view_.ctx.change();
        view_.entries.SyncEntryColumn(change, lines);
        if (!change.commit())
            return;
    }
    view_.entries.showLines(lines, 0, false);
}

void Ordering::mnuIndent_Click(int index)
{
    if (!view_.onEntry())
        return;
    const QString title = view_.entryText(view_.entryLine());
    AppState &state = view_.ctx.state;
    if (index == 0) {
        state.InputAnswer = u'_' + title;
    } else if (index == 1 && title.size() >= 2 && title.startsWith(u'_')) {
        state.InputAnswer = title.mid(1);
    } else {
        return;
    }
    view_.main.TitlePreset = true;
    entryCommands_.mnuEntryRename_Click();
}

void Ordering::mnuSort_Click(int index)
{
    cmdSort_Click(index + 1);
}

void Ordering::cmdH_Click(int index)
{
    switch (index) {
    case 0:
        mnuIndent_Click(1);
        break;
    case 1:
        mnuIndent_Click(0);
        break;
    case 2:
        cmdSort_Click(1);
        break;
    case 3:
        cmdSort_Click(2);
        break;
    default:
        return;
    }
    view_.w.lstEntry->setFocus();
}

int Ordering::firstVisibleEntryLine() const
{
    return qMax(0, view_.w.lstEntry->indexAt(QPoint(0, 0)).row());
}

void Ordering::cmdCRSR_Click(int index)
{
    QListWidget *list = view_.w.lstEntry;
    static constexpr int kArrows[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down};
    if (index >= 0 && index <= 3) {
        keys_.lstGroup_KeyDown(kArrows[index], Qt::NoModifier);
        if (index == 3) {
            // Once the selection has pushed the list down, the selected line
            // goes to the top: the list pages instead of creeping line by line.
            if (firstVisibleEntryLine() > lastFirstVisible_ && list->currentItem())
                list->scrollToItem(list->currentItem(), QAbstractItemView::PositionAtTop);
            lastFirstVisible_ = firstVisibleEntryLine();
        }
    } else if (index == 4) {
        const int last = view_.entryLineCount() - 1;
        view_.entries.selectEntryLine(view_.entryLine() == last ? 0 : last);
        list->setFocus();
    }
}

void Ordering::bindKeys(KeyHandlers &keys)
{
    using KeyMap::Command;
    const MainWidgets &w = view_.w;
    keys.bind(Command::GroupListDown, [this, &w](int, Qt::KeyboardModifiers modifiers) {
        w.lstEntry->setFocus();
        if (KeyMap::matches(KeyMap::Modifiers::Some, modifiers)) {
            if (w.cmdH[3]->isEnabled())
                cmdSort_Click(2);
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
                      if (w.cmdH[left ? 0 : 1]->isEnabled())
                          mnuIndent_Click(left ? 1 : 0);
                      return true;
                  });
    }
    keys.bind(Command::OnePlaceUp, [this, &w](int, Qt::KeyboardModifiers) {
        if (w.cmdH[2]->isEnabled())
            cmdSort_Click(1);
        return true;
    });
    keys.bind(Command::OnePlaceDown, [this, &w](int, Qt::KeyboardModifiers) {
        if (w.cmdH[3]->isEnabled())
            cmdSort_Click(2);
        return true;
    });
    keys.bind(Command::CursorPadDown, [this](int, Qt::KeyboardModifiers) {
        cmdCRSR_Click(3);
        return true;
    });
    keys.bind(Command::TrashEntry, [this, &w](int, Qt::KeyboardModifiers) {
        if (!view_.locked() && w.mnuEntryCall[1]->isEnabled())
            entryCommands_.cmdEntry_Click(1);
        return true;
    });
    keys.bind(Command::RenameEntry, [this, &w](int, Qt::KeyboardModifiers) {
        if (w.mnuEntryRename->isEnabled())
            entryCommands_.mnuEntryRename_Click();
        return true;
    });
}
