#include "notebook/notebookedit.h"
#include "store/notetable.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using L = QStringList;

namespace {

// Group g is named by the first string of groups[g] and holds the rest as titles.
NoteTable tableWith(const QList<L> &groups)
{
    NoteTable t;
    for (int g = 0; g < groups.size(); ++g) {
        for (int c = 0; c < groups[g].size(); ++c)
            t.cell(g, c) = groups[g][c];
    }
    return t;
}

// Name and titles of group g, in the form tableWith takes.
L row(const NoteTable &t, int g)
{
    L out;
    for (int c = 0; c <= t.entryCount(g); ++c)
        out << t.cell(g, c);
    return out;
}

L numbered(int n)
{
    L out;
    for (int i = 0; i < n; ++i)
        out << u"t%1"_s.arg(i);
    return out;
}

} // namespace

class TestNotebookEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void syncEntryColumn()
    {
        NoteTable t = tableWith({{u"G"_s, u"a"_s, u"b"_s, u"c"_s, u"d"_s}, {u"H"_s, u"h"_s}});
        QCOMPARE(NotebookEdit::syncEntryColumn(t, 0, {u"a:b"_s, u"c"_s, u" "_s, u"d"_s}), 2);
        QCOMPARE(row(t, 0), (L{u"G"_s, u"a\u00D0b"_s, u"c"_s}));
        QCOMPARE(t.cell(0, 4), QString());

        QCOMPARE(NotebookEdit::syncEntryColumn(t, 0, numbered(1000) << u" "_s), 999);
        QCOMPARE(t.cell(0, 999), u"t998"_s);
        QCOMPARE(row(t, 1), (L{u"H"_s, u"h"_s})); // nothing spilled into the next row
    }

    void appendTitle()
    {
        NoteTable t = tableWith({{u"G"_s, u"a"_s}, L{u"F"_s} + numbered(999)});
        QVERIFY(NotebookEdit::appendTitle(t, 0, u"b"_s));
        QCOMPARE(row(t, 0), (L{u"G"_s, u"a"_s, u"b"_s}));

        const NoteTable before = t;
        QVERIFY(NotebookEdit::groupIsFull(t, 1));
        QVERIFY(!NotebookEdit::appendTitle(t, 1, u"x"_s));
        QVERIFY(t == before);
    }

    void insertGroupRow()
    {
        NoteTable t = tableWith({{u"A"_s, u"a1"_s}, {u"C"_s, u"c1"_s, u"c2"_s}});
        QVERIFY(NotebookEdit::insertGroupRow(t, 1, u"B"_s));
        QCOMPARE(row(t, 1), L{u"B"_s});
        QCOMPARE(row(t, 2), (L{u"C"_s, u"c1"_s, u"c2"_s}));
        QVERIFY(!NotebookEdit::insertGroupRow(t, 4, u"E"_s)); // would leave a gap

        QList<L> hundred;
        for (int g = 0; g < NoteTable::kGroups; ++g)
            hundred << L{u"G%1"_s.arg(g), u"e"_s};
        t = tableWith(hundred);
        const NoteTable before = t;
        QVERIFY(NotebookEdit::notebookIsFull(t));
        QVERIFY(!NotebookEdit::insertGroupRow(t, 0, u"A"_s));
        QVERIFY(t == before);
    }

    void sortedGroupSlot_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("leaveOut");
        QTest::addColumn<int>("slot");
        QTest::newRow("first") << u"0"_s << -1 << 0;
        QTest::newRow("between, case ignored") << u"aa"_s << -1 << 1;
        QTest::newRow("after its case twin") << u"b"_s << -1 << 2;
        QTest::newRow("underscore before letters") << u"_z"_s << -1 << 0;
        QTest::newRow("last") << u"Z"_s << -1 << 3;
        QTest::newRow("B renamed to Z") << u"Z"_s << 1 << 2;
        QTest::newRow("shown form sorts") << u"\u00CFx"_s << -1 << 0; // "/x"
        QTest::newRow("ÿ after letters") << u"\u00FFa"_s << -1 << 3;
    }
    void sortedGroupSlot()
    {
        QFETCH(QString, name);
        QFETCH(int, leaveOut);
        QFETCH(int, slot);
        const NoteTable t = tableWith({{u"A"_s}, {u"B"_s}, {u"c"_s}});
        QCOMPARE(NotebookEdit::sortedGroupSlot(t, name, leaveOut), slot);
    }

    void renamedGroupRow_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("newName");
        QTest::newRow("B to Z") << 1 << 2 << u"Z"_s;
        QTest::newRow("C to 0") << 2 << 0 << u"0"_s;
    }
    void renamedGroupRow()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        QFETCH(QString, newName);
        QList<L> groups{{u"A"_s, u"a1"_s}, {u"B"_s, u"b1"_s, u"b2"_s}, {u"C"_s, u"c1"_s}};
        NoteTable t = tableWith(groups);
        const NoteTable before = t;
        QVERIFY(!NotebookEdit::moveRenamedGroupRow(t, from, 3, newName)); // slot 3 is unused
        QVERIFY(t == before);

        QVERIFY(NotebookEdit::moveRenamedGroupRow(t, from, to, newName));
        L renamed = groups.takeAt(from);
        renamed[0] = newName;
        groups.insert(to, renamed);
        QVERIFY(t == tableWith(groups));
    }

    void sortTitles_data()
    {
        QTest::addColumn<L>("titles");
        QTest::addColumn<bool>("descending");
        QTest::addColumn<L>("expected");
        const L bAc{u"b"_s, u"A"_s, u"_c"_s};
        QTest::newRow("A to Z") << bAc << false << L{u"_c"_s, u"A"_s, u"b"_s};
        QTest::newRow("Z to A") << bAc << true << L{u"b"_s, u"A"_s, u"_c"_s};
        // The same titles come out in the same order, whatever order they had.
        QTest::newRow("case ties")
            << L{u"x"_s, u"B"_s, u"X"_s} << false << L{u"B"_s, u"X"_s, u"x"_s};
        QTest::newRow("case ties swapped")
            << L{u"X"_s, u"B"_s, u"x"_s} << false << L{u"B"_s, u"X"_s, u"x"_s};
        QTest::newRow("indents") << L{u"a"_s, u"__a"_s, u"_a"_s} << false
                                 << L{u"__a"_s, u"_a"_s, u"a"_s};
    }
    void sortTitles()
    {
        QFETCH(L, titles);
        QFETCH(bool, descending);
        QFETCH(L, expected);
        QCOMPARE(NotebookEdit::sortTitles(titles, descending), expected);
    }
};

QTEST_GUILESS_MAIN(TestNotebookEdit)
#include "tst_notebookedit.moc"
