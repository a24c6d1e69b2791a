#include "ui/commandstate_w.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QWidget>

CommandControls findCommandControls(const QObject *root, QStringList *missing)
{
    QHash<QString, QObject *> byName;
    const QList<QObject *> objects = root->findChildren<QObject *>();
    for (QObject *object : objects) {
        // A button's action carries the button's name and stands for it.
        const QString name = object->objectName();
        if (!name.isEmpty() && (qobject_cast<QAction *>(object) || !byName.contains(name)))
            byName.insert(name, object);
    }
    CommandControls controls{};
    for (int k = 0; k < kCmdCount; ++k) {
        QObject *object = byName.value(commandName(Cmd(k)));
        if (!qobject_cast<QAction *>(object) && !qobject_cast<QMenu *>(object) &&
            !qobject_cast<QWidget *>(object))
            object = nullptr;
        controls[std::size_t(k)] = object;
        if (!object && missing)
            missing->append(commandName(Cmd(k)));
    }
    return controls;
}

void applyCommandState(const CommandState &state, const CommandControls &controls)
{
    for (int k = 0; k < kCmdCount; ++k) {
        const std::optional<bool> on = state[Cmd(k)];
        QObject *object = controls[std::size_t(k)];
        if (!on || !object)
            continue;
        if (auto *menu = qobject_cast<QMenu *>(object))
            menu->menuAction()->setEnabled(*on);
        else if (auto *action = qobject_cast<QAction *>(object))
            action->setEnabled(*on);
        else if (auto *widget = qobject_cast<QWidget *>(object))
            widget->setEnabled(*on);
    }
}
