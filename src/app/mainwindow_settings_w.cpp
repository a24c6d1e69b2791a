#include "app/mainwindow_w.h"

#include "settings/settingsmenu_w.h"
#include "store/appstate.h"
#include "ui/accessiblenames_w.h"
#include "ui/captions_w.h"
#include "ui/layout_w.h"

#include <QAction>

void MainWindow::installSettings()
{
    auto *settings = new SettingsMenu({.menu = w_.optionsMenu,
                                       .items = w_.settingsItems,
                                       .groups = w_.groupList,
                                       .window = w_.window},
                                      ctx_, *layout_, subsystems_);
    settings->mayEnd = [this] { return mayClose(); };
    settings->endThisCopy = [this] { exitProgram(); };
    settings->keepRunning = [this] {
        if (!ctx_.state.StoreInUse) {
            takeStoreMarker();
            if (ctx_.state.StoreInUse)
                lockWhileStoreInUse();
        }
        applyChangedSettings();
    };
}

// The global settings as far as a running window can show them; the hiding
// of ÿ-groups follows at the next refill of the group list.
void MainWindow::applyChangedSettings()
{
    SetCaptions(w_, ctx_.words);
    SetAccessibleNames(*this, ctx_.words);
    showMemoryCaptions();
    applyFonts();
    applyGroupListColour();
    layout_->relayout();
}
