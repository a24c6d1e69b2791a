// Start-up time: from starting the process to the end of the start-up work
// (the settings applied after the first paint) on a full-size notebook, against
// a bare Qt window reaching its first paint. Both run as child processes of
// this program, interleaved, in the same run; the time is taken here, from
// QProcess::start to the child's "done" line.
// Usage: bench_startup [--reps N] [--dir FOLDER] [--entry-files]
// (the child modes --child-app FOLDER and --child-bare are for its own use)

#include "app/application_w.h"
#include "app/frmmain.h"
#include "common/benchprogram.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/store.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int kPresetDelayMs = 100; // timPreset: the design's wait after the first paint

void say(const char *line)
{
    std::fputs(line, stdout);
    std::fflush(stdout);
}

int childApp(const QString &folder)
{
    BenchProgram::FailingMessages messages;
    Application app(folder, messages, [](int status) {
        std::fprintf(stderr, "program ended with %d\n", status);
        say("failed\n");
        std::exit(2);
    });
    app.Main();
    QObject::connect(app.mainWindow(), &FrmMain::startupWorkDone, qApp, [] {
        say("done\n");
        QCoreApplication::exit(0);
    });
    return QApplication::exec();
}

class FirstPaint : public QObject
{
protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            say("done\n");
            QCoreApplication::exit(0);
        }
        return false;
    }
};

int childBare()
{
    QWidget window;
    window.resize(800, 533);
    FirstPaint filter;
    window.installEventFilter(&filter);
    window.show();
    return QApplication::exec();
}

bool makeProgramFolder(const QString &folder, bool entryFiles)
{
    const NotebookGen::Summary summary =
        BenchProgram::makeProgramFolder(folder, 100, 999, entryFiles);
    std::printf("notebook: %d groups, %d entries, idx.dat %lld bytes\n", summary.groups,
                summary.entries, static_cast<long long>(summary.indexBytes));
    return summary.groups > 0;
}

// Milliseconds from starting the child to its "done" line; -1 on failure.
double timeChild(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    QByteArray line;
    while (!line.endsWith('\n')) {
        if (!child.waitForReadyRead(30000))
            return -1;
        line += child.readLine();
    }
    const double ms = clock.nsecsElapsed() / 1e6;
    child.waitForFinished(30000);
    return line == "done\n" ? ms : -1;
}

int parent(const QStringList &args)
{
    int reps = 15;
    QString dir;
    bool entryFiles = false;
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dir = args[++i];
        else if (args[i] == u"--entry-files"_s)
            entryFiles = true;
    }
    QTemporaryDir scratch(dir.isEmpty() ? QDir::tempPath() + u"/bench_startup-XXXXXX"_s
                                        : dir + u"/bench_startup-XXXXXX"_s);
    const QString folder = scratch.path() + u"/program/"_s;
    if (!scratch.isValid() || !makeProgramFolder(folder, entryFiles)) {
        std::fprintf(stderr, "could not prepare %s\n", qPrintable(folder));
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::printf("platform: %s, %d runs each (after one warm-up)\n",
                qgetenv("QT_QPA_PLATFORM").isEmpty() ? "default"
                                                     : qgetenv("QT_QPA_PLATFORM").constData(),
                reps);

    std::vector<double> bare, app;
    for (int r = 0; r < reps + 1; ++r) {
        const double b = timeChild({u"--child-bare"_s});
        const double a = timeChild({u"--child-app"_s, folder});
        if (b < 0 || a < 0) {
            std::fprintf(stderr, "a child failed\n");
            return 1;
        }
        if (r > 0) {
            bare.push_back(b);
            app.push_back(a);
        }
    }
    const double mb = BenchProgram::median(bare);
    const double ma = BenchProgram::median(app);
    std::printf("bare window, first paint        %8.1f ms (median)\n", mb);
    std::printf("plimsa, end of start-up work    %8.1f ms (median)\n", ma);
    std::printf("ratio                           %8.2f\n", ma / mb);
    std::printf("ratio without the %d ms wait    %8.2f\n", kPresetDelayMs,
                (ma - kPresetDelayMs) / mb);
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
