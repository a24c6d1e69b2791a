#pragma once

#include <QObject>

struct MainContext;
class KeyHandlers;
class MenuBarKeys;
class QMenu;

// The keys of the key map that are neither edits nor list commands: F1 names
// the folder that holds the manual (lists, text and mask), Esc in the lists
// opens the File menu from its end, on "Hide in Systray".
class WindowKeys : public QObject
{
    Q_OBJECT
public:
    WindowKeys(MainContext &ctx, MenuBarKeys &menuBar, QMenu *fileMenu, KeyHandlers &keys,
               QObject *parent);
};
