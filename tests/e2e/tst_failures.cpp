// What a failing disk and a crash leave behind. A crash after any file call
// of a command leaves every entry's text reachable from idx.dat and a store the
// next start loads; a failure after idx.dat is written is a warning and
// undoes nothing; a failure before it is one report and changes nothing.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/filefaults.h"
#include "support/notebookline.h"

#include "store/dostext.h"
#include "store/notetable.h"

#include <QAction>
#include <QDirIterator>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString kNew = u"* NEW *"_s;
const QString kCancelled = u"An error has happend - procedure canceled!"_s;
const QString kContinued = u"An error has happend - trying to continue..."_s;

// F2 on text typed into the selected entry (a new one after Insert).
Action typedAndSaved(const QString &title)
{
    return [title](AppFixture &nb) {
        nb.answerInput(title);
        QTest::keyClick(nb.w().txtText[0], Qt::Key_F2);
    };
}

const Action nothing = [](AppFixture &) {};

Action typing(bool newEntry)
{
    return [newEntry](AppFixture &nb) {
        if (newEntry)
            QTest::keyClick(nb.w().lstEntry, Qt::Key_Insert);
        QTest::keyClicks(nb.w().txtText[0], u"Fresh"_s);
    };
}

// Every title of idx.dat has its file ("gone" titles and the new entry's
// placeholder have none, by design), and every text of `texts` but those in
// `mayGo` is in a file idx.dat names.
void verifyReachable(const AppFixture &nb, const QStringList &texts, const QStringList &mayGo)
{
    QStringList reached;
    QString group;
    for (const QString &line : nb.readLines(u"FileStore/idx.dat"_s).mid(1)) {
        if (!line.startsWith(u'\\')) {
            group = line;
            continue;
        }
        const QString title = line.mid(1);
        if (title.startsWith(u"gone"_s) || title == OutDOS(kNew))
            continue;
        const QStringList lines = nb.readLines(u"FileStore/"_s + group + u'/' + title + u".txt"_s);
        QVERIFY2(lines.size() == 2, qPrintable(group + u'/' + title));
        reached << lines[1];
    }
    for (const QString &text : texts) {
        if (!mayGo.contains(text))
            QVERIFY2(reached.contains(text), qPrintable(text));
    }
}

QStringList textsOf(const QString &line)
{
    QStringList texts;
    for (const QStringList &group : notebook(line)) {
        for (const QString &title : group.mid(1)) {
            if (!title.startsWith(u"gone"_s))
                texts << u"text of "_s + title;
        }
    }
    return texts;
}

QStringList leftoverNewFiles(const AppFixture &nb)
{
    QStringList found;
    QDirIterator it(nb.path(u"FileStore"_s), {u".plimsa-new-*"_s}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

struct Crash
{
    QString notebook;
    QString select;
    Action prepare; // before the calls are counted
    Action action;
    QStringList mayGo = {}; // texts the command lets go of on purpose
    QString saved = {};     // the text a save confirmed to the user must keep
};

} // namespace
Q_DECLARE_METATYPE(Crash)
Q_DECLARE_METATYPE(Action)

class tst_Failures : public QObject
{
    Q_OBJECT

    // One run of the command, crashing at the k-th call that changes the disk
    // (-1: none). The number of such calls the command made.
    int runCrashing(const Crash &crash, int k)
    {
        AppFixture nb;
        nb.writeNotebook(notebook(crash.notebook));
        if (!nb.start()) {
            QTest::qFail("no start", __FILE__, __LINE__);
            return 0;
        }
        select(nb, crash.select);
        crash.prepare(nb);
        int calls = 0;
        {
            auto faults = k < 0 ? std::make_unique<FileFaults>() : FileFaults::crashAt(k);
            crash.action(nb);
            calls = faults->changingCalls();
        }
        QStringList texts = textsOf(crash.notebook);
        // A text the user was told is saved is a text the notebook must keep.
        if (!crash.saved.isEmpty() && nb.messages.shown.isEmpty() && !nb.state().TextEditMode)
            texts << crash.saved;
        verifyReachable(nb, texts, crash.mayGo);
        if (QTest::currentTestFailed())
            return calls;
        if (!nb.restart()) {
            QTest::qFail("the next start failed", __FILE__, __LINE__);
            return calls;
        }
        if (!nb.messages.shown.isEmpty())
            QTest::qFail(qPrintable(nb.messages.shown[0].text), __FILE__, __LINE__);
        if (!leftoverNewFiles(nb).isEmpty())
            QTest::qFail(qPrintable(leftoverNewFiles(nb).join(u' ')), __FILE__, __LINE__);
        return calls;
    }

private Q_SLOTS:
    void crashAtEveryCall_data()
    {
        QTest::addColumn<Crash>("crash");
        const QString abc = u"A x y | B b1 b2 | Trash t1"_s;
        QTest::newRow("save of a new entry")
            << Crash{abc, u"A/x"_s, typing(true), typedAndSaved(u"Fresh"_s), {}, u"Fresh"_s};
        QTest::newRow("save of an entry") << Crash{abc,
                                                   u"A/x"_s,
                                                   typing(false),
                                                   typedAndSaved(QString()),
                                                   {u"text of x"_s},
                                                   u"Freshtext of x"_s};
        QTest::newRow("new title")
            << Crash{abc, u"A/x"_s, nothing, answered(u"z"_s, key(Qt::Key_F12))};
        QTest::newRow("indent") << Crash{abc, u"A/x"_s, nothing,
                                         key(Qt::Key_Right, Qt::ShiftModifier)};
        QTest::newRow("move") << Crash{abc, u"A/x"_s, nothing, moveTo(u"B"_s)};
        QTest::newRow("trash") << Crash{abc, u"A/x"_s, nothing, key(Qt::Key_Delete)};
        QTest::newRow("new group")
            << Crash{abc, u"A/x"_s, nothing, answered(u"C"_s, menu(&MainWidgets::mnuGroupNew))};
        QTest::newRow("group rename")
            << Crash{abc, u"B/b1"_s, nothing, answered(u"Z"_s, menu(&MainWidgets::mnuGroupRename))};
        QTest::newRow("group delete with its last entry") << Crash{
            u"A x | B b1 | Trash t1"_s, u"A/ "_s, nothing, menu(&MainWidgets::mnuGroupDelete)};
        QTest::newRow("Clear Trash")
            << Crash{abc, u"A/x"_s, nothing, menu(&MainWidgets::mnuClearTrash), {u"text of t1"_s}};
    }
    void crashAtEveryCall()
    {
        QFETCH(Crash, crash);
        const int calls = runCrashing(crash, -1);
        QVERIFY(calls > 0);
        for (int k = 0; k < calls && !QTest::currentTestFailed(); ++k) {
            runCrashing(crash, k);
            if (QTest::currentTestFailed())
                qWarning("crash at the call %d of %d", k, calls);
        }
    }

    // The new content is in place when the folder sync after its rename
    // fails: the command is done and says its durability is in doubt; nothing
    // is taken back. A sync before the commit fails the command.
    void failedFolderSync_data()
    {
        QTest::addColumn<QString>("notebook");
        QTest::addColumn<QString>("select");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QByteArray>("renamed"); // "" for the first folder sync
        QTest::addColumn<QString>("index");
        QTest::addColumn<QString>("head");
        const QString ab = u"A x y | B | Trash"_s;
        QTest::newRow("move: after idx.dat") << ab << u"A/x"_s << moveTo(u"B"_s) << "idx.dat"_ba
                                             << u"A y | B x | Trash"_s << kContinued;
        QTest::newRow("delete group: after idx.dat")
            << ab << u"B/ "_s << menu(&MainWidgets::mnuGroupDelete) << "idx.dat"_ba
            << u"A x y | Trash"_s << kContinued;
        QTest::newRow("sort: after idx.dat")
            << u"A y x"_s << u"A/y"_s << Action([](AppFixture &nb) { nb.w().cmdSort[0]->click(); })
            << "idx.dat"_ba << u"A x y"_s << kContinued;
        QTest::newRow("move: the copy's folder, before idx.dat")
            << ab << u"A/x"_s << moveTo(u"B"_s) << QByteArray() << ab << kCancelled;
    }
    void failedFolderSync()
    {
        QFETCH(QString, notebook);
        QFETCH(QString, select);
        QFETCH(Action, action);
        QFETCH(QByteArray, renamed);
        QFETCH(QString, index);
        QFETCH(QString, head);
        AppFixture nb;
        nb.writeNotebook(::notebook(notebook));
        QVERIFY(nb.start());
        ::select(nb, select);
        {
            const auto faults = renamed.isEmpty() ? FileFaults::failing(Sys::Op::FolderSync, EIO)
                                                  : FileFaults::syncFailingAfterRename(renamed);
            action(nb);
            QCOMPARE(faults->failed(), 1);
        }
        QCOMPARE(::index(nb), index);
        verifyReachable(nb, textsOf(notebook), {});
        QCOMPARE(nb.messages.shown.size(), 1);
        QVERIFY2(nb.messages.shown[0].text.startsWith(head), qPrintable(nb.messages.shown[0].text));
        QVERIFY2(nb.messages.shown[0].text.contains(u"FileStore"_s),
                 qPrintable(nb.messages.shown[0].text));
        // The table is what idx.dat says: the next start shows the same.
        const QString shown = AppFixture::lines(nb.w().lstGroup).join(u' ');
        QVERIFY(nb.restart());
        QCOMPARE(AppFixture::lines(nb.w().lstGroup).join(u' '), shown);
    }

    // A full disk, a read-only store and the like, without root: one report
    // naming the file or folder, nothing changed, the edit kept for a retry.
    void refusedByTheDisk_data()
    {
        QTest::addColumn<Action>("prepare");
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("op");
        QTest::addColumn<int>("nth");
        QTest::addColumn<int>("error");
        QTest::addColumn<QString>("names");
        QTest::newRow("disk full: entry save")
            << typing(false) << typedAndSaved(QString()) << int(Sys::Op::Write) << 0 << ENOSPC
            << u"FileStore/A/x.txt"_s;
        // The entry's file is written, idx.dat is not: the file goes again.
        QTest::newRow("disk full: new entry's idx.dat")
            << typing(true) << typedAndSaved(u"Fresh"_s) << int(Sys::Op::Write) << 1 << ENOSPC
            << u"FileStore/idx.dat"_s;
        QTest::newRow("read-only: new group")
            << nothing << answered(u"C"_s, menu(&MainWidgets::mnuGroupNew)) << int(Sys::Op::Mkdir)
            << 0 << EROFS << u"FileStore/C"_s;
        QTest::newRow("read-only: new title")
            << nothing << answered(u"z"_s, key(Qt::Key_F12)) << int(Sys::Op::Link) << 0 << EROFS
            << u"FileStore/A/x.txt"_s;
    }
    void refusedByTheDisk()
    {
        QFETCH(Action, prepare);
        QFETCH(Action, action);
        QFETCH(int, op);
        QFETCH(int, nth);
        QFETCH(int, error);
        QFETCH(QString, names);
        AppFixture nb;
        const QString abc = u"A x y | B | Trash"_s;
        nb.writeNotebook(notebook(abc));
        QVERIFY(nb.start());
        select(nb, u"A/x"_s);
        prepare(nb);
        const auto before = nb.snapshot();
        const NoteTable table = nb.app().table();
        const QString typed = nb.w().txtText[0]->toPlainText();
        {
            const auto faults = FileFaults::failing(Sys::Op(op), error, nth, true);
            action(nb);
        }
        QCOMPARE(nb.snapshot(), before);
        QVERIFY(nb.app().table() == table);
        QCOMPARE(nb.messages.shown.size(), 1);
        const QString report = nb.messages.shown[0].text;
        QVERIFY2(report.contains(QString::fromLocal8Bit(std::strerror(error))), qPrintable(report));
        QVERIFY2(report.contains(nb.path(names)), qPrintable(report));
        if (nb.state().TextEditMode)
            QCOMPARE(nb.w().txtText[0]->toPlainText(), typed);
    }

    // A report names the file of its own failure, never one of an earlier.
    void reportNamesItsOwnFile()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x y | B | Trash"_s));
        QVERIFY(nb.start());
        select(nb, u"A/x"_s);
        QVERIFY(QDir(nb.path(u"FileStore/B"_s)).removeRecursively());
        moveTo(u"B"_s)(nb);
        {
            const auto faults = FileFaults::syncFailingAfterRename("idx.dat");
            nb.w().cmdSort[0]->click();
        }
        QCOMPARE(nb.messages.shown.size(), 2);
        QVERIFY(nb.messages.shown[0].text.contains(u"(to: "_s + nb.path(u"FileStore/B/x.txt"_s)));
        const QString second = nb.messages.shown[1].text;
        QVERIFY2(second.endsWith(nb.path(u"FileStore"_s)), qPrintable(second));
    }
};

QTEST_MAIN(tst_Failures)
#include "tst_failures.moc"
