#include "editing/indivbuttoncommands_w.h"

#include "editing/indivbuttons.h"
#include "editing/individualbuttonsdialog_w.h"
#include "platform/keyinjector_w.h"
#include "store/appstate.h"
#include "ui/maincontext.h"
#include "ui/titlelistmodel.h"

#include <QAction>
#include <QMainWindow>

IndivButtonCommands::IndivButtonCommands(const Controls &controls, MainContext &ctx,
                                         KeyInjector &injector, QObject *parent)
    : QObject(parent), controls_(controls), ctx_(ctx), injector_(injector)
{
    setObjectName(QStringLiteral("indivButtons"));
    for (int b = 0; b < int(controls_.buttons.size()); ++b)
        connect(controls_.buttons[b], &QAction::triggered, this, [this, b] { typeButtonKeys(b); });
    connect(controls_.settingsItem, &QAction::triggered, this, &IndivButtonCommands::showSettings);
}

void IndivButtonCommands::typeButtonKeys(int b)
{
    if (b < 0 || b > 3)
        return;
    const QString keys = IndivButtons::keysOf(ctx_.state.prefs.IndivButton[b]);
    // The keys arrive once this handler has returned, in the entry list.
    if (!keys.isEmpty())
        injector_.send(keys);
    controls_.entryList->setFocus();
}

void IndivButtonCommands::showSettings()
{
    IndividualButtonsDialog::run(ctx_, controls_.window);
}
