#pragma once

struct MainContext;
struct MainState;
struct MainWidgets;
class EntryList;
class GroupList;
class KeyHandlers;
class QObject;

// Builds the entry and group commands, the ordering and drag and drop on the
// main window's controls and wires them to their menus, buttons and keys.
// Everything built is a child of `window`, found there by objectName.
void installOrganizing(const MainWidgets &w, MainState &main, MainContext &ctx, GroupList &groups,
                       EntryList &entries, KeyHandlers &keys, QObject *window);
