#pragma once

#include <QObject>
#include <QStringList>
#include <thread>

#include "ui/mainviews_w.h"

struct MainContext;
struct MainState;
class EntryList;
class GroupList;
class QFileSystemWatcher;
class QTimer;
class QWidget;

// Changes another program made to the store while this copy runs (a sync
// program bringing another computer's edits, a text editor). idx.dat changed
// outside is read again and shown: at once when a write meets the change (the
// command is cancelled, see Store::indexStillOurs), otherwise when the file
// watcher reports it or the window gets the focus back, once no edit is open.
// A viewed entry whose file changed is shown again. Conflict copies that sync
// programs leave are looked for after the start-up work and after each reload,
// off the window's thread, and named once.
class OutsideChanges : public QObject
{
    Q_OBJECT
public:
    OutsideChanges(const MainViews &views, MainState &main, MainContext &ctx, GroupList &groups,
                   EntryList &entries, QObject *parent = nullptr);
    ~OutsideChanges() override;

    // Once the start-up work is done: the watcher, and the first look for conflict copies.
    void startWatching();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // idx.dat and the shown entry against what this copy last read or wrote.
    void check();
    void schedule(bool commandMet);
    void runPending();
    void reload(bool commandMet);
    void watch();
    bool editOpen() const;
    void scanConflicts();
    void conflictsFound(const QStringList &found);
    // A folder of the store changed: a sync program may have left a copy there.
    void folderChanged(const QString &path);
    void nameConflicts(const QStringList &found);

    const MainViews views_;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
    EntryList &entries_;
    QFileSystemWatcher *watcher_ = nullptr;
    QTimer *retry_ = nullptr;
    bool reloadPending_ = false;
    bool commandMet_ = false;
    bool watching_ = false;
    int failedReloads_ = 0;
    std::thread scan_;
    bool scanning_ = false;
    bool scanAgain_ = false;
    QStringList named_; // conflict copies already named in this run
};
