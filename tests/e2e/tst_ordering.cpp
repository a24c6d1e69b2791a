// Ordering on the real window: one place up and down, the sort, the indents,
// the cursor pad, the group list's arrows and the list keys with their gates.

#include "support/notebookfixture.h"

#include "store/appstate.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
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
        QTest::addColumn<L>("index");
        const int shift = int(Qt::ShiftModifier);
        QTest::newRow("Shift+Down") << int(Qt::Key_Down) << shift
                                    << L{u"G"_s, u"\\b"_s, u"\\_c"_s, u"\\A"_s};
        QTest::newRow("Ctrl+Up") << int(Qt::Key_Up) << int(Qt::ControlModifier)
                                 << L{u"G"_s, u"\\A"_s, u"\\b"_s, u"\\_c"_s};
        QTest::newRow("Alt+Down") << int(Qt::Key_Down) << int(Qt::AltModifier)
                                  << L{u"G"_s, u"\\b"_s, u"\\_c"_s, u"\\A"_s};
    }
    void onePlace()
    {
        QFETCH(int, key);
        QFETCH(int, modifier);
        QFETCH(L, index);
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        nb.selectGroup(u"G"_s);
        nb.selectEntry(u"A"_s);
        QVERIFY(nb.w().txtText[0]->toPlainText().startsWith(u"text of A"_s));
        // What the box shows now would be replaced if the entry were loaded again.
        // Put there as the program fills the box, so that no edit mode starts.
        nb.run->window()->mainState().Loading = true;
        nb.w().txtText[0]->setPlainText(u"not reloaded"_s);
        nb.run->window()->mainState().Loading = false;
        QTest::keyClick(nb.w().lstEntry, Qt::Key(key), Qt::KeyboardModifiers(modifier));

        QCOMPARE(nb.index().mid(2, 4), index);
        QCOMPARE(nb.selectedEntry(), u"A"_s);
        QCOMPARE(nb.w().txtText[0]->toPlainText(), u"not reloaded"_s);
        QCOMPARE(nb.files(u"G"_s).size(), 4);
    }

    void onePlaceAtTheEnds_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("key");
        QTest::newRow("first up") << u"b"_s << int(Qt::Key_Up);
        QTest::newRow("last down") << u"_c"_s << int(Qt::Key_Down);
        QTest::newRow("blank line up") << u" "_s << int(Qt::Key_Up);
    }
    void onePlaceAtTheEnds()
    {
        QFETCH(QString, entry);
        QFETCH(int, key);
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        nb.selectGroup(u"G"_s);
        nb.selectEntry(entry);
        const auto before = nb.folder.snapshot();
        QTest::keyClick(nb.w().lstEntry, Qt::Key(key), Qt::ShiftModifier);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.selectedEntry(), entry);
    }

    // A missing file stays missing when its line moves: no edit may start on it.
    void onePlaceKeepsMissingFile()
    {
        NotebookFixture nb({{u"G"_s, u"a"_s, u"- - -"_s, u"c"_s}}, {u"- - -"_s});
        QVERIFY(nb.start());
        nb.selectEntry(u"- - -"_s);
        QVERIFY(nb.run->window()->mainState().FileMissing);
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
        L index{u"G"_s};
        for (const QString &line : lines.mid(0, 3))
            index << u"\\"_s + line;
        QCOMPARE(nb.index().mid(2, 4), index);
        QCOMPARE(nb.files(u"G"_s).size(), 4);
    }

    void indent_data()
    {
        QTest::addColumn<L>("titles");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("index"); // 0 right, 1 left
        QTest::addColumn<QString>("result");
        QTest::newRow("right") << L{u"x"_s} << u"x"_s << 0 << u"_x"_s;
        QTest::newRow("right onto an existing _x")
            << L{u"x"_s, u"_x"_s} << u"x"_s << 0 << u"_x_"_s;
        QTest::newRow("left") << L{u"__y"_s} << u"__y"_s << 1 << u"_y"_s;
        QTest::newRow("left onto an existing y") << L{u"_y"_s, u"y"_s} << u"_y"_s << 1 << u"y_"_s;
        QTest::newRow("left of _ alone") << L{u"_"_s} << u"_"_s << 1 << u"_"_s;
        QTest::newRow("left without indent") << L{u"y"_s} << u"y"_s << 1 << u"y"_s;
    }
    void indent()
    {
        QFETCH(L, titles);
        QFETCH(QString, entry);
        QFETCH(int, index);
        QFETCH(QString, result);
        NotebookFixture nb({L{u"G"_s} + titles});
        QVERIFY(nb.start());
        nb.selectEntry(entry);
        const auto before = nb.folder.snapshot();
        nb.w().mnuIndent[index]->setEnabled(true); // the menu's own gate is not under test here
        nb.w().mnuIndent[index]->trigger();
        QCOMPARE(nb.dialogsAnswered, 0);
        QCOMPARE(nb.selectedEntry(), result);
        if (result == entry) {
            QCOMPARE(nb.folder.snapshot(), before);
        } else {
            QVERIFY(nb.index().contains(u"\\"_s + result));
            QVERIFY(!nb.index().contains(u"\\"_s + entry) || titles.contains(result));
            QCOMPARE(nb.entryBytes(u"G"_s, result), NotebookFixture::expectedBytes(entry));
        }
    }

    // A file of the indented name that the notebook does not know stays, and
    // so does the title everywhere; the failed rename is reported.
    void indentOntoStrayFile()
    {
        NotebookFixture nb({{u"G"_s, u"x"_s}});
        nb.folder.writeLines(u"FileStore/G/_x.txt"_s, {u"stray"_s});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.w().cmdH[1]->click();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QCOMPARE(nb.run->app().table().cell(0, 1), u"x"_s);
        QCOMPARE(nb.messages().shown.size(), 1);
        QCOMPARE(nb.messages().shown[0].icon, Messages::Icon::Critical);
    }

    // Left and Right with a modifier indent through the buttons' gates.
    void indentKeys()
    {
        NotebookFixture nb({{u"G"_s, u"x"_s}});
        QVERIFY(nb.start());
        QVERIFY(!nb.w().cmdH[0]->isEnabled());
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Left, Qt::ShiftModifier); // gate closed
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(nb.entryLines(), (L{u"_x"_s, u" "_s}));
        QVERIFY(nb.w().cmdH[0]->isEnabled());
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QCOMPARE(nb.index(), (L{u"G"_s, u"\\x"_s}));
        QCOMPARE(nb.selectedGroup(), u"G"_s);
    }

    // The lock closes every gate of these keys; nothing changes, no sound.
    void keysWhileLocked_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifier");
        QTest::newRow("Shift+Down") << int(Qt::Key_Down) << int(Qt::ShiftModifier);
        QTest::newRow("Shift+Up") << int(Qt::Key_Up) << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl+Right") << int(Qt::Key_Right) << int(Qt::ControlModifier);
        QTest::newRow("Ctrl+Left") << int(Qt::Key_Left) << int(Qt::ControlModifier);
        QTest::newRow("Delete") << int(Qt::Key_Delete) << 0;
        QTest::newRow("F12") << int(Qt::Key_F12) << 0;
    }
    void keysWhileLocked()
    {
        QFETCH(int, key);
        QFETCH(int, modifier);
        NotebookFixture nb({{u"G"_s, u"_a"_s, u"b"_s, u"c"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        nb.selectEntry(u"b"_s);
        nb.w().chckEdit->setChecked(true);
        const auto before = nb.folder.snapshot();
        QTest::keyClick(nb.w().lstEntry, Qt::Key(key), Qt::KeyboardModifiers(modifier));
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.dialogsAnswered, 0);
        QCOMPARE(nb.selectedEntry(), u"b"_s);
        QCOMPARE(nb.messages().beeps, 0);
        QVERIFY(nb.messages().shown.isEmpty());
    }

    // Delete and F12 on the blank line, and Delete inside the trash: the
    // menu items are off, the keys do nothing.
    void keysWithTheirItemOff()
    {
        NotebookFixture nb({{u"G"_s, u"a"_s}, {u"Trash"_s, u"t"_s}});
        QVERIFY(nb.start());
        nb.selectEntry(u" "_s);
        const auto before = nb.folder.snapshot();
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Delete);
        QTest::keyClick(nb.w().lstEntry, Qt::Key_F12);
        nb.selectGroup(u"Trash"_s);
        QCOMPARE(nb.selectedEntry(), u"t"_s);
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Delete);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.dialogsAnswered, 0);
    }

    void groupChangeByLeftAndRight()
    {
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        nb.w().lstEntry->setFocus();
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Left); // no group above
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QVERIFY(nb.w().lstGroup->hasFocus());
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Down);
        QVERIFY(nb.w().lstEntry->hasFocus());
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Right);
        QCOMPARE(nb.selectedGroup(), u"G"_s);
        QCOMPARE(nb.entryLines(), (L{u"b"_s, u"A"_s, u"_c"_s, u" "_s}));
        // Forwarded from the group list itself.
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Right);
        QCOMPARE(nb.selectedGroup(), u"Z"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Right);
        QCOMPARE(nb.selectedGroup(), u"Z"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Left);
        QCOMPARE(nb.selectedGroup(), u"G"_s);
    }

    // The group list's Up and Down walk the entries, not the groups.
    void groupListArrows()
    {
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        nb.selectGroup(u"G"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Down);
        QCOMPARE(nb.selectedGroup(), u"G"_s);
        QCOMPARE(nb.selectedEntry(), u"A"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(nb.selectedEntry(), u"b"_s);
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Up);
        QCOMPARE(nb.selectedEntry(), u"b"_s);
        // Down with a modifier is one place down, through its gate.
        QTest::keyClick(nb.w().lstGroup, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(nb.entryLines(), (L{u"A"_s, u"b"_s, u"_c"_s, u" "_s}));
        QCOMPARE(nb.selectedEntry(), u"b"_s);
        QCOMPARE(nb.index().mid(2, 4), (L{u"G"_s, u"\\A"_s, u"\\b"_s, u"\\_c"_s}));
        for (int i = 0; i < 4; ++i)
            QTest::keyClick(nb.w().lstGroup, Qt::Key_Down);
        QCOMPARE(nb.selectedEntry(), u" "_s);
    }

    void cursorPad()
    {
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        w.cmdCRSR[1]->click();
        QCOMPARE(nb.selectedGroup(), u"G"_s);
        w.cmdCRSR[3]->click();
        QCOMPARE(nb.selectedEntry(), u"A"_s);
        w.cmdCRSR[4]->click();
        QCOMPARE(nb.selectedEntry(), u" "_s);
        w.cmdCRSR[4]->click();
        QCOMPARE(nb.selectedEntry(), u"b"_s);
        w.cmdCRSR[2]->click();
        QCOMPARE(nb.selectedEntry(), u"b"_s);
        w.cmdCRSR[0]->click();
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QVERIFY(!w.cmdCRSR[0]->isEnabled());
    }

    // Walking down a long list with the pad: once the list has scrolled, the
    // selected line becomes the first visible one.
    void cursorPadPagesDown()
    {
        L group{u"G"_s};
        for (int i = 0; i < 60; ++i)
            group << u"e%1"_s.arg(i, 2, 10, QChar(u'0'));
        NotebookFixture nb({group});
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

    void buttonsAndMenus()
    {
        NotebookFixture nb(kGroups);
        QVERIFY(nb.start());
        nb.selectGroup(u"G"_s);
        nb.selectEntry(u"b"_s);
        nb.w().mnuSort[1]->trigger();
        QCOMPARE(nb.entryLines(), (L{u"A"_s, u"b"_s, u"_c"_s, u" "_s}));
        nb.w().cmdH[2]->click();
        QCOMPARE(nb.entryLines(), (L{u"b"_s, u"A"_s, u"_c"_s, u" "_s}));
        QVERIFY(!nb.w().cmdH[2]->isEnabled());
        nb.w().cmdH[1]->click();
        QCOMPARE(nb.entryLines(), (L{u"_b"_s, u"A"_s, u"_c"_s, u" "_s}));
        nb.w().mnuSortAll->trigger();
        QCOMPARE(nb.entryLines(), (L{u"_b"_s, u"_c"_s, u"A"_s, u" "_s}));
        QCOMPARE(nb.index().mid(2, 4), (L{u"G"_s, u"\\_b"_s, u"\\_c"_s, u"\\A"_s}));
    }
};

QTEST_MAIN(tst_Ordering)
#include "tst_ordering.moc"
