#include "app/mainwindow_w.h"

#include "notebook/editorexport_w.h"
#include "store/appstate.h"
#include "ui/aboutbox_w.h"
#include "ui/systemtray_w.h"

#include <QAction>

void MainWindow::installShell()
{
    tray_ = new SystemTray({.window = w_.window,
                            .menu = w_.trayMenu,
                            .menuItems = w_.trayItems,
                            .hideItem = w_.hideItem,
                            .hideButton = w_.hideButton,
                            .exitTimer = w_.exitTimer,
                            .entryList = w_.entryList},
                           subsystems_);
    new EditorExport(w_.editorItems, ctx_, *entryList_, subsystems_);
    connect(w_.aboutItem, &QAction::triggered, this, &MainWindow::showAbout);
}

void MainWindow::showAbout()
{
    AboutBox box(ctx_.words, ctx_.state.ProgramVersion, ctx_.desktop, projectLinks(), this);
    box.exec();
}

void MainWindow::TrayAdd()
{
    tray_->TrayAdd();
}

void MainWindow::TrayRemove()
{
    tray_->TrayRemove();
}

void MainWindow::hideMainWindow()
{
    tray_->hideMainWindow();
}
