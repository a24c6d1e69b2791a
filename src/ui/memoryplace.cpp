#include "ui/memoryplace.h"

#include "store/notetable.h"
#include "store/dostext.h"
#include "ui/notebookmodel.h"

using namespace Qt::StringLiterals;

namespace MemoryPlace {

namespace {

bool listed(const NoteTable &table, int g, bool hideYGroups)
{
    return !(hideYGroups && table.name(g).startsWith(QChar(0xFF)));
}

} // namespace

QString freeMemory()
{
    return u"free/free"_s;
}

QString groupPart(const QString &memory)
{
    const qsizetype slash = memory.indexOf(u'/');
    return slash < 0 ? memory : memory.left(slash);
}

Place find(const NoteTable &table, const QString &memory, bool hideYGroups)
{
    Place place;
    const QString group = groupPart(memory);
    const int groups = table.groupCount();
    for (int g = 0; g < groups; ++g) {
        if (!listed(table, g, hideYGroups))
            continue;
        const QString shown = NotebookModel::shownForm(table.name(g));
        if (place.group < 0 && shown == group)
            place.group = g;
        if (shown.contains(u'/') && memory.startsWith(shown + u'/'))
            place.misread = true;
    }
    place.groupOnly = memory.endsWith(u'/');
    if (place.group < 0 || place.groupOnly)
        return place;
    const QString entry = memory.mid(group.size() + 1);
    const int entries = table.entryCount(place.group);
    for (int c = 1; c <= entries; ++c) {
        if (showsAs(table.cell(place.group, c), entry)) {
            place.column = c;
            break;
        }
    }
    return place;
}

} // namespace MemoryPlace
