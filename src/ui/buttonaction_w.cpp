#include "ui/buttonaction_w.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>

namespace {

void followEnabled(QAbstractButton *button, QAction *action)
{
    button->setEnabled(action->isEnabled());
    QObject::connect(action, &QAction::changed, button,
                     [button, action] { button->setEnabled(action->isEnabled()); });
}

} // namespace

void showAction(QAbstractButton *button, QAction *action)
{
    QObject::connect(button, &QAbstractButton::clicked, action, &QAction::trigger);
    followEnabled(button, action);
}

void showCheckableAction(QCheckBox *box, QAction *action)
{
    box->setChecked(action->isChecked());
    QObject::connect(box, &QCheckBox::toggled, action, &QAction::setChecked);
    QObject::connect(action, &QAction::toggled, box, &QCheckBox::setChecked);
    followEnabled(box, action);
}
