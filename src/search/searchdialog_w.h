#pragma once

#include "search/searchengine.h"
#include "search/searchrules.h"
#include "ui/mainviews_w.h"

#include <QDialog>
#include <array>

struct MainContext;
struct MainState;
class EntryList;
class GroupList;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QAction;
class QTimer;

// The views a search reads and selects in, and the menu item that opens it.
struct SearchControls
{
    QAction *open = nullptr;
    MainViews views;
};

// What the search dialog uses of the main window. SearchPos outlives the
// dialog: it keeps its value for the whole run.
struct SearchWindow
{
    SearchControls controls;
    MainState &main;
    MainContext &ctx;
    const GroupList &groups;
    EntryList &entries;
    SearchMemory &memory;
};

// frmSearch: finds a text in the entry titles and texts, modeless and on top.
// A search that is not done within half a second goes on while the dialog
// answers: a busy cursor, the groups done in the status line, Esc or Close to
// stop it; the main window takes no input meanwhile, so that nothing it does
// can change what the search is walking.
class SearchDialog : public QDialog
{
    Q_OBJECT
public:
    SearchDialog(const SearchWindow &window, QWidget *mainWindow);
    ~SearchDialog() override;

    // Start searches from the top, Continue from the last match.
    void search(bool continued);
    // Close: the text and the options are kept for the next search.
    void closeKeepingOptions();
    void updateSearchButtons();
    bool searching() const { return pending_; }
    int searchPos() const { return win_.memory.position; }
    // How long a search may run before the dialog lets other events through.
    void setQuickSearchLimit(std::chrono::milliseconds limit) { quickLimit_ = limit; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void loadValues();
    SearchOptionSet options() const;
    bool editing() const;

    // searchdialog_run_w.cpp
    void searchFinished();
    void showHit(const SearchWalk::Hit &hit);
    bool stillShown(const SearchWalk::Hit &hit) const;
    void selectEntry(int groupLine, int entryLine);
    void setBusy(bool busy);
    void showProgress();
    void report(const QString &status);

    SearchWindow win_;
    SearchEngine engine_;
    bool pending_ = false; // a search has begun and its outcome is not shown yet
    bool busy_ = false;    // ... and it runs with the event loop turning
    // Below this a search runs to its end before anything else happens, as it
    // always did; only a longer one turns the event loop.
    std::chrono::milliseconds quickLimit_{500};

    QLineEdit *field_ = nullptr;
    std::array<QCheckBox *, 6> options_{}; // titles, texts, Trash, ÿ-groups, fixed entry, case
    QLabel *status_ = nullptr;
    std::array<QPushButton *, 2> searchButtons_{}; // Start, Continue
    QPushButton *closeButton_ = nullptr;
    QPushButton *focusHolder_ = nullptr;
    QTimer *buttonCheck_ = nullptr; // the search buttons follow the field and the options
    QTimer *progress_ = nullptr;
};
