#pragma once

#include "ui/commandstate.h"

#include <QStringList>

class QObject;

// Puts the enabled states on the controls below `root`, found by objectName.
// Items the refresh left unset are not touched. A QMenu is enabled through its
// menu action, so its title in the menu bar greys as well. Returns the names
// that no control below `root` carries.
QStringList applyCommandState(const CommandState &state, const QObject *root);
