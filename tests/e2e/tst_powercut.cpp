// Every state of the disk a power cut could leave during or after each
// command that writes (see support/powercut.h): after each, the next start
// loads, no file is torn, every title of idx.dat has its file (apart from
// those the design lists without one, which have none before the command or
// none after it: the new entry's placeholder, separator lines),
// every text is still there, and what the command saved once it returned
// without a report is there for good.

#include "support/appfixture.h"
#include "support/foldercontents.h"
#include "support/powercut.h"
#include "support/writingcommands.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

enum class Links { Hard, UnnamedOnly, None };

// A file system without hard links answers a link with EPERM. Every copy
// first tries to link its source, then links its unnamed file: refusing
// every other link leaves the second.
Sys::Hook linksRefused(Links links)
{
    if (links == Links::Hard)
        return {};
    auto count = std::make_shared<int>(0);
    return [links, count](Sys::Op op, const char *) {
        Sys::Fault fault;
        if (op == Sys::Op::Link && (links == Links::None || (*count)++ % 2 == 0))
            fault.error = EPERM;
        return fault;
    };
}

// What every state of one command is held to.
struct Expected
{
    QHash<QString, QSet<QByteArray>> versions; // every content each file had, whole
    QStringList withoutFile;                   // names without a file before or after
    QStringList texts;                         // texts that must stay
    Files end;                                 // what the command left
    WritingCommand::Saved saved;
};

// `scratch` is a folder to load the state from.
QString problemOf(const Files &state, bool atEnd, const Expected &expected, const QString &scratch)
{
    for (auto it = state.begin(); it != state.end(); ++it) {
        if (!isLeftover(it.key()) && !expected.versions.value(it.key()).contains(it.value()))
            return u"torn: "_s + it.key();
    }
    for (const QString &name : namesWithoutFile(state)) {
        if (!expected.withoutFile.contains(name))
            return u"no file for "_s + name;
    }
    const QStringList held = textsOf(state);
    for (const QString &text : expected.texts) {
        if (!held.contains(text))
            return u"text lost: "_s + text;
    }
    if (atEnd) {
        const WritingCommand::Saved &saved = expected.saved;
        if (!saved.text.isEmpty() &&
            !(saved.in.isEmpty() ? held.contains(saved.text)
                                 : state.value(saved.in).contains(saved.text.toLatin1())))
            return u"a save confirmed to the user is gone: "_s + saved.text;
        Files withoutLeftovers = state;
        withoutLeftovers.removeIf([](const auto &file) { return isLeftover(file.key()); });
        if (withoutLeftovers != expected.end)
            return u"the command returned before its change was on disk for good: "_s +
                   differences(withoutLeftovers, expected.end).join(u", "_s);
    }
    restoreFolder(scratch, state);
    return loadProblem(scratch);
}

} // namespace

class tst_PowerCut : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QFileInfo(u"/dev/shm"_s).isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }

    // Each command also as on file systems without hard links (FAT, many
    // network shares), where a second name for an entry's text is a copy:
    // an unnamed file linked in once written, or, without those either, a
    // new file created under its name.
    void everyState_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("links");
        const QList<WritingCommand> commands = writingCommands();
        for (int i = 0; i < commands.size(); ++i) {
            QTest::newRow(qPrintable(commands[i].name)) << i << int(Links::Hard);
            QTest::addRow("%s, copied through an unnamed file", qPrintable(commands[i].name))
                << i << int(Links::UnnamedOnly);
            QTest::addRow("%s, copied", qPrintable(commands[i].name)) << i << int(Links::None);
        }
    }
    void everyState()
    {
        QFETCH(int, row);
        QFETCH(int, links);
        const WritingCommand command = writingCommands().at(row);
        AppFixture nb;
        QVERIFY(startFor(nb, command));

        PowerCut recording(nb.path({}), linksRefused(Links(links)));
        command.action(nb);
        recording.finish();
        QVERIFY(!QTest::currentTestFailed());
        // A command that ends with a report of its own shows that alone.
        QVERIFY2(nb.messages.shown.size() == (command.report.isEmpty() ? 0 : 1),
                 qPrintable(nb.messages.shown.value(0).text));

        const int steps = recording.steps();
        Expected expected;
        for (int cut = 0; cut <= steps; ++cut) {
            const Files truth = recording.truthAt(cut);
            for (auto it = truth.begin(); it != truth.end(); ++it)
                expected.versions[it.key()].insert(it.value());
        }
        const Files start = recording.truthAt(0);
        expected.end = recording.truthAt(steps);
        expected.end.removeIf([](const auto &file) { return isLeftover(file.key()); });
        expected.withoutFile = namesWithoutFile(start) + namesWithoutFile(expected.end);
        for (const QString &text : textsOf(start)) {
            if (!command.mayGo.contains(text))
                expected.texts.append(text);
        }
        expected.saved = command.saved;

        QStringList failures;
        QList<Files> distinct;
        const QTemporaryDir scratch;
        for (int cut = 0; cut <= steps; ++cut) {
            for (const Files &state : recording.statesAt(cut)) {
                if (!distinct.contains(state))
                    distinct.append(state);
                const QString problem = problemOf(state, cut == steps, expected, scratch.path());
                if (!problem.isEmpty() && failures.size() < 20)
                    failures << u"cut after %1 of %2 steps (%3): %4"_s.arg(cut).arg(steps).arg(
                        cut ? recording.describe(cut - 1) : u"none"_s, problem);
            }
        }
        // The real program started on each state the plain file system can
        // leave: it shows no message and removes what a write left behind.
        if (Links(links) == Links::Hard) {
            AppFixture next;
            next.quickStart = true;
            for (const Files &state : std::as_const(distinct)) {
                restoreFolder(next.path({}), state);
                QStringList leftovers;
                if (!next.restart() || !next.messages.shown.isEmpty())
                    failures << u"the next start failed: "_s + next.messages.shown.value(0).text;
                else if (readFolder(next.path({}), &leftovers), !leftovers.isEmpty())
                    failures << u"the next start left new files: "_s + leftovers.join(u' ');
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
    }
};

QTEST_MAIN(tst_PowerCut)
#include "tst_powercut.moc"
