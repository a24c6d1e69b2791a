#pragma once

#include <QObject>
#include <QSystemTrayIcon>

struct MainWidgets;

// The icon in the desktop's tray for as long as the main window exists, and
// the ways the window hides into it and comes back: the double click and the
// right click on the icon, the tray menu, the Hide command and button.
// Without a tray host there is nothing to come back from, so hiding
// minimizes the window instead.
class SystemTray : public QObject
{
    Q_OBJECT
public:
    SystemTray(const MainWidgets &w, QObject *parent);

    void TrayAdd();
    void TrayRemove();

    // The icon's mouse events, as the window procedure took them: a double
    // click shows the window; a right click restores a minimized window,
    // shows a hidden one, or else opens the tray menu at the pointer.
    void MainWindowProc(QSystemTrayIcon::ActivationReason reason);
    // The tray menu's first item: a minimized or maximized window back to
    // its normal size, a normal one maximized.
    void maximizeOrRestore();
    // The Hide button: the window hides and the entry list keeps the focus.
    void hideFromButton();
    void hideMainWindow();

private:
    const MainWidgets &w_;
    QSystemTrayIcon *icon_;
};
