#include "notebook/grouplist_w.h"

#include "notebook/grouplist.h"
#include "store/notetable.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QSignalBlocker>

void fillGroupList(TitleListView &groupList, GroupList &list, const NoteTable &table,
                   bool hideYGroups)
{
    list.fill(table, hideYGroups);
    QStringList names;
    names.reserve(list.count());
    for (int line = 0; line < list.count(); ++line)
        names.append(table.name(list.slotOfLine(line)));
    // The rows under the list changed: no line stays selected, and the
    // caller selects (and shows) one.
    const QSignalBlocker quiet(groupList);
    groupList.setCurrentRow(-1);
    groupList.titles().setStoredNames(names);
}
