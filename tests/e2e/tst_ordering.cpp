// Ordering on the real window: one place up and down, the sort, the indents,
// the cursor pad, the group list's arrows and the list keys with their gates.

#include "support/notebookfixture.h"

#include "store/appstate.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using L = QStringList;

namespace {

const QList<L> kGroups{{u"A"_s, u"a1"_s}, {u"G"_s, u"b"_s, u"A"_s, u"_c"_s}, {u"Z"_s}};

} // namespace

class tst_Ordering : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void onePlace_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifier");
        QTest::addColumn<L>("titles");
        QTest::newRow("Shift+Down")
            << int(Qt::Key_Down) << int(Qt::ShiftModifier) << L{u"b"_s, u"_c"_s, u"A"_s};
        QTest::newRow("Ctrl+Up") << int(Qt::Key_Up) << int(Qt::ControlModifier)
                                 << L{u"A"_s, u"b"_s, u"_c"_s};
    }
    void onePlace()
    {
        QFETCH(int, key);
        QFETCH(int, modifier);
        QFETCH(L, titles);
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        nb.selectGroup(u"G"_s);
        nb.selectEntry(u"A"_s);
        // A load of the entry would replace this (put in as the program
        // fills the box, so no edit mode starts).
        nb.state().Loading = true;
        nb.w().txtText[0]->setPlainText(u"not reloaded"_s);
        nb.state().Loading = false;
        QTest::keyClick(nb.w().lstEntry, Qt::Key(key), Qt::KeyboardModifiers(modifier));

        QCOMPARE(nb.index().mid(2, 4),
                 (L{u"G"_s, u"\\"_s + titles[0], u"\\"_s + titles[1], u"\\"_s + titles[2]}));
        QCOMPARE(nb.selectedEntry(), u"A"_s);
        QCOMPARE(nb.w().txtText[0]->toPlainText(), u"not reloaded"_s);
    }

    // A missing file stays missing when its line moves: no edit or move may
    // start on it.
    void onePlaceKeepsMissingFile()
    {
        NotebookFixture nb({{u"G"_s, u"a"_s, u"- - -"_s, u"c"_s}}, {u"- - -"_s});
        QVERIFY(nb.start());
        nb.selectEntry(u"- - -"_s);
        nb.w().cmdH[3]->click();
        QCOMPARE(nb.entryLines(), (L{u"a"_s, u"c"_s, u"- - -"_s, u" "_s}));
        QVERIFY(nb.run->window()->mainState().FileMissing);
        QVERIFY(!nb.w().mnuEntryChange->isEnabled());
    }

    void sort_data()
    {
        QTest::addColumn<int>("descending");
        QTest::addColumn<L>("lines");
        QTest::newRow("A to Z") << 0 << L{u"_c"_s, u"A"_s, u"b"_s, u" "_s};
        QTest::newRow("Z to A") << 1 << L{u"b"_s, u"A"_s, u"_c"_s, u" "_s};
    }
    void sort()
    {
        QFETCH(int, descending);
        QFETCH(L, lines);
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        nb.run->app().state().prefs.SortDescending = descending;
        nb.selectGroup(u"G"_s);
        nb.selectEntry(u"A"_s);
        nb.w().cmdSort[0]->click();
        QCOMPARE(nb.entryLines(), lines);
        QCOMPARE(nb.selectedEntry(), lines.first());
        QCOMPARE(nb.w().lblDate->text(), u"date of "_s + lines.first());
        QCOMPARE(nb.index().mid(2, 4),
                 (L{u"G"_s, u"\\"_s + lines[0], u"\\"_s + lines[1], u"\\"_s + lines[2]}));
    }

    void indent_data()
    {
        QTest::addColumn<L>("titles");
        QTest::addColumn<int>("index"); // 0 right, 1 left
        QTest::addColumn<QString>("result");
        QTest::newRow("right onto an existing _x") << L{u"x"_s, u"_x"_s} << 0 << u"_x_"_s;
        QTest::newRow("left") << L{u"__y"_s} << 1 << u"_y"_s;
        QTest::newRow("left onto an existing y") << L{u"_y"_s, u"y"_s} << 1 << u"y_"_s;
        QTest::newRow("left of _ alone") << L{u"_"_s} << 1 << u"_"_s;
    }
    void indent()
    {
        QFETCH(L, titles);
        QFETCH(int, index);
        QFETCH(QString, result);
        NotebookFixture nb({L{u"G"_s} + titles});
        QVERIFY(nb.start());
        const QString entry = titles.first();
        const auto before = nb.folder.snapshot();
        nb.w().mnuIndent[index]->setEnabled(true); // its gate is the keys' test below
        nb.w().mnuIndent[index]->trigger();
        QCOMPARE(nb.dialogsAnswered, 0);
        QCOMPARE(nb.selectedEntry(), result);
        if (result == entry) {
            QCOMPARE(nb.folder.snapshot(), before);
            return;
        }
        L expected{u"G"_s, u"\\"_s + result};
        for (const QString &title : titles.mid(1))
            expected << u"\\"_s + title;
        QCOMPARE(nb.index(), expected);
        QCOMPARE(nb.entryBytes(u"G"_s, result), NotebookFixture::expectedBytes(entry));
    }

    // Left and Right with a modifier indent through the buttons' gates.
    void indentKeys()
    {
        NotebookFixture nb({{u"G"_s, u"x"_s}});
        QVERIFY(nb.start());
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Left, Qt::ShiftModifier); // cmdH(0) is off
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(nb.entryLines(), (L{u"_x"_s, u" "_s}));
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(nb.index(), (L{u"G"_s, u"\\x"_s}));
        QCOMPARE(nb.selectedGroup(), u"G"_s);
    }

    // Locked, and with the command's item off (the blank line, the trash),
    // the keys do nothing at all.
    void keysWithTheirGateClosed_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifier");
        const int shift = int(Qt::ShiftModifier);
        const int ctrl = int(Qt::ControlModifier);
        QTest::newRow("locked Shift+Down")
            << true << u"G"_s << u"b"_s << int(Qt::Key_Down) << shift;
        QTest::newRow("locked Shift+Up") << true << u"G"_s << u"b"_s << int(Qt::Key_Up) << shift;
        QTest::newRow("locked Ctrl+Right")
            << true << u"G"_s << u"b"_s << int(Qt::Key_Right) << ctrl;
        QTest::newRow("locked Ctrl+Left") << true << u"G"_s << u"_a"_s << int(Qt::Key_Left) << ctrl;
        QTest::newRow("locked Delete") << true << u"G"_s << u"b"_s << int(Qt::Key_Delete) << 0;
        QTest::newRow("locked F12") << true << u"G"_s << u"b"_s << int(Qt::Key_F12) << 0;
        QTest::newRow("blank line Delete") << false << u"G"_s << u" "_s << int(Qt::Key_Delete) << 0;
        QTest::newRow("blank line F12") << false << u"G"_s << u" "_s << int(Qt::Key_F12) << 0;
        QTest::newRow("first entry Shift+Up")
            << false << u"G"_s << u"_a"_s << int(Qt::Key_Up) << shift;
        QTest::newRow("trash Delete") << false << u"Trash"_s << u"t"_s << int(Qt::Key_Delete) << 0;
    }
    void keysWithTheirGateClosed()
    {
        QFETCH(bool, locked);
        QFETCH(QString, group);
        QFETCH(QString, entry);
        QFETCH(int, key);
        QFETCH(int, modifier);
        NotebookFixture nb({{u"G"_s, u"_a"_s, u"b"_s, u"c"_s}, {u"Trash"_s, u"t"_s}});
        QVERIFY(nb.start());
        nb.selectGroup(group);
        nb.selectEntry(entry);
        nb.w().chckEdit->setChecked(locked);
        const auto before = nb.folder.snapshot();
        QTest::keyClick(nb.w().lstEntry, Qt::Key(key), Qt::KeyboardModifiers(modifier));
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.dialogsAnswered, 0);
        QCOMPARE(nb.selectedEntry(), entry);
        QCOMPARE(nb.messages().beeps, 0);
        QVERIFY(nb.messages().shown.isEmpty());
    }

    // Left and Right change the group (from either list); the group list's
    // Up and Down walk the entries and hand the focus to the entry list; the
    // cursor pad does the same by button.
    void arrows()
    {
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        nb.w().lstEntry->setFocus();
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Left); // no group above
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QVERIFY(nb.w().lstGroup->hasFocus());
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Right);
        QCOMPARE(nb.selectedGroup(), u"G"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Down);
        QVERIFY(nb.w().lstEntry->hasFocus());
        QCOMPARE(nb.selectedGroup(), u"G"_s);
        QCOMPARE(nb.selectedEntry(), u"A"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(nb.selectedEntry(), u"b"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Down, Qt::ShiftModifier); // one place down
        QCOMPARE(nb.entryLines(), (L{u"A"_s, u"b"_s, u"_c"_s, u" "_s}));
        QCOMPARE(nb.index().mid(2, 4), (L{u"G"_s, u"\\A"_s, u"\\b"_s, u"\\_c"_s}));
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(nb.w().lstEntry, Qt::Key_Down);
        QCOMPARE(nb.selectedEntry(), u" "_s);
        // The pad: its jump between the first line and the blank one, its
        // group buttons.
        nb.w().cmdCRSR[4]->click();
        QCOMPARE(nb.selectedEntry(), u"A"_s);
        nb.w().cmdCRSR[4]->click();
        QCOMPARE(nb.selectedEntry(), u" "_s);
        nb.w().cmdCRSR[1]->click();
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Right); // no group below
        QCOMPARE(nb.selectedGroup(), u"Z"_s);
        nb.w().cmdCRSR[0]->click();
        QCOMPARE(nb.selectedGroup(), u"G"_s);
    }

    // Walking down a long list with the pad: once the list has scrolled, the
    // selected line becomes the first visible one.
    void cursorPadPagesDown()
    {
        NotebookFixture nb({NotebookFixture::group(u"G"_s, u"e"_s, 60)});
        QVERIFY(nb.start());
        QListWidget *list = nb.w().lstEntry;
        int scrolledAt = -1;
        for (int i = 0; i < 59 && scrolledAt < 0; ++i) {
            nb.w().cmdCRSR[3]->click();
            if (list->indexAt(QPoint(0, 0)).row() > 0)
                scrolledAt = list->currentRow();
        }
        QVERIFY(scrolledAt > 0);
        QCOMPARE(list->indexAt(QPoint(0, 0)).row(), scrolledAt);
    }
};

QTEST_MAIN(tst_Ordering)
#include "tst_ordering.moc"
