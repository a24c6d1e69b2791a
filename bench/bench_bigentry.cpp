// A very large entry (50 MB by default: lines of 79 characters) against a bare
// QPlainTextEdit of the same size and font showing the same text, in the same
// run, interleaved:
//   shown          the entry selected until the window is idle again, against
//                  the bare box given the file's text (read, decoded, each CR
//                  of its CR LF removed, set); goal within 2x;
//   away and back  the next entry and back again, against showing it once;
//                  goal within 2x;
//   peak memory    the program's peak resident memory with the entry shown,
//                  less its peak on an empty notebook, against the file's
//                  bytes; goal within 4x (each measured in a process of its own).
// Usage: bench_bigentry [--mb N] [--reps N] [--dir FOLDER]
//        (bench_bigentry --peak empty|big FOLDER: one side of the memory figure)

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "common/benchprogram.h"
#include "notebook/entrylist_w.h"
#include "store/codepage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

void settle()
{
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

template <typename Step> double timed(Step step)
{
    QElapsedTimer clock;
    clock.start();
    step();
    return clock.nsecsElapsed() / 1e6;
}

// The peak resident memory of this process so far, in bytes.
qint64 peakBytes()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A program folder whose store holds group "Big": "small", "huge" of `mb`
// megabytes, "after"; or, `empty`, one group without entries.
bool prepare(const QString &folder, int mb, bool empty)
{
    if (BenchProgram::makeProgramFolder(folder, 1, 0, false).groups == 0)
        return false;
    const QString store = folder + u"FileStore/"_s;
    QDir(store + u"G0"_s).removeRecursively();
    QByteArray index = "idx Plimsa 1.3.02\r\nBig\r\n";
    if (!empty) {
        index += "\\small\r\n\\huge\r\n\\after\r\n";
        QByteArray huge = "01.01.2026 - 10:00:00\r\n";
        const QByteArray line = QByteArray(79, 'x') + "\r\n";
        huge.reserve(qsizetype(mb) * 1000 * 1000 + line.size());
        for (int i = 0; huge.size() < qsizetype(mb) * 1000 * 1000; ++i) {
            QByteArray numbered = line;
            numbered.replace(0, 8, QByteArray::number(i).rightJustified(8, '0'));
            huge += numbered;
        }
        if (!writeBytes(store + u"Big/huge.txt"_s, huge) ||
            !writeBytes(store + u"Big/small.txt"_s, "01.01.2026 - 10:00:00\r\nsmall\r\n") ||
            !writeBytes(store + u"Big/after.txt"_s, "01.01.2026 - 10:00:00\r\nafter\r\n"))
            return false;
    }
    return writeBytes(store + u"Big/_mask.dat"_s, "") && writeBytes(store + u"idx.dat"_s, index);
}

MainWindow *started(Application &plimsa)
{
    plimsa.Main();
    MainWindow *window = plimsa.mainWindow();
    if (!window)
        return nullptr;
    QEventLoop start;
    QObject::connect(window, &MainWindow::startupWorkDone, &start, &QEventLoop::quit);
    start.exec();
    settle();
    return window;
}

// One side of the memory figure: the program on `folder`, with the big entry
// shown unless the notebook is the empty one; prints its peak.
int peak(const QString &kind, const QString &folder)
{
    if (kind == u"doc"_s) {
        const qint64 before = peakBytes();
        QTextDocument doc;
        doc.setUndoRedoEnabled(false);
        {
            QFile file(folder + u"FileStore/Big/huge.txt"_s);
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            QTextCursor cursor(&doc);
            while (!file.atEnd()) {
                QString text = CodePage::decode(file.read(1 << 20));
                text.remove(u'\r');
                cursor.insertText(text);
            }
        }
        std::printf("%lld blocks %d\n", static_cast<long long>(peakBytes() - before),
                    doc.blockCount());
        return 0;
    }
    if (kind == u"chunked"_s) {
        const qint64 before = peakBytes();
        QPlainTextEdit bare;
        bare.setLineWrapMode(qEnvironmentVariableIsSet("WRAP") ? QPlainTextEdit::WidgetWidth
                                                               : QPlainTextEdit::NoWrap);
        bare.show();
        {
            QFile file(folder + u"FileStore/Big/huge.txt"_s);
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            QTextDocument *doc = bare.document();
            doc->setUndoRedoEnabled(false);
            QTextCursor cursor(doc);
            cursor.beginEditBlock();
            while (!file.atEnd()) {
                QString text = CodePage::decode(file.read(1 << 20));
                text.remove(u'\r');
                cursor.insertText(text);
            }
            cursor.endEditBlock();
        }
        settle();
        std::printf("%lld\n", static_cast<long long>(peakBytes() - before));
        return 0;
    }
    if (kind == u"bare"_s) {
        const qint64 before = peakBytes();
        QPlainTextEdit bare;
        bare.setLineWrapMode(QPlainTextEdit::NoWrap);
        bare.show();
        {
            QFile file(folder + u"FileStore/Big/huge.txt"_s);
            if (!file.open(QIODevice::ReadOnly))
                return 1;
            QString text = CodePage::decode(file.readAll());
            text.remove(u'\r');
            bare.setPlainText(text);
        }
        settle();
        std::printf("%lld\n", static_cast<long long>(peakBytes() - before));
        return 0;
    }
    BenchProgram::FailingMessages messages;
    Application plimsa(folder, messages, [](int) { std::exit(2); });
    MainWindow *window = started(plimsa);
    if (!window)
        return 1;
    if (kind == u"big"_s) {
        window->entryList().selectEntryLine(1);
        settle();
    }
    std::printf("%lld\n", static_cast<long long>(peakBytes()));
    return 0;
}

qint64 peakOf(const QString &kind, const QString &folder)
{
    QProcess side;
    side.start(QCoreApplication::applicationFilePath(), {u"--peak"_s, kind, folder});
    if (!side.waitForFinished(600000) || side.exitCode() != 0) {
        std::fprintf(stderr, "%s: %s%s\n", qPrintable(kind),
                     side.readAllStandardError().constData(),
                     side.readAllStandardOutput().constData());
        return -1;
    }
    return side.readAllStandardOutput().trimmed().toLongLong();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    int mb = 50, reps = 5;
    QString dir;
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 4 && args[1] == u"--peak"_s)
        return peak(args[2], args[3]);
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--mb"_s && i + 1 < args.size())
            mb = std::max(1, args[++i].toInt());
        else if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dir = args[++i];
    }
    QTemporaryDir scratch((dir.isEmpty() ? QDir::tempPath() : dir) + u"/bench_bigentry-XXXXXX"_s);
    const QString folder = scratch.path() + u"/program/"_s;
    const QString empty = scratch.path() + u"/empty/"_s;
    if (!scratch.isValid() || !prepare(folder, mb, false) || !prepare(empty, mb, true)) {
        std::fprintf(stderr, "could not prepare %s\n", qPrintable(scratch.path()));
        return 1;
    }
    const QString hugePath = folder + u"FileStore/Big/huge.txt"_s;
    const qint64 fileBytes = QFileInfo(hugePath).size();

    // Before this process takes the store: each side needs it for itself.
    const qint64 bigPeak = peakOf(u"big"_s, folder);
    const qint64 emptyPeak = peakOf(u"empty"_s, empty);
    if (bigPeak < 0 || emptyPeak < 0) {
        std::fprintf(stderr, "a memory run failed\n");
        return 1;
    }
    const double ratio = double(bigPeak - emptyPeak) / double(fileBytes);
    std::printf("peak memory: %.1f MB with the entry shown, %.1f MB on an empty notebook: "
                "%.1f MB above it, %.2fx the file's bytes (goal <= 4: %s)\n",
                bigPeak / 1e6, emptyPeak / 1e6, (bigPeak - emptyPeak) / 1e6, ratio,
                ratio <= 4 ? "met" : "missed");

    BenchProgram::FailingMessages messages;
    Application plimsa(folder, messages, [](int status) {
        std::fprintf(stderr, "program ended with %d\n", status);
        std::exit(2);
    });
    MainWindow *window = started(plimsa);
    if (!window)
        return 1;
    const MainWidgets &w = window->widgets();
    EntryList &entries = window->entryList();

    QPlainTextEdit bare;
    bare.setFont(w.entryText->font());
    bare.setLineWrapMode(QPlainTextEdit::NoWrap);
    bare.resize(w.entryText->size());
    bare.show();
    settle();

    std::printf("platform: %s; entry of %lld bytes (%d MB); %d rounds\n",
                qPrintable(QGuiApplication::platformName()), static_cast<long long>(fileBytes), mb,
                reps);
    std::vector<double> shown, bareShown, awayAndBack;
    for (int r = 0; r < reps; ++r) {
        entries.selectEntryLine(0);
        settle();
        shown.push_back(timed([&] {
            entries.selectEntryLine(1);
            settle();
        }));
        if (w.entryText->document()->blockCount() < 2) {
            std::fprintf(stderr, "the entry was not shown\n");
            return 1;
        }
        awayAndBack.push_back(timed([&] {
            entries.selectEntryLine(2);
            settle();
            entries.selectEntryLine(1);
            settle();
        }));
        bare.clear();
        settle();
        bareShown.push_back(timed([&] {
            QFile file(hugePath);
            if (!file.open(QIODevice::ReadOnly))
                std::exit(1);
            QString text = CodePage::decode(file.readAll());
            text.remove(u'\r');
            bare.setPlainText(text);
            settle();
        }));
    }
    BenchStats::report("shown: the entry selected, until idle", "bare QPlainTextEdit", shown,
                       bareShown, 2.0);
    BenchStats::report("away and back: the next entry and back", "shown", awayAndBack, shown, 2.0);

    return 0;
}
