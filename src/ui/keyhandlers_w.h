#pragma once

#include "ui/keymap.h"

#include <QObject>
#include <array>
#include <functional>

class QAction;
class QKeyEvent;

// The key handlers of the main window, one per control (entryListKeyPressed,
// the group list's, entryTextKeyPressed, maskKeyPressed), all driven by the one
// key map. Each subsystem binds the commands it owns; a key whose row has no
// command bound, or whose command declines it, goes on to the control.
class KeyHandlers : public QObject
{
    Q_OBJECT
public:
    // True when the key was consumed.
    using Action = std::function<bool(int key, Qt::KeyboardModifiers modifiers)>;
    using KeyPress = std::function<bool(const QKeyEvent &key)>;

    // The controls whose keys the map handles: the two lists, the entry
    // text box and the mask box.
    struct Controls
    {
        QObject *entryList;
        QObject *groupList;
        QObject *text;
        QObject *mask;
    };
    KeyHandlers(const Controls &controls, QObject *parent);

    void bind(KeyMap::Command command, Action action);
    // The key triggers `action`: nothing happens while the action is disabled.
    void bind(KeyMap::Command command, QAction *action);
    // What the text and mask boxes do with a key the map leaves to them: the
    // key press check (the lock, SwallowKeyPress, the code page).
    void setKeyPress(KeyPress keyPress) { keyPress_ = std::move(keyPress); }

    bool entryListKeyPressed(int key, Qt::KeyboardModifiers modifiers);
    // Up and Down here; every other key goes on to entryListKeyPressed.
    bool groupListKeyPressed(int key, Qt::KeyboardModifiers modifiers);
    bool keyDown(KeyMap::Place place, int key, Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Controls controls_;
    std::array<Action, KeyMap::kCommandCount> actions_;
    KeyPress keyPress_;
};
