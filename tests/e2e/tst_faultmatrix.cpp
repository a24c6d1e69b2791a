// Every command that writes (support/writingcommands.h), run once cleanly
// with its file calls recorded, and then:
//
// Every state of the disk a power cut could leave during or after it (see
// PowerCut): after each, the next start loads, no file is torn, every title
// of idx.dat has its file (apart from those the design lists without one,
// which have none before the command or none after it: the new entry's
// placeholder, separator lines), every text is still there, and what the
// command saved once it returned without a report is there for good.
//
// Every file call failed in turn: once and for good, with ENOSPC, EIO, EROFS,
// EACCES, and (writes) a short write. After each case: the notebook on disk
// is as before the command or as after it, never between; the table is what
// idx.dat says; the user was told exactly when something was not saved; the
// program keeps running.
//
// Cost: one window per command. Each case runs in the same window as long as
// the one before left the program and the files as they were (a failure
// before the commit undoes everything). Only a case that changed something
// (done with a warning, a failed read of the view, pref.dat changed in
// memory) has the folder put back and the program started again.
// A fault once and the same fault for good are one case when the run for
// good failed one call alone: no later call of that kind came, so the run
// once makes the same calls with the same results. That is checked for each
// pair from the run for good, not assumed.
// reportNames: the file of the report, exactly, for a few faults whose file
// a report might easily get wrong.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/callfaults.h"
#include "support/foldercontents.h"
#include "support/notebookline.h"
#include "support/powercut.h"
#include "support/writingcommands.h"

#include "i18n/wordtable.h"
#include "store/appstate.h"
#include "store/indexfile.h"
#include "store/localfolder.h"
#include "store/notetable.h"
#include "store/preffile.h"
#include "store/recoveryfile.h"
#include "ui/codepagetextedit_w.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QList<int> kErrors{ENOSPC, EIO, EROFS, EACCES};

// What the program holds beside its files: when it is unchanged after a
// case, the next case can run in the same window. (Its table is what idx.dat
// says, or the case has failed.)
struct ProgramView
{
    QByteArray prefs;
    QStringList groups, entries;
    int group = -1, entry = -1;
    bool textEdit = false, maskEdit = false;
    QString text, mask, date;
    QStringList words; // every slot's words, as the language editor writes them
    bool operator==(const ProgramView &) const = default;
};

ProgramView viewOf(AppFixture &nb)
{
    const MainWidgets &w = nb.w();
    ProgramView view;
    view.prefs = PrefFile::serialize(nb.app().state().prefs, nb.app().state().ProgramVersion).bytes;
    view.groups = AppFixture::lines(w.groupList);
    view.entries = AppFixture::lines(w.entryList);
    view.group = w.groupList->currentRow();
    view.entry = w.entryList->currentRow();
    view.textEdit = nb.state().edit.textEdit();
    view.maskEdit = nb.state().edit.maskEdit();
    view.text = w.entryText->toPlainText();
    view.mask = w.maskText->toPlainText();
    view.date = w.dateLabel->text();
    for (int language = 1; language < WordTable::kLanguages; ++language) {
        for (int k = 0; k < WordTable::kWords; ++k)
            view.words << nb.app().wordTable().word(language, k);
    }
    return view;
}

// Every fault of the matrix for the calls of one clean run, for good.
QList<CallFault> faultsFor(const QList<std::pair<Sys::Op, QByteArray>> &calls)
{
    QList<CallFault> faults;
    QMap<Sys::Op, int> seen;
    for (const auto &[op, name] : calls) {
        // A refused lock is a store lost for the rest of the run, not a
        // failed write: the shared-store tests hold its cases.
        if (op == Sys::Op::Lock)
            continue;
        const int nth = seen[op]++;
        QList<int> errors = kErrors;
        if (op == Sys::Op::Write)
            errors << 0;
        for (const int error : std::as_const(errors))
            faults.append(CallFault{op, nth, error, true, name});
    }
    return faults;
}

// The command's notebook before and after a clean run.
struct Baseline
{
    Files pristine;      // before the command was prepared: what a restart begins from
    Files before, after; // dates taken out
    ProgramView program; // prepared, before the command
};

QString failureOf(const CallFault &fault, const QString &what)
{
    return fault.describe() + u": "_s + what;
}

// Everything a case must leave; "" when it did.
QString verify(const WritingCommand &command, const CallFault &fault, bool hit,
               const Baseline &base, AppFixture &nb, int openedBefore)
{
    QStringList leftovers;
    const Files files = withoutDates(readFolder(nb.path({}), &leftovers));
    const auto notebook = [&command](const Files &of) { return notebookOf(of, command.recovery); };
    const Files now = notebook(files);
    const bool unchanged = now == notebook(base.before);
    const bool done = now == notebook(base.after);
    if (!nb.window() || (nb.exitStatus && !(command.endsProgram && done)))
        return u"the program ended"_s;
    // A command done says so in a box of its own, which is no report of a failure.
    QList<RecordingMessages::Shown> shown = nb.messages.shown;
    shown.removeIf([&command](const RecordingMessages::Shown &message) {
        return !command.question.isEmpty() && message.title == command.question;
    });
    if (done && !command.report.isEmpty())
        shown.removeIf([&command](const RecordingMessages::Shown &message) {
            return message.title == command.report;
        });
    if (!unchanged && !done)
        return u"the notebook is neither as before nor as after the command (as after but "_s +
               differences(now, notebook(base.after)).join(u", "_s) + u')';
    const bool reading = fault.op == Sys::Op::OpenRead || fault.op == Sys::Op::Read;
    if (!hit && (!done || !shown.isEmpty()))
        return u"the fault was not reached, yet the command did not simply succeed"_s;
    if (unchanged && shown.isEmpty())
        return u"nothing was saved and nothing was said"_s;
    // A failed read shows as a missing text; a failed write, sync or name
    // change leaves the save in doubt, and the user must hear of it. A link
    // that fails, or an unnamed file ("." in its folder) that cannot be made,
    // is followed by a copy written and synced under its name before idx.dat
    // names it: done that way, the save is whole.
    const bool copiedInstead =
        done && (fault.op == Sys::Op::Link || (fault.op == Sys::Op::Open && fault.name == "."));
    if (hit && fault.error && !reading && !copiedInstead && shown.isEmpty())
        return u"the failure passed without a word"_s;
    if (done && files != base.after && shown.isEmpty())
        return u"files nothing names were left without a word"_s;
    if (shown.size() > 1)
        return u"%1 reports for one command"_s.arg(shown.size());
    for (const auto &message : shown) {
        if (!message.text.contains(QDir(nb.path({})).absolutePath()))
            return u"the report names no file of the notebook: "_s + message.text;
        if (fault.error && !message.text.contains(QString::fromLocal8Bit(strerror(fault.error))))
            return u"the report does not say why: "_s + message.text;
        // Nothing saved: cancelled; saved with a doubt left: continued. (The
        // import's own summary lists the files it skipped, whatever became of them.)
        if (message.icon == Messages::Icon::Critical &&
            !message.text.startsWith(nb.app().wordTable().word(0, unchanged ? 92 : 93)))
            return u"the report's head does not say what became of the command: "_s + message.text;
    }
    if (unchanged && nb.desktop.openedFiles.size() != openedBefore)
        return u"a file not written was opened in the editor"_s;
    if (!leftovers.isEmpty() && fault.op != Sys::Op::Unlink)
        return u"new files left over: "_s + leftovers.join(u' ');

    // A read of idx.dat that fails for good (the merge's) leaves the table as
    // it was, with a report: every write is refused until idx.dat reads.
    NoteTable onDisk;
    if (!IndexFile::parse(files.value(u"FileStore/idx.dat"_s), onDisk) ||
        (!(onDisk == nb.app().table()) && !(reading && unchanged && !shown.isEmpty())))
        return u"the table is not what idx.dat says"_s;
    const ProgramView program = viewOf(nb);
    // pref.dat holds what the program holds: written from it, or both as they were.
    const QByteArray pref = files.value(u"pref.dat"_s);
    const bool prefAgrees = pref == base.before.value(u"pref.dat"_s)
                                ? program.prefs == base.program.prefs
                                : program.prefs == pref;
    if (!prefAgrees && shown.isEmpty())
        return u"the settings differ from pref.dat without a word"_s;
    // An edit that was not saved goes on, its text kept for another try.
    if (unchanged && (base.program.textEdit || base.program.maskEdit) &&
        (program.textEdit != base.program.textEdit || program.maskEdit != base.program.maskEdit ||
         program.text != base.program.text || program.mask != base.program.mask))
        return u"the unsaved edit was not kept"_s;
    return {};
}

// What every state of one command is held to.
struct Expected
{
    QHash<QString, QSet<QByteArray>> versions; // every content each file had, whole
    QStringList withoutFile;                   // names without a file before or after
    QStringList texts;                         // texts that must stay
    Files end;                                 // what the command left
    WritingCommand::Saved saved;
    bool recovery = false; // the command writes the recovery copy
    // The end of an edit removes its recovery copy without a sync: a power
    // cut may bring it back, and the next start then finds it stored (or
    // offers it again); that is no change the command owes the disk.
    bool unsyncedRemoval(const QString &path) const
    {
        return !recovery && path.endsWith(u"/recovery.dat"_s);
    }
};

// A recovery copy in `state` offered by the start `next` made on it and
// restored into the edit: "" when it was, and its offer is taken off the
// messages; a copy the notebook already holds needs no offer.
QString recoveryProblem(AppFixture &next, const Files &state)
{
    std::optional<RecoveryCopy> copy;
    for (auto it = state.begin(); it != state.end(); ++it) {
        if (it.key().endsWith(u"/recovery.dat"_s))
            copy = RecoveryFile::parse(it.value());
    }
    QList<RecordingMessages::Shown> &shown = next.messages.shown;
    const qsizetype offers = shown.removeIf([](const RecordingMessages::Shown &message) {
        return message.text.startsWith(u"Plimsa ended while"_s);
    });
    if (!copy)
        return offers ? u"the next start offered a recovery copy it has not"_s : QString();
    // Not offered: the notebook holds its text already, and the copy went.
    if (!offers)
        return QFileInfo::exists(
                   RecoveryFile::path(next.path({}) + u'/', next.path(u"FileStore/"_s)))
                   ? u"the next start neither offered nor dropped the recovery copy"_s
                   : QString();
    const bool mask = copy->kind == RecoveryCopy::Kind::Mask;
    const QString held = boxText(mask ? next.maskText() : next.entryText());
    if (held != copy->text)
        return u"the recovered edit holds \"%1\", not \"%2\""_s.arg(held, copy->text);
    return {};
}

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
        QByteArray in = state.value(saved.in);
        for (auto it = state.begin(); saved.in.startsWith(u'*') && it != state.end(); ++it) {
            if (it.key().endsWith(saved.in.mid(1)))
                in = it.value();
        }
        if (!saved.text.isEmpty() &&
            !(saved.in.isEmpty() ? held.contains(saved.text) : in.contains(saved.text.toLatin1())))
            return u"a save confirmed to the user is gone: "_s + saved.text;
        Files withoutLeftovers = state;
        withoutLeftovers.removeIf([&expected](const auto &file) {
            return isLeftover(file.key()) || expected.unsyncedRemoval(file.key());
        });
        if (withoutLeftovers != expected.end)
            return u"the command returned before its change was on disk for good: "_s +
                   differences(withoutLeftovers, expected.end).join(u", "_s);
    }
    restoreFolder(scratch, state);
    return loadProblem(scratch);
}

// Every state a power cut during the command's recorded run could leave,
// held to what the command may do; each the plain file system can leave also
// started on. The failures, at most 20 of them.
QStringList powerCutProblems(const WritingCommand &command, const PowerCut &recording, Links links)
{
    const int steps = int(recording.steps.size());
    Expected expected;
    for (int cut = 0; cut <= steps; ++cut) {
        const Files truth = recording.truthAt(cut);
        for (auto it = truth.begin(); it != truth.end(); ++it)
            expected.versions[it.key()].insert(it.value());
    }
    const Files start = recording.truthAt(0);
    expected.end = recording.truthAt(steps);
    expected.recovery = command.recovery;
    expected.end.removeIf([&expected](const auto &file) {
        return isLeftover(file.key()) || expected.unsyncedRemoval(file.key());
    });
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
                    cut ? QString::fromLatin1(Sys::name(recording.steps[cut - 1].op)) : u"none"_s,
                    problem);
        }
    }
    // The real program started on each state the plain file system can
    // leave: it shows no message and removes what a write left behind. A
    // recovery copy left of an edit is offered, and restored (the default)
    // it is exactly what the edit's box holds then.
    if (links == Links::Hard) {
        AppFixture next;
        next.quickStart = true;
        // The program's own folder for the store is named after the store's
        // place, which is another one here.
        const QString local = QDir(next.path({}))
                                  .relativeFilePath(LocalFolder::forStore(
                                      next.path({}) + u'/', next.path(u"FileStore/"_s)));
        for (Files state : std::as_const(distinct)) {
            Files moved;
            for (auto it = state.begin(); it != state.end(); ++it) {
                const QString key = it.key();
                moved.insert(key.startsWith(u"local/"_s) ? local + u'/' + key.section(u'/', 2)
                                                         : key,
                             it.value());
            }
            state = moved;
            restoreFolder(next.path({}), state);
            QStringList leftovers;
            const bool started = next.restart();
            // A command cut short that its next start completes (the merge)
            // may say so, in its own box.
            next.messages.shown.removeIf([&command](const RecordingMessages::Shown &message) {
                return message.title == command.report;
            });
            if (!started) {
                failures << u"the next start failed: "_s + next.messages.shown.value(0).text;
                continue;
            }
            if (const QString problem = recoveryProblem(next, state); !problem.isEmpty())
                failures << problem;
            else if (!next.messages.shown.isEmpty())
                failures << u"the next start failed: "_s + next.messages.shown.value(0).text;
            else if (readFolder(next.path({}), &leftovers), !leftovers.isEmpty())
                failures << u"the next start left new files: "_s + leftovers.join(u' ');
        }
    }
    return failures;
}

} // namespace

class tst_FaultMatrix : public QObject
{
    Q_OBJECT

    // The window's program or files differ from the command's start.
    bool dirty_ = true;
    // The file system of this row has no hard links: entry files are copied.
    bool noHardLinks_ = false;

    // The cases one after another in one window, started again only after a
    // case that changed something.
    QStringList runInOneWindow(const WritingCommand &command, const QList<CallFault> &faults,
                               AppFixture &nb, const Baseline &base, QList<int> *failedCalls)
    {
        QStringList failures;
        for (const CallFault &fault : faults) {
            if (dirty_) {
                // The folder put back as it was before the command was prepared.
                restoreFolder(nb.path({}), base.pristine);
                if (!startFor(nb, command, true))
                    return failures << failureOf(fault, u"no start on the notebook"_s);
            }
            const int opened = int(nb.desktop.openedFiles.size());
            int failed = 0;
            {
                CallFaults faults(fault, noHardLinks_);
                command.action(nb);
                failed = faults.failed();
            }
            failedCalls->append(failed);
            if (QTest::currentTestFailed())
                return failures << failureOf(fault, u"the command's steps failed"_s);
            const QString failure = verify(command, fault, failed > 0, base, nb, opened);
            if (!failure.isEmpty())
                failures << failureOf(fault, failure);
            QStringList leftovers;
            const Files files = withoutDates(readFolder(nb.path({}), &leftovers));
            // A failed recovery copy is told once in an edit: the next case
            // needs a fresh one.
            dirty_ = !leftovers.isEmpty() || files != base.before || nb.exitStatus ||
                     !(viewOf(nb) == base.program) || command.recovery;
            nb.messages.shown.clear();
        }
        return failures;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Thousands of fsyncs: on a RAM disk where there is one, they cost
        // nothing, and what is tested does not depend on their cost.
        if (QFileInfo(u"/dev/shm"_s).isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }

    // Each command also as on file systems without hard links (FAT, many
    // network shares), where a second name for an entry's text is a copy:
    // an unnamed file linked in once written (power cuts alone), or, without
    // those either, a new file created under its name.
    void everyFault_data()
    {
        addCommandRows({u""_s, u", copied through an unnamed file"_s, u", copied"_s});
    }
    void everyFault()
    {
        QFETCH(int, row);
        QFETCH(int, variant);
        const auto links = Links(variant);
        const WritingCommand command = writingCommands().at(row);
        dirty_ = true;
        noHardLinks_ = links == Links::None;
        AppFixture nb;
        QVERIFY(startFor(nb, command));
        Baseline base;
        base.program = viewOf(nb);
        base.before = withoutDates(readFolder(nb.path({})));
        PowerCut recording(nb.path({}), links);
        command.action(nb);
        recording.finish();
        QVERIFY(!QTest::currentTestFailed());
        // A command that ends with a report of its own shows that alone (and
        // the question it asks first).
        const qsizetype questions = command.question.isEmpty() ? 0 : 1;
        QVERIFY2(nb.messages.shown.size() == (command.report.isEmpty() ? 0 : 1) + questions,
                 qPrintable(nb.messages.shown.value(0).text));
        base.after = withoutDates(readFolder(nb.path({})));
        QVERIFY2(notebookOf(base.after, command.recovery) !=
                     notebookOf(base.before, command.recovery),
                 "the command changed nothing");
        QStringList failures = powerCutProblems(command, recording, links);
        const auto &calls = recording.calls;
        const bool copies = std::any_of(calls.begin(), calls.end(), [](const auto &call) {
            return call.first == Sys::Op::Link;
        });
        if (links == Links::UnnamedOnly || (links == Links::None && !copies)) {
            QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
            return;
        }
        // What a restart begins from: the notebook as written before the start.
        {
            AppFixture fresh;
            fresh.writeNotebook(notebook(command.notebook));
            base.pristine = readFolder(fresh.path({}));
        }

        const QList<CallFault> forGood = faultsFor(calls);
        QList<int> failedForGood, failedOnce;
        failures += runInOneWindow(command, forGood, nb, base, &failedForGood);
        QList<CallFault> once;
        for (qsizetype i = 0; i < forGood.size(); ++i) {
            if (failedForGood.value(i) != 1) {
                once << forGood[i];
                once.last().forGood = false;
            }
        }
        failures += runInOneWindow(command, once, nb, base, &failedOnce);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.mid(0, 20).join(u'\n')));
    }

    // A report names the file or folder of the failed call in full.
    void reportNames_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<CallFault>("fault");
        QTest::addColumn<QString>("file");  // "file|target" for a call on two files
        QTest::addColumn<Action>("before"); // a failure of its own before the fault
        using Sys::Op;
        const CallFault syncAfterIndex{Op::FolderSync, 0, EIO, true, {}, "idx.dat"};
        const auto row = [](const char *name, const QString &command, CallFault fault,
                            const QString &file, Action before = {}) {
            QTest::newRow(name) << command << fault << file << before;
        };
        // The sync after idx.dat is NotebookChange's, reported alike for every command.
        row("move: sync after idx.dat", u"move"_s, syncAfterIndex, u"FileStore"_s);
        row("move: the copy's folder", u"move"_s, {Op::FolderSync, 0, EIO}, u"FileStore/B/"_s);
        row("disk full: entry save", u"entry save"_s, {Op::Write, 0, ENOSPC, true},
            u"FileStore/A/x.txt"_s);
        row("disk full: new entry's idx.dat", u"entry save, new"_s, {Op::Write, 1, ENOSPC, true},
            u"FileStore/idx.dat"_s);
        row("disk full: entry list export", u"LstPrnt.txt"_s, {Op::Write, 0, ENOSPC, true},
            u"FileStore/LstPrnt.txt"_s);
        row("read-only: new group", u"new group"_s, {Op::Mkdir, 0, EROFS, true}, u"FileStore/C/"_s);
        row("read-only: new title", u"rename"_s, {Op::Link, 0, EROFS, true},
            u"FileStore/A/x.txt|FileStore/A/z.txt"_s);
        // A report names the file of its own failure, never one of an earlier.
        row("after a failed move", u"sort"_s, syncAfterIndex, u"FileStore"_s, [](AppFixture &nb) {
            QVERIFY(QDir(nb.path(u"FileStore/B"_s)).removeRecursively());
            select(nb, u"A/x"_s);
            moveTo(u"B"_s)(nb);
            QCOMPARE(nb.messages.shown.size(), 1);
            select(nb, u"A/y"_s);
            nb.messages.shown.clear();
        });
    }
    void reportNames()
    {
        QFETCH(QString, command);
        QFETCH(CallFault, fault);
        QFETCH(QString, file);
        QFETCH(Action, before);
        const WritingCommand writing = writingCommand(command);
        AppFixture nb;
        QVERIFY(startFor(nb, writing));
        if (before)
            before(nb);
        {
            CallFaults faults(fault);
            writing.action(nb);
            QVERIFY(faults.failed() > 0);
        }
        QCOMPARE(nb.messages.shown.size(), 1);
        // The head, the reason, then the file and, of a call on two files, the target.
        QString names = nb.path(file.section(u'|', 0, 0));
        if (file.contains(u'|'))
            names += u"\n(to: "_s + nb.path(file.section(u'|', 1)) + u')';
        QCOMPARE(nb.messages.shown[0].text.section(u"\n\n"_s, 2), names);
    }
};

QTEST_MAIN(tst_FaultMatrix)
#include "tst_faultmatrix.moc"
