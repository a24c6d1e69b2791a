#include "ui/buttonaction_w.h"

#include <QAbstractButton>
#include <QAction>

QAction *bindButtonAction(QAbstractButton *button)
{
    auto *action = new QAction(button);
    action->setObjectName(button->objectName());
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button,
                     [button, action] { button->setEnabled(action->isEnabled()); });
    return action;
}

QAction *buttonAction(const QAbstractButton *button)
{
    return button->findChild<QAction *>(button->objectName(), Qt::FindDirectChildrenOnly);
}
