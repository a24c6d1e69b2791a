#include "ui/commandstate_w.h"

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QWidget>

QStringList applyCommandState(const CommandState &state, const QObject *root)
{
    // One walk over the tree instead of one findChild per item.
    QHash<QString, QObject *> byName;
    const QList<QObject *> objects = root->findChildren<QObject *>();
    for (QObject *object : objects) {
        if (!object->objectName().isEmpty())
            byName.insert(object->objectName(), object);
    }

    QStringList missing;
    for (int k = 0; k < kCmdCount; ++k) {
        const Cmd cmd = Cmd(k);
        const std::optional<bool> on = state[cmd];
        if (!on)
            continue;
        QObject *object = byName.value(commandName(cmd));
        if (auto *menu = qobject_cast<QMenu *>(object))
            menu->menuAction()->setEnabled(*on);
        else if (auto *action = qobject_cast<QAction *>(object))
            action->setEnabled(*on);
        else if (auto *widget = qobject_cast<QWidget *>(object))
            widget->setEnabled(*on);
        else
            missing.append(commandName(cmd));
    }
    return missing;
}
