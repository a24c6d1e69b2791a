#pragma once

#include <QObject>
#include <functional>

struct MainContext;
struct MainWidgets;
class WindowLayout;

// The Options menu (mnuSettings): the global settings and the restart that
// applies them, the start settings, the Z to A sort mode, the window
// rectangle and splitters kept for the next start, and the language editor.
// Item 2, the individual buttons, belongs to their own commands.
class SettingsMenu : public QObject
{
    Q_OBJECT
public:
    SettingsMenu(const MainWidgets &w, MainContext &ctx, const WindowLayout &layout,
                 QObject *parent);

    // Ends this copy once the new one has been started (the exit command).
    std::function<void()> endThisCopy;
    // The new copy could not be started: this one goes on with the store
    // taken again and the new settings shown as far as a running window can.
    std::function<void()> keepRunning;

private:
    void globalSettings();
    void startSettings();
    void editLanguage();
    void restart();
    void toggleSortMode();
    void saveWindowPlace();

    const MainWidgets &w_;
    MainContext &ctx_;
    const WindowLayout &layout_;
};
