// A move between two full groups and the sort of a full group on the real
// main window, each against the Save_idx it contains, measured in the same run:
//   move  (copy, idx.dat, source deleted, the view following into the target)
//   sort  (999 titles ordered, the column and idx.dat written, line 0 loaded)
// and, shown beside them, what a command pays before its first write: the
// table kept for its undo and the first edit of one group's row.
// Usage: bench_organize [--reps N] [--groups G] [--dir FOLDER]

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "common/benchprogram.h"
#include "common/benchstats.h"
#include "common/notebookgen.h"
#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/ordering_w.h"
#include "platform/messages.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/notebookchange.h"
#include "store/notebookfiles.h"
#include "store/preffile.h"
#include "store/safewrite.h"
#include "store/storepaths.h"

#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <malloc.h>
#include <optional>
#include <vector>

using namespace Qt::StringLiterals;

using namespace BenchStats;

namespace {

bool writeProgramFolder(const QString &folder)
{
    Preferences prefs;
    prefs.StorePath = u"preset"_s;
    const TextLines::Encoded pref = PrefFile::serialize(prefs, u"1.3.02"_s);
    return pref && writeWholeFile(folder + u"pref.dat"_s, pref.bytes, folder) &&
           writeWholeFile(folder + u"Language.dat"_s, BenchProgram::freeLanguageFile(), folder);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    int reps = 15;
    int groups = 100;
    QString dirArg;
    const QStringList args = qapp.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--groups"_s && i + 1 < args.size())
            groups = std::clamp(args[++i].toInt(), 4, 100);
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dirArg = args[++i];
    }

    QTemporaryDir scratch(dirArg.isEmpty() ? QString() : dirArg + u"/bench_organize-XXXXXX"_s);
    if (!scratch.isValid())
        qFatal("no scratch folder");
    const QString folder = scratch.path() + u'/';
    const QString store = folder + u"FileStore/"_s;
    if (!writeProgramFolder(folder))
        qFatal("cannot write the program folder");
    // Entry files only for the entry that moves: the others are never read.
    const NotebookGen::Summary made = NotebookGen::generateNotebook(store, groups, 999, 7, false);
    if (made.groups == 0)
        qFatal("generating the notebook failed");
    std::printf(
        "notebook: %d groups of 999 entries, idx.dat %lld bytes; store %s; %d repetitions\n\n",
        made.groups, made.indexBytes, qPrintable(store), reps);

    FlaggingMessages messages;
    Application app(folder, messages, [](int status) { qFatal("the program ended (%d)", status); });
    app.Main();
    MainWindow *window = app.mainWindow();
    bool started = false;
    QObject::connect(window, &MainWindow::startupWorkDone, window, [&] { started = true; });
    QElapsedTimer waited;
    waited.start();
    while (!started && waited.elapsed() < 30000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(5);
    }
    if (!started)
        qFatal("the start-up work did not finish");

    EntryList &entries = window->entryList();
    auto *entryCommands = window->findChild<EntryCommands *>(u"entryCommands"_s);
    auto *ordering = window->findChild<Ordering *>(u"ordering"_s);
    TitleListView *groupList = window->widgets().groupList;
    TitleListView *entryList = window->widgets().entryList;
    NoteTable &table = app.table();
    const GroupList &lines = window->groupList();

    // Three groups other than the trash: the entry moves between the first
    // two (the second gives up one title so that the first move finds room,
    // every move after it goes back), the third is sorted.
    QList<int> pair;
    for (int line = 0; line < groupList->count() && pair.size() < 3; ++line) {
        if (groupList->titles().shownName(line) != u"Trash"_s)
            pair.append(line);
    }
    table.cell(lines.slotOfLine(pair[1]), 999).clear();
    if (!app.store().Save_idx())
        qFatal("Save_idx failed");
    const int first = lines.slotOfLine(pair[0]);
    const QString moving = table.cell(first, 500);
    if (!EntryFile::writeEntry(StorePaths::entryFile(store, table.name(first), moving),
                               u"01.01.2026 - 10:00:00"_s, u"the entry that moves\r\n"_s, store))
        qFatal("cannot write the moving entry");

    // The Save_idx a command contains encodes again the groups it changed
    // (the source and target of a move, the sorted group), so the baseline
    // changes the same groups' first titles before it saves; they are put
    // back, and saved, untimed.
    const auto savesOf = [&](const QList<int> &groupLines) {
        QList<int> changed;
        for (int line : groupLines) {
            const int slot = lines.slotOfLine(line);
            table.cell(slot, 1) += u"~"_s;
            changed.append(slot);
        }
        const double t = timeMs([&] {
            if (!app.store().Save_idx())
                qFatal("Save_idx failed");
        });
        for (int slot : changed)
            table.cell(slot, 1).chop(1);
        (void)app.store().Save_idx();
        return t;
    };

    std::vector<double> move, moveSave, sort, sortSave, view, files, undoCopy, undoSave;
    for (int r = 0; r < reps + 1; ++r) {
        const bool counted = r > 0; // the first round warms caches and the allocator
        const int from = pair[r % 2];
        const int to = pair[1 - r % 2];
        entries.selectGroupLine(from);
        entries.selectEntryLine(r == 0 ? 499 : entryList->count() - 2);
        EntryCommands::MoveResult moved = EntryCommands::MoveResult::Refused;
        const QModelIndex target = entries.model().groupIndex(lines.slotOfLine(to));
        const double tMove =
            timeMs([&] { moved = entryCommands->moveEntry(entries.selectedEntryItem(), target); });
        if (moved != EntryCommands::MoveResult::Moved || groupList->currentRow() != to)
            qFatal("the move did not happen");
        const double tMoveSave = savesOf({from, to});
        // The parts of the move that are not the index write, alone.
        const double tView = timeMs([&] {
            entries.selectGroupLine(to);
            entries.selectEntryLine(entryList->count() - 2);
        });
        const QString title = entries.selectedStoredTitle();
        const QString here = table.name(lines.slotOfLine(to));
        const QString there = table.name(lines.slotOfLine(from));
        const double tFiles = timeMs([&] {
            (void)NotebookFiles::copyEntryFile(store, here, title, there, u"bench copy"_s);
            (void)NotebookFiles::deleteEntryFile(store, there, u"bench copy"_s);
        });

        // Each sort turns the order round, so every one has all the work to do.
        app.state().prefs.SortDescending = r % 2;
        entries.selectGroupLine(pair[2]);
        const double tSort = timeMs([&] { ordering->sort(); });
        const double tSortSave = savesOf({pair[2]});

        // A command's cost before its write: the copy NotebookChange keeps to
        // put the table back, and the first edit (one cell of one group). The
        // change is dropped untimed, which puts the table back.
        std::optional<NotebookChange> change;
        const int edited = lines.slotOfLine(pair[2]);
        const double tUndoCopy = timeMs([&] {
            change.emplace(app.store(), table, app.reports());
            change->table().cell(edited, 1) += u"~"_s;
        });
        change.reset();
        const double tUndoSave = savesOf({pair[2]});
        if (counted) {
            undoCopy.push_back(tUndoCopy);
            undoSave.push_back(tUndoSave);
            move.push_back(tMove);
            moveSave.push_back(tMoveSave);
            sort.push_back(tSort);
            sortSave.push_back(tSortSave);
            view.push_back(tView);
            files.push_back(tFiles);
        }
    }
    if (messages.failed)
        return 1;
    report("Move of an entry between two 999-entry groups vs Save_idx", "its Save_idx", move,
           moveSave, 1.5);
    std::printf("  of it: the view following into the target group %.2f ms, the file copy "
                "and deletion %.2f ms (medians)\n",
                median(view), median(files));
    report("Sort of a 999-entry group vs Save_idx", "its Save_idx", sort, sortSave, 1.5);
    report("A command's cost before its write (undo copy, first edit of a row) vs Save_idx",
           "its Save_idx", undoCopy, undoSave, 0.1);
    return 0;
}
