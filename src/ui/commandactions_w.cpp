#include "ui/commandactions_w.h"

#include "ui/buttonaction_w.h"
#include "ui/mainwidgets_w.h"

#include <QPushButton>

CommandActions commandActions(const MainWidgets &w)
{
    return {
        .trashEntry = buttonAction(w.entryButtons[1]),
        .trashEntryItem = w.newTrashItems[1],
        .renameEntry = w.renameEntryItem,
        .moveEntryToGroup = w.changeGroupItem,
        .sort = buttonAction(w.sortButton),
        .sortItem = w.sortItem,
        .moveUp = buttonAction(w.orderButtons[2]),
        .moveUpItem = w.upDownItems[0],
        .moveDown = buttonAction(w.orderButtons[3]),
        .moveDownItem = w.upDownItems[1],
        .indentLeft = buttonAction(w.orderButtons[0]),
        .indentLeftItem = w.indentItems[1],
        .indentRight = buttonAction(w.orderButtons[1]),
        .indentRightItem = w.indentItems[0],
        .previousGroup = buttonAction(w.cursorButtons[0]),
        .nextGroup = buttonAction(w.cursorButtons[1]),
        .previousEntry = buttonAction(w.cursorButtons[2]),
        .nextEntry = buttonAction(w.cursorButtons[3]),
        .jump = buttonAction(w.cursorButtons[4]),
        .newGroup = w.newGroupItem,
        .renameGroup = w.renameGroupItem,
        .deleteGroup = w.deleteGroupItem,
        .clearTrash = w.clearTrashItem,
    };
}
