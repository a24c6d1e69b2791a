#pragma once

#include <QObject>

struct MainContext;
struct MainWidgets;
class KeyInjector;

// The four individual buttons (cmdIndiv): each types its key combination
// into the entry list, where the key map acts on it as on a typed key. The
// Options menu's "Individual Buttons" opens frmIndiv to assign them.
class IndivButtonCommands : public QObject
{
    Q_OBJECT
public:
    IndivButtonCommands(const MainWidgets &w, MainContext &ctx, KeyInjector &injector,
                        QObject *parent);

    void typeButtonKeys(int b);
    void showSettings();

private:
    const MainWidgets &w_;
    MainContext &ctx_;
    KeyInjector &injector_;
};
