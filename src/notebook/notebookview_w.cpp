#include "notebook/notebookview_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/notebookedit.h"
#include "notebook/revision.h"
#include "notebook/undohistory_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/maincontext.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>

using namespace Qt::StringLiterals;

NotebookView::NotebookView(const NotebookControls &controls, MainState &main, MainContext &ctx,
                           GroupList &groups, EntryList &entries)
    : controls(controls), main(main), ctx(ctx), groups(groups), entries(entries)
{}

int NotebookView::groupLine() const
{
    return controls.groupList->currentRow();
}

int NotebookView::groupSlot() const
{
    return entries.selectedGroup();
}

int NotebookView::entryLine() const
{
    return controls.entryList->currentRow();
}

int NotebookView::entryCount() const
{
    return entries.entryCount();
}

QString NotebookView::groupName() const
{
    const int slot = groupSlot();
    return slot < 0 ? QString() : ctx.table.name(slot);
}

bool NotebookView::onEntry() const
{
    return !entries.onBlankLine() && groupSlot() >= 0;
}

bool NotebookView::hasFile(int slot, int row) const
{
    const NotebookModel &model = entries.model();
    return model.entryIndex(slot, row).data(NotebookModel::KindRole).value<NotebookModel::Kind>() ==
           NotebookModel::Kind::Entry;
}

int NotebookView::trashLine() const
{
    return groups.lines().indexOf(u"Trash"_s);
}

bool NotebookView::locked() const
{
    return controls.lock->isChecked();
}

const QString &NotebookView::storeFolder() const
{
    return ctx.state.storeFolder;
}

void NotebookView::refillGroupList()
{
    groups.fill(ctx.state.hideYGroups());
}

UndoHistory &NotebookView::history() const
{
    return entries.history();
}

bool NotebookView::run(const QString &text, Revision revision, const Place &done,
                       const Place &undone)
{
    if (!history().run(text, std::move(revision), done, undone))
        return false;
    // As after a fill: the hiding of ÿ-groups follows the settings now.
    refillGroupList();
    entries.showPlace(done);
    return true;
}

bool NotebookView::runColumn(const QString &text, int slot, const QStringList &storedTitles,
                             const Place &done, const Place &undone)
{
    if (slot < 0)
        return false;
    NoteTable after = ctx.table;
    NotebookEdit::setEntryColumn(after, slot, storedTitles);
    return run(text, Revision(ctx.table, after), done, undone);
}

void NotebookView::recordImport(const NoteTable &before)
{
    refillGroupList();
    if (before == ctx.table)
        return;
    const std::optional<Revision> revision = Revision::additions(before, ctx.table);
    if (!revision) {
        history().clear();
        return;
    }
    // Redone, the lists go to the group that took the first entry, as the
    // import's own end does; undone, back to the group selected before.
    QString into;
    for (int g = 0; g < ctx.table.groupCount() && into.isEmpty(); ++g) {
        const int was = before.findGroup(ctx.table.name(g));
        if (was < 0 || before.entryCount(was) != ctx.table.entryCount(g))
            into = ctx.table.name(g);
    }
    history().record(u"Import"_s, *revision, {into}, {groupName()});
}

void NotebookView::selectGroupOrFirst(int line)
{
    if (line < 0 || line >= groups.count())
        line = groups.count() > 0 ? 0 : -1;
    entries.selectGroupLine(line);
}

void NotebookView::caution(const QString &text)
{
    ctx.messages.message(Messages::Icon::Information, ctx.words(Word::Caution), text);
}
