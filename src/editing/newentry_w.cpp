#include "editing/newentry_w.h"

#include "editing/editmodes_w.h"
#include "editing/editrules.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/notebookedit.h"
#include "notebook/refusaltexts.h"
#include "platform/messages.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

NewEntry::NewEntry(const NewEntryControls &controls, MainState &main, MainContext &ctx,
                   EntryList &entries, EditModes &editModes, KeyHandlers &keys, QObject *parent)
    : QObject(parent), controls_(controls), main_(main), ctx_(ctx), entries_(entries),
      editModes_(editModes)
{
    connect(controls_.action, &QAction::triggered, this, &NewEntry::newEntry);
    keys.bind(KeyMap::Command::NewEntry, [this](int, Qt::KeyboardModifiers) {
        // Greyed (locked, no group, the trash), the key does nothing.
        controls_.action->trigger();
        return true;
    });
}

void NewEntry::newEntry()
{
    const int g = entries_.selectedGroup();
    if (g < 0)
        return;
    if (NotebookEdit::groupIsFull(ctx_.table, g)) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              RefusalTexts::noRoomForLine());
        return;
    }

    TitleListView *list = controls_.entryList;
    const int s = qMax(list->currentRow() < 0 ? list->count() - 1 : list->currentRow(), 0);
    // The placeholder is stored at once: a title without a file until the
    // text is first confirmed.
    if (!entries_.insertNewEntry(s, EditRules::newEntryTitle()))
        return;
    main_.FileMissing = false;
    controls_.date->clear();

    // Filled by program, then emptied: the second change is the one that starts
    // text edit mode.
    QPlainTextEdit *box = editModes_.textBox();
    {
        const QSignalBlocker quiet(box);
        box->setPlainText(u"x"_s);
    }
    box->clear();

    controls_.text->setEnabled(true);
    box->setFocus();
}
