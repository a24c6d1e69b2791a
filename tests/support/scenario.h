#pragma once

#include "support/actions.h"

#include <QList>
#include <QMap>
#include <QMetaType>
#include <QString>
#include <QStringList>

class AppFixture;

// A window case as one table row: the program folder prepared, the real
// program started, steps done, and the state it ends in compared with a
// string "name=value;name=value".
//
// The names of a state:
//   sel      the selection, "group/entry" as the lists show it
//   focus    the objectName of the focused control
//   mode     view, text or mask
//   lock     the edit lock box, 0 or 1
//   idx      idx.dat as a notebook line (support/notebookline.h)
//   text, mask, date   the entry text box, the mask box, the date label
//   msg      the messages shown, "[title] text", joined by " || "
//   icons    their icons (Messages::Icon as a number), joined by ","
//   beeps    how many
//   menu     the open pop-up menu and its active item ("menu/item"), then
//            caughtPopUp
//   mem, phrases   the four position memories and phrases of pref.dat, by ","
//   last     the place of the last move
// read only where a row names them:
//   groups, entries   the lines of the group and entry list, joined by "|"
//   exit     the status the program ended with, "" while it runs
//   store    the store folder in use
//   starts   how often it asked the desktop to start it again
//   opened   the files it asked the desktop to open, joined by "|"
//   pref<N>, lang<N>   line N (from 1) of pref.dat, of Language.dat
//   file     the selected entry's file, its lines joined by "/"
//            (" (no line end)" where the last has none)
//   maskfile the same of FileStore/Notes/_mask.dat
//   memo1    memory 1's Go To, Move To and Save To items, joined by "|"
//   caret    the text box's caret, "position+selected length"
//   buttons  the four buttons under the entry list, 1 enabled (indent
//            left and right, one place up and down)
//   marker   whether another copy could take the store now: free or held
//   lines:<path> the file at <path> under the program folder, as file
//   on:<name>    whether the action or widget <name> is enabled (a timer:
//                running), 0 or 1; checked:<name> whether it is checked
//   words:<name> its text (a menu: its title); tip:<name> a widget's tool
//                tip, name:<name> its accessible name, font:<name> its font
//                ("family size", then " bold" where bold)
//
// A value starting with "~" is a pattern of the whole value. In values,
// %ROOT% stands for the program folder (ending in "/"), %STORE% for the store
// folder and %DATE%, %TIME% and %DATELINE% for what F11, F12 and a new entry
// write (their digits free).
using State = QMap<QString, QString>;

// The names above that are not read only on demand; any one name.
State observe(AppFixture &nb);
QString observed(AppFixture &nb, const QString &name);

// Every "name=value" of `expected` holds, at once or within a few seconds;
// given the state `before` the steps, every other name of it is also as it was.
void expectState(AppFixture &nb, const QString &expected, const State &before = {});

// A pop-up menu or dialog a step caught and closed, shown as part of "menu".
extern QString caughtPopUp;

struct Scenario
{
    QString book;        // a notebook line; "" keeps the shipped store
    QStringList prefs;   // "N=value": line N of pref.dat set before the start (%ROOT% expanded)
    Action prepare = {}; // before the start, after book and prefs
    QList<Action> steps; // after the start
    QString expected;    // the state at the end; "exit=..." for a start that fails
};

Q_DECLARE_METATYPE(Scenario)

// The scenario on a fresh program folder. After a start that failed there is
// no window: such a row names only exit, msg, icons, beeps and pref<N>/lang<N>.
void run(const Scenario &scenario);
