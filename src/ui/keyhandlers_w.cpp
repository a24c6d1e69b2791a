#include "ui/keyhandlers_w.h"

#include <QAction>
#include <QKeyEvent>
#include <QPlainTextEdit>

KeyHandlers::KeyHandlers(const Controls &controls, QObject *parent)
    : QObject(parent), controls_(controls)
{
    setObjectName(QStringLiteral("keyHandlers"));
    for (QObject *control :
         {controls_.entryList, controls_.groupList, controls_.text, controls_.mask})
        control->installEventFilter(this);
}

void KeyHandlers::bind(KeyMap::Command command, Action action)
{
    actions_[std::size_t(command)] = std::move(action);
}

void KeyHandlers::bind(KeyMap::Command command, QAction *action)
{
    bind(command, [action](int, Qt::KeyboardModifiers) {
        action->trigger();
        return true;
    });
}

bool KeyHandlers::keyDown(KeyMap::Place place, int key, Qt::KeyboardModifiers modifiers)
{
    const KeyMap::Row *row = KeyMap::find(place, key, modifiers);
    if (!row)
        return false;
    const Action &action = actions_[std::size_t(row->command)];
    return action && action(key, modifiers);
}

bool KeyHandlers::entryListKeyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    return keyDown(KeyMap::Place::EntryList, key, modifiers);
}

bool KeyHandlers::groupListKeyPressed(int key, Qt::KeyboardModifiers modifiers)
{
    if (KeyMap::find(KeyMap::Place::GroupList, key, modifiers))
        return keyDown(KeyMap::Place::GroupList, key, modifiers);
    return entryListKeyPressed(key, modifiers);
}

bool KeyHandlers::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto &key = *static_cast<QKeyEvent *>(event);
    if (watched == controls_.entryList)
        return entryListKeyPressed(key.key(), key.modifiers());
    if (watched == controls_.groupList)
        return groupListKeyPressed(key.key(), key.modifiers());
    const bool mask = watched == controls_.mask;
    if (!mask && watched != controls_.text)
        return false;
    return keyDown(mask ? KeyMap::Place::Mask : KeyMap::Place::Text, key.key(), key.modifiers()) ||
           (keyPress_ && keyPress_(key));
}
