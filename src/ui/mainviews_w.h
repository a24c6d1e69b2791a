#pragma once

class QMainWindow;
class QPlainTextEdit;
class TitleListView;

// The main window's views of the notebook: the two lists and the entry's text
// box. What a subsystem needs that reads or selects in them, or puts the
// focus back.
struct MainViews
{
    QMainWindow *window = nullptr;
    TitleListView *groupList = nullptr;
    TitleListView *entryList = nullptr;
    QPlainTextEdit *text = nullptr;
};
