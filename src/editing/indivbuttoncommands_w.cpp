#include "editing/indivbuttoncommands_w.h"

#include "editing/frmindiv.h"
#include "editing/indivbuttons.h"
#include "platform/keyinjector_w.h"
#include "store/appstate.h"
#include "ui/buttonaction_w.h"
#include "ui/maincontext.h"
#include "ui/mainwidgets_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QMainWindow>
#include <QPushButton>

IndivButtonCommands::IndivButtonCommands(const MainWidgets &w, MainContext &ctx,
                                         KeyInjector &injector, QObject *parent)
    : QObject(parent), w_(w), ctx_(ctx), injector_(injector)
{
    setObjectName(QStringLiteral("indivButtons"));
    for (int b = 0; b < int(w_.cmdIndiv.size()); ++b)
        connect(buttonAction(w_.cmdIndiv[b]), &QAction::triggered, this,
                [this, b] { typeButtonKeys(b); });
    connect(w_.mnuSettings[2], &QAction::triggered, this, &IndivButtonCommands::showSettings);
}

void IndivButtonCommands::typeButtonKeys(int b)
{
    if (b < 0 || b > 3)
        return;
    const QString keys = IndivButtons::keysOf(ctx_.state.prefs.IndivButton[b]);
    // The keys arrive once this handler has returned, in the entry list.
    if (!keys.isEmpty())
        injector_.send(keys);
    w_.lstEntry->setFocus();
}

void IndivButtonCommands::showSettings()
{
    FrmIndiv::run(ctx_, w_.frmMain);
}
