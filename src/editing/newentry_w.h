#pragma once

#include <QObject>

struct MainContext;
struct MainState;
struct MainWidgets;
class EditModes;
class EntryList;
class KeyHandlers;

// The new entry: a "* NEW *" line above the selected one,
// stored at once, and text edit mode for its text. Its title is asked when the
// text is first confirmed.
class NewEntry : public QObject
{
    Q_OBJECT
public:
    NewEntry(const MainWidgets &w, MainState &main, MainContext &ctx, EntryList &entries,
             EditModes &editModes, KeyHandlers &keys, QObject *parent = nullptr);

    void newEntry();

private:
    const MainWidgets &w_;
    MainState &main_;
    MainContext &ctx_;
    EntryList &entries_;
    EditModes &editModes_;
};
