// The order of the sorted lists and the group list's line-to-slot map.

#include "notebook/grouplist.h"
#include "notebook/listorder.h"
#include "store/dostext.h"
#include "store/notetable.h"

#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

NoteTable tableOf(const QStringList &groups)
{
    NoteTable table;
    for (int g = 0; g < groups.size(); ++g) {
        table.cell(g, 0) = groups[g];
        table.cell(g, 1) = u"entry of "_s + groups[g];
    }
    return table;
}

} // namespace

class tst_GroupList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void order_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("sorted");
        QTest::newRow("underscore before letters")
            << QStringList{u"b"_s, u"A"_s, u"_c"_s} << QStringList{u"_c"_s, u"A"_s, u"b"_s};
        QTest::newRow("case ignored")
            << QStringList{u"beta"_s, u"Alpha"_s, u"ALPHA2"_s, u"alpha1"_s}
            << QStringList{u"Alpha"_s, u"alpha1"_s, u"ALPHA2"_s, u"beta"_s};
        QTest::newRow("same but for case, fixed order")
            << QStringList{u"a"_s, u"A"_s, u"a"_s} << QStringList{u"A"_s, u"a"_s, u"a"_s};
        QTest::newRow("prefix first") << QStringList{u"Trash2"_s, u"Trash"_s, u"trash_"_s}
                                      << QStringList{u"Trash"_s, u"Trash2"_s, u"trash_"_s};
        QTest::newRow("digits and blanks") << QStringList{u"b 2"_s, u"b1"_s, u"b 10"_s, u"B"_s}
                                           << QStringList{u"B"_s, u"b 10"_s, u"b 2"_s, u"b1"_s};
        QTest::newRow("y-diaeresis last")
            << QStringList{u"\u00FFz"_s, u"zz"_s, u"\u00C4pfel"_s, u"Apfel"_s}
            << QStringList{u"Apfel"_s, u"zz"_s, u"\u00C4pfel"_s, u"\u00FFz"_s};
    }
    void order()
    {
        QFETCH(QStringList, names);
        QFETCH(QStringList, sorted);
        std::stable_sort(names.begin(), names.end(), listLess);
        QCOMPARE(names, sorted);
    }

    void fillAndMap_data()
    {
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<bool>("hide");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QList<int>>("slots");
        const QString y = u"\u00FF"_s;
        QTest::newRow("unsorted table")
            << QStringList{u"b"_s, u"A"_s, u"_c"_s} << false << QStringList{u"_c"_s, u"A"_s, u"b"_s}
            << QList<int>{2, 1, 0};
        QTest::newRow("hidden y-group in the middle")
            << QStringList{u"a"_s, y + u"x"_s, u"b"_s} << true << QStringList{u"a"_s, u"b"_s}
            << QList<int>{0, 2};
        QTest::newRow("shown by the stored name's InDOS")
            << QStringList{OutDOS(u"a:b"_s), u"a"_s} << false << QStringList{u"a"_s, u"a:b"_s}
            << QList<int>{1, 0};
        QTest::newRow("empty") << QStringList{} << true << QStringList{} << QList<int>{};
    }
    void fillAndMap()
    {
        QFETCH(QStringList, groups);
        QFETCH(bool, hide);
        QFETCH(QStringList, lines);
        QFETCH(QList<int>, slots);
        GroupList list;
        list.fill(tableOf(groups), hide);
        QCOMPARE(list.lines(), lines);
        for (int line = 0; line < slots.size(); ++line) {
            QCOMPARE(list.slotOfLine(line), slots[line]);
            QCOMPARE(list.lineOfSlot(slots[line]), line);
        }
        QCOMPARE(list.slotOfLine(-1), -1);
        QCOMPARE(list.slotOfLine(lines.size()), -1);
    }

    void hiddenGroupHasNoLine()
    {
        GroupList list;
        list.fill(tableOf({u"a"_s, u"\u00FFx"_s}), true);
        QCOMPARE(list.lineOfSlot(1), -1);
        QCOMPARE(list.lineOfSlot(2), -1);
    }

    void orderRowsKeepsEntriesWithTheirGroup()
    {
        const QString y = u"\u00FF"_s;
        NoteTable table = tableOf({u"Zeta"_s, y + u"hidden"_s, u"beta"_s, u"_x"_s, u"Alpha"_s});
        table.cell(0, 2) = u"second of Zeta"_s;
        GroupList::orderRows(table);
        const QStringList expected{u"_x"_s, u"Alpha"_s, u"beta"_s, u"Zeta"_s, y + u"hidden"_s};
        for (int g = 0; g < expected.size(); ++g) {
            QCOMPARE(table.name(g), expected[g]);
            QCOMPARE(table.cell(g, 1), u"entry of "_s + expected[g]);
        }
        QCOMPARE(table.cell(3, 2), u"second of Zeta"_s);
        QCOMPARE(table.cell(3, 3), QString());
        QCOMPARE(table.groupCount(), expected.size());

        // With the rows in list order, line and slot agree while nothing is hidden.
        GroupList list;
        list.fill(table, false);
        for (int line = 0; line < list.count(); ++line)
            QCOMPARE(list.slotOfLine(line), line);
    }

    void fullTable()
    {
        NoteTable table;
        for (int g = 0; g < NoteTable::kGroups; ++g)
            table.cell(g, 0) = u"g%1"_s.arg(NoteTable::kGroups - g, 3, 10, QChar(u'0'));
        GroupList::orderRows(table);
        QCOMPARE(table.name(0), u"g001"_s);
        QCOMPARE(table.name(99), u"g100"_s);
        GroupList list;
        list.fill(table, true);
        QCOMPARE(list.count(), 100);
    }
};

QTEST_GUILESS_MAIN(tst_GroupList)
#include "tst_grouplist.moc"
