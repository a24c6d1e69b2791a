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

#include "store/notetable.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString kInUse = u"Store index seems to be in use!"_s;
const QString kLost = u"no longer holds the store"_s;

// The lock of a start with the store in use.
void verifyLocked(AppFixture &nb)
{
    QVERIFY(nb.app().state().StoreInUse);
    QVERIFY(nb.w().chckEdit->isChecked());
    QVERIFY(!nb.w().chckEdit->isEnabled());
    QVERIFY(!nb.w().mnuEditPermission->isEnabled());
}

} // namespace

class tst_SharedStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The lock's re-assertion fails at the n-th write of a command: no file
    // changes from there on, one message, the table as the files say. After
    // idx.dat is written the change stands; the old name it would have
    // removed stays as a file idx.dat does not name.
    void lockLostBeforeAWrite_data()
    {
        QTest::addColumn<Action>("prepare");
        QTest::addColumn<Action>("action");
        QTest::addColumn<int>("nth");          // the check that fails (0: the first)
        QTest::addColumn<bool>("editingKept"); // still in text edit mode, text as typed
        QTest::addColumn<QString>("index");    // idx.dat afterwards; "" as before
        const Action nothing = [](AppFixture &) {};
        const Action type = [](AppFixture &nb) { nb.type(); };
        const Action ok = &AppFixture::pressOk;
        QTest::newRow("entry save") << type << ok << 0 << true << QString();
        const Action newEntry = [](AppFixture &nb) {
            QTest::keyClick(nb.w().lstEntry, Qt::Key_Insert);
            nb.type();
        };
        QTest::newRow("new entry: its file")
            << newEntry << answered(u"n"_s, ok) << 0 << true << QString();
        QTest::newRow("new entry: idx.dat")
            << newEntry << answered(u"n"_s, ok) << 1 << true << QString();
        QTest::newRow("trash: the copy") << nothing << key(Qt::Key_Delete) << 0 << false << QString();
        QTest::newRow("trash: idx.dat") << nothing << key(Qt::Key_Delete) << 1 << false << QString();
        QTest::newRow("trash: after idx.dat")
            << nothing << key(Qt::Key_Delete) << 2 << false << u"A y | B | Trash x"_s;
        QTest::newRow("new group: idx.dat") << nothing
                                            << answered(u"C"_s, menu(&MainWidgets::mnuGroupNew))
                                            << 1 << false << QString();
        QTest::newRow("one place down")
            << nothing << key(Qt::Key_Down, Qt::ShiftModifier) << 0 << false << QString();
    }
    void lockLostBeforeAWrite()
    {
        QFETCH(Action, prepare);
        QFETCH(Action, action);
        QFETCH(int, nth);
        QFETCH(bool, editingKept);
        QFETCH(QString, index);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | B | Trash"_s, u"A/x"_s));
        prepare(nb);
        const QString typed = nb.text();
        const NoteTable table = nb.app().table();
        const auto before = nb.snapshot();
        const bool stands = !index.isEmpty();
        if (!stands)
            index = ::index(nb);
        {
            // The descriptor of a lost network connection.
            const auto faults = CallFaults::failing(Sys::Op::Lock, ENOTCONN, nth, true);
            action(nb);
        }
        // Every other file stays as it was. A file the command made before the
        // loss is left, not even removed again, and idx.dat does not name it.
        QCOMPARE(::index(nb), index);
        const auto after = nb.snapshot();
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (!it.key().endsWith(u"idx.dat"_s))
                QVERIFY2(after.value(it.key()) == it.value(), qPrintable(it.key()));
        }
        QCOMPARE(nb.app().table() == table, !stands);
        QCOMPARE(nb.messages.shown.size(), 1);
        const QString text = nb.messages.shown[0].text;
        QVERIFY2(text.startsWith(kInUse) && text.contains(kLost), qPrintable(text));
        QVERIFY2(text.contains(nb.path(u"FileStore/InUse.dat"_s)), qPrintable(text));
        verifyLocked(nb);
        QCOMPARE(nb.state().TextEditMode, editingKept);
        if (!editingKept)
            return;
        QCOMPARE(nb.text(), typed);
        // The lock could be had again now, but the store stays lost: OK once
        // more writes nothing either.
        nb.messages.shown.clear();
        const auto lostBefore = nb.snapshot();
        nb.answerInput(u"n"_s);
        nb.pressOk();
        QCOMPARE(nb.snapshot(), lostBefore);
        QCOMPARE(nb.messages.shown.size(), 1);
        QVERIFY(nb.state().TextEditMode);
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
            const auto faults =
                marker.isEmpty() ? CallFaults::failing(Sys::Op::Lock, ENOLCK, 0, true) : nullptr;
            QVERIFY(nb.start());
        }
        QCOMPARE(nb.messages.shown.size(), 1);
        const QString text = nb.messages.shown[0].text;
        QVERIFY2(text.contains(said) && !text.contains(kInUse) &&
                     text.contains(u"Starting without edit permission!"_s),
                 qPrintable(text));
        verifyLocked(nb);
    }

    // The entry list goes into the store only from the copy that holds it;
    // a copy without it writes the list beside pref.dat.
    void entryListExport_data()
    {
        QTest::addColumn<bool>("secondCopy");
        QTest::addColumn<bool>("lost");
        QTest::addColumn<QString>("written");
        QTest::newRow("holder") << false << false << u"FileStore/LstPrnt.txt"_s;
        QTest::newRow("second copy") << true << false << u"LstPrnt.txt"_s;
        QTest::newRow("holder that lost the store") << false << true << u"LstPrnt.txt"_s;
    }
    void entryListExport()
    {
        QFETCH(bool, secondCopy);
        QFETCH(bool, lost);
        QFETCH(QString, written);
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x y | Trash"_s));
        HelperProcess other;
        if (secondCopy) {
            QVERIFY(other.start({u"hold-marker"_s, nb.path(u"FileStore/"_s)}));
            QCOMPARE(other.readLine(), "held"_ba);
        }
        QVERIFY(nb.start());
        select(nb, u"A/x"_s);
        nb.messages.shown.clear();
        {
            const auto faults =
                lost ? CallFaults::failing(Sys::Op::Lock, ENOTCONN, 0, true) : nullptr;
            nb.w().mnuEditorCall[1]->trigger();
        }
        QCOMPARE(nb.read(written), "x\r\ny\r\n \r\n"_ba);
        QCOMPARE(nb.desktop.openedFiles, QStringList{nb.path(written)});
        if (written != u"FileStore/LstPrnt.txt"_s)
            QVERIFY(!QFile::exists(nb.path(u"FileStore/LstPrnt.txt"_s)));
        QCOMPARE(nb.messages.shown.size(), lost ? 1 : 0);
        if (lost)
            verifyLocked(nb);
    }
};

QTEST_MAIN(tst_SharedStore)
#include "tst_sharedstore.moc"
