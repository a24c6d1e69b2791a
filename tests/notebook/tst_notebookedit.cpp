// The table side of the group and entry commands: the uniqueness suffixes and
// the row of a renamed group.

#include "notebook/notebookedit.h"
#include "notebook/uniquename.h"
#include "store/notetable.h"

#include <QTest>

#include "support/testsupport.h"

using namespace Qt::Literals::StringLiterals;
using L = QStringList;

class TestNotebookEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // "_" is appended until the title is free, checked again after each one;
    // the titles of another group never count, and the last column does.
    void titleSuffix()
    {
        const NoteTable t = tableOf({{u"G"_s, u"x__"_s, u"x"_s, u"x_"_s}, {u"H"_s, u"x___"_s}});
        QCOMPARE(UniqueName::uniqueTitle(t, 0, u"x"_s), u"x___"_s);
        L full{u"G"_s};
        for (int i = 0; i < NoteTable::kMaxEntries; ++i)
            full << u"t%1"_s.arg(i);
        QCOMPARE(UniqueName::uniqueTitle(tableOf({full}), 0, u"t998"_s), u"t998_"_s);
    }

    // The entry X (column 1 of group S) moves into group T: its title must be
    // free in T and, its own column left out, in S, where it is renamed first.
    void moveTitle_data()
    {
        QTest::addColumn<L>("source");
        QTest::addColumn<L>("target");
        QTest::addColumn<QString>("expected");
        QTest::newRow("own title skipped") << L{u"X"_s} << L{u"Y"_s} << u"X"_s;
        QTest::newRow("target holds it") << L{u"X"_s} << L{u"X"_s} << u"X_"_s;
        QTest::newRow("then the target again")
            << L{u"X"_s, u"X_"_s} << L{u"X"_s, u"X__"_s} << u"X___"_s;
    }
    void moveTitle()
    {
        QFETCH(L, source);
        QFETCH(L, target);
        QFETCH(QString, expected);
        const NoteTable t = tableOf({L{u"S"_s} + source, L{u"T"_s} + target});
        QCOMPARE(UniqueName::uniqueMoveTitle(t, 0, 1, 1, u"X"_s), expected);
    }

    // Rows A, B, C, B renamed to Z: the row moves to Z's line with B's entries.
    void renamedGroupRow()
    {
        const NoteTable abc =
            tableOf({{u"A"_s, u"a1"_s}, {u"B"_s, u"b1"_s, u"b2"_s}, {u"C"_s, u"c1"_s}});
        NoteTable t = abc;
        QVERIFY(!NotebookEdit::moveRenamedGroupRow(t, 1, 3, u"Z"_s)); // slot 3 is unused
        QVERIFY(t == abc);
        QVERIFY(NotebookEdit::moveRenamedGroupRow(t, 1, 2, u"Z"_s));
        QVERIFY(t == tableOf({{u"A"_s, u"a1"_s}, {u"C"_s, u"c1"_s}, {u"Z"_s, u"b1"_s, u"b2"_s}}));
    }
};

QTEST_GUILESS_MAIN(TestNotebookEdit)
#include "tst_notebookedit.moc"
