#include "notebook/grouplist_w.h"

#include "notebook/grouplist.h"
#include "ui/notebookmodel.h"

void fillGroupList(TitleListView &groupList, GroupList &list, const NoteTable &table,
                   bool hideYGroups)
{
    Q_UNUSED(groupList); // a view of the lines, which follow the model
    Q_UNUSED(table);     // the model's
    list.fill(hideYGroups);
    if (NotebookModel *model = list.model())
        model->refreshAfterReading();
}
