// Typing into an entry with the recovery copy kept against typing with it
// switched off, in the same run, rounds interleaved: each key from its press
// to the text box repainted. Each round types a burst of keys, then pauses
// past the copy's wait, so the copy is written between bursts as it is while
// a person types. Goal: the medians within 1.1x. Also the copy's own write,
// which runs in the pause, never on a key's path: a key pressed during it
// waits at most that long.
// Usage: bench_typing [--rounds N] [--keys N] [--lines N] [--dir FOLDER]

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "common/benchprogram.h"
#include "editing/recoverycopy_w.h"
#include "notebook/entrylist_w.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// A key as the window system delivers it: press, then release.
void press(QWidget *to, Qt::Key key, const QString &text)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &down);
    QCoreApplication::sendEvent(to, &up);
}

void wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

template <typename Step> double timed(Step step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    int rounds = 10, keys = 40, lines = 200;
    QString dir;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--rounds"_s)
            rounds = std::max(1, args[++i].toInt());
        else if (args[i] == u"--keys"_s)
            keys = std::max(1, args[++i].toInt());
        else if (args[i] == u"--lines"_s)
            lines = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s)
            dir = args[++i];
    }
    QTemporaryDir scratch((dir.isEmpty() ? QDir::tempPath() : dir) + u"/bench_typing-XXXXXX"_s);
    // Two programs on two program folders alike: one keeps the copy, the
    // other has none (its recorder removed).
    struct Side
    {
        std::unique_ptr<Application> plimsa;
        QPlainTextEdit *box = nullptr;
        RecoveryRecorder *recorder = nullptr;
    } sides[2];
    BenchProgram::FailingMessages messages;
    for (int s = 0; s < 2; ++s) {
        const QString folder = scratch.path() + u"/program%1/"_s.arg(s);
        if (!scratch.isValid() || BenchProgram::makeProgramFolder(folder, 1, 3, true).groups == 0) {
            std::fprintf(stderr, "could not prepare %s\n", qPrintable(folder));
            return 1;
        }
        sides[s].plimsa = std::make_unique<Application>(folder, messages, [](int status) {
            std::fprintf(stderr, "program ended with %d\n", status);
            std::exit(2);
        });
        sides[s].plimsa->Main();
        MainWindow *window = sides[s].plimsa->mainWindow();
        QEventLoop start;
        QObject::connect(window, &MainWindow::startupWorkDone, &start, &QEventLoop::quit);
        start.exec();
        sides[s].box = window->widgets().entryText;
        sides[s].recorder = &window->recoveryRecorder();
        if (s == 1)
            delete sides[s].recorder;
        window->entryList().selectEntryLine(0);
        // An entry of some length, as a note being written has.
        sides[s].box->setFocus();
        for (int l = 0; l < lines; ++l)
            press(sides[s].box, Qt::Key_Return, u"\r"_s);
        if (!window->mainState().edit.textEdit()) {
            std::fprintf(stderr, "no edit began\n");
            return 1;
        }
    }

    std::vector<double> withCopy, without, writes;
    for (int r = 0; r < 2 * rounds; ++r) {
        const Side &side = sides[r % 2];
        side.box->window()->activateWindow();
        side.box->setFocus();
        std::vector<double> &into = r % 2 == 0 ? withCopy : without;
        for (int k = 0; k < keys; ++k) {
            into.push_back(timed([&] {
                press(side.box, Qt::Key_A, u"a"_s);
                side.box->viewport()->repaint();
            }));
        }
        if (r % 2 == 0) {
            // What the pause's write costs, as the timer runs it.
            if (!side.recorder->pending()) {
                std::fprintf(stderr, "the copy was not waiting to be written\n");
                return 1;
            }
            writes.push_back(timed([&] { (void)side.recorder->writeNow(); }));
        }
        wait(RecoveryRecorder::kDelayMs + 100);
    }
    std::printf("platform: %s; %d rounds of %d keys each way, in an entry of %d lines\n",
                qPrintable(QGuiApplication::platformName()), rounds, keys, lines);
    BenchStats::report("key press to repaint, with the recovery copy", "without", withCopy, without,
                       1.1);
    std::printf("the copy's write in the pause: median %.2f ms, longest %.2f ms\n",
                BenchStats::median(writes), *std::max_element(writes.begin(), writes.end()));
    return 0;
}
