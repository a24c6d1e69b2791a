#pragma once

#include "notebook/grouplist.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"

#include <QMainWindow>
#include <memory>

class CommandRefresh;
struct MainViews;
class EditModes;
class EntryCommands;
class EntryList;
class KeyHandlers;
class KeyInjector;
class NewEntry;
class RecoveryOffer;
class RecoveryRecorder;
class SystemTray;
class WindowLayout;

// The main window: its load, first paint, start-up work and ending. The
// commands of the other subsystems live in their own folders and get the
// widgets, the state and the context from here.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(MainContext context);
    ~MainWindow() override;

    // The load steps; false when a step has ended the program (after its report).
    bool load();

    const MainWidgets &widgets() const { return w_; }
    MainState &mainState() { return main_; }
    const GroupList &groupList() const { return groups_; }
    WindowLayout &windowLayout() { return *layout_; }
    MainContext &context() { return ctx_; }
    EntryList &entryList() { return *entryList_; }
    EditModes &editModes() { return *editModes_; }
    NewEntry &newEntry() { return *newEntry_; }
    // Types key strings into the program itself.
    KeyInjector &keyInjector() { return *keyInjector_; }

    void setWordwrap(bool checked);
    void exitProgram();
    // mainwindow_exit_w.cpp. Whether the window may close: true with no edit
    // open, or once the user has saved or discarded it; false when the user
    // went back to the edit (or its save failed, told).
    bool mayClose();
    // An end nobody may be asked about (SIGTERM, SIGHUP, a logout): the open
    // edit's recovery copy made current, then the program ends.
    void endKeepingEdit();
    // The session ends (a logout): the edit's recovery copy made current, and
    // no close asks any more.
    void sessionEnding();
    RecoveryRecorder &recoveryRecorder() { return *recovery_; }

Q_SIGNALS:
    // The start-up work after the first paint has run to its end.
    void startupWorkDone();

protected:
    void paintEvent(QPaintEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectCommands();
    // mainwindow_keyboard_w.cpp: memories, phrases, inserts, the individual buttons, F1 and Esc.
    void installKeyboard();
    // The memory and phrase items' captions, after their texts or the words changed.
    void showMemoryCaptions();
    MainViews views() const;
    // Word 115 and the fallback store when the store's idx.dat cannot be read;
    // false when the fallback cannot be read either (reported).
    bool LoadIndex();
    void buildViewingEditing();
    // mainwindow_shell_w.cpp: the tray, the Editor menu, the About box
    void installShell();
    void showAbout();
    void TrayAdd();
    void TrayRemove();
    void hideMainWindow();
    // mainwindow_settings_w.cpp: the Options menu
    void installSettings();
    void applyChangedSettings();

    // mainwindow_storelock_w.cpp: no edit permission without the store, or once it is lost
    void installStoreLock();
    // Takes the store marker; says "Store index seems to be in use!" when it is, or
    // the word that the file system keeps no locks.
    void takeStoreMarker();
    // The edit lock on for good while another copy holds the store.
    void lockWhileStoreInUse();
    void storeLost(const IoError &why);

    // mainwindow_startup_w.cpp
    void applyStartSettings();
    void selectStartGroup();
    void applyFonts();
    void applyGroupListColour();
    void placeWindow();
    void applyWindowState();

    // mainwindow_exit_w.cpp
    void finishExit();
    void closeSearchFirst();
    void unload();

    MainContext ctx_;
    MainWidgets w_;
    MainState main_;
    GroupList groups_;
    CommandRefresh *commands_ = nullptr;
    QObject *subsystems_ = nullptr; // parent of every subsystem object
    KeyHandlers *keys_ = nullptr;
    WindowLayout *layout_ = nullptr;
    KeyInjector *keyInjector_ = nullptr;
    EntryList *entryList_ = nullptr;
    EntryCommands *entryCommands_ = nullptr;
    EditModes *editModes_ = nullptr;
    NewEntry *newEntry_ = nullptr;
    RecoveryRecorder *recovery_ = nullptr;
    RecoveryOffer *recoveryOffer_ = nullptr;
    SystemTray *tray_ = nullptr;
    bool paintedOnce_ = false;
    bool unloaded_ = false;
    bool sessionEnding_ = false;
};
