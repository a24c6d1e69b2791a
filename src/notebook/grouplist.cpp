#include "notebook/grouplist.h"

#include "store/notetable.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"

#include <algorithm>

void GroupList::orderRows(NoteTable &table)
{
    struct Line
    {
        QString shown;
        int slot;
    };
    std::vector<Line> lines;
    const int groups = table.groupCount();
    lines.reserve(size_t(groups));
    for (int g = 0; g < groups; ++g)
        lines.push_back({NotebookModel::shownForm(table.name(g)), g});
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line &a, const Line &b) { return listLess(a.shown, b.shown); });
    std::vector<int> slots;
    slots.reserve(lines.size());
    for (const Line &line : lines)
        slots.push_back(line.slot);
    table.reorderRows(slots);
}

void GroupList::attach(NotebookModel &model, GroupLinesModel &lines)
{
    model_ = &model;
    lines_ = &lines;
}

void GroupList::fill(bool hideYGroups)
{
    if (!model_)
        return;
    model_->refresh();
    lines_->setHideYGroups(hideYGroups);
}

QStringList GroupList::lines() const
{
    return TitleLines(lines_).shownNames();
}

int GroupList::count() const
{
    return TitleLines(lines_).count();
}

int GroupList::slotOfLine(int line) const
{
    if (!model_ || line < 0 || line >= count())
        return -1;
    return model_->slotOf(TitleLines(lines_).item(line));
}

int GroupList::lineOfSlot(int slot) const
{
    if (!model_)
        return -1;
    const QModelIndex group = model_->groupIndex(slot);
    return group.isValid() ? lines_->mapFromSource(group).row() : -1;
}
