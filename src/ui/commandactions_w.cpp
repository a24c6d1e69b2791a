#include "ui/commandactions_w.h"

#include "ui/buttonaction_w.h"
#include "ui/mainwidgets_w.h"

#include <QPushButton>

CommandActions commandActions(const MainWidgets &w)
{
    return {
        .trashEntry = buttonAction(w.cmdEntry[1]),
        .trashEntryItem = w.mnuEntryCall[1],
        .renameEntry = w.mnuEntryRename,
        .moveEntryToGroup = w.mnuEntryChange,
        .sort = buttonAction(w.cmdSort[0]),
        .sortItem = w.mnuSortAll,
        .moveUp = buttonAction(w.cmdH[2]),
        .moveUpItem = w.mnuSort[0],
        .moveDown = buttonAction(w.cmdH[3]),
        .moveDownItem = w.mnuSort[1],
        .indentLeft = buttonAction(w.cmdH[0]),
        .indentLeftItem = w.mnuIndent[1],
        .indentRight = buttonAction(w.cmdH[1]),
        .indentRightItem = w.mnuIndent[0],
        .previousGroup = buttonAction(w.cmdCRSR[0]),
        .nextGroup = buttonAction(w.cmdCRSR[1]),
        .previousEntry = buttonAction(w.cmdCRSR[2]),
        .nextEntry = buttonAction(w.cmdCRSR[3]),
        .jump = buttonAction(w.cmdCRSR[4]),
        .newGroup = w.mnuGroupNew,
        .renameGroup = w.mnuGroupRename,
        .deleteGroup = w.mnuGroupDelete,
        .clearTrash = w.mnuClearTrash,
    };
}
