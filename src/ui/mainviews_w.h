#pragma once

#include <array>

class QMainWindow;
class QPlainTextEdit;
class TitleListView;

// The main window's views of the notebook: the two lists and the text box
// (one without and one with word wrap; MainState::TextBoxIndex is the shown
// one). What a subsystem needs that reads or selects in them, or puts the
// focus back.
struct MainViews
{
    QMainWindow *window = nullptr;
    TitleListView *groupList = nullptr;
    TitleListView *entryList = nullptr;
    std::array<QPlainTextEdit *, 2> text = {};
};
