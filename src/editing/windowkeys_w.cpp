#include "editing/windowkeys_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/menubarkeys_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"

using namespace Qt::StringLiterals;

WindowKeys::WindowKeys(MainContext &ctx, MenuBarKeys &menuBar, QMenu *fileMenu, KeyHandlers &keys,
                       QObject *parent)
    : QObject(parent)
{
    keys.bind(KeyMap::Command::ShowManualFolder, [this, &ctx](int, Qt::KeyboardModifiers) {
        ctx.messages.message(Messages::Icon::None, ctx.words(Word::Message),
                             ctx.words(Word::ManualInFolder) + u"\n\n"_s + ctx.state.storeFolder);
        return true;
    });
    // File opens one item above its last (Exit): on Hide in Systray.
    keys.bind(KeyMap::Command::OpenFileMenu, [&menuBar, fileMenu](int, Qt::KeyboardModifiers) {
        menuBar.openFromEnd(fileMenu, 1);
        return true;
    });
}
