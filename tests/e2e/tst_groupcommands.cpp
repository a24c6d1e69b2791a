// The Group menu on the real window: new, rename, delete and Clear Trash,
// each read back from idx.dat and the store's folders. Refusals are in
// tst_refusals.

#include "support/notebookfixture.h"

#include "store/dostext.h"

#include <QAction>
#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using L = QStringList;

class tst_GroupCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newGroup_data()
    {
        QTest::addColumn<QList<L>>("groups");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("created");
        QTest::addColumn<L>("index");
        const QList<L> ac{{u"A"_s, u"a1"_s}, {u"c"_s, u"c1"_s}};
        QTest::newRow("between two, case ignored")
            << ac << u"B"_s << u"B"_s << L{u"A"_s, u"\\a1"_s, u"B"_s, u"c"_s, u"\\c1"_s};
        QTest::newRow("name taken twice")
            << QList<L>{{u"A"_s}, {u"A_"_s}} << u"A"_s << u"A__"_s << L{u"A"_s, u"A_"_s, u"A__"_s};
        QTest::newRow("stored form") << ac << u"x:y?"_s << u"x:y?"_s
                                     << L{u"A"_s, u"\\a1"_s, u"c"_s, u"\\c1"_s, OutDOS(u"x:y?"_s)};
        // A hidden group keeps its place in the rows without showing.
        const QString hidden = QString(QChar(0xFF)) + u"h"_s;
        QTest::newRow("among hidden groups") << QList<L>{{u"A"_s}, {hidden, u"h1"_s}} << u"Z"_s
                                             << u"Z"_s << L{u"A"_s, u"Z"_s, hidden, u"\\h1"_s};
    }
    void newGroup()
    {
        QFETCH(QList<L>, groups);
        QFETCH(QString, answer);
        QFETCH(QString, created);
        QFETCH(L, index);
        NotebookFixture nb(groups);
        nb.pref(21, u" 1"_s); // ÿ-groups hidden
        QVERIFY(nb.start());
        nb.answerInput(answer);
        nb.w().mnuGroupNew->trigger();

        QCOMPARE(nb.lastDialogTitle, u"Name of New Group"_s);
        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.selectedGroup(), created);
        QCOMPARE(nb.entryLines(), L{u" "_s});
        QCOMPARE(nb.files(created), L{u"_mask.dat"_s});
        QCOMPARE(nb.folder.read(u"FileStore/"_s + OutDOS(created) + u"/_mask.dat"_s), QByteArray());
        // Every line still leads to its own group's row.
        const GroupList &map = nb.run->window()->groupList();
        for (int line = 0; line < map.count(); ++line)
            QCOMPARE(InDOS(nb.run->app().table().name(map.slotOfLine(line))), map.lines()[line]);
    }

    void renameGroup_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<L>("index");
        QTest::newRow("B to Z: rows A, C, Z with B's entries")
            << u"Z"_s << u"Z"_s
            << L{u"A"_s, u"\\a1"_s, u"C"_s, u"Trash"_s, u"Z"_s, u"\\b1"_s, u"\\b2"_s};
        QTest::newRow("B to a taken name, first row")
            << u"A"_s << u"A_"_s
            << L{u"A"_s, u"\\a1"_s, u"A_"_s, u"\\b1"_s, u"\\b2"_s, u"C"_s, u"Trash"_s};
    }
    void renameGroup()
    {
        QFETCH(QString, answer);
        QFETCH(QString, renamed);
        QFETCH(L, index);
        NotebookFixture nb({{u"A"_s, u"a1"_s}, {u"B"_s, u"b1"_s, u"b2"_s}, {u"C"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        nb.selectGroup(u"B"_s);
        nb.answerInput(answer);
        nb.w().mnuGroupRename->trigger();

        QCOMPARE(nb.lastDialogTitle, u"Change Group Name"_s);
        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.selectedGroup(), renamed);
        QCOMPARE(nb.entryLines(), (L{u"b1"_s, u"b2"_s, u" "_s}));
        QCOMPARE(nb.files(u"B"_s), L{});
        QCOMPARE(nb.files(renamed), (L{u"_mask.dat"_s, u"b1.txt"_s, u"b2.txt"_s}));
    }

    // Renamed into an ÿ-group while those are hidden: it leaves the list at
    // once, and the first group is shown.
    void renameIntoHiding()
    {
        NotebookFixture nb({{u"A"_s}, {u"B"_s, u"b1"_s}});
        nb.pref(21, u" 1"_s);
        QVERIFY(nb.start());
        nb.selectGroup(u"B"_s);
        const QString hidden = QString(QChar(0xFF)) + u"B"_s;
        nb.answerInput(hidden);
        nb.w().mnuGroupRename->trigger();
        QCOMPARE(nb.groupLines(), L{u"A"_s});
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.index(), (L{u"A"_s, hidden, u"\\b1"_s}));
        QCOMPARE(nb.files(hidden), (L{u"_mask.dat"_s, u"b1.txt"_s}));
    }

    void deleteGroup_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<L>("index");
        QTest::addColumn<L>("trashFiles");
        QTest::newRow("empty group")
            << u"C"_s << L{u"A"_s, u"\\a1"_s, u"Trash"_s} << L{u"_mask.dat"_s};
        // The last entry is not dropped with its group: it goes into the trash.
        QTest::newRow("one entry, blank line selected")
            << u"A"_s << L{u"C"_s, u"Trash"_s, u"\\a1"_s} << L{u"_mask.dat"_s, u"a1.txt"_s};
    }
    void deleteGroup()
    {
        QFETCH(QString, group);
        QFETCH(L, index);
        QFETCH(L, trashFiles);
        NotebookFixture nb({{u"A"_s, u"a1"_s}, {u"C"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        nb.selectGroup(group);
        nb.selectEntry(u" "_s);
        QVERIFY(nb.w().mnuGroupDelete->isEnabled());
        nb.w().mnuGroupDelete->trigger();

        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.files(group), L{});
        QCOMPARE(nb.files(u"Trash"_s), trashFiles);
        QCOMPARE(nb.selectedGroup(), nb.groupLines().first());
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void clearTrash()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s}, {u"Trash"_s, u"t1"_s, u"t2"_s, u"gone"_s}},
                           {u"gone"_s});
        QVERIFY(nb.start());
        nb.w().mnuClearTrash->trigger();
        QCOMPARE(nb.selectedGroup(), u"Trash"_s);
        QCOMPARE(nb.entryLines(), L{u" "_s});
        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a1"_s, u"Trash"_s}));
        QCOMPARE(nb.files(u"Trash"_s), L{u"_mask.dat"_s});
        QCOMPARE(nb.files(u"A"_s), (L{u"_mask.dat"_s, u"a1.txt"_s}));
        QVERIFY(nb.messages().shown.isEmpty());
        QVERIFY(!nb.w().mnuClearTrash->isEnabled());
    }
};

QTEST_MAIN(tst_GroupCommands)
#include "tst_groupcommands.moc"
