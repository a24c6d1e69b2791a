#pragma once

struct MainContext;
struct MainState;
struct SearchControls;
class EntryList;
class GroupList;
class QObject;

// The search command of the Entry menu: opens frmSearch, or brings an open one
// forward. What the dialog keeps between openings lives here, for
// the whole run.
void installSearch(const SearchControls &controls, MainState &main, MainContext &ctx,
                   const GroupList &groups, EntryList &entries, QObject *window);
