// A store shared by several computers: the copy that holds InUse.dat checks
// before every write that it still does. Once it has lost the store (a
// network drop let another computer take it, the marker was replaced) it
// writes nothing more, says so once per refused command, and runs as a copy
// started with the store in use, the text being edited kept in its box.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/callfaults.h"
#include "support/helperprocess.h"
#include "support/notebookline.h"
#include "support/scenario.h"

#include "store/notetable.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <memory>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// The lock of a start with the store in use.
const QString kLocked = u"lock=1;on:chckEdit=0;on:mnuEditPermission=0"_s;

// The lock's check failing with `error` while it lives, from its `nth` call on.
std::unique_ptr<CallFaults> lockFailing(int error, int nth = 0)
{
    return std::make_unique<CallFaults>(CallFault{Sys::Op::Lock, nth, error, true});
}

} // namespace

class tst_SharedStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The lock's re-assertion fails at the n-th write of a command: no file
    // changes from there on, one message, the table as the files say. After
    // idx.dat is written the change stands; the old name it would have
    // removed stays as a file idx.dat does not name. Every command meets the
    // check of idx.dat's write in the same place: one row stands for them.
    void lockLostBeforeAWrite_data()
    {
        QTest::addColumn<Action>("prepare"); // an edit begun, or nothing
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("nth");         // the check that fails (0: the first)
        QTest::addColumn<QString>("changes"); // the state that differs, besides the lock
        const Action nothing = [](AppFixture &) {};
        const Action type = [](AppFixture &nb) { nb.type(); };
        const Action ok = &AppFixture::pressOk;
        QTest::newRow("entry save") << type << ok << 0 << QString();
        const Action newEntry = [](AppFixture &nb) {
            QTest::keyClick(nb.entryList(), Qt::Key_Insert);
            nb.type();
        };
        QTest::newRow("new entry: its file") << newEntry << answered(u"n"_s, ok) << 0 << QString();
        QTest::newRow("new entry: idx.dat") << newEntry << answered(u"n"_s, ok) << 1 << QString();
        const Action trash = key(Qt::Key_Delete);
        QTest::newRow("trash: the copy") << nothing << trash << 0 << QString();
        QTest::newRow("trash: after idx.dat")
            << nothing << trash << 2
            << u"idx=A y | B | Trash x;sel=A/y;date=date of y;text=text of y"_s;
        // The entry list goes beside pref.dat, never into the store (the
        // holder's list: tst_shell).
        QTest::newRow("entry list export") << nothing << triggered(u"mnuEditorCall1"_s) << 0
                                           << u"lines:LstPrnt.txt=x/y/ ;opened=%ROOT%LstPrnt.txt"_s;
    }
    void lockLostBeforeAWrite()
    {
        QFETCH(Action, prepare);
        QFETCH(Action, action);
        QFETCH(int, nth);
        QFETCH(QString, changes);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | B | Trash"_s, u"A/x"_s));
        prepare(nb);
        const NoteTable table = nb.app().table();
        const auto files = nb.snapshot();
        const State before = observe(nb);
        {
            // The descriptor of a lost network connection.
            const auto faults = lockFailing(ENOTCONN, nth);
            action(nb);
        }
        // Every other file stays as it was. A file the command made before the
        // loss is left, not even removed again, and idx.dat does not name it.
        const auto after = nb.snapshot();
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            if (!it.key().endsWith(u"idx.dat"_s))
                QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
        }
        QCOMPARE(nb.app().table() == table, !changes.contains(u"idx="_s));
        // One message naming the marker; an edit goes on, its text kept.
        expectState(nb,
                    changes +
                        u";msg=~\\[[^]]*\\] Store index seems to be in use![^|]*no longer "
                        "holds the store[^|]*%ROOT%FileStore/InUse\\.dat;"_s +
                        kLocked,
                    before);
        if (before[u"mode"_s] != u"text"_s)
            return;
        // The lock could be had again now, but the store stays lost: OK once
        // more writes nothing either.
        nb.messages.shown.clear();
        const auto lostBefore = nb.snapshot();
        nb.answerInput(u"n"_s);
        nb.pressOk();
        QCOMPARE(nb.snapshot(), lostBefore);
        expectState(nb, u"mode=text;msg=~[^|]*no longer holds the store[^|]*"_s);
    }

    // A file system that keeps no locks could not keep a second computer
    // out, and a marker that is no file cannot lock: the copy says which,
    // never that another copy has the store, and starts as with it in use.
    void startWithoutTheLock_data()
    {
        QTest::addColumn<QString>("marker");
        QTest::addColumn<QString>("said");
        QTest::newRow("no locks") << QString() << u"cannot lock files"_s;
        QTest::newRow("folder") << u"folder"_s << u"is a folder, not a file"_s;
        QTest::newRow("named pipe") << u"fifo"_s << u"is a named pipe, not a file"_s;
        QTest::newRow("link") << u"link"_s << u"is a symbolic link, not a file"_s;
    }
    void startWithoutTheLock()
    {
        QFETCH(QString, marker);
        QFETCH(QString, said);
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x | Trash"_s));
        const QString path = nb.path(u"FileStore/InUse.dat"_s);
        if (marker == u"folder"_s)
            QVERIFY(QDir().mkdir(path));
        else if (marker == u"fifo"_s)
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else if (marker == u"link"_s)
            QVERIFY(QFile::link(nb.path(u"pref.dat"_s), path));
        {
            const auto faults = marker.isEmpty() ? lockFailing(ENOLCK) : nullptr;
            QVERIFY(nb.start());
        }
        expectState(nb, u"msg=~(?![^|]*in use!)[^|]*"_s + said +
                            u"[^|]*Starting without edit permission![^|]*;"_s + kLocked);
    }

    // A copy started while another holds the store writes the entry list
    // beside pref.dat too.
    void entryListExport()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x y | Trash"_s));
        HelperProcess other;
        QVERIFY(other.start({u"hold-marker"_s, nb.path(u"FileStore/"_s)}));
        QCOMPARE(other.readLine(), "held"_ba);
        QVERIFY(nb.start());
        select(nb, u"A/x"_s);
        nb.messages.shown.clear();
        triggered(u"mnuEditorCall1"_s)(nb);
        expectState(nb, kLocked + u";msg=;lines:LstPrnt.txt=x/y/ ;opened=%ROOT%LstPrnt.txt"_s);
        QVERIFY(!QFile::exists(nb.path(u"FileStore/LstPrnt.txt"_s)));
    }
};

QTEST_MAIN(tst_SharedStore)
#include "tst_sharedstore.moc"
