#include "app/mainwindow_w.h"

#include "editing/indivbuttoncommands_w.h"
#include "editing/inserts_w.h"
#include "editing/phrasememories_w.h"
#include "editing/windowkeys_w.h"
#include "navigation/positionmemories_w.h"
#include "platform/keyinjector_w.h"
#include "platform/menubarkeys_w.h"
#include "store/appstate.h"
#include "ui/refreshcommands_w.h"
#include "ui/titlelistview_w.h"

#include <QMenuBar>

namespace {

PositionMemoryMenus positionMemoryMenus(const MainWidgets &w)
{
    return {.goMove = w.goMoveMenu,
            .moveTo = w.moveToMenu,
            .saveTo = w.setMemoryMenu,
            .goToMemory = w.goToMemoryItems,
            .saveMemory = w.setMemoryItems,
            .moveToMemory = w.moveToMemoryItems,
            .goToLastMove = w.goToLastMoveItem,
            .clear = w.clearMemoriesItem};
}

PhraseMenus phraseMenus(const MainWidgets &w)
{
    return {.call = w.callPhraseItems,
            .set = w.setPhraseItems,
            .insert = w.signDateTimeItems,
            .howTo = w.howToItem,
            .clear = w.clearPhrasesItem};
}

} // namespace

void MainWindow::installKeyboard()
{
    auto *menuBarKeys = new MenuBarKeys(menuBar());
    new WindowKeys(ctx_, *menuBarKeys, w_.fileMenu, *keys_, subsystems_);
    auto *phrases =
        new PhraseMemories(phraseMenus(w_), ctx_, *editModes_, *keyInjector_, *keys_, subsystems_);
    connect(phrases, &PhraseMemories::changed, commands_, &CommandRefresh::refresh);
    new Inserts(w_.insertItems, w_.window, ctx_, *entryList_, *editModes_, *keys_, subsystems_);
    new IndivButtonCommands({.buttons = w_.individualActions,
                             .settingsItem = w_.settingsItems[2],
                             .entryList = w_.entryList,
                             .window = w_.window},
                            ctx_, *keyInjector_, subsystems_);
    auto *positions =
        new PositionMemories({.menus = positionMemoryMenus(w_),
                              .groupList = w_.groupList,
                              .entryList = w_.entryList,
                              .lock = w_.lockAction},
                             main_, ctx_, groups_, *entryCommands_, *keys_, subsystems_);
    connect(positions, &PositionMemories::changed, commands_, &CommandRefresh::refresh);
}

void MainWindow::showMemoryCaptions()
{
    ShowPosMemories(positionMemoryMenus(w_), ctx_.words, ctx_.state.prefs.PositionMemory);
    ShowPhraseMemories(phraseMenus(w_), ctx_.words, ctx_.state.prefs.PhraseMemory);
}
