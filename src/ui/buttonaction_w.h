#pragma once

class QAbstractButton;
class QAction;
class QCheckBox;

// A button is a view of its command's action: a click triggers the action,
// and the action's enabled state is the button's. Where a command also has a
// menu item, that item is the action, so the menu, the button and the keys
// bound to the command are one: a key does nothing where the button is greyed.
// (A QToolButton's default action would also take over the button's caption
// and look; these buttons keep their own.)
void showAction(QAbstractButton *button, QAction *action);

// A check box that shows a checkable action: ticking either ticks both.
void showCheckableAction(QCheckBox *box, QAction *action);
