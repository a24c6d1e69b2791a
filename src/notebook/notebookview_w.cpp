#include "notebook/notebookview_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/grouplist_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/maincontext.h"
#include "ui/mainwidgets_w.h"
#include "ui/titlelistview_w.h"

#include <QCheckBox>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

NotebookView::NotebookView(const MainWidgets &w, MainState &main, MainContext &ctx,
                           GroupList &groups, EntryList &entries)
    : w(w), main(main), ctx(ctx), groups(groups), entries(entries)
{}

int NotebookView::groupLine() const
{
    return w.lstGroup->currentRow();
}

int NotebookView::groupSlot() const
{
    return entries.selectedGroup();
}

int NotebookView::entryLine() const
{
    return w.lstEntry->currentRow();
}

int NotebookView::entryLineCount() const
{
    return w.lstEntry->count();
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
    return w.chckEdit->isChecked();
}

const QString &NotebookView::storeFolder() const
{
    return ctx.state.storeFolder;
}

void NotebookView::refillGroupList()
{
    // The rows changed under the list; the caller selects (and loads) a line.
    const QSignalBlocker blocker(w.lstGroup);
    fillGroupList(*w.lstGroup, groups, ctx.table, ctx.state.hideYGroups());
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
