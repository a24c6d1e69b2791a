// What a failing disk leaves behind. A failure before idx.dat is written is
// one report and changes nothing, the edit kept for a retry; a failed folder
// sync after it is a warning and undoes nothing. What a crash or a power cut
// leaves: tst_powercut; every call failed in turn: tst_faultmatrix.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/filefaults.h"
#include "support/notebookline.h"
#include "support/writingcommands.h"

#include "store/indexfile.h"
#include "store/notetable.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString kCancelled = u"An error has happend - procedure canceled!"_s;
const QString kContinued = u"An error has happend - trying to continue..."_s;

struct Failure
{
    QString notebook;
    QString select;
    Action prepare; // may be empty
    Action action;
    Sys::Op op; // FolderSync with `afterRename`: the sync after that rename
    int nth;    // the call of `op` that fails; a write, name or folder fails for good
    int error;
    QByteArray afterRename; // empty: `op` fails as such
    QString index;          // idx.dat afterwards; empty: no file changed
    QString head;           // how the report begins
    QString names;          // the path the report names
};

} // namespace
Q_DECLARE_METATYPE(Failure)

class tst_Failures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void oneReport_data()
    {
        QTest::addColumn<Failure>("f");
        const QString ab = u"A x y | B | Trash"_s;
        const Action sort = [](AppFixture &nb) { nb.w().cmdSort[0]->click(); };
        const auto group = &MainWidgets::mnuGroupNew;
        const Sys::Op sync = Sys::Op::FolderSync, write = Sys::Op::Write;
        // clang-format off
        QTest::newRow("move: sync after idx.dat") << Failure{ab, u"A/x"_s, {}, moveTo(u"B"_s),
            sync, 0, EIO, "idx.dat", u"A y | B x | Trash"_s, kContinued, u"FileStore"_s};
        QTest::newRow("delete group: sync after idx.dat") << Failure{ab, u"B/ "_s, {},
            menu(&MainWidgets::mnuGroupDelete), sync, 0, EIO, "idx.dat", u"A x y | Trash"_s,
            kContinued, u"FileStore"_s};
        QTest::newRow("sort: sync after idx.dat") << Failure{u"A y x"_s, u"A/y"_s, {}, sort,
            sync, 0, EIO, "idx.dat", u"A x y"_s, kContinued, u"FileStore"_s};
        QTest::newRow("move: the copy's folder, before idx.dat") << Failure{ab, u"A/x"_s, {},
            moveTo(u"B"_s), sync, 0, EIO, {}, {}, kCancelled, u"FileStore/B"_s};
        // Nothing saved: cancelled, though the edit goes on.
        QTest::newRow("disk full: entry save") << Failure{ab, u"A/x"_s, typing(false),
            savedWithF2(), write, 0, ENOSPC, {}, {}, kCancelled, u"FileStore/A/x.txt"_s};
        // The entry's file is written, idx.dat is not: the file goes again.
        QTest::newRow("disk full: new entry's idx.dat") << Failure{ab, u"A/x"_s, typing(true),
            savedWithF2(u"Fresh"_s), write, 1, ENOSPC, {}, {}, kCancelled, u"FileStore/idx.dat"_s};
        const Action exportList = [](AppFixture &nb) { nb.w().mnuEditorCall[1]->trigger(); };
        QTest::newRow("disk full: entry list export") << Failure{ab, u"A/x"_s, {}, exportList,
            write, 0, ENOSPC, {}, {}, kCancelled, u"FileStore/LstPrnt.txt"_s};
        QTest::newRow("read-only: new group") << Failure{ab, u"A/x"_s, {},
            answered(u"C"_s, menu(group)), Sys::Op::Mkdir, 0, EROFS, {}, {}, kCancelled,
            u"FileStore/C"_s};
        QTest::newRow("read-only: new title") << Failure{ab, u"A/x"_s, {},
            answered(u"z"_s, key(Qt::Key_F12)), Sys::Op::Link, 0, EROFS, {}, {}, kCancelled,
            u"FileStore/A/x.txt"_s};
        // clang-format on
    }
    void oneReport()
    {
        QFETCH(Failure, f);
        AppFixture nb;
        nb.writeNotebook(notebook(f.notebook));
        QVERIFY(nb.start());
        select(nb, f.select);
        if (f.prepare)
            f.prepare(nb);
        const auto before = nb.snapshot();
        const QString typed = nb.w().txtText[0]->toPlainText();
        {
            const auto faults =
                f.afterRename.isEmpty()
                    ? FileFaults::failing(f.op, f.error, f.nth, f.op != Sys::Op::FolderSync)
                    : FileFaults::syncFailingAfterRename(f.afterRename);
            f.action(nb);
            QVERIFY(faults->failed() > 0);
        }
        if (f.index.isEmpty())
            QCOMPARE(nb.snapshot(), before);
        else
            QCOMPARE(::index(nb), f.index);
        NoteTable onDisk;
        QVERIFY(IndexFile::parse(nb.read(u"FileStore/idx.dat"_s), onDisk));
        QVERIFY(onDisk == nb.app().table());
        QCOMPARE(nb.messages.shown.size(), 1);
        const QString report = nb.messages.shown[0].text;
        QVERIFY2(report.startsWith(f.head) && report.contains(nb.path(f.names)) &&
                     report.contains(QString::fromLocal8Bit(std::strerror(f.error))),
                 qPrintable(report));
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
