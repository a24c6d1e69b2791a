#include "notebook/notebookview_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/grouplist_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/maincontext.h"
#include "ui/titlelistview_w.h"

#include <QCheckBox>
#include <QSignalBlocker>

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

int NotebookView::entryLineCount() const
{
    return controls.entryList->count();
}

bool NotebookView::onEntry() const
{
    return !entries.onBlankLine() && groupSlot() >= 0;
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
    // The rows changed under the list; the caller selects (and loads) a line.
    const QSignalBlocker blocker(controls.groupList);
    fillGroupList(*controls.groupList, groups, ctx.table, ctx.state.hideYGroups());
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
