#include "ui/systemtray_w.h"

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

SystemTray::SystemTray(const TrayControls &controls, QObject *parent)
    : QObject(parent), controls_(controls), icon_(new QSystemTrayIcon(programIcon(), this))
{
    setObjectName(u"tray"_s);
    icon_->setToolTip(u" Plimsa "_s);
    connect(icon_, &QSystemTrayIcon::activated, this, &SystemTray::MainWindowProc);
    connect(controls_.menuItems[0], &QAction::triggered, this, &SystemTray::maximizeOrRestore);
    connect(controls_.menuItems[1], &QAction::triggered, controls_.window, &QWidget::showMinimized);
    connect(controls_.menuItems[2], &QAction::triggered, this, &SystemTray::hideMainWindow);
    connect(controls_.menuItems[3], &QAction::triggered, controls_.exitTimer,
            qOverload<>(&QTimer::start));
    connect(controls_.hideItem, &QAction::triggered, this, &SystemTray::hideMainWindow);
    connect(controls_.hideButton, &QPushButton::clicked, this, &SystemTray::hideFromButton);
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
    QMainWindow *window = controls_.window;
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
            controls_.menu->popup(QCursor::pos());
        }
    }
}

void SystemTray::maximizeOrRestore()
{
    QMainWindow *window = controls_.window;
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        window->showNormal();
    else
        window->showMaximized();
}

void SystemTray::hideFromButton()
{
    controls_.entryList->setFocus();
    hideMainWindow();
}

void SystemTray::hideMainWindow()
{
    // Hidden without a tray host, the window could not be found again.
    if (QSystemTrayIcon::isSystemTrayAvailable() && icon_->isVisible())
        controls_.window->hide();
    else
        controls_.window->showMinimized();
}
