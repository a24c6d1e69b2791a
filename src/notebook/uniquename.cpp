#include "notebook/uniquename.h"

#include "store/codepage.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "ui/notebookmodel.h"

using namespace Qt::Literals::StringLiterals;

namespace UniqueName {
namespace {

bool titleTaken(const NoteTable &table, int g, const QString &stored, int skipColumn)
{
    for (int c = 1; c <= NoteTable::kMaxEntries; ++c) {
        if (c != skipColumn && table.cell(g, c) == stored)
            return true;
    }
    return false;
}

Refusal check(const QString &shown, bool entry)
{
    const QString stored = NotebookModel::storedForm(shown);
    // "." and ".." name no file or folder of their own; idx.dat refuses them.
    if (stored.trimmed().isEmpty() || stored == u"."_s || stored == u".."_s)
        return Refusal::Empty;
    if (CodePage::firstUnencodable(stored) >= 0)
        return Refusal::Unencodable;
    for (QChar c : stored) {
        if (c == u'\r' || c == u'\n' || c == QChar(u'\0'))
            return Refusal::LineBreak;
    }
    if (!StorePaths::fitsFileName(entry ? StorePaths::entryFileName(stored) : stored))
        return Refusal::TooLong;
    return Refusal::None;
}

} // namespace

QString uniqueGroupName(const NoteTable &table, const QString &answer)
{
    // An empty stored form would match every unused row and never settle;
    // checkGroupName refuses it.
    if (NotebookModel::storedForm(answer).isEmpty())
        return answer;
    QString name = answer;
    while (table.findGroup(NotebookModel::storedForm(name)) >= 0)
        name += u'_';
    return name;
}

QString uniqueTitle(const NoteTable &table, int g, const QString &title)
{
    if (NotebookModel::storedForm(title).isEmpty())
        return title;
    QString name = title;
    while (titleTaken(table, g, NotebookModel::storedForm(name), -1))
        name += u'_';
    return name;
}

QString uniqueMoveTitle(const NoteTable &table, int fromGroup, int ownColumn, int toGroup,
                        const QString &title)
{
    if (NotebookModel::storedForm(title).isEmpty())
        return title;
    // Moving within one group is no move; leave the entry's own title out
    // there as well rather than renaming it away from itself.
    const int targetSkip = toGroup == fromGroup ? ownColumn : -1;
    QString name = title;
    bool clash = true;
    while (clash) {
        clash = false;
        if (titleTaken(table, toGroup, NotebookModel::storedForm(name), targetSkip)) {
            name += u'_';
            clash = true;
        }
        if (titleTaken(table, fromGroup, NotebookModel::storedForm(name), ownColumn)) {
            name += u'_';
            clash = true;
        }
    }
    return name;
}

Refusal checkGroupName(const QString &answer)
{
    return check(answer, false);
}

Refusal checkEntryTitle(const QString &title)
{
    return check(title, true);
}

} // namespace UniqueName
