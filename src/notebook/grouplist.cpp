#include "notebook/grouplist.h"

#include "notebook/listorder.h"
#include "store/dostext.h"
#include "store/notetable.h"

#include <algorithm>

namespace {

struct Line
{
    QString shown;
    int slot;
};

std::vector<Line> sortedLines(const NoteTable &table, bool hideYGroups)
{
    std::vector<Line> lines;
    const int groups = table.groupCount();
    lines.reserve(groups);
    for (int g = 0; g < groups; ++g) {
        if (hideYGroups && isYGroup(table.name(g)))
            continue;
        lines.push_back({InDOS(table.name(g)), g});
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line &a, const Line &b) { return listLess(a.shown, b.shown); });
    return lines;
}

} // namespace

bool isYGroup(const QString &storedName)
{
    return storedName.startsWith(QChar(0xFF));
}

void GroupList::orderRows(NoteTable &table)
{
    std::vector<int> slots;
    for (const Line &line : sortedLines(table, false))
        slots.push_back(line.slot);
    table.reorderRows(slots);
}

void GroupList::fill(const NoteTable &table, bool hideYGroups)
{
    lines_.clear();
    slots_.clear();
    for (const Line &line : sortedLines(table, hideYGroups)) {
        lines_.append(line.shown);
        slots_.push_back(line.slot);
    }
}

int GroupList::slotOfLine(int line) const
{
    if (line < 0 || line >= int(slots_.size()))
        return -1;
    return slots_[line];
}

int GroupList::lineOfSlot(int slot) const
{
    const auto it = std::find(slots_.begin(), slots_.end(), slot);
    return it == slots_.end() ? -1 : int(it - slots_.begin());
}
