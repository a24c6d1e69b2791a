#pragma once

#include <QObject>
#include <QSystemTrayIcon>

#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QPushButton;
class QTimer;
class TitleListView;

// What the tray uses of the window: the tray menu (maximize or restore,
// minimize, hide, exit), the Hide item and button, the exit timer, and the
// entry list, which keeps the focus.
struct TrayControls
{
    QMainWindow *window = nullptr;
    QMenu *menu = nullptr;
    std::array<QAction *, 4> menuItems = {};
    QAction *hideItem = nullptr;
    QPushButton *hideButton = nullptr;
    QTimer *exitTimer = nullptr;
    TitleListView *entryList = nullptr;
};

// The icon in the desktop's tray for as long as the main window exists, and
// the ways the window hides into it and comes back: the double click and the
// right click on the icon, the tray menu, the Hide command and button.
// Without a tray host there is nothing to come back from, so hiding
// minimizes the window instead.
class SystemTray : public QObject
{
    Q_OBJECT
public:
    SystemTray(const TrayControls &controls, QObject *parent);

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
    const TrayControls controls_;
    QSystemTrayIcon *icon_;
};
