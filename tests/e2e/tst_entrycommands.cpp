// Trash, new title and move on the real window, read back from idx.dat and
// the group folders. Refusals are in tst_refusals.

#include "support/notebookfixture.h"

#include "store/appstate.h"
#include "store/dostext.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using L = QStringList;

class tst_EntryCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trashFromLastLine()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"a2"_s}, {u"Trash"_s, u"a2"_s}});
        QVERIFY(nb.start());
        nb.selectEntry(u"a2"_s);
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Delete);

        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a1"_s, u"Trash"_s, u"\\a2"_s, u"\\a2_"_s}));
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.entryLines(), (L{u"a1"_s, u" "_s}));
        QCOMPARE(nb.selectedEntry(), u" "_s);
        QCOMPARE(nb.files(u"A"_s), (L{u"_mask.dat"_s, u"a1.txt"_s}));
        QCOMPARE(nb.entryBytes(u"Trash"_s, u"a2_"_s), NotebookFixture::expectedBytes(u"a2"_s));
        // The trash is no position to return to.
        QCOMPARE(nb.run->app().state().LastMovePosition, QString());
    }

    void trashMissingFile()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"gone"_s, u"a3"_s}, {u"Trash"_s}}, {u"gone"_s});
        QVERIFY(nb.start());
        nb.selectEntry(u"gone"_s);
        QCOMPARE(nb.w().lblDate->text(), u"File not present!"_s);
        nb.w().cmdEntry[1]->click();

        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a1"_s, u"\\a3"_s, u"Trash"_s}));
        QCOMPARE(nb.selectedEntry(), u"a3"_s);
        QCOMPARE(nb.files(u"Trash"_s), L{u"_mask.dat"_s});
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void newTitle_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("title");
        QTest::newRow("taken twice") << u"y"_s << u"y__"_s;
        QTest::newRow("stored form") << u"a/b"_s << u"a/b"_s;
    }
    void newTitle()
    {
        QFETCH(QString, answer);
        QFETCH(QString, title);
        NotebookFixture nb({{u"G"_s, u"x"_s, u"y"_s, u"y_"_s}});
        QVERIFY(nb.start());
        nb.answerInput(answer);
        QTest::keyClick(nb.w().lstEntry, Qt::Key_F12);
        QCOMPARE(nb.lastDialogTitle, u"Change Entry Title"_s);
        QCOMPARE(nb.index(), (L{u"G"_s, u"\\"_s + OutDOS(title), u"\\y"_s, u"\\y_"_s}));
        QCOMPARE(nb.selectedEntry(), title);
        QCOMPARE(nb.entryBytes(u"G"_s, title), NotebookFixture::expectedBytes(u"x"_s));
        QVERIFY(!nb.files(u"G"_s).contains(u"x.txt"_s));
    }

    void moveFollowsTheEntry_data()
    {
        QTest::addColumn<QList<L>>("groups");
        QTest::addColumn<QString>("arrives");
        QTest::addColumn<L>("index");
        QTest::newRow("title taken in the target")
            << QList<L>{{u"A"_s, u"x"_s, u"a2"_s}, {u"B"_s, u"x"_s}} << u"x_"_s
            << L{u"A"_s, u"\\a2"_s, u"B"_s, u"\\x"_s, u"\\x_"_s};
        // x_ is taken in the group it leaves, so the pass goes on to x__.
        QTest::newRow("suffix taken in the source")
            << QList<L>{{u"A"_s, u"x"_s, u"x_"_s}, {u"B"_s, u"x"_s}} << u"x__"_s
            << L{u"A"_s, u"\\x_"_s, u"B"_s, u"\\x"_s, u"\\x__"_s};
    }
    void moveFollowsTheEntry()
    {
        QFETCH(QList<L>, groups);
        QFETCH(QString, arrives);
        QFETCH(L, index);
        NotebookFixture nb(groups);
        QVERIFY(nb.start());
        nb.selectEntry(u"x"_s);
        nb.answerChoice(u"B"_s);
        nb.w().mnuEntryChange->trigger();

        QCOMPARE(nb.lastDialogTitle, u"Change Group"_s);
        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.selectedGroup(), u"B"_s);
        QCOMPARE(nb.selectedEntry(), arrives);
        QCOMPARE(nb.entryLines().size() - 2, nb.w().lstEntry->currentRow());
        QCOMPARE(nb.run->app().state().LastMovePosition, u"A/"_s);
        QCOMPARE(nb.entryBytes(u"B"_s, arrives), NotebookFixture::expectedBytes(u"x"_s));
        QVERIFY(!nb.files(u"A"_s).contains(u"x.txt"_s));
        QVERIFY(nb.messages().shown.isEmpty());
    }
};

QTEST_MAIN(tst_EntryCommands)
#include "tst_entrycommands.moc"
