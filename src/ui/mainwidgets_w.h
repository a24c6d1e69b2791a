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
class SplitterBar;
class QTimer;

// Every control, menu item and timer of the main window under its design name.
// Subsystems get this instead of the window; arrays keep the design's indices.
struct MainWidgets
{
    QMainWindow *window = nullptr;

    // File
    QMenu *fileMenu = nullptr;
    QAction *lockAction = nullptr; // checkable; the lock box shows it
    QAction *hideItem = nullptr;
    QAction *exitItem = nullptr;

    // Group
    QMenu *groupMenu = nullptr;
    QAction *newGroupItem = nullptr;
    QAction *deleteGroupItem = nullptr;
    QAction *renameGroupItem = nullptr;
    std::array<QAction *, 2> indentItems{}; // 0 right, 1 left
    QAction *clearTrashItem = nullptr;
    QAction *viewMaskItem = nullptr;

    // Entry
    QMenu *entryMenu = nullptr;
    std::array<QAction *, 2> newTrashItems{}; // 0 new, 1 trash
    QAction *renameEntryItem = nullptr;
    QAction *changeGroupItem = nullptr;
    QMenu *insertMenu = nullptr;
    std::array<QAction *, 5> insertItems{};
    QAction *searchItem = nullptr;
    QMenu *editorMenu = nullptr;
    std::array<QAction *, 2> editorItems{};
    QAction *sortItem = nullptr;
    std::array<QAction *, 2> upDownItems{}; // 0 up, 1 down
    QAction *undoItem = nullptr;
    QAction *redoItem = nullptr;

    // Go/Move
    QMenu *goMoveMenu = nullptr;
    QMenu *goToMenu = nullptr;
    std::array<QAction *, 4> goToMemoryItems{};
    QAction *goToLastMoveItem = nullptr;
    QMenu *moveToMenu = nullptr;
    std::array<QAction *, 4> moveToMemoryItems{};
    QMenu *setMemoryMenu = nullptr;
    std::array<QAction *, 4> setMemoryItems{};
    QAction *clearMemoriesItem = nullptr;

    // Options, Text options, Info
    QMenu *optionsMenu = nullptr;
    std::array<QAction *, 6> settingsItems{};
    QMenu *textMenu = nullptr;
    QAction *wordWrapItem = nullptr;
    QMenu *infoMenu = nullptr;
    QAction *aboutItem = nullptr;

    // Phrases: in the menu bar only while an edit mode is active
    QMenu *phrasesMenu = nullptr;
    QMenu *callPhraseMenu = nullptr;
    std::array<QAction *, 4> callPhraseItems{};
    QMenu *setPhraseMenu = nullptr;
    std::array<QAction *, 4> setPhraseItems{};
    QAction *howToItem = nullptr;
    QAction *clearPhrasesItem = nullptr;
    std::array<QAction *, 3> signDateTimeItems{}; // 0 euro, 1 date, 2 time

    // The tray's pop-up menu; not in the menu bar
    QMenu *trayMenu = nullptr;
    std::array<QAction *, 4> trayItems{};

    // Lists and text boxes
    TitleListView *groupList = nullptr; // a view of the group names
    TitleListView *entryList = nullptr; // a view of the group's titles and the closing blank line
    QPlainTextEdit *maskText = nullptr;
    QPlainTextEdit *entryText = nullptr; // wrapped or not as the word-wrap option says
    QLabel *dateLabel = nullptr;

    // Splitter bars, last in the Tab order
    SplitterBar *rowSplitter = nullptr;
    std::array<SplitterBar *, 2> columnSplitters{};

    // Button panels of the normal mode
    std::array<QFrame *, 3> normalPanels{};
    QPushButton *sortButton = nullptr;
    std::array<QPushButton *, 2> entryButtons{}; // 0 new, 1 trash
    QPushButton *hideButton = nullptr;           // hide
    QCheckBox *lockBox = nullptr;
    std::array<QPushButton *, 4> individualButtons{};

    // Edit frame of the edit modes
    QFrame *editPanel = nullptr;
    QLabel *modeLabel = nullptr;
    std::array<QPushButton *, 3> editButtons{}; // 0 OK, 1 Cancel, 2 Save

    // Buttons beside and under the lists
    std::array<QPushButton *, 4> orderButtons{}; // indent left, indent right, up, down
    std::array<QPushButton *, 5>
        cursorButtons{}; // group up, group down, entry up, entry down, jump

    // The commands of the buttons that have no menu item; every other button
    // shows its menu item's action.
    std::array<QAction *, 5> cursorActions{};
    std::array<QAction *, 4> individualActions{};

    QTimer *startSettingsTimer = nullptr;
    QTimer *exitTimer = nullptr;
};

// Creates every menu, control and timer of the main window, named, in their
// design order; the buttons of the panels are laid out in them (the rest of
// the client area by WindowLayout); captions come later from SetCaptions.
MainWidgets buildMainWidgets(QMainWindow &window);
