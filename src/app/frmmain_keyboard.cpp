#include "app/frmmain.h"

#include "editing/indivbuttoncommands_w.h"
#include "editing/inserts_w.h"
#include "editing/phrasememories_w.h"
#include "editing/windowkeys_w.h"
#include "navigation/positionmemories_w.h"
#include "platform/keyinjector_w.h"
#include "platform/menubarkeys_w.h"
#include "ui/titlelistview_w.h"

#include <QMenuBar>

void FrmMain::installKeyboard()
{
    auto *menuBarKeys = new MenuBarKeys(menuBar());
    new WindowKeys(ctx_, *menuBarKeys, w_.mnuFile, *keys_, subsystems_);
    new PhraseMemories(w_, ctx_, *editModes_, *keyInjector_, *keys_, subsystems_);
    new Inserts(w_.mnuInsertCall, w_.frmMain, ctx_, *entryList_, *editModes_, *keys_, subsystems_);
    new IndivButtonCommands({.buttons = w_.cmdIndiv,
                             .settingsItem = w_.mnuSettings[2],
                             .entryList = w_.lstEntry,
                             .window = w_.frmMain},
                            ctx_, *keyInjector_, subsystems_);
    new PositionMemories(w_, main_, ctx_, groups_, *entryCommands_, *keys_, subsystems_);
}
