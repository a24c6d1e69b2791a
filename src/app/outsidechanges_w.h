#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <thread>

#include "store/syncmerge.h"

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
// A viewed entry whose file changed is shown again; a group folder removed is
// told. Conflict copies that sync programs leave are looked for after the
// start-up work and after each reload, off the window's thread: copies of
// idx.dat and of entries are merged into the notebook (store/syncmerge.h)
// once the store has been quiet for a moment, the others named once.
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
    // idx.dat and the shown entry against what this copy last read or wrote;
    // copies of idx.dat to merge. `userBack`: the window got the focus back,
    // which tries again a merge that failed.
    void check(bool userBack = false);
    // Copies of idx.dat in the store, and a merge not blocked by its failure.
    bool mergeWanted(bool userBack);
    QString mergeSignature() const;
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
    // Group folders named by idx.dat that are gone since the last look: told.
    void checkGroupFolders(bool tell);
    void tellMerge(SyncMerge::Outcome outcome, bool textEdit, bool commandMet);

    const MainViews views_;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
    EntryList &entries_;
    QFileSystemWatcher *watcher_ = nullptr;
    QTimer *retry_ = nullptr;
    QTimer *folderCheck_ = nullptr; // group folders, once the store is quiet
    QTimer *lateCheck_ = nullptr;   // what the last merge kept for its files
    int lateChecks_ = 0;
    QStringList keptByFile_;
    bool reloadPending_ = false;
    bool commandMet_ = false;
    bool watching_ = false;
    bool reloading_ = false;
    int failedReloads_ = 0;
    std::thread scan_;
    bool scanning_ = false;
    bool scanAgain_ = false;
    QStringList named_; // conflict copies already named in this run
    QStringList leftAside_; // copies a merge did not take in: named instead
    QString blockedMerge_;  // the store as a merge that failed found it
    QElapsedTimer lastChange_; // since the watcher's last report
    QSet<QString> groupFolders_; // the group folders there at the last look
};
