// Endurance: many random commands of every kind (tests/soak/soakcommands.h) in one
// run of the real main window on a full-size notebook. Memory after the run
// against memory after the first thousand (goal: within 5 %, no leak), the
// group switch at the start, after the first thousand and at the end (goal:
// no slowdown), and at the end every file as it should be: the notebook loads
// as the start loads it, every title has its file (separator lines and the
// new entry's placeholder have none), and the texts on disk are exactly the
// texts there were at the start with those the commands stored added and
// those they let go of taken away.
// Usage: bench_endurance [--commands N] [--groups G] [--entries E] [--seed S] [--dir FOLDER]

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "common/benchprogram.h"
#include "notebook/entrylist_w.h"
#include "soak/soakcommands.h"
#include "soak/soakjournal.h"
#include "store/notetable.h"

#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>

#include <cstdio>
#include <malloc.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Message boxes are answered; an error report is counted as a failure.
class CountingMessages : public Messages
{
public:
    void message(Icon icon, const QString &title, const QString &text) override
    {
        if (icon == Icon::Critical) {
            ++reports;
            std::fprintf(stderr, "report: %s: %s\n", qPrintable(title), qPrintable(text));
        }
    }
    void beep() override {}
    int reports = 0;
};

struct Memory
{
    double residentMb = 0; // VmRSS
    double heapMb = 0;     // bytes the allocator has handed out and not got back
};

Memory memory()
{
    ::malloc_trim(0);
    Memory m;
    m.heapMb = double(::mallinfo2().uordblks) / (1 << 20);
    QFile status(u"/proc/self/status"_s);
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith("VmRSS:"))
                m.residentMb = line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
        }
    }
    return m;
}

// The median of switching, back and forth, between the two groups with the
// most entries, each switch until the window is idle again.
struct Switch
{
    double ms = 0;
    int entries = 0;
};

Switch groupSwitch(Application &plimsa)
{
    MainWindow &window = *plimsa.mainWindow();
    const NoteTable &table = plimsa.table();
    std::vector<std::pair<int, int>> sizes; // entries, line
    for (int line = 0; line < window.widgets().groupList->count(); ++line) {
        const int slot = window.groupList().slotOfLine(line);
        if (slot >= 0)
            sizes.emplace_back(table.entryCount(slot), line);
    }
    std::sort(sizes.rbegin(), sizes.rend());
    Switch result;
    if (sizes.size() < 2)
        return result;
    const int lines[2] = {sizes[0].second, sizes[1].second};
    result.entries = sizes[1].first;
    std::vector<double> times;
    for (int r = 0; r < 201; ++r) {
        QElapsedTimer clock;
        clock.start();
        window.entryList().selectGroupLine(lines[r % 2]);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        if (r > 0)
            times.push_back(clock.nsecsElapsed() / 1e6);
    }
    result.ms = BenchProgram::median(times);
    return result;
}

void remove(SoakJournal::Texts &texts, const QString &text)
{
    if (--texts[text] <= 0)
        texts.remove(text);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qapp(argc, argv);
    int commands = 10000, groups = 100, entries = 999;
    quint32 seed = 1;
    QString dir;
    const QStringList args = QCoreApplication::arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == u"--commands"_s)
            commands = std::max(1000, args[++i].toInt());
        else if (args[i] == u"--groups"_s)
            groups = std::clamp(args[++i].toInt(), 3, 100);
        else if (args[i] == u"--entries"_s)
            entries = std::clamp(args[++i].toInt(), 1, 999);
        else if (args[i] == u"--seed"_s)
            seed = args[++i].toUInt();
        else if (args[i] == u"--dir"_s)
            dir = args[++i];
    }

    QTemporaryDir scratch((dir.isEmpty() ? QDir::tempPath() : dir) + u"/bench_endurance-XXXXXX"_s);
    const QString folder = scratch.path() + u"/program/"_s;
    std::printf("generating %d groups of %d entries...\n", groups, entries);
    std::fflush(stdout);
    if (!scratch.isValid() ||
        BenchProgram::makeProgramFolder(folder, groups, entries, true).groups == 0) {
        std::fprintf(stderr, "could not prepare %s\n", qPrintable(folder));
        return 1;
    }
    SoakJournal::Texts expected = SoakJournal::heldTexts(readFolder(folder));

    CountingMessages messages;
    BenchProgram::QuietDesktop desktop;
    Application plimsa(
        folder, messages,
        [](int status) {
            std::fprintf(stderr, "program ended with %d\n", status);
            std::exit(2);
        },
        &desktop);
    if (!startProgram(plimsa, 60000))
        return 1;

    const Switch atStart = groupSwitch(plimsa);
    std::printf("%-8s %9s %9s %14s %9s\n", "commands", "RSS MB", "heap MB", "switch ms", "seconds");
    std::printf("%8d %9.1f %9.1f %8.2f (%3d) %9s\n", 0, memory().residentMb, memory().heapMb,
                atStart.ms, atStart.entries, "");
    std::fflush(stdout);

    SoakCommands soak(plimsa, seed);
    QElapsedTimer clock;
    clock.start();
    Memory afterFirst, atEnd;
    Switch switchFirst, switchEnd;
    QMap<QString, int> given;
    for (int n = 1; n <= commands; ++n) {
        SoakCommands::Step step = soak.plan();
        QString why;
        const int reports = messages.reports;
        if (!soak.run(step, &why)) {
            std::fprintf(stderr, "command %d (%s): %s\n", n, qPrintable(step.name),
                         qPrintable(why));
            return 2;
        }
        ++given[step.name];
        if (messages.reports == reports) {
            for (const QString &text : std::as_const(step.gone))
                remove(expected, text);
            for (const QString &text : std::as_const(step.added))
                ++expected[text];
        }
        if (n % 1000 == 0) {
            const Memory m = memory();
            const Switch s = groupSwitch(plimsa);
            std::printf("%8d %9.1f %9.1f %8.2f (%3d) %9.0f\n", n, m.residentMb, m.heapMb, s.ms,
                        s.entries, clock.elapsed() / 1000.0);
            std::fflush(stdout);
            if (n == 1000) {
                afterFirst = m;
                switchFirst = s;
            }
            atEnd = m;
            switchEnd = s;
        }
    }

    std::printf("commands given:");
    for (auto it = given.begin(); it != given.end(); ++it)
        std::printf(" %s %d;", qPrintable(it.key()), it.value());
    std::printf("\n");
    const double residentGrowth = 100.0 * (atEnd.residentMb / afterFirst.residentMb - 1);
    const double heapGrowth = 100.0 * (atEnd.heapMb / afterFirst.heapMb - 1);
    std::printf("memory after %d commands against after 1000: RSS %+.1f %%, heap %+.1f %% "
                "(goal: within 5 %%)\n",
                commands, residentGrowth, heapGrowth);
    std::printf("group switch: %.2f ms at the start, %.2f ms after 1000, %.2f ms at the end "
                "(ratio end/1000: %.2f)\n",
                atStart.ms, switchFirst.ms, switchEnd.ms, switchEnd.ms / switchFirst.ms);

    // The end: every file as it should be.
    QStringList problems;
    if (const QString problem = loadProblem(folder); !problem.isEmpty())
        problems << problem;
    const Files files = readFolder(folder);
    for (const QString &name : namesWithoutFile(files)) {
        if (!SoakJournal::withoutFileByDesign(name))
            problems << u"no file for "_s + name;
    }
    const SoakJournal::Texts held = SoakJournal::heldTexts(files);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (held.value(it.key()) != it.value())
            problems << u"text held %1 times, expected %2: %3"_s.arg(held.value(it.key()))
                            .arg(it.value())
                            .arg(it.key().left(60));
    }
    for (auto it = held.begin(); it != held.end(); ++it) {
        if (!expected.contains(it.key()))
            problems << u"text nobody stored: "_s + it.key().left(60);
    }
    std::printf("files at the end: %lld texts, %lld problems, %d error reports\n",
                static_cast<long long>(held.size()), static_cast<long long>(problems.size()),
                messages.reports);
    for (const QString &problem : problems.mid(0, 20))
        std::printf("  %s\n", qPrintable(problem));
    return problems.isEmpty() && messages.reports == 0 ? 0 : 3;
}
