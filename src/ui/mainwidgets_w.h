#pragma once

#include <array>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class TitleListView;
class QMainWindow;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTimer;

// Every control, menu item and timer of the main window under its design name.
// Subsystems get this instead of the window; arrays keep the design's indices.
struct MainWidgets
{
    QMainWindow *frmMain = nullptr;

    // File
    QMenu *mnuFile = nullptr;
    QAction *mnuEditPermission = nullptr;
    QAction *mnuHide = nullptr;
    QAction *mnuExit = nullptr;

    // Group
    QMenu *mnuGroup = nullptr;
    QAction *mnuGroupNew = nullptr;
    QAction *mnuGroupDelete = nullptr;
    QAction *mnuGroupRename = nullptr;
    std::array<QAction *, 2> mnuIndent{}; // 0 right, 1 left
    QAction *mnuClearTrash = nullptr;
    QAction *mnuViewMask = nullptr;

    // Entry
    QMenu *mnuEntry = nullptr;
    std::array<QAction *, 2> mnuEntryCall{}; // 0 new, 1 trash
    QAction *mnuEntryRename = nullptr;
    QAction *mnuEntryChange = nullptr;
    QMenu *mnuInsert = nullptr;
    std::array<QAction *, 5> mnuInsertCall{};
    QAction *mnuSearch = nullptr;
    QMenu *mnuEditor = nullptr;
    std::array<QAction *, 2> mnuEditorCall{};
    QAction *mnuSortAll = nullptr;
    std::array<QAction *, 2> mnuSort{}; // 0 up, 1 down

    // Go/Move
    QMenu *mnuGo_Move = nullptr;
    QMenu *mnuGoTo = nullptr;
    std::array<QAction *, 4> mnuGoToMemo{};
    QAction *mnuGoToLastMove = nullptr;
    QMenu *mnuMoveTo = nullptr;
    std::array<QAction *, 4> mnuMoveToMemo{};
    QMenu *mnuSetMem = nullptr;
    std::array<QAction *, 4> mnuSetMemo{};
    QAction *mnuClearMemos = nullptr;

    // Options, Text options, Info
    QMenu *mnuOptions = nullptr;
    std::array<QAction *, 6> mnuSettings{};
    QMenu *mnuWrap = nullptr;
    QAction *mnuWordwrap = nullptr;
    QMenu *mnuInfo = nullptr;
    QAction *mnuAbout = nullptr;

    // Phrases: in the menu bar only while an edit mode is active
    QMenu *mnuPhrases = nullptr;
    QMenu *mnuCallTxtMem = nullptr;
    std::array<QAction *, 4> mnuCallTxtMemoCall{};
    QMenu *mnuSetTxtMem = nullptr;
    std::array<QAction *, 4> mnuSetTxtMemoSet{};
    QAction *mnuHowTo = nullptr;
    QAction *mnuClearTxtMemos = nullptr;
    std::array<QAction *, 3> mnuCallDate{}; // 0 euro, 1 date, 2 time

    // The tray's pop-up menu; not in the menu bar
    QMenu *mnuSystray = nullptr;
    std::array<QAction *, 4> mnuSystrayCall{};

    // Lists and text boxes
    TitleListView *lstGroup = nullptr; // a view of the group names
    TitleListView *lstEntry = nullptr; // a view of the group's titles and the closing blank line
    QPlainTextEdit *txtMask = nullptr;
    std::array<QPlainTextEdit *, 2> txtText{}; // 0 without, 1 with word wrap
    QLabel *lblDate = nullptr;

    // Splitter bars
    QLabel *lblSizeH = nullptr;
    std::array<QLabel *, 2> lblSizeV{};

    // Button panels of the normal mode
    std::array<QFrame *, 3> fraMain{};
    std::array<QPushButton *, 1> cmdSort{};
    std::array<QPushButton *, 2> cmdEntry{}; // 0 new, 1 trash
    QPushButton *cmdMain = nullptr;          // hide
    QCheckBox *chckEdit = nullptr;
    std::array<QPushButton *, 4> cmdIndiv{};

    // Edit frame of the edit modes
    QFrame *fraEdit = nullptr;
    QLabel *lblMode = nullptr;
    std::array<QPushButton *, 3> cmdEdit{}; // 0 OK, 1 Cancel, 2 Save

    // Buttons beside and under the lists
    std::array<QPushButton *, 4> cmdH{};    // indent left, indent right, up, down
    std::array<QPushButton *, 5> cmdCRSR{}; // group up, group down, entry up, entry down, jump

    QTimer *timPreset = nullptr;
    QTimer *timExit = nullptr;
};

// Creates every menu, control and timer of the main window, named and placed
// in their design order; captions come later from SetCaptions.
MainWidgets buildMainWidgets(QMainWindow &window);
