#include "notebook/newentry_w.h"

#include "app/maincontext.h"
#include "app/mainstate.h"
#include "app/mainwidgets_w.h"
#include "editing/editmodes_w.h"
#include "editing/editrules.h"
#include "editing/listkeys.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/notebookedit.h"
#include "platform/messages.h"
#include "store/notetable.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

NewEntry::NewEntry(const MainWidgets &w, MainState &main, MainContext &ctx, EntryList &entries,
                   EditModes &editModes, QObject *parent)
    : QObject(parent), w_(w), main_(main), ctx_(ctx), entries_(entries), editModes_(editModes)
{
    connect(w_.cmdEntry[0], &QPushButton::clicked, this, [this] { cmdEntry_Click(0); });
    connect(w_.mnuEntryCall[0], &QAction::triggered, this, [this] { cmdEntry_Click(0); });
}

void NewEntry::addKeys(ListKeys &keys)
{
    keys.add([this](int key, Qt::KeyboardModifiers) {
        if (key != Qt::Key_Insert)
            return false;
        if (!editModes_.locked() && w_.mnuEntryCall[0]->isEnabled())
            cmdEntry_Click(0);
        return true;
    });
}

void NewEntry::cmdEntry_Click(int index)
{
    if (index == 0)
        newEntry();
}

void NewEntry::newEntry()
{
    const int g = entries_.selectedGroup();
    if (g < 0)
        return;
    if (NotebookEdit::groupIsFull(ctx_.table, g)) {
        ctx_.messages.message(
            Messages::Icon::Information, ctx_.words(79),
            u"This group already holds %1 entries, as many as a group can hold. "
            "Move or trash an entry to make room for a new one."_s.arg(NoteTable::kMaxEntries));
        return;
    }

    QListWidget *list = w_.lstEntry;
    const int s = list->currentRow() < 0 ? list->count() - 1 : list->currentRow();
    {
        // The placeholder takes the selected line's place; it has no file to load.
        const QSignalBlocker quiet(list);
        list->insertItem(qMax(s, 0), EditRules::newEntryTitle());
        list->setCurrentRow(qMax(s, 0));
    }
    main_.FileMissing = false;
    entries_.SyncEntryColumn();
    w_.lblDate->clear();

    // Filled by program, then emptied: the second change is the one that starts
    // text edit mode.
    QPlainTextEdit *box = editModes_.textBox();
    main_.Loading = true;
    box->setPlainText(u"x"_s);
    main_.Loading = false;
    box->clear();

    w_.txtText[0]->setEnabled(true);
    w_.txtText[1]->setEnabled(w_.txtText[0]->isEnabled());
    box->setFocus();
}
