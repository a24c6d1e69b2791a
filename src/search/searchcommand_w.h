#pragma once

struct MainContext;
struct MainState;
struct MainWidgets;
class EntryList;
class GroupList;
class QObject;

// The search command of the Entry menu (mnuSearch): opens frmSearch, or brings
// an open one forward. What the dialog keeps between openings lives here, for
// the whole run.
void installSearch(const MainWidgets &w, MainState &main, MainContext &ctx, const GroupList &groups,
                   EntryList &entries, QObject *window);
