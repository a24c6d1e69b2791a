#pragma once

#include <QObject>

struct MainContext;
struct MainState;
class EditModes;
class EntryList;
class KeyHandlers;
class QAction;
class QLabel;
class QPlainTextEdit;
class TitleListView;

// What a new entry uses of the window: its action (the New button and the
// menu item), the entry list, the date line and the text box.
struct NewEntryControls
{
    QAction *action = nullptr;
    TitleListView *entryList = nullptr;
    QLabel *date = nullptr;
    QPlainTextEdit *text = nullptr;
};

// The new entry: a "* NEW *" line above the selected one,
// stored at once, and text edit mode for its text. Its title is asked when the
// text is first confirmed.
class NewEntry : public QObject
{
    Q_OBJECT
public:
    NewEntry(const NewEntryControls &controls, MainState &main, MainContext &ctx,
             EntryList &entries, EditModes &editModes, KeyHandlers &keys,
             QObject *parent = nullptr);

    void newEntry();

private:
    const NewEntryControls controls_;
    MainState &main_;
    MainContext &ctx_;
    EntryList &entries_;
    EditModes &editModes_;
};
