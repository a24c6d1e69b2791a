#include "app/frmmain.h"

#include "notebook/editorexport_w.h"
#include "store/appstate.h"
#include "ui/frminfo.h"
#include "ui/systemtray_w.h"

#include <QAction>

void FrmMain::installShell()
{
    tray_ = new SystemTray({.window = w_.frmMain,
                            .menu = w_.mnuSystray,
                            .menuItems = w_.mnuSystrayCall,
                            .hideItem = w_.mnuHide,
                            .hideButton = w_.cmdMain,
                            .exitTimer = w_.timExit,
                            .entryList = w_.lstEntry},
                           subsystems_);
    new EditorExport(w_.mnuEditorCall, ctx_, *entryList_, subsystems_);
    connect(w_.mnuAbout, &QAction::triggered, this, &FrmMain::showAbout);
}

void FrmMain::showAbout()
{
    FrmInfo box(ctx_.words, ctx_.state.ProgramVersion, ctx_.desktop, projectLinks(), this);
    box.exec();
}

void FrmMain::TrayAdd()
{
    tray_->TrayAdd();
}

void FrmMain::TrayRemove()
{
    tray_->TrayRemove();
}

void FrmMain::hideMainWindow()
{
    tray_->hideMainWindow();
}
