// Changes another program makes to the store while the program runs (a sync
// program bringing another computer's edits, a text editor), written here the
// two ways programs write a file: in place, and a new file renamed over it.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"
#include "support/scenario.h"

#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void writeOutside(AppFixture &nb, const QString &relative, const QStringList &lines, bool atomic)
{
    if (!atomic) {
        nb.write(relative, lines);
        return;
    }
    const QString temp = QFileInfo(relative).path() + u"/.syncthing.tmp"_s;
    nb.write(temp, lines);
    QCOMPARE(std::rename(QFile::encodeName(nb.path(temp)).constData(),
                         QFile::encodeName(nb.path(relative)).constData()),
             0);
}

// "A x y | Trash" as another computer left it: entry z added to A.
void addZOutside(AppFixture &nb, bool atomic)
{
    writeOutside(nb, u"FileStore/A/z.txt"_s, {u"date of z"_s, u"text of z"_s}, true);
    writeOutside(nb, u"FileStore/idx.dat"_s,
                 {u"idx Plimsa 1.3.02"_s, u"A"_s, u"\\x"_s, u"\\y"_s, u"\\z"_s, u"Trash"_s},
                 atomic);
}

// The one message: the notebook changed outside, naming its idx.dat.
const QString kReloaded =
    u"msg=~(?=[^|]*changed by another program)[^|]*%ROOT%FileStore/idx\\.dat[^|]*"_s;

} // namespace

class tst_OutsideChange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A command that would write idx.dat over another program's version is
    // cancelled; the version on disk is read and shown, and an edit keeps its
    // text for a save after the reload.
    void indexChangedBeforeAWrite_data()
    {
        QTest::addColumn<bool>("atomic");
        QTest::addColumn<Action>("prepare");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("shown"); // the entry list after the reload
        QTest::addColumn<QString>("after"); // idx.dat once the command is given again
        const Action nothing = [](AppFixture &) {};
        const Action newEntry = [](AppFixture &nb) {
            QTest::keyClick(nb.w().lstEntry, Qt::Key_Insert);
            nb.type();
        };
        const Action up = key(Qt::Key_Up, Qt::ShiftModifier);
        QTest::newRow("one place up, renamed over")
            << true << nothing << up << u"x|y|z| "_s << u"A y x z | Trash"_s;
        QTest::newRow("one place up, in place")
            << false << nothing << up << u"x|y|z| "_s << u"A y x z | Trash"_s;
        QTest::newRow("new entry's save")
            << true << newEntry << answered(u"n"_s, &AppFixture::pressOk) << u"x|* NEW *|y|z| "_s
            << u"A x n y z | Trash"_s;
    }
    void indexChangedBeforeAWrite()
    {
        QFETCH(bool, atomic);
        QFETCH(Action, prepare);
        QFETCH(Action, action);
        QFETCH(QString, shown);
        QFETCH(QString, after);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | Trash"_s, u"A/y"_s));
        prepare(nb);
        const State before = observe(nb);
        {
            const auto quiet = nb.quietWatcher();
            addZOutside(nb, atomic);
            action(nb);
            QTRY_COMPARE(nb.messages.shown.size(), 1);
        }
        expectState(nb, kReloaded + u";idx=A x y z | Trash;entries="_s + shown, before);

        action(nb);
        expectState(nb, kReloaded + u";idx="_s + after);
        if (before[u"mode"_s] == u"text"_s)
            QCOMPARE(nb.readLines(u"FileStore/A/n.txt"_s).value(1), u" typed"_s);
    }

    // An entry's file changed after it was shown: the user's choice, keep both
    // by default.
    void entryChangedBeforeItsSave_data()
    {
        QTest::addColumn<bool>("atomic");
        QTest::addColumn<int>("answer");    // -1: Enter
        QTest::addColumn<QString>("state"); // afterwards
        QTest::addColumn<QString>("x");     // x.txt's text line afterwards
        const QString saved = u";mode=view;file=~.*/ typedtext of x"_s;
        QTest::newRow("keep both, renamed over")
            << true << -1 << u"idx=A x x_ y | Trash;sel=A/x_"_s + saved << u"changed outside"_s;
        QTest::newRow("overwrite, in place")
            << false << 1 << u"idx=A x y | Trash;sel=A/x"_s + saved << u" typedtext of x"_s;
        QTest::newRow("back to the edit")
            << true << 2 << u"idx=A x y | Trash;mode=text;text= typedtext of x"_s
            << u"changed outside"_s;
    }
    void entryChangedBeforeItsSave()
    {
        QFETCH(bool, atomic);
        QFETCH(int, answer);
        QFETCH(QString, state);
        QFETCH(QString, x);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | Trash"_s, u"A/x"_s));
        nb.type();
        {
            const auto quiet = nb.quietWatcher();
            writeOutside(nb, u"FileStore/A/x.txt"_s, {u"date of x"_s, u"changed outside"_s},
                         atomic);
            if (answer >= 0)
                nb.messages.answers = {answer};
            nb.pressOk();
        }
        const QString asked = u"msg=~[^|]*%ROOT%FileStore/A/x\\.txt[^|]*;"_s;
        expectState(nb, asked + state);
        QCOMPARE(nb.readLines(u"FileStore/A/x.txt"_s).value(1), x);
        if (nb.state().TextEditMode)
            return;
        // What was saved is the file shown now: the next save asks nothing.
        nb.type();
        nb.pressOk();
        expectState(nb, asked);
    }

    // While nobody edits, what changed outside is shown again: at the
    // watcher's report, or at the latest when the window gets the focus back.
    void shownAgain_data()
    {
        QTest::addColumn<bool>("byWatcher");
        QTest::newRow("file watcher") << true;
        QTest::newRow("focus back") << false;
    }
    void shownAgain()
    {
        QFETCH(bool, byWatcher);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | Trash"_s, u"A/x"_s));
        std::optional<QSignalBlocker> quiet;
        if (!byWatcher)
            quiet.emplace(nb.quietWatcher());
        const auto focusBack = [&] {
            QEvent activate(QEvent::WindowActivate);
            if (!byWatcher)
                QCoreApplication::sendEvent(nb.window(), &activate);
        };
        writeOutside(nb, u"FileStore/A/x.txt"_s, {u"date of x"_s, u"changed outside"_s}, true);
        if (!byWatcher) {
            QTest::qWait(0);
            QCOMPARE(nb.text(), u"text of x\n"_s);
        }
        focusBack();
        QTRY_COMPARE(nb.text(), u"changed outside\n"_s);
        addZOutside(nb, true);
        focusBack();
        QTRY_COMPARE(observed(nb, u"entries"_s), u"x|y|z| "_s);
        expectState(nb, u"sel=A/x;msg="_s);
    }

    // Conflict copies are named, once each, at the start and at a reload;
    // nothing is deleted.
    void conflictCopiesNamed()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x y | Trash"_s));
        const QStringList copies{u"A/_mask.sync-conflict-20261207-101500-ABCDEF1.dat"_s,
                                 u"A/x (Conflicted Copy 2026-12-07 101500).txt"_s,
                                 u"idx.sync-conflict-20261207-101500-ABCDEF1.dat"_s};
        for (const QString &copy : copies)
            nb.write(u"FileStore/"_s + copy, {u"other"_s});
        nb.write(u"FileStore/A/x (copy).txt"_s, {u"not a conflict"_s});
        QVERIFY(nb.start());
        QTRY_COMPARE(nb.messages.shown.size(), 1);
        QString text = nb.messages.shown[0].text;
        QVERIFY2(text.endsWith(copies.join(u'\n')), qPrintable(text));

        nb.write(u"FileStore/A/y.sync-conflict-20261207-101600-ABCDEF1.txt"_s, {u"other"_s});
        addZOutside(nb, true);
        QTRY_COMPARE(nb.messages.shown.size(), 2);
        text = nb.messages.shown[1].text;
        QVERIFY2(text.contains(u"A/y.sync-conflict-20261207-101600-ABCDEF1.txt"_s),
                 qPrintable(text));
        for (const QString &copy : copies)
            QVERIFY(QFile::exists(nb.path(u"FileStore/"_s + copy)));
    }
};

QTEST_MAIN(tst_OutsideChange)
#include "tst_outsidechange.moc"
