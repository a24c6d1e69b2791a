#pragma once

class QAbstractButton;
class QAction;

// A button beside the lists is a view of its command's action: a click
// triggers the action, and the action's enabled state, set by the command
// refresh, is the button's. Keys bound to the same command trigger the same
// action, so a key does nothing where its button is greyed.
//
// The action carries the button's objectName, so the refresh, which looks
// its items up by name, sets the action.
QAction *bindButtonAction(QAbstractButton *button);
// The action bound to `button`.
QAction *buttonAction(const QAbstractButton *button);
