#include "app/outsidechanges_w.h"

#include "editing/editrules.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "notebook/grouplist_w.h"
#include "notebook/notebookedit.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/errorreports.h"
#include "store/notetable.h"
#include "store/outsidechange.h"
#include "store/store.h"
#include "store/storepaths.h"
#include "store/syncmerge.h"
#include "ui/codepagetextedit_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

// A long list is cut: the message must fit on the screen.
constexpr int kNamedAtMost = 20;
// Tries of a reload that finds no readable idx.dat, kRetryMs apart.
constexpr int kReloadTries = 10;
constexpr int kRetryMs = 300;
// A sync program brings a computer's changes as many files, in any order:
// the merge waits until the store has been quiet this long.
constexpr int kSettleMs = 1000;
// Looks, 5 s apart, at what a merge kept for its files.
constexpr int kLateChecks = 36;

} // namespace

OutsideChanges::OutsideChanges(const MainViews &views, MainState &main, MainContext &ctx,
                               GroupList &groups, EntryList &entries, QObject *parent)
    : QObject(parent), views_(views), main_(main), ctx_(ctx), groups_(groups), entries_(entries)
{
    setObjectName(u"outsideChanges"_s);
    retry_ = new QTimer(this);
    retry_->setSingleShot(true);
    connect(retry_, &QTimer::timeout, this, &OutsideChanges::runPending);
    folderCheck_ = new QTimer(this);
    folderCheck_->setSingleShot(true);
    folderCheck_->setInterval(2 * kSettleMs);
    connect(folderCheck_, &QTimer::timeout, this, [this] {
        if (reloadPending_ || ctx_.store.indexChangedOutside() || mergeWanted(false))
            folderCheck_->start();
        else
            checkGroupFolders(true);
    });
    // What a merge kept for its files is looked at for a few minutes: a sync
    // program may carry a deletion late (Syncthing retries a minute later).
    lateCheck_ = new QTimer(this);
    lateCheck_->setInterval(5 * kSettleMs);
    connect(lateCheck_, &QTimer::timeout, this, [this] {
        if (keptByFile_.isEmpty() || ++lateChecks_ > kLateChecks) {
            keptByFile_.clear();
            lateCheck_->stop();
        } else if (SyncMerge::anyGone(ctx_.state, ctx_.table, keptByFile_)) {
            schedule(false);
        }
    });
    ctx_.store.setIndexChangedOutside([this] { schedule(true); });
    views_.window->installEventFilter(this);
    // The entry file and group folder watched follow what is shown.
    for (TitleListView *list : {views_.groupList, views_.entryList})
        connect(list, &TitleListView::currentRowChanged, this, &OutsideChanges::watch);
}

OutsideChanges::~OutsideChanges()
{
    ctx_.store.setIndexChangedOutside({});
    if (scan_.joinable())
        scan_.join();
}

void OutsideChanges::startWatching()
{
    watcher_ = new QFileSystemWatcher(this);
    watcher_->setObjectName(u"outsideWatcher"_s);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] {
        lastChange_.start();
        check();
    });
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &OutsideChanges::folderChanged);
    watching_ = true;
    if (!ctx_.state.StoreInUse)
        SyncMerge::keepFirstBase(ctx_.state, ctx_.table);
    checkGroupFolders(false);
    watch();
    scanConflicts();
    // A sync that came while the program was closed.
    if (mergeWanted(false))
        schedule(false);
}

bool OutsideChanges::eventFilter(QObject *watched, QEvent *event)
{
    // Where no watcher reaches (a network file system), at least the return
    // to the window looks again.
    if (watched == views_.window && event->type() == QEvent::WindowActivate && watching_)
        QTimer::singleShot(0, this, [this] { check(true); });
    return QObject::eventFilter(watched, event);
}

bool OutsideChanges::editOpen() const
{
    return main_.edit.editing();
}

void OutsideChanges::watch()
{
    if (!watcher_)
        return;
    // A file replaced by a rename leaves the watch: every look sets it anew.
    QStringList paths{StorePaths::indexFile(ctx_.state.storeFolder)};
    const int g = entries_.selectedGroup();
    if (g >= 0 && !entries_.onBlankLine())
        paths.append(StorePaths::entryFile(ctx_.state.storeFolder, ctx_.table.name(g),
                                           entries_.selectedStoredTitle()));
    // The store folder and the shown group's folder, where copies may appear.
    QString folder = ctx_.state.storeFolder;
    folder.chop(1);
    paths.append(folder);
    if (g >= 0)
        paths.append(folder + u'/' + ctx_.table.name(g));
    const QStringList old = watcher_->files() + watcher_->directories();
    for (const QString &path : old) {
        if (!paths.contains(path))
            watcher_->removePath(path);
    }
    for (const QString &path : paths) {
        if (!old.contains(path))
            watcher_->addPath(path);
    }
}

QString OutsideChanges::mergeSignature() const
{
    const FileIdentity index = FileIdentity::ofPath(StorePaths::indexFile(ctx_.state.storeFolder));
    return SyncMerge::indexCopies(ctx_.state.storeFolder).join(u'/') +
           u"|%1 %2 %3"_s.arg(index.inode).arg(index.size).arg(index.modifiedNs);
}

bool OutsideChanges::mergeWanted(bool userBack)
{
    if (ctx_.state.StoreInUse || SyncMerge::indexCopies(ctx_.state.storeFolder).isEmpty())
        return false;
    // A merge that failed is tried again when the store changes, or when
    // the user comes back to the window; not at every report of the watcher.
    return userBack || blockedMerge_.isEmpty() || mergeSignature() != blockedMerge_;
}

void OutsideChanges::checkGroupFolders(bool tell)
{
    QSet<QString> present;
    QStringList gone;
    for (int g = 0; g < ctx_.table.groupCount(); ++g) {
        const QString &name = ctx_.table.name(g);
        if (QFileInfo(StorePaths::groupFolder(ctx_.state.storeFolder, name)).isDir())
            present.insert(name);
        // One a merge kept for its folder leaves with it (lateCheck_).
        else if (groupFolders_.contains(name) && !keptByFile_.contains(name + u'/'))
            gone << name;
    }
    groupFolders_ = present;
    if (!tell || gone.isEmpty())
        return;
    QStringList paths;
    for (const QString &name : std::as_const(gone))
        paths << StorePaths::groupFolder(ctx_.state.storeFolder, name);
    ctx_.messages.message(
        Messages::Icon::Information, ctx_.words(Word::Caution),
        u"The folder of a group was removed or renamed by another program. The group's entries "
        "have no text files now: Plimsa shows each as \"File not present!\". Put the folder "
        "back, or delete the entries and the group.\n\n%1"_s.arg(paths.join(u'\n')));
}

void OutsideChanges::check(bool userBack)
{
    if (userBack) {
        // The user is back: no wait for the store to settle, and a merge
        // that failed is tried again.
        blockedMerge_.clear();
        lastChange_.invalidate();
    }
    if (ctx_.store.indexChangedOutside() || mergeWanted(userBack) ||
        (userBack && SyncMerge::anyGone(ctx_.state, ctx_.table, keptByFile_))) {
        schedule(false);
        return;
    }
    const int g = entries_.selectedGroup();
    if (!editOpen() && !reloadPending_ && g >= 0 && !entries_.onBlankLine() &&
        FileIdentity::ofPath(StorePaths::entryFile(ctx_.state.storeFolder, ctx_.table.name(g),
                                                   entries_.selectedStoredTitle())) !=
            main_.ShownEntryFile)
        entries_.showSelectedEntry();
    watch();
}

void OutsideChanges::schedule(bool commandMet)
{
    reloadPending_ = true;
    // A change the merge's own write meets is no command of the user's.
    commandMet_ = commandMet_ || (commandMet && !reloading_);
    // After the command that met the change has returned.
    QTimer::singleShot(0, this, &OutsideChanges::runPending);
}

void OutsideChanges::runPending()
{
    if (!reloadPending_)
        return;
    // Never under a dialog or menu of a command that still holds rows of the
    // old table; an edit that no write has met yet is left in peace until it ends.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() ||
        main_.edit.maskEdit() || (main_.edit.textEdit() && !commandMet_)) {
        retry_->start(kRetryMs);
        return;
    }
    if (!commandMet_ && lastChange_.isValid() && lastChange_.elapsed() < kSettleMs &&
        mergeWanted(false)) {
        retry_->start(int(kSettleMs - lastChange_.elapsed()));
        return;
    }
    reloadPending_ = false;
    const bool met = commandMet_;
    commandMet_ = false;
    reload(met);
}

void OutsideChanges::reload(bool commandMet)
{
    const bool textEdit = main_.edit.textEdit();
    const int g = entries_.selectedGroup();
    const QString group = g >= 0 ? ctx_.table.name(g) : QString();
    const int row = views_.entryList->currentRow();
    const QString title = entries_.selectedStoredTitle();
    const bool newEntry = textEdit && entries_.selectedIsNew();

    reloading_ = true;
    const SyncMerge::Outcome outcome =
        SyncMerge::takeIn(ctx_.store, ctx_.table, ctx_.reports, ctx_.state, &GroupList::orderRows,
                          !ctx_.state.StoreInUse, keptByFile_);
    reloading_ = false;
    if (const std::optional<IoError> &error = outcome.unread) {
        // A sync program may be between taking the old file away and putting
        // the new one in its place: tried again for a few seconds first. The
        // table stays as it was meanwhile; every write is refused until
        // idx.dat reads.
        if (++failedReloads_ < kReloadTries) {
            reloadPending_ = true;
            commandMet_ = commandMet_ || commandMet;
            retry_->start(kRetryMs);
        } else {
            failedReloads_ = 0;
            ctx_.reports.ShowErrorCancel(*error);
        }
        return;
    }
    failedReloads_ = 0;
    blockedMerge_ = outcome.failed ? mergeSignature() : QString();
    if (outcome.merged) {
        lateChecks_ = 0;
        lateCheck_->start();
    }
    for (const QString &copy : outcome.left + outcome.maskCopies) {
        if (!leftAside_.contains(copy))
            leftAside_ << copy;
    }
    GroupList::orderRows(ctx_.table);
    fillGroupList(*views_.groupList, groups_, ctx_.table, ctx_.state.hideYGroups());
    int line = views_.groupList->count() > 0 ? 0 : -1;
    for (int i = 0; i < groups_.count(); ++i) {
        if (ctx_.table.name(groups_.slotOfLine(i)) == group)
            line = i;
    }
    if (!textEdit) {
        if (line >= 0)
            entries_.selectGroupLine(line);
        const int entry = title.isEmpty() ? -1 : int(entries_.storedTitles().indexOf(title));
        if (entry >= 0)
            entries_.selectEntryLine(entry);
        else if (row >= 0)
            entries_.selectEntryLine(std::min(row, views_.entryList->count() - 1));
    } else if (line >= 0) {
        // The typed text stays in its box, untouched: neither the group's mask
        // nor an entry is loaded (a load into either box would end the edit).
        {
            const QSignalBlocker quiet(views_.groupList);
            views_.groupList->setCurrentRow(line);
        }
        const int now = groups_.slotOfLine(line);
        QStringList titles;
        for (int e = 1; e <= ctx_.table.entryCount(now); ++e)
            titles.append(ctx_.table.cell(now, e));
        int entry = title.isEmpty() ? -1 : int(titles.indexOf(title));
        const bool placeholder =
            (newEntry || entry < 0) && !NotebookEdit::groupIsFull(ctx_.table, now);
        if (placeholder) {
            // The text has no entry in the table read: it goes back into the
            // list as a new entry, which its save names and writes.
            entry = std::clamp(row, 0, int(titles.size()));
            titles.insert(entry, OutDOS(EditRules::newEntryTitle()));
            NotebookEdit::setEntryColumn(ctx_.table, now, titles);
        }
        entries_.showTitles(titles, std::max(entry, 0), true);
        if (placeholder)
            entries_.markSelectedNew();
        views_.text->setFocus();
    }
    folderCheck_->start();
    watch();
    scanConflicts();
    tellMerge(outcome, textEdit, commandMet);
}

void OutsideChanges::tellMerge(SyncMerge::Outcome outcome, bool textEdit, bool commandMet)
{
    // Each mask's copy is told once, by a merge or by the list of copies.
    outcome.maskCopies.removeIf([this](const QString &copy) { return named_.contains(copy); });
    const QString merged = SyncMerge::message(outcome, ctx_.state.storeFolder);
    if (!merged.isEmpty())
        named_ += outcome.maskCopies;
    if (!commandMet) {
        if (!merged.isEmpty())
            ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Message), merged);
        return;
    }
    const QString path = StorePaths::indexFile(ctx_.state.storeFolder);
    QString text =
        (textEdit ? u"The notebook was changed by another program or on another computer: "
                    "Plimsa has read it again and shows it as it is now. Nothing was saved; "
                    "the text you typed is still in its box: save it again.\n\n%1"_s
                  : u"The notebook was changed by another program or on another computer: "
                    "Plimsa has read it again and shows it as it is now. The command was not "
                    "carried out; give it again if it is still wanted.\n\n%1"_s)
            .arg(path);
    if (!merged.isEmpty())
        text += u"\n\n"_s + merged;
    ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution), text);
}

void OutsideChanges::scanConflicts()
{
    if (!watching_)
        return;
    if (scanning_) {
        scanAgain_ = true;
        return;
    }
    if (scan_.joinable())
        scan_.join();
    scanning_ = true;
    scan_ = std::thread([this, folder = ctx_.state.storeFolder] {
        const QStringList found = OutsideChange::findConflictCopies(folder);
        QMetaObject::invokeMethod(
            this, [this, found] { conflictsFound(found); }, Qt::QueuedConnection);
    });
}

void OutsideChanges::conflictsFound(const QStringList &found)
{
    scanning_ = false;
    if (scanAgain_) {
        scanAgain_ = false;
        scanConflicts();
    }
    nameConflicts(found);
}

void OutsideChanges::folderChanged(const QString &path)
{
    lastChange_.start();
    QString relative = QDir(ctx_.state.storeFolder).relativeFilePath(path);
    if (relative == u"."_s)
        relative.clear();
    else if (!relative.isEmpty())
        relative += u'/';
    // A folder gone with a new idx.dat (a group renamed or deleted on another
    // computer) is for the reload to show: looked at once the store is quiet.
    if (relative.isEmpty())
        folderCheck_->start();
    // One folder: a listing of at most a thousand names, done at once.
    nameConflicts(OutsideChange::findConflictCopiesIn(ctx_.state.storeFolder, relative));
    // A file replaced by a rename changes its folder: the shown entry among them.
    check();
}

void OutsideChanges::nameConflicts(const QStringList &all)
{
    // Copies of idx.dat and of entries are for the merge to take in, where
    // this copy may write; the others, and those it left, are named.
    QStringList found;
    bool toMerge = false;
    for (const QString &copy : all) {
        const qsizetype slash = copy.indexOf(u'/');
        const auto name = OutsideChange::parseConflictCopy(copy.mid(slash + 1));
        const bool mergeable =
            name && !ctx_.state.StoreInUse && !leftAside_.contains(copy) &&
            (slash < 0 ? name->original == u"idx.dat"_s
                       : name->original.endsWith(u".txt"_s) &&
                             ctx_.table.findGroup(copy.left(slash)) >= 0);
        if (mergeable)
            toMerge = true;
        else
            found << copy;
    }
    if (toMerge && (blockedMerge_.isEmpty() || mergeSignature() != blockedMerge_))
        schedule(false);
    bool anyNew = false;
    for (const QString &copy : found) {
        if (!named_.contains(copy)) {
            named_.append(copy);
            anyNew = true;
        }
    }
    if (!anyNew)
        return;
    if (found.isEmpty())
        return;
    QStringList shown = found.mid(0, kNamedAtMost);
    if (found.size() > kNamedAtMost)
        shown.append(u"(and %1 more)"_s.arg(found.size() - kNamedAtMost));
    ctx_.messages.message(
        Messages::Icon::Information, ctx_.words(Word::Caution),
        u"A sync program has left copies of notebook files beside them: the file was changed "
        "on two computers at once, and the other computer's version was kept under another "
        "name. Plimsa does not read these copies and deletes nothing. Compare each with the "
        "file it was copied from, take over what you need (Plimsa's own entries and text), "
        "then delete the copy.\n\nIn %1:\n%2"_s.arg(ctx_.state.storeFolder, shown.join(u'\n')));
}
