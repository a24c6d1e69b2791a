#pragma once

#include "ui/mainwidgets_w.h"

#include <QString>
#include <Qt>
#include <functional>

class AppFixture;
class QAction;
class QWidget;

// What a test does in the real window, as a value a data table can hold.
using Action = std::function<void(AppFixture &)>;

// Triggers a menu item of the main window.
Action menu(QAction *MainWidgets::*item);
// A key in the entry list.
Action key(int key, Qt::KeyboardModifiers modifiers = {});
// `action` with the input dialog it opens answered by `answer`.
Action answered(const QString &answer, const Action &action);
// The move command, its choice dialog answered with `group`.
Action moveTo(const QString &group);
// A drop of the selected entry on a line of the entry list or the group list
// ("" below the lines).
Action drop(bool onGroups, const QString &line);
// A drop of the selected entry on the trash button.
Action dropOnTrashButton();
// The folder dialog `shown` answered with `folder`, by its absolute path typed
// into the name field: the dialog's own view of the folders fills in a thread
// and cannot be waited on, so a selection made through it may come too late.
void chooseFolder(QWidget *shown, const QString &folder);
