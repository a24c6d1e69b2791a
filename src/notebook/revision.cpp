#include "notebook/revision.h"

#include "store/notebookchange.h"

#include <QHash>

namespace {

enum class Act { MoveEntry, MoveGroup, MakeGroup, DropGroup, MakeEntry, DropEntry };

// A step as it runs in one direction.
struct Action
{
    Act act;
    QString group, title, toGroup, toTitle;
    bool noFileToo = false;
};

QStringList titlesOf(const NoteTable &table, int g)
{
    QStringList titles;
    const int count = table.entryCount(g);
    for (int c = 1; c <= count; ++c)
        titles.append(table.cell(g, c));
    return titles;
}

} // namespace

Revision::Revision(const NoteTable &before, const NoteTable &after) : before_(before), after_(after)
{}

void Revision::entryMoved(const QString &fromGroup, const QString &fromTitle,
                          const QString &toGroup, const QString &toTitle, bool noFileToo)
{
    steps_.push_back({Kind::EntryMoved, fromGroup, fromTitle, toGroup, toTitle, noFileToo, {}});
}

void Revision::groupRenamed(const QString &oldName, const QString &newName)
{
    steps_.push_back({Kind::GroupRenamed, oldName, {}, newName, {}, false, {}});
}

void Revision::groupAdded(const QString &group)
{
    steps_.push_back({Kind::GroupAdded, group, {}, {}, {}, false, {}});
}

void Revision::groupRemoved(const QString &group)
{
    steps_.push_back({Kind::GroupRemoved, group, {}, {}, {}, false, {}});
}

void Revision::entryAdded(const QString &group, const QString &title)
{
    steps_.push_back({Kind::EntryAdded, group, title, {}, {}, false, {}});
}

Revision::Outcome Revision::apply(NotebookChange &change, bool forward)
{
    NoteTable &table = change.table();
    if (!(table == (forward ? before_ : after_)))
        return Outcome::Stale;

    std::vector<Step *> order;
    for (Step &step : steps_)
        order.push_back(&step);
    if (!forward)
        std::reverse(order.begin(), order.end());
    std::vector<Action> actions;
    for (const Step *s : order) {
        Action a{Act::MoveEntry, s->group, s->title, s->toGroup, s->toTitle, s->noFileToo};
        switch (s->kind) {
        case Kind::EntryMoved:
        case Kind::GroupRenamed:
            a.act = s->kind == Kind::EntryMoved ? Act::MoveEntry : Act::MoveGroup;
            if (!forward) {
                std::swap(a.group, a.toGroup);
                std::swap(a.title, a.toTitle);
            }
            break;
        case Kind::GroupAdded:
        case Kind::GroupRemoved:
            a.act = (s->kind == Kind::GroupAdded) == forward ? Act::MakeGroup : Act::DropGroup;
            break;
        case Kind::EntryAdded:
            a.act = forward ? Act::MakeEntry : Act::DropEntry;
            break;
        }
        actions.push_back(std::move(a));
    }

    // What leaves is read first, while nothing is written yet.
    std::vector<std::optional<QByteArray>> kept(actions.size());
    for (size_t i = 0; i < actions.size(); ++i) {
        const Action &a = actions[i];
        if (a.act == Act::DropEntry && !change.keepEntryFile(a.group, a.title, &kept[i]))
            return Outcome::Failed;
        if (a.act == Act::DropGroup) {
            QByteArray mask;
            if (!change.keepMask(a.group, &mask))
                return Outcome::Failed;
            kept[i] = mask;
        }
    }
    for (size_t i = 0; i < actions.size(); ++i) {
        const Action &a = actions[i];
        const std::optional<QByteArray> &bytes = order[i]->kept;
        bool ok = true;
        switch (a.act) {
        case Act::MoveEntry:
            ok = change.copyEntryFile(a.group, a.title, a.toGroup, a.toTitle, a.noFileToo);
            break;
        case Act::MoveGroup:
            ok = change.copyGroupFolder(a.group, a.toGroup);
            break;
        case Act::MakeGroup:
            ok = change.createGroupFolder(a.group, bytes.value_or(QByteArray()));
            break;
        case Act::MakeEntry:
            // An entry that had no file when it left comes back without one.
            ok = !bytes || change.restoreEntryFile(a.group, a.title, *bytes);
            break;
        case Act::DropGroup:
        case Act::DropEntry:
            break;
        }
        if (!ok)
            return Outcome::Failed;
    }
    table = forward ? after_ : before_;
    if (!change.commit())
        return Outcome::Failed;
    for (const Action &a : actions) {
        switch (a.act) {
        case Act::MoveEntry:
        case Act::DropEntry:
            change.removeEntryFile(a.group, a.title);
            break;
        case Act::MoveGroup:
            change.removeOldGroupFolder(a.group);
            break;
        case Act::DropGroup:
            change.removeGroupFolder(a.group);
            break;
        case Act::MakeGroup:
        case Act::MakeEntry:
            break;
        }
    }
    for (size_t i = 0; i < actions.size(); ++i) {
        if (actions[i].act == Act::DropEntry || actions[i].act == Act::DropGroup)
            order[i]->kept = std::move(kept[i]);
    }
    return Outcome::Done;
}

std::optional<Revision> Revision::additions(const NoteTable &before, const NoteTable &after)
{
    Revision revision(before, after);
    QHash<QString, int> slotBefore;
    for (int g = 0; g < before.groupCount(); ++g)
        slotBefore.insert(before.name(g), g);
    int kept = 0;
    for (int g = 0; g < after.groupCount(); ++g) {
        const QString &group = after.name(g);
        const QStringList titles = titlesOf(after, g);
        const auto was = slotBefore.constFind(group);
        if (was == slotBefore.cend()) {
            revision.groupAdded(group);
            for (const QString &title : titles)
                revision.entryAdded(group, title);
            continue;
        }
        ++kept;
        // Every title it held is still there, in its order; the rest came.
        const QStringList old = titlesOf(before, *was);
        qsizetype next = 0;
        for (const QString &title : titles) {
            if (next < old.size() && title == old.at(next))
                ++next;
            else
                revision.entryAdded(group, title);
        }
        if (next != old.size())
            return std::nullopt;
    }
    if (kept != before.groupCount())
        return std::nullopt;
    return revision;
}
