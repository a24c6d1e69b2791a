#include "notebook/dragdrop_w.h"

#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/notebookview_w.h"
#include "notebook/ordering_w.h"
#include "store/appstate.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>

using namespace Qt::StringLiterals;

DragDrop::DragDrop(NotebookView &view, EntryCommands &entryCommands, Ordering &ordering,
                   QObject *parent)
    : QObject(parent), view_(view), entryCommands_(entryCommands), ordering_(ordering)
{
    setObjectName(u"dragDrop"_s);
    const NotebookControls &controls = view_.controls;
    for (TitleListView *list : {controls.entryList, controls.groupList}) {
        list->setAcceptDrops(true);
        list->viewport()->setAcceptDrops(true);
        list->viewport()->installEventFilter(this);
    }
    controls.trashButton->setAcceptDrops(true);
    controls.trashButton->installEventFilter(this);
}

QString DragDrop::mimeType()
{
    return u"application/x-plimsa-entry"_s;
}

bool DragDrop::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return watched == view_.controls.entryList->viewport() && mouseOnEntryList(event);
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return dragOnTarget(watched, event);
    default:
        return QObject::eventFilter(watched, event);
    }
}

bool DragDrop::mouseOnEntryList(QEvent *event)
{
    const auto *mouse = static_cast<QMouseEvent *>(event);
    TitleListView *list = view_.controls.entryList;
    if (event->type() == QEvent::MouseButtonPress) {
        const int line = list->lineAt(mouse->position().toPoint());
        pressedOnEntry_ =
            mouse->button() == Qt::LeftButton && line >= 0 && !list->titles().isClosingLine(line);
        pressPosition_ = mouse->position().toPoint();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        pressedOnEntry_ = false;
        return false;
    }
    if (!pressedOnEntry_ || !(mouse->buttons() & Qt::LeftButton))
        return false;
    // Held on an entry, the mouse drags that entry instead of sweeping the
    // selection along the lines it passes.
    if ((mouse->position().toPoint() - pressPosition_).manhattanLength() >=
        QApplication::startDragDistance()) {
        pressedOnEntry_ = false;
        startDrag();
    }
    return true;
}

void DragDrop::startDrag()
{
    // Nothing is reordered or moved while the lock is on or without an entry.
    if (view_.locked() || !view_.onEntry())
        return;
    auto *drag = new QDrag(view_.controls.entryList);
    auto *data = new QMimeData;
    data->setData(mimeType(), view_.entries.selectedTitle().toUtf8());
    drag->setMimeData(data);
    drag->exec(Qt::MoveAction);
}

bool DragDrop::dragOnTarget(QObject *watched, QEvent *event)
{
    const NotebookControls &controls = view_.controls;
    auto *drop = static_cast<QDropEvent *>(event);
    const bool ours =
        drop->source() == controls.entryList && drop->mimeData()->hasFormat(mimeType());
    const bool trashButton = watched == controls.trashButton;
    if (!ours || (trashButton && !view_.actions.trashEntry->isEnabled())) {
        event->ignore();
        return true;
    }
    if (event->type() != QEvent::Drop) {
        drop->acceptProposedAction();
        return true;
    }
    drop->acceptProposedAction();
    const QPoint at = drop->position().toPoint();
    if (watched == controls.entryList->viewport())
        dropOnEntryList(at);
    else if (watched == controls.groupList->viewport())
        dropOnGroupList(at);
    else if (trashButton)
        dropOnTrashButton();
    return true;
}

void DragDrop::dropOnEntryList(const QPoint &position)
{
    if (!view_.onEntry())
        return;
    TitleListView *list = view_.controls.entryList;
    const int s = view_.entryLine();
    const int lastEntry = view_.entryCount() - 1;
    const int line = list->lineAt(position);
    // The blank line, or below the lines: the end of the list.
    const int target = line >= 0 ? qMin(line, lastEntry) : lastEntry;
    // As many places down or up as the drop is away, in one step.
    if ((view_.actions.moveDown->isEnabled() && target > s) ||
        (view_.actions.moveUp->isEnabled() && target < s)) {
        list->setFocus();
        ordering_.moveEntryTo(view_.entries.selectedEntryItem(), target);
    }
}

void DragDrop::dropOnGroupList(const QPoint &position)
{
    // An entry without a text file cannot be moved.
    if (view_.main.FileMissing || !view_.onEntry())
        return;
    TitleListView *groups = view_.controls.groupList;
    const int from = view_.groupLine();
    groups->setFocus();
    const int target = groups->lineAt(position);
    if (target >= 0 && target != from)
        entryCommands_.moveEntry(view_.entries.selectedEntryItem(),
                                 view_.entries.model().groupIndex(view_.groups.slotOfLine(target)));
}

void DragDrop::dropOnTrashButton()
{
    view_.actions.trashEntry->trigger();
}
