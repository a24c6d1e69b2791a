// Edit permission and the store marker: the start without the store, and the
// store lost while running (a network drop that let another computer take it).

#include "app/mainwindow_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/store.h"
#include "store/storemarker.h"

#include <QAction>
#include <QCheckBox>

using namespace Qt::StringLiterals;

void MainWindow::installStoreLock()
{
    ctx_.store.setStoreLost([this](const IoError &why) { storeLost(why); });
}

void MainWindow::takeStoreMarker()
{
    if (ctx_.store.TakeStoreMarker())
        return;
    const IoError &refusal = ctx_.store.markerRefusal();
    // Not another copy: the user is sent to the file instead.
    if (StoreMarker::notAFile(refusal)) {
        ctx_.messages.message(
            Messages::Icon::Information, ctx_.words(Word::Caution),
            u"%1: %2\n\nPlimsa keeps other copies from writing the store through this file, so "
            "it must be a plain file. Remove or rename what is there, then start Plimsa "
            "again.\n\n%3"_s.arg(refusal.description, refusal.file,
                                 ctx_.words(Word::StartingWithoutEditPermission)));
        return;
    }
    if (!StoreMarker::keepsNoLocks(refusal)) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              ctx_.words(Word::StoreInUse) + u"\n\n"_s +
                                  ctx_.words(Word::StartingWithoutEditPermission));
        return;
    }
    // Running unlocked there would let two computers write one notebook.
    ctx_.messages.message(
        Messages::Icon::Information, ctx_.words(Word::Caution),
        u"The store's file system cannot lock files (%1), so this copy could not keep other "
        "copies from writing the store at the same time.\n\n%2\n\n%3"_s.arg(
            refusal.description, ctx_.words(Word::StartingWithoutEditPermission), refusal.file));
}

void MainWindow::lockWhileStoreInUse()
{
    w_.lockAction->setChecked(true);
    w_.lockAction->setEnabled(false);
}

void MainWindow::storeLost(const IoError &why)
{
    ctx_.state.StoreInUse = true;
    lockWhileStoreInUse();
    ctx_.messages.message(
        Messages::Icon::Critical, ctx_.words(Word::Caution),
        ctx_.words(Word::StoreInUse) +
            u"\n\nThis copy no longer holds the store (%1). Another copy, perhaps on another "
            "computer, may be writing it, so nothing was written.\n\nEditing stays locked from "
            "now on. Text not yet saved stays in its box: copy it elsewhere, then start Plimsa "
            "again.\n\n%2"_s.arg(why.description, why.file));
}
