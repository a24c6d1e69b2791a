#include "ui/refreshcommands_w.h"

#include "store/appstate.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QCheckBox>
#include <QMainWindow>

using namespace Qt::StringLiterals;

CommandRefresh::CommandRefresh(const MainWidgets &w, const MainState &main, AppState &state,
                               const NoteTable &table)
    : w_(w), main_(main), state_(state), table_(table), controls_(findCommandControls(w.frmMain))
{}

void CommandRefresh::RefreshCommands()
{
    CommandInput in;
    in.TextEditMode = main_.TextEditMode;
    in.Locked = w_.chckEdit->isChecked();
    in.FileMissing = main_.FileMissing;
    in.entryLine = w_.lstEntry->currentRow();
    in.entryLineCount = w_.lstEntry->count();
    in.entryText = w_.lstEntry->currentText();
    in.groupLine = w_.lstGroup->currentRow();
    in.groupLineCount = w_.lstGroup->count();
    in.groupTitle = w_.lstGroup->currentText();
    in.InTrash = in.groupTitle == u"Trash"_s;
    in.emptyTrashExists = emptyTrashExists(table_);
    in.HideYGroups = state_.hideYGroups();
    in.PhraseMemory = state_.prefs.PhraseMemory;
    in.PositionMemory = state_.prefs.PositionMemory;
    in.LastMovePosition = main_.LastMovePosition;

    const CommandState result = ::RefreshCommands(in, table_);
    applyCommandState(result, controls_);
    if (result.memoriesRepaired) {
        state_.prefs.PositionMemory = result.PositionMemory;
        if (memoriesRepaired)
            memoriesRepaired();
    }
}
