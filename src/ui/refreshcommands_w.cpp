#include "ui/refreshcommands_w.h"

#include "app/mainstate.h"
#include "app/mainwidgets_w.h"
#include "navigation/posmemories_w.h"
#include "store/appstate.h"
#include "ui/commandstate_w.h"

#include <QCheckBox>
#include <QListWidget>
#include <QMainWindow>

using namespace Qt::StringLiterals;

namespace {

QString currentText(const QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    return item ? item->text() : QString();
}

} // namespace

void refreshCommands(const MainWidgets &w, const MainState &main, AppState &state,
                     const NoteTable &table, const Words &words)
{
    CommandInput in;
    in.TextEditMode = main.TextEditMode;
    in.Locked = w.chckEdit->isChecked();
    in.FileMissing = main.FileMissing;
    in.entryLine = w.lstEntry->currentRow();
    in.entryLineCount = w.lstEntry->count();
    in.entryText = currentText(w.lstEntry);
    in.groupLine = w.lstGroup->currentRow();
    in.groupLineCount = w.lstGroup->count();
    in.groupTitle = currentText(w.lstGroup);
    in.InTrash = in.groupTitle == u"Trash"_s;
    in.emptyTrashExists = emptyTrashExists(table);
    in.HideYGroups = state.hideYGroups();
    in.PhraseMemory = state.prefs.PhraseMemory;
    in.PositionMemory = state.prefs.PositionMemory;
    in.LastMovePosition = state.LastMovePosition;

    const CommandState result = RefreshCommands(in, table);
    applyCommandState(result, w.frmMain);
    if (result.memoriesRepaired) {
        state.prefs.PositionMemory = result.PositionMemory;
        ShowPosMemories(w, words, state.prefs.PositionMemory);
    }
}
