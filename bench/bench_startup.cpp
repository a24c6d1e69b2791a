// Start-up time on a full-size notebook (100 x 999 entries) with its entry
// files, and on the same idx.dat without them (but for the one file the start
// shows), against a bare Qt window
// reaching its first paint. Each runs as a child process of this program,
// interleaved, in the same run; the times are taken here, from QProcess::start
// to the child's lines: "painted" when the main window is first painted,
// "done" at the end of the start-up work (the settings applied 100 ms later).
// At "done" each program child also gives the processor time it has used and
// its peak resident memory: the start's CPU with the entry files against
// without them, and the memory on the full notebook against the same window
// on an empty notebook (one group, no entries).
// Usage: bench_startup [--reps N] [--dir FOLDER]
// With --dir the two generated program folders are kept there and used again.
// (the child modes --child-app FOLDER and --child-bare are for its own use)

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "common/benchprogram.h"
#include "notebook/grouplist.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "store/store.h"
#include "store/storepaths.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPresetDelayMs = 100; // startSettingsTimer: the design's wait after the first paint

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fflush(stdout);
}

// Says `line` at the first paint of `window`; with `last`, the program ends then.
class FirstPaint : public QObject
{
public:
    FirstPaint(const char *line, bool last) : line_(line), last_(last) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && line_) {
            say(line_);
            line_ = nullptr;
            watched->removeEventFilter(this);
            if (last_)
                QCoreApplication::exit(0);
        }
        return false;
    }

private:
    const char *line_;
    bool last_;
};

// "done", the processor time used so far (ms) and the peak resident set (kB).
QByteArray doneLine()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const double cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                         (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    qint64 peakKb = 0;
    QFile status(u"/proc/self/status"_s);
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                peakKb = line.mid(6).trimmed().split(' ').value(0).toLongLong();
        }
    }
    return "done " + QByteArray::number(cpuMs, 'f', 1) + ' ' + QByteArray::number(peakKb) + '\n';
}

int childApp(const QString &folder)
{
    BenchProgram::FailingMessages messages;
    Application app(folder, messages, [](int status) {
        std::fprintf(stderr, "program ended with %d\n", status);
        say("failed\n");
        std::exit(2);
    });
    FirstPaint painted("painted\n", false);
    app.Main();
    app.mainWindow()->installEventFilter(&painted);
    QObject::connect(app.mainWindow(), &MainWindow::startupWorkDone, qApp, [] {
        say(doneLine().constData());
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

int childBare()
{
    QWidget window;
    window.resize(800, 533);
    FirstPaint filter("done\n", true);
    window.installEventFilter(&filter);
    window.show();
    return QApplication::exec();
}

// The program folder without the entry files keeps the one file the start
// shows (the first entry of the group it opens on): both starts then show and
// lay out the same text and differ by the other 97,021 files alone.
bool copyShownEntry(const QString &withFiles, const QString &indexOnly)
{
    AppState state;
    state.programFolder = indexOnly;
    NoteTable table;
    Store store(state, table);
    if (store.LoadPreferences() || store.LoadIndex())
        return false;
    GroupList::orderRows(table);
    NotebookModel model(table, state);
    GroupLinesModel lines;
    lines.setSourceModel(&model);
    GroupList list;
    list.attach(model, lines);
    list.fill(state.hideYGroups());
    int line = 0;
    for (int i = 0; i < list.count(); ++i) {
        if (list.lines().at(i) == state.prefs.StartGroup)
            line = i;
    }
    const int g = list.slotOfLine(line);
    if (g < 0 || table.entryCount(g) == 0)
        return true;
    const QString group = table.name(g);
    const QString title = table.cell(g, 1);
    const QString from = StorePaths::entryFile(withFiles + u"FileStore/"_s, group, title);
    const QString to = StorePaths::entryFile(state.storeFolder, group, title);
    return !QFile::exists(from) || QFile::exists(to) || QFile::copy(from, to);
}

struct ChildUse
{
    double cpuMs = 0;
    double peakMb = 0;
};

// Milliseconds from starting the child to each of its lines, which must end
// with "done"; empty on failure. `use` receives what a program child reports.
std::vector<double> timeChild(const QStringList &arguments, ChildUse *use = nullptr)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    std::vector<double> times;
    QByteArray line;
    while (!line.startsWith("done")) {
        while (!child.canReadLine()) {
            if (!child.waitForReadyRead(30000))
                return {};
        }
        line = child.readLine();
        times.push_back(clock.nsecsElapsed() / 1e6);
        if (line != "painted\n" && !line.startsWith("done"))
            return {};
    }
    const QList<QByteArray> fields = line.trimmed().split(' ');
    if (use && fields.size() == 3) {
        use->cpuMs = fields[1].toDouble();
        use->peakMb = fields[2].toDouble() / 1024;
    }
    child.waitForFinished(30000);
    return times;
}

int parent(const QStringList &args)
{
    int reps = 15;
    QString dir;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dir = args[++i];
    }
    QTemporaryDir scratch(dir.isEmpty() ? QDir::tempPath() + u"/bench_startup-XXXXXX"_s
                                        : dir + u"/bench_startup-XXXXXX"_s);
    const QString parentFolder = dir.isEmpty() ? scratch.path() : dir;
    QString withFiles;
    QString indexOnly;
    QString empty;
    const NotebookGen::Summary made =
        BenchProgram::reusableProgramFolder(parentFolder, 100, 999, true, &withFiles);
    if (!scratch.isValid() || made.groups == 0 ||
        BenchProgram::reusableProgramFolder(parentFolder, 100, 999, false, &indexOnly).groups ==
            0 ||
        BenchProgram::reusableProgramFolder(parentFolder, 1, 0, false, &empty).groups == 0 ||
        !copyShownEntry(withFiles, indexOnly)) {
        std::fprintf(stderr, "could not prepare the program folders in %s\n",
                     qPrintable(parentFolder));
        return 1;
    }
    std::printf("notebook: %d groups, %d entries, idx.dat %lld bytes; with its %d files "
                "(%lld bytes) and without them\n",
                made.groups, made.entries, static_cast<long long>(made.indexBytes), made.files,
                static_cast<long long>(made.textBytes));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::printf("platform: %s, %d runs each (after one warm-up)\n\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default"
                                                     : qgetenv("QT_QPA_PLATFORM").constData(),
                reps);

    std::vector<double> bare, paintedFiles, doneFiles, paintedIndex, doneIndex, paintedEmpty;
    std::vector<double> cpuFiles, cpuIndex, peakFiles, peakEmpty;
    for (int r = 0; r < reps + 1; ++r) {
        ChildUse files, index, none;
        const std::vector<double> b = timeChild({u"--child-bare"_s});
        const std::vector<double> f = timeChild({u"--child-app"_s, withFiles}, &files);
        const std::vector<double> i = timeChild({u"--child-app"_s, indexOnly}, &index);
        const std::vector<double> e = timeChild({u"--child-app"_s, empty}, &none);
        if (b.size() != 1 || f.size() != 2 || i.size() != 2 || e.size() != 2) {
            std::fprintf(stderr, "a child failed\n");
            return 1;
        }
        if (r > 0) {
            bare.push_back(b[0]);
            paintedFiles.push_back(f[0]);
            doneFiles.push_back(f[1]);
            paintedIndex.push_back(i[0]);
            doneIndex.push_back(i[1]);
            cpuFiles.push_back(files.cpuMs);
            cpuIndex.push_back(index.cpuMs);
            peakFiles.push_back(files.peakMb);
            peakEmpty.push_back(none.peakMb);
            paintedEmpty.push_back(e[0]);
        }
    }
    BenchStats::report("main window first painted, notebook with its files, vs a bare window",
                       "bare", paintedFiles, bare, 2.0);
    // The second baseline: the same window and controls, its fonts and pictures,
    // on a notebook of one empty group. What the notebook adds to the first paint.
    BenchStats::report("main window first painted, notebook with its files, vs the same window "
                       "on an empty notebook",
                       "empty", paintedFiles, paintedEmpty, 2.0);
    BenchStats::report("end of the start-up work, with the entry files vs without them", "without",
                       doneFiles, doneIndex, 1.1);
    BenchStats::report("processor time of the start, with the entry files vs without them",
                       "without", cpuFiles, cpuIndex, 1.1);
    const double allowance = 3.0 * double(made.indexBytes) / (1024 * 1024);
    std::vector<double> peakAllowed;
    for (const double mb : peakEmpty)
        peakAllowed.push_back(mb + allowance);
    const double full = BenchProgram::median(peakFiles);
    const double allowed = BenchProgram::median(peakAllowed);
    std::printf("peak resident memory, full notebook vs the same window on an empty notebook\n"
                "  median %.1f MB (%.1f - %.1f), empty %.1f MB (%.1f - %.1f) + 3x idx.dat "
                "%.1f MB = %.1f MB: %s\n",
                full, *std::min_element(peakFiles.begin(), peakFiles.end()),
                *std::max_element(peakFiles.begin(), peakFiles.end()),
                BenchProgram::median(peakEmpty),
                *std::min_element(peakEmpty.begin(), peakEmpty.end()),
                *std::max_element(peakEmpty.begin(), peakEmpty.end()), allowance, allowed,
                full <= allowed ? "met" : "missed");
    std::printf("main window first painted, without the entry files: median %.1f ms\n"
                "end of the start-up work vs the bare window's first paint: %.2f "
                "(%.2f without the %d ms wait)\n",
                BenchProgram::median(paintedIndex),
                BenchProgram::median(doneFiles) / BenchProgram::median(bare),
                (BenchProgram::median(doneFiles) - kPresetDelayMs) / BenchProgram::median(bare),
                kPresetDelayMs);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QStringList args;
    for (int i = 0; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    if (args.size() >= 3 && args[1] == u"--child-app"_s) {
        QApplication qapp(argc, argv);
        return childApp(args[2]);
    }
    if (args.size() >= 2 && args[1] == u"--child-bare"_s) {
        QApplication qapp(argc, argv);
        return childBare();
    }
    QCoreApplication qapp(argc, argv);
    return parent(args);
}
