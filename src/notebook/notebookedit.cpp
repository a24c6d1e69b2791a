#include "notebook/notebookedit.h"

#include "store/dostext.h"
#include "store/notetable.h"
#include "ui/listorder.h"
#include "ui/notebookmodel.h"

#include <algorithm>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace NotebookEdit {

int trashGroup(const NoteTable &table)
{
    return table.findGroup(u"Trash"_s);
}

bool notebookIsFull(const NoteTable &table)
{
    return table.groupCount() >= NoteTable::kGroups;
}

bool groupIsFull(const NoteTable &table, int g)
{
    return table.entryCount(g) >= NoteTable::kMaxEntries;
}

int setEntryColumn(NoteTable &table, int g, const QStringList &storedTitles)
{
    int count = 0;
    for (const QString &stored : storedTitles) {
        if (count == NoteTable::kMaxEntries || stored.isEmpty())
            break;
        table.cell(g, ++count) = stored;
    }
    for (int c = count + 1; c <= NoteTable::kMaxEntries; ++c)
        table.cell(g, c).clear();
    return count;
}

QString movedStoredTitle(const QString &title, const QString &oldStored)
{
    return showsAs(oldStored, title) ? oldStored : NotebookModel::storedForm(title);
}

bool appendTitle(NoteTable &table, int g, const QString &storedTitle)
{
    if (groupIsFull(table, g))
        return false;
    table.cell(g, table.entryCount(g) + 1) = storedTitle;
    return true;
}

bool insertGroupRow(NoteTable &table, int L, const QString &storedName)
{
    const int groups = table.groupCount();
    if (groups >= NoteTable::kGroups || L < 0 || L > groups)
        return false;
    table.openRow(L);
    table.cell(L, 0) = storedName;
    return true;
}

int sortedGroupSlot(const NoteTable &table, const QString &storedName, int leaveOut)
{
    const QString shown = NotebookModel::shownForm(storedName);
    const int groups = table.groupCount();
    int slot = 0;
    for (int g = 0; g < groups; ++g) {
        if (g != leaveOut && listLess(NotebookModel::shownForm(table.name(g)), shown))
            ++slot;
    }
    return slot;
}

bool moveRenamedGroupRow(NoteTable &table, int L, int K, const QString &storedName)
{
    const int groups = table.groupCount();
    if (L < 0 || L >= groups || K < 0 || K >= groups)
        return false;
    table.moveRow(L, K);
    table.cell(K, 0) = storedName;
    return true;
}

QStringList sortTitles(const QStringList &storedTitles, const QStringList &shownTitles,
                       bool descending)
{
    struct Title
    {
        QString shown;
        QString stored;
    };
    std::vector<Title> titles;
    titles.reserve(storedTitles.size());
    for (qsizetype i = 0; i < storedTitles.size(); ++i)
        titles.push_back({shownTitles.value(i), storedTitles.at(i)});
    std::stable_sort(titles.begin(), titles.end(),
                     [](const Title &a, const Title &b) { return listLess(a.shown, b.shown); });
    if (descending)
        std::reverse(titles.begin(), titles.end());
    QStringList sorted;
    sorted.reserve(qsizetype(titles.size()));
    for (Title &title : titles)
        sorted.append(std::move(title.stored));
    return sorted;
}

} // namespace NotebookEdit
