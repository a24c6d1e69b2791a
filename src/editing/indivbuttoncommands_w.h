#pragma once

#include <QObject>
#include <array>

struct MainContext;
class KeyInjector;
class QAction;
class QWidget;

// The four individual buttons (individualButtons): each types its key combination
// into the entry list, where the key map acts on it as on a typed key. The
// Options menu's "Individual Buttons" opens frmIndiv to assign them.
class IndivButtonCommands : public QObject
{
    Q_OBJECT
public:
    struct Controls
    {
        std::array<QAction *, 4> buttons; // their actions
        QAction *settingsItem;
        QWidget *entryList; // where the keys are typed
        QWidget *window;    // the settings dialog's owner
    };
    IndivButtonCommands(const Controls &controls, MainContext &ctx, KeyInjector &injector,
                        QObject *parent);

    void typeButtonKeys(int b);
    void showSettings();

private:
    Controls controls_;
    MainContext &ctx_;
    KeyInjector &injector_;
};
