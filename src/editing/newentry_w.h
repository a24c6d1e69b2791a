#pragma once

#include <QObject>

struct MainContext;
struct MainState;
struct MainWidgets;
class EditModes;
class EntryList;
class KeyHandlers;

// cmdEntry_Click(0), the new entry: a "* NEW *" line above the selected one,
// stored at once, and text edit mode for its text. Its title is asked when the
// text is first confirmed.
class NewEntry : public QObject
{
    Q_OBJECT
public:
    NewEntry(const MainWidgets &w, MainState &main, MainContext &ctx, EntryList &entries,
             EditModes &editModes, KeyHandlers &keys, QObject *parent = nullptr);

    void cmdEntry_Click(int index);

private:
    void newEntry();

    const MainWidgets &w_;
    MainState &main_;
    MainContext &ctx_;
    EntryList &entries_;
    EditModes &editModes_;
};
