#include "notebook/ordering_w.h"

#include "app/maincontext.h"
#include "app/mainstate.h"
#include "app/mainwidgets_w.h"
#include "editing/listkeys.h"
#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookview_w.h"
#include "store/appstate.h"

#include <QAction>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Shift, Ctrl or Alt; the keypad flag that arrow keys carry is no modifier.
bool anyModifier(Qt::KeyboardModifiers modifiers)
{
    return modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
}

} // namespace

Ordering::Ordering(NotebookView &view, EntryCommands &entryCommands, ListKeys &listKeys,
                   QObject *parent)
    : QObject(parent), view_(view), entryCommands_(entryCommands), listKeys_(listKeys)
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

    w.lstGroup->installEventFilter(this);
    listKeys_.add(
        [this](int key, Qt::KeyboardModifiers modifiers) { return entryListKey(key, modifiers); });
}

bool Ordering::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view_.w.lstGroup && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        return lstGroup_KeyDown(key->key(), key->modifiers());
    }
    return QObject::eventFilter(watched, event);
}

void Ordering::cmdSort_Click(int index)
{
    view_.w.lstEntry->setFocus();
    switch (index) {
    case 0:
        sortEntries();
        break;
    case 1:
        moveSelectedLine(-1);
        break;
    case 2:
        moveSelectedLine(1);
        break;
    default:
        break;
    }
}

void Ordering::moveSelectedLine(int step)
{
    const int s = view_.entryLine();
    const int target = s + step;
    if (!view_.onEntry() || target < 0 || target > view_.entryLineCount() - 2)
        return;
    QListWidget *list = view_.w.lstEntry;
    MainState &main = view_.main;
    // The same entry stays selected: its text stays loaded, and so does
    // whether its file is missing.
    const bool missing = main.FileMissing;
    main.SuppressEntryLoad = true;
    const QString moved = list->item(s)->text();
    list->item(s)->setText(list->item(target)->text());
    list->item(target)->setText(moved);
    view_.entries.selectEntryLine(target);
    view_.entries.SyncEntryColumn();
    main.SuppressEntryLoad = false;
    main.FileMissing = missing;
    view_.RefreshCommands();
}

void Ordering::sortEntries()
{
    const int titles = view_.entryLineCount() - 1;
    if (titles < 2 || view_.groupSlot() < 0)
        return;
    QStringList lines = view_.entryLines();
    lines.removeLast();
    lines = NotebookEdit::sortTitles(lines, view_.ctx.state.prefs.SortDescending != 0);
    // Texts change in place, so no line is selected (and loaded) on the way.
    for (int i = 0; i < titles; ++i)
        view_.w.lstEntry->item(i)->setText(lines.at(i));
    view_.entries.SyncEntryColumn();
    view_.entries.selectEntryLine(0);
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
        lstGroup_KeyDown(kArrows[index], Qt::NoModifier);
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

bool Ordering::lstGroup_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const MainWidgets &w = view_.w;
    if (key == Qt::Key_Down) {
        w.lstEntry->setFocus();
        if (anyModifier(modifiers)) {
            if (w.cmdH[3]->isEnabled())
                cmdSort_Click(2);
        } else if (view_.entryLine() < view_.entryLineCount() - 1) {
            view_.entries.selectEntryLine(view_.entryLine() + 1);
        }
        return true;
    }
    if (key == Qt::Key_Up) {
        w.lstEntry->setFocus();
        if (view_.entryLine() > 0)
            view_.entries.selectEntryLine(view_.entryLine() - 1);
        return true;
    }
    return listKeys_.lstEntry_KeyDown(key, modifiers);
}

bool Ordering::entryListKey(int key, Qt::KeyboardModifiers modifiers)
{
    const MainWidgets &w = view_.w;
    const bool modified = anyModifier(modifiers);
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const bool left = key == Qt::Key_Left;
        if (modified) {
            if (w.cmdH[left ? 0 : 1]->isEnabled())
                mnuIndent_Click(left ? 1 : 0);
            return true;
        }
        w.lstGroup->setFocus();
        const int next = view_.groupLine() + (left ? -1 : 1);
        if (next >= 0 && next < w.lstGroup->count())
            view_.entries.selectGroupLine(next);
        return true;
    }
    case Qt::Key_Up:
        if (!modified)
            return false;
        if (w.cmdH[2]->isEnabled())
            cmdSort_Click(1);
        return true;
    case Qt::Key_Down:
        if (!modified)
            cmdCRSR_Click(3);
        else if (w.cmdH[3]->isEnabled())
            cmdSort_Click(2);
        return true;
    case Qt::Key_Delete:
        if (!view_.locked() && w.mnuEntryCall[1]->isEnabled())
            entryCommands_.cmdEntry_Click(1);
        return true;
    case Qt::Key_F12:
        if (w.mnuEntryRename->isEnabled())
            entryCommands_.mnuEntryRename_Click();
        return true;
    default:
        return false;
    }
}
