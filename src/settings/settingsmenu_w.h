#pragma once

#include <QObject>
#include <functional>

#include <array>

struct MainContext;
class QAction;
class QMainWindow;
class QMenu;
class TitleListView;
class WindowLayout;

// The Options menu (settingsItems): the global settings and the restart that
// applies them, the start settings, the Z to A sort mode, the window
// rectangle and splitters kept for the next start, and the language editor.
// Item 2, the individual buttons, belongs to their own commands.
class SettingsMenu : public QObject
{
    Q_OBJECT
public:
    struct Controls
    {
        QMenu *menu;
        std::array<QAction *, 6> items;
        const TitleListView *groups; // the start group is chosen among its lines
        QMainWindow *window;         // saved in place; owns the dialogs
    };
    SettingsMenu(const Controls &controls, MainContext &ctx, const WindowLayout &layout,
                 QObject *parent);

    // Whether this copy may end for the restart (an open edit saved or
    // dropped); asked before the new copy starts.
    std::function<bool()> mayEnd;
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

    Controls controls_;
    MainContext &ctx_;
    const WindowLayout &layout_;
};
