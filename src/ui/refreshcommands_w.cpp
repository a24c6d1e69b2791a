#include "ui/refreshcommands_w.h"

#include "store/appstate.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QCheckBox>
#include <QMainWindow>

using namespace Qt::StringLiterals;

CommandRefresh::CommandRefresh(const Controls &controls, const MainState &main, AppState &state,
                               const NoteTable &table)
    : controls_(controls), main_(main), state_(state), table_(table),
      items_(findCommandControls(controls.window))
{}

void CommandRefresh::RefreshCommands()
{
    CommandInput in;
    in.TextEditMode = main_.edit.textEdit();
    in.Locked = controls_.lock->isChecked();
    in.FileMissing = main_.FileMissing;
    in.entryLine = controls_.entryList->currentRow();
    in.entryCount = controls_.entryList->titles().itemCount();
    in.entryText = controls_.entryList->currentItem().isValid() ? controls_.entryList->currentText()
                                                                : QString();
    in.groupLine = controls_.groupList->currentRow();
    in.groupLineCount = controls_.groupList->count();
    in.groupTitle = controls_.groupList->currentText();
    in.InTrash = in.groupTitle == u"Trash"_s;
    in.emptyTrashExists = emptyTrashExists(table_);
    in.HideYGroups = state_.hideYGroups();
    in.PhraseMemory = state_.prefs.PhraseMemory;
    in.PositionMemory = state_.prefs.PositionMemory;
    in.LastMovePosition = main_.LastMovePosition;

    const CommandState result = ::RefreshCommands(in, table_);
    applyCommandState(result, items_);
    if (result.memoriesRepaired) {
        state_.prefs.PositionMemory = result.PositionMemory;
        if (memoriesRepaired)
            memoriesRepaired();
    }
}
