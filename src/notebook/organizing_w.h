#pragma once

struct MainContext;
struct MainState;
struct NotebookControls;
class EntryCommands;
class NotebookView;
class EntryList;
class GroupList;
class KeyHandlers;
class QObject;

// Builds the entry and group commands, the ordering and drag and drop on the
// given controls and wires them to their menus, buttons and keys.
// Everything built is a child of `window`. The view the commands share and the
// entry commands are returned for the subsystems that work on the lists too
// (import and export, the position memories).
struct Organizing
{
    NotebookView &view;
    EntryCommands &entryCommands;
};
Organizing installOrganizing(const NotebookControls &controls, MainState &main, MainContext &ctx,
                             GroupList &groups, EntryList &entries, KeyHandlers &keys,
                             QObject *window);
