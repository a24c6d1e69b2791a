#include "editing/listkeyrouter_w.h"

#include "editing/listkeys.h"

#include <QKeyEvent>
#include <QListWidget>

ListKeyRouter::ListKeyRouter(QListWidget *list, const ListKeys &keys, QObject *parent)
    : QObject(parent), list_(list), keys_(keys)
{
    list_->installEventFilter(this);
}

bool ListKeyRouter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != list_ || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    return keys_.lstEntry_KeyDown(key->key(), key->modifiers());
}
