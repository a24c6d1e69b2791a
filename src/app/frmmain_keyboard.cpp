#include "app/frmmain.h"

#include "editing/indivbuttoncommands_w.h"
#include "editing/inserts_w.h"
#include "editing/phrasememories_w.h"
#include "editing/windowkeys_w.h"
#include "navigation/positionmemories_w.h"
#include "platform/keyinjector_w.h"
#include "platform/menubarkeys_w.h"
#include "store/appstate.h"
#include "ui/titlelistview_w.h"

#include <QMenuBar>

namespace {

PositionMemoryMenus positionMemoryMenus(const MainWidgets &w)
{
    return {.goMove = w.mnuGo_Move,
            .moveTo = w.mnuMoveTo,
            .saveTo = w.mnuSetMem,
            .goToMemory = w.mnuGoToMemo,
            .saveMemory = w.mnuSetMemo,
            .moveToMemory = w.mnuMoveToMemo,
            .goToLastMove = w.mnuGoToLastMove,
            .clear = w.mnuClearMemos};
}

PhraseMenus phraseMenus(const MainWidgets &w)
{
    return {.call = w.mnuCallTxtMemoCall,
            .set = w.mnuSetTxtMemoSet,
            .insert = w.mnuCallDate,
            .howTo = w.mnuHowTo,
            .clear = w.mnuClearTxtMemos};
}

} // namespace

void FrmMain::installKeyboard()
{
    auto *menuBarKeys = new MenuBarKeys(menuBar());
    new WindowKeys(ctx_, *menuBarKeys, w_.mnuFile, *keys_, subsystems_);
    new PhraseMemories(phraseMenus(w_), ctx_, *editModes_, *keyInjector_, *keys_, subsystems_);
    new Inserts(w_.mnuInsertCall, w_.frmMain, ctx_, *entryList_, *editModes_, *keys_, subsystems_);
    new IndivButtonCommands({.buttons = w_.cmdIndiv,
                             .settingsItem = w_.mnuSettings[2],
                             .entryList = w_.lstEntry,
                             .window = w_.frmMain},
                            ctx_, *keyInjector_, subsystems_);
    new PositionMemories({.menus = positionMemoryMenus(w_),
                          .groupList = w_.lstGroup,
                          .entryList = w_.lstEntry,
                          .lock = w_.chckEdit},
                         main_, ctx_, groups_, *entryCommands_, *keys_, subsystems_);
}

void FrmMain::showMemoryCaptions()
{
    ShowPosMemories(positionMemoryMenus(w_), ctx_.words, ctx_.state.prefs.PositionMemory);
    ShowPhraseMemories(phraseMenus(w_), ctx_.words, ctx_.state.prefs.PhraseMemory);
}
