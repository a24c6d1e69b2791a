#include "editing/windowkeys_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/keyinjector_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"

using namespace Qt::StringLiterals;

WindowKeys::WindowKeys(MainContext &ctx, KeyInjector &injector, KeyHandlers &keys, QObject *parent)
    : QObject(parent)
{
    keys.bind(KeyMap::Command::ShowManualFolder, [this, &ctx](int, Qt::KeyboardModifiers) {
        ctx.messages.message(Messages::Icon::None, ctx.words(Word::Message),
                             ctx.words(Word::ManualInFolder) + u"\n\n"_s + ctx.state.storeFolder);
        return true;
    });
    // F10 makes the menu bar active on File, Up opens File at its last item
    // (Exit) and the second Up steps to Hide in Systray.
    keys.bind(KeyMap::Command::OpenFileMenu, [&injector](int, Qt::KeyboardModifiers) {
        injector.send(u"{F10}{UP}{UP}"_s);
        return true;
    });
}
