#pragma once

#include "ui/commandstate.h"

#include <QStringList>
#include <array>

class QObject;

// The control of every governed item, found once by objectName below `root`;
// `missing` receives the names no control carries.
using CommandControls = std::array<QObject *, kCmdCount>;
CommandControls findCommandControls(const QObject *root, QStringList *missing = nullptr);

// Puts the enabled states on the controls. Items the refresh left unset are
// not touched. A QMenu is enabled through its menu action, so its title in
// the menu bar greys as well.
void applyCommandState(const CommandState &state, const CommandControls &controls);
