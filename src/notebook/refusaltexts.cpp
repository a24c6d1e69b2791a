#include "notebook/refusaltexts.h"

#include "store/notetable.h"

using namespace Qt::StringLiterals;

namespace RefusalTexts {

QString notebookFull()
{
    return u"The notebook holds 100 groups, as many as it can. Delete a group before adding a new one."_s;
}

QString groupFull(const QString &shownGroup)
{
    return u"The group \"%1\" holds 999 entries, as many as a group can. Nothing was moved."_s.arg(
        shownGroup);
}

QString noRoomForLine()
{
    return u"This group already holds %1 entries, as many as a group can hold. "
           "Move or trash an entry to make room for a new one."_s.arg(NoteTable::kMaxEntries);
}

QString noTrashGroup()
{
    return u"There is no group named \"Trash\". Create one to use the trash."_s;
}

QString groupStillHoldsEntry()
{
    return u"The group still holds an entry and there is no group named \"Trash\" to take it. "
           u"Move or trash the entry first."_s;
}

QString name(UniqueName::Refusal refusal, const QString &shownName)
{
    switch (refusal) {
    case UniqueName::Refusal::None:
    case UniqueName::Refusal::Empty:
        return QString();
    case UniqueName::Refusal::Unencodable:
        return u"\"%1\" holds a character the notebook's files cannot store."_s.arg(shownName);
    case UniqueName::Refusal::LineBreak:
        return u"\"%1\" holds a line break, which a name cannot hold."_s.arg(shownName);
    case UniqueName::Refusal::TooLong:
        return u"\"%1\" is too long for a file or folder name."_s.arg(shownName);
    }
    return QString();
}

} // namespace RefusalTexts
