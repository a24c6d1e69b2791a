#include "ui/systemtray_w.h"

#include "ui/mainwidgets_w.h"
#include "ui/programicon_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QCursor>
#include <QGuiApplication>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

SystemTray::SystemTray(const MainWidgets &w, QObject *parent)
    : QObject(parent), w_(w), icon_(new QSystemTrayIcon(programIcon(), this))
{
    setObjectName(u"tray"_s);
    icon_->setToolTip(u" Plimsa "_s);
    connect(icon_, &QSystemTrayIcon::activated, this, &SystemTray::MainWindowProc);
    connect(w_.mnuSystrayCall[0], &QAction::triggered, this, &SystemTray::maximizeOrRestore);
    connect(w_.mnuSystrayCall[1], &QAction::triggered, w_.frmMain, &QWidget::showMinimized);
    connect(w_.mnuSystrayCall[2], &QAction::triggered, this, &SystemTray::hideMainWindow);
    connect(w_.mnuSystrayCall[3], &QAction::triggered, w_.timExit, qOverload<>(&QTimer::start));
    connect(w_.mnuHide, &QAction::triggered, this, &SystemTray::hideMainWindow);
    connect(w_.cmdMain, &QPushButton::clicked, this, &SystemTray::hideFromButton);
}

void SystemTray::TrayAdd()
{
    // On X11 the icon is shown also while no tray host runs: it appears once
    // one starts. Elsewhere a platform without a tray has none to wait for.
    if (QSystemTrayIcon::isSystemTrayAvailable() || QGuiApplication::platformName() == u"xcb"_s)
        icon_->show();
}

void SystemTray::TrayRemove()
{
    icon_->hide();
}

void SystemTray::MainWindowProc(QSystemTrayIcon::ActivationReason reason)
{
    QMainWindow *window = w_.frmMain;
    if (reason == QSystemTrayIcon::DoubleClick) {
        // Visible again, minimized or maximized as it was.
        window->show();
    } else if (reason == QSystemTrayIcon::Context) {
        if (window->isMinimized()) {
            window->showNormal();
        } else if (!window->isVisible()) {
            window->show();
        } else {
            // In front first, so the menu closes when the user clicks elsewhere.
            window->raise();
            window->activateWindow();
            w_.mnuSystray->popup(QCursor::pos());
        }
    }
}

void SystemTray::maximizeOrRestore()
{
    QMainWindow *window = w_.frmMain;
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        window->showNormal();
    else
        window->showMaximized();
}

void SystemTray::hideFromButton()
{
    w_.lstEntry->setFocus();
    hideMainWindow();
}

void SystemTray::hideMainWindow()
{
    // Hidden without a tray host, the window could not be found again.
    if (QSystemTrayIcon::isSystemTrayAvailable() && icon_->isVisible())
        w_.frmMain->hide();
    else
        w_.frmMain->showMinimized();
}
