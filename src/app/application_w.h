#pragma once

#include "app/programfolder.h"
#include "i18n/wordtable.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "store/store.h"
#include "ui/errorreport.h"

#include <QObject>
#include <functional>
#include <memory>

class DesktopServices;
class MainWindow;
class Messages;

// The program: its shared state, the word table and the notebook, and the
// start procedure Main. Ending goes through the hook given here (the real
// program leaves its event loop; a test records the status).
class Application : public QObject
{
    Q_OBJECT
public:
    using EndHook = std::function<void(int status)>;

    // Without `desktop` the desktop's own services are used.
    Application(const ProgramFolder &programFolder, Messages &messages, EndHook endProgram,
                DesktopServices *desktop = nullptr);
    ~Application() override;

    // Main: version, program folder, search options, word table, main window.
    void Main();

    MainWindow *mainWindow() const { return mainWindow_.get(); }
    // SIGTERM, SIGHUP: the end of the session or of the machine. Nobody is
    // asked; an open edit's recovery copy is made current, then the program ends.
    void endBySignal();
    AppState &state() { return state_; }
    NoteTable &table() { return table_; }
    const WordTable &wordTable() const { return wordTable_; }
    ErrorReport &reports() { return reports_; }
    Store &store() { return store_; }

private:
    bool FillWordTable();
    void endProgram(int status);

    AppState state_;
    WordTable wordTable_;
    Words words_;
    NoteTable table_;
    Messages &messages_;
    ErrorReport reports_;
    Store store_;
    std::unique_ptr<DesktopServices> ownDesktop_;
    DesktopServices &desktop_;
    std::unique_ptr<MainWindow> mainWindow_;
    std::optional<IoError> copyFailure_;
    EndHook endProgram_;
    bool ended_ = false;
};

// The program as started by main(): the real program folder and message
// boxes; returns the exit status.
int runPlimsa();
