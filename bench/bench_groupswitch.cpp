// A group switch on 999-entry groups (the entry list filled, the mask read and
// shown, the first entry read and shown, the command state refreshed), against
// filling a bare list widget of the same size and font with the same 999
// titles, in the same run, interleaved. Goal: within 2x.
// Two figures: the switch itself, and the switch with the painting that follows
// it (each side until the event loop is idle again).
// Usage: bench_groupswitch [--reps N] [--dir FOLDER] [--parts]

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "common/benchprogram.h"
#include "notebook/entrylist_w.h"
#include "store/dostext.h"
#include "store/notetable.h"

#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

QStringList shownTitles(const NoteTable &table, int g)
{
    QStringList titles;
    const int count = table.entryCount(g);
    titles.reserve(count);
    for (int e = 1; e <= count; ++e)
        titles.append(InDOS(table.cell(g, e)));
    return titles;
}

template <typename Step> double timed(Step step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e6;
}

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

struct Run
{
    MainWindow *window;
    const NoteTable &table;
    const QStringList (&titles)[2];
    QListWidget &bare;
    int reps;
};

// What a switch is made of, each step timed alone (for the notes in README.md).
void parts(const Run &run)
{
    const MainWidgets &w = run.window->widgets();
    std::vector<double> titles, fill, select, entry, text, mask;
    for (int r = 0; r < run.reps; ++r) {
        const int k = r % 2;
        const int g = run.window->groupList().slotOfLine(k);
        QStringList lines;
        titles.push_back(timed([&] {
            const int count = run.table.entryCount(g);
            lines.reserve(count);
            for (int e = 1; e <= count; ++e)
                lines.append(run.table.cell(g, e));
        }));
        {
            const QSignalBlocker quiet(w.groupList);
            w.groupList->setCurrentRow(k);
        }
        fill.push_back(timed([&] {
            const QSignalBlocker quiet(w.entryList);
            qobject_cast<EntryLinesModel *>(w.entryList->model())
                ->setGroup(run.window->entryList().model().groupIndex(g));
        }));
        select.push_back(timed([&] {
            const QSignalBlocker quiet(w.entryList);
            w.entryList->setCurrentRow(0);
        }));
        entry.push_back(timed([&] { run.window->entryList().showSelectedEntry(); }));
        const QString shown = w.entryText->toPlainText();
        text.push_back(timed([&] {
            const QSignalBlocker quiet(w.entryText);
            w.entryText->setPlainText(shown);
        }));
        const QString maskText = w.maskText->toPlainText();
        mask.push_back(timed([&] {
            const QSignalBlocker quiet(w.maskText);
            w.maskText->setPlainText(maskText);
        }));
        settle();
    }
    using BenchProgram::median;
    std::printf("parts (median ms): titles %.3f, list fill %.3f, first line selected %.3f,\n"
                "  entry loaded %.3f (of which the text box %.3f), mask box %.3f\n",
                median(titles), median(fill), median(select), median(entry), median(text),
                median(mask));
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    int reps = 200;
    QString dir;
    bool showParts = false;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dir = args[++i];
        else if (args[i] == u"--parts"_s)
            showParts = true;
    }

    QTemporaryDir scratch(dir.isEmpty() ? QDir::tempPath() + u"/bench_groupswitch-XXXXXX"_s
                                        : dir + u"/bench_groupswitch-XXXXXX"_s);
    const QString folder = scratch.path() + u"/program/"_s;
    const NotebookGen::Summary summary = scratch.isValid()
                                             ? BenchProgram::makeProgramFolder(folder, 3, 999, true)
                                             : NotebookGen::Summary{};
    if (summary.groups == 0) {
        std::fprintf(stderr, "could not prepare %s\n", qPrintable(folder));
        return 1;
    }

    BenchProgram::FailingMessages messages;
    Application plimsa(folder, messages, [](int status) {
        std::fprintf(stderr, "program ended with %d\n", status);
        std::exit(2);
    });
    plimsa.Main();
    MainWindow *window = plimsa.mainWindow();
    QEventLoop started;
    QObject::connect(window, &MainWindow::startupWorkDone, &started, &QEventLoop::quit);
    started.exec();

    const MainWidgets &w = window->widgets();
    const GroupList &groups = window->groupList();
    EntryList &entries = window->entryList();
    // Two groups of 999 entries, switched to in turn, so every switch is a real one.
    const QStringList titles[2] = {shownTitles(plimsa.table(), groups.slotOfLine(0)),
                                   shownTitles(plimsa.table(), groups.slotOfLine(1))};
    std::printf("platform: %s; groups of %lld and %lld entries; %d switches\n",
                qPrintable(QGuiApplication::platformName()),
                static_cast<long long>(titles[0].size()), static_cast<long long>(titles[1].size()),
                reps);

    QListWidget bare;
    bare.setFont(w.entryList->font());
    bare.resize(w.entryList->size());
    bare.show();
    settle();

    std::vector<double> switchMs, bareMs, switchPaintMs, barePaintMs;
    for (int r = 0; r < reps + 5; ++r) {
        const int k = r % 2;
        double s = 0, b = 0, sp = 0, bp = 0;
        sp = timed([&] {
            s = timed([&] { entries.selectGroupLine(k); });
            settle();
        });
        bp = timed([&] {
            b = timed([&] {
                bare.clear();
                bare.addItems(titles[k]);
            });
            settle();
        });
        if (w.entryList->count() != titles[k].size() + 1) {
            std::fprintf(stderr, "the entry list holds %d lines\n", w.entryList->count());
            return 1;
        }
        if (r >= 5) { // after a warm-up
            switchMs.push_back(s);
            bareMs.push_back(b);
            switchPaintMs.push_back(sp);
            barePaintMs.push_back(bp);
        }
    }
    using BenchProgram::median;
    std::printf("bare list, 999 titles added      %8.3f ms, with its painting %8.3f ms\n",
                median(bareMs), median(barePaintMs));
    std::printf("plimsa, group switch             %8.3f ms, with its painting %8.3f ms\n",
                median(switchMs), median(switchPaintMs));
    std::printf("ratio                            %8.2f,    with the painting %8.2f\n",
                median(switchMs) / median(bareMs), median(switchPaintMs) / median(barePaintMs));
    if (showParts)
        parts({window, plimsa.table(), titles, bare, reps});
    return 0;
}
