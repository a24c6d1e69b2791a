#pragma once

#include "support/callfaults.h"

#include "ui/mainwidgets_w.h"

#include <QString>
#include <Qt>
#include <functional>

class AppFixture;
class QAction;
class QWidget;

// What a test does in the real window, as a value a data table can hold.
using Action = std::function<void(AppFixture &)>;

// Triggers the action of that objectName (a menu item).
Action triggered(const QString &name);
// `act` while the call `fault` plans fails.
Action failing(const CallFault &fault, const Action &act);
// A key in the entry list.
Action key(int key, Qt::KeyboardModifiers modifiers = {});
// A key in the control that has the focus.
Action press(int key, Qt::KeyboardModifiers modifiers = {});
// `text` typed into the box of that objectName, key by key ("\n": Enter).
Action typed(const QString &box, const QString &text);
// View Mask ticked unless it is: the mask box shown.
void showMask(AppFixture &nb);
// The first four characters of the entry text selected, its box focused.
void selectFirstFour(AppFixture &nb);
// `first`, then `second`.
Action then(const Action &first, const Action &second);
// The group, then the entry, of "group/entry" clicked.
Action selected(const QString &where);
// The next input dialog answered by Enter, with `text` in place of the
// proposal unless it is null.
Action answering(const QString &text);
// `action` with the input dialog it opens answered by `answer`.
Action answered(const QString &answer, const Action &action);
// The next question of a message box answered with its choice `choice`.
Action answeringQuestion(int choice);
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
