// The main window's layout as arithmetic on twips: the floors and the room
// rule, the floor told to the window manager, the group list's whole lines,
// the splitter limits, the mask column's rule at 2950; and where a stored
// window rectangle is put among the screens.

#include "ui/mainlayout.h"
#include "ui/windowplacement.h"

#include <QTest>

namespace {

const ListLines kLines{285, 30}; // 19 px lines and a 1 px border at 96 DPI

// Laid out at 12000 x 8000 twips (or `width` wide) with these splitters.
MainLayout laidOut(int top, int left0, int left1, bool mask = false, int width = 12000)
{
    MainLayout l;
    l.rowSplitter.top = top;
    l.columnSplitters[0].left = left0;
    l.columnSplitters[1].left = left1;
    l.maskChecked = mask;
    layoutForClient(l, WindowFrame{{width, 8000}, 0, false, false}, kLines);
    return l;
}

} // namespace

class tst_MainLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Lists 2640 wide: the outer width holds 7140. The size asked for is the
    // one laid out for.
    void floors_data()
    {
        QTest::addColumn<int>("splitter");
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("frameWidth");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<QSize>("want");
        QTest::newRow("roomy") << 2640 << QSize(9000, 6000) << 120 << false << QSize(9000, 6000);
        QTest::newRow("narrow") << 2640 << QSize(5000, 6000) << 0 << false << QSize(7140, 6000);
        QTest::newRow("frame counts")
            << 2640 << QSize(6900, 6000) << 120 << false << QSize(7020, 6000);
        QTest::newRow("low, splitter high")
            << 700 << QSize(9000, 2000) << 0 << false << QSize(9000, 3060);
        // Entry list at 2775: room = height - 3715, at least 540.
        QTest::newRow("room 540") << 2640 << QSize(9000, 4255) << 0 << false << QSize(9000, 4255);
        QTest::newRow("room 539, last good height back")
            << 2640 << QSize(9000, 4254) << 0 << false << QSize(9000, 8000);
        QTest::newRow("maximized") << 2640 << QSize(5000, 2000) << 0 << true << QSize(5000, 2000);
    }
    void floors()
    {
        QFETCH(int, splitter);
        QFETCH(QSize, client);
        QFETCH(int, frameWidth);
        QFETCH(bool, maximized);
        QFETCH(QSize, want);
        MainLayout l = laidOut(splitter, 2975, 5400);
        const WindowFrame frame{{client.width(), client.height()}, frameWidth, false, maximized};
        QCOMPARE(layoutForClient(l, frame, kLines), (TwipsSize{want.width(), want.height()}));
        QCOMPARE(l.saveWindowItemEnabled, !maximized);
        QCOMPARE(l.entryText.right(), want.width() - 50);
        QCOMPARE(l.normalPanels[0].top, want.height() - 1010);
        if (!maximized)
            QCOMPARE(l.orderButtons[0].bottom(), want.height() - 1010);
    }

    // The floor the window manager is told (frame 120): the 3060 floor, or
    // the room under the entry list, also where a splitter drag left less.
    void clientFloor_data()
    {
        QTest::addColumn<int>("splitter");
        QTest::addColumn<int>("dragTo"); // 0: not dragged
        QTest::addColumn<int>("height");
        QTest::newRow("plain floor") << 700 << 0 << 3060;
        QTest::newRow("room under the entry list") << 2640 << 0 << 4255;
        // A list without whole lines: the entry list starts 315 under the bar.
        QTest::newRow("dragged, room 580") << 2640 << 6165 << 7960;
        QTest::newRow("dragged, room 520") << 2640 << 6225 << 8020;
    }
    void clientFloor()
    {
        QFETCH(int, splitter);
        QFETCH(int, dragTo);
        QFETCH(int, height);
        MainLayout l = laidOut(splitter, 2975, 5400);
        if (dragTo)
            QVERIFY(dragRowSplitter(l, dragTo - l.rowSplitter.top, 8000, ListLines{}));
        QCOMPARE(::clientFloor(l, 120), (TwipsSize{7020, height}));
    }

    // The bar lands 15 twips under the list's whole lines. pref.dat gives it
    // back 100 twips higher; the list snaps to the same lines while a line is
    // higher than 170 twips.
    void groupListLines_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("comesBack");
        QTest::newRow("on a line") << 2460 << 285 << 9 << true;
        QTest::newRow("a twip short") << 2459 << 285 << 8 << true;
        QTest::newRow("lines of 180") << 2640 << 180 << 15 << true;
        QTest::newRow("lines of 165") << 2640 << 165 << 16 << false;
    }
    void groupListLines()
    {
        QFETCH(int, asked);
        QFETCH(int, lineHeight);
        QFETCH(int, lines);
        QFETCH(bool, comesBack);
        const ListLines rows{lineHeight, 30};
        MainLayout l;
        l.rowSplitter.top = asked;
        LayoutRows(l, 8000, rows);
        QCOMPARE(l.groupList.height, 30 + lines * lineHeight);
        QCOMPARE(l.rowSplitter.top, l.groupList.bottom() + 15);
        QCOMPARE(l.entryList.top, l.rowSplitter.bottom());
        MainLayout next;
        next.rowSplitter.top = l.rowSplitter.top - 100;
        LayoutRows(next, 8000, rows);
        QCOMPARE(next.rowSplitter.top == l.rowSplitter.top, comesBack);
    }

    // Client 8000 high: the bar stays between 600 and 6250, and the place
    // last asked for is not asked again.
    void horizontalDrag_data()
    {
        QTest::addColumn<int>("newTop");
        QTest::addColumn<bool>("moves");
        QTest::newRow("601") << 601 << true;
        QTest::newRow("600") << 600 << false;
        QTest::newRow("6249") << 6249 << true;
        QTest::newRow("6250") << 6250 << false;
        QTest::newRow("last asked") << 2640 << false;
    }
    void horizontalDrag()
    {
        QFETCH(int, newTop);
        QFETCH(bool, moves);
        MainLayout l = laidOut(2640, 2975, 5400);
        const int listHeight = l.groupList.height;
        QCOMPARE(dragRowSplitter(l, newTop - l.rowSplitter.top, 8000, kLines), moves);
        QCOMPARE(l.groupList.height, moves ? kLines.snap(newTop + 135) : listHeight);
    }

    // Splitters at 3400 and 6400 (lists 3065 wide, mask 3000); the text box
    // is then the client width - 6475 with the mask shown.
    void verticalDrag_data()
    {
        QTest::addColumn<bool>("mask");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("moves");
        QTest::newRow("0 to 3001, mask hidden") << false << 0 << -399 << 12000 << true;
        QTest::newRow("0 to 3000, mask hidden") << false << 0 << -400 << 12000 << false;
        QTest::newRow("0 to 1861, mask shown") << true << 0 << -1539 << 12000 << true;
        QTest::newRow("0 to 1860, mask shown") << true << 0 << -1540 << 12000 << false;
        QTest::newRow("0 right, text 1201") << true << 0 << 100 << 7676 << true;
        QTest::newRow("0 right, text 1200") << true << 0 << 100 << 7675 << false;
        QTest::newRow("0 left, text 1200") << true << 0 << -100 << 7675 << true;
        QTest::newRow("1 to 601 right of 0") << true << 1 << -2399 << 12000 << true;
        QTest::newRow("1 to 600 right of 0") << true << 1 << -2400 << 12000 << false;
        QTest::newRow("1 right, text 1200") << true << 1 << 100 << 7675 << false;
    }
    void verticalDrag()
    {
        QFETCH(bool, mask);
        QFETCH(int, index);
        QFETCH(int, x);
        QFETCH(int, width);
        QFETCH(bool, moves);
        MainLayout l = laidOut(2640, 3400, 6400, mask, width);
        QCOMPARE(dragColumnSplitter(l, index, x, width, 8000), moves);
        const int moved = moves ? x : 0;
        QCOMPARE(l.columnSplitters[0].left, 3400 + (index == 0 ? moved : 0));
        QCOMPARE(l.columnSplitters[1].left, 6400 + moved); // splitter 0 takes 1 along
        QCOMPARE(l.entryText.right(), width - 50);
    }

    // A key moves the row splitter by one whole line of the group list (19
    // px lines: 285 twips) or by 120 twips where it has none, and a column
    // splitter (the mask shown) by 120 twips, or as near a limit as a drag
    // gets. Lines: 1000 asks for 3, 2640 for 9, 6100 for 21, 6400 for 22.
    void keySteps_data()
    {
        QTest::addColumn<int>("splitter"); // -1 the row splitter, -2 without lines
        QTest::addColumn<int>("from");     // its top, or splitter 0's left
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("to"); // the list's lines, the bar's top, the splitter's left
        QTest::newRow("row down") << -1 << 2640 << 12000 << 1 << 10;
        QTest::newRow("row up") << -1 << 2640 << 12000 << -1 << 8;
        QTest::newRow("row up to 2 lines, asking 749") << -1 << 1000 << 12000 << -1 << 2;
        QTest::newRow("row up from 2 lines, asking 464") << -1 << 700 << 12000 << -1 << 2;
        QTest::newRow("row down from 21 lines, asking 6165") << -1 << 6100 << 12000 << 1 << 22;
        QTest::newRow("row down from 22 lines, asking 6450") << -1 << 6400 << 12000 << 1 << 22;
        QTest::newRow("row down, no lines") << -2 << 2640 << 12000 << 1 << 3030;
        QTest::newRow("row up, no lines") << -2 << 2640 << 12000 << -1 << 2790;
        QTest::newRow("0 left") << 0 << 3400 << 12000 << -1 << 3280;
        QTest::newRow("0 left, 30 short of 1860") << 0 << 1905 << 12000 << -1 << 1875;
        QTest::newRow("0 left, 15 short of 1860") << 0 << 1875 << 12000 << -1 << 1875;
        QTest::newRow("0 right") << 0 << 3400 << 12000 << 1 << 3520;
        QTest::newRow("0 right, text 1201") << 0 << 3400 << 7676 << 1 << 3520;
        QTest::newRow("0 right, text 1200") << 0 << 3400 << 7675 << 1 << 3400;
        QTest::newRow("1 left") << 1 << 3400 << 12000 << -1 << 6280;
        QTest::newRow("1 left, to 15 over 600 right of 0") << 1 << 5755 << 12000 << -1 << 6370;
        QTest::newRow("1 right, text 1200") << 1 << 3400 << 7675 << 1 << 6400;
    }
    void keySteps()
    {
        QFETCH(int, splitter);
        QFETCH(int, from);
        QFETCH(int, width);
        QFETCH(int, direction);
        QFETCH(int, to);
        if (splitter < 0) {
            const ListLines lines = splitter == -1 ? kLines : ListLines{};
            MainLayout l;
            l.rowSplitter.top = from;
            layoutForClient(l, WindowFrame{{width, 8000}, 0, false, false}, lines);
            const int height = l.groupList.height;
            const bool moved = stepRowSplitter(l, direction, 8000, lines);
            QCOMPARE(moved, l.groupList.height != height);
            if (splitter == -1)
                QCOMPARE(l.groupList.height, kLines.border + to * kLines.lineHeight);
            else
                QCOMPARE(l.rowSplitter.top, to);
            QCOMPARE(l.rowSplitter.top, l.groupList.bottom() + 15);
            return;
        }
        MainLayout l = laidOut(2640, from, 6400, true, width);
        const bool moved = stepColumnSplitter(l, splitter, direction, width, 8000);
        QCOMPARE(l.columnSplitters[splitter].left, to);
        QCOMPARE(moved, to != (splitter == 0 ? from : 6400));
        QCOMPARE(l.columnSplitters[1].left - l.columnSplitters[0].left,
                 splitter == 0 ? 6400 - from : to - from); // splitter 0 takes 1 along
        QCOMPARE(l.entryText.right(), width - 50);
    }

    void splitter1NeverLeftOf2965()
    {
        MainLayout l = laidOut(2640, 1900, 3000, true);
        QVERIFY(!dragColumnSplitter(l, 1, -35, 12000, 8000));
        QVERIFY(!dragColumnSplitter(l, 0, -35, 12000, 8000));
        QVERIFY(dragColumnSplitter(l, 1, -34, 12000, 8000));
    }

    // Left of 2950 the bottom panels reach under the mask column: the mask is
    // shown above them and its menu item is checked and disabled. Back at
    // 2950 the item can be used again.
    void maskColumn_data()
    {
        QTest::addColumn<int>("left0");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("maskBottomGap");
        QTest::newRow("2950, hidden") << 2950 << false << false << 185;
        QTest::newRow("2950, shown") << 2950 << true << true << 185;
        QTest::newRow("2949, hidden") << 2949 << false << true << 1140;
    }
    void maskColumn()
    {
        QFETCH(int, left0);
        QFETCH(bool, checked);
        QFETCH(bool, shown);
        QFETCH(int, maskBottomGap);
        MainLayout l = laidOut(2640, left0, 4500, checked);
        QCOMPARE(l.maskChecked, shown);
        QCOMPARE(l.maskItemEnabled, left0 >= 2950);
        QCOMPARE(l.maskText.height, 8000 - maskBottomGap);
        QCOMPARE(l.maskText.right(), 4495);
        QCOMPARE(l.entryText.left, (shown ? 4500 : left0) + 25);
        QCOMPARE(l.cursorButtons[0].right(), left0);
        if (left0 < 2950) {
            QVERIFY(dragColumnSplitter(l, 0, 2950 - left0, 12000, 8000));
            QVERIFY(l.maskItemEnabled && l.maskChecked);
            QCOMPARE(l.maskText.height, 8000 - 185);
        }
    }

    // Kept where it lies wholly on one screen; otherwise into the screen it
    // overlaps most (the first when none), shrunk to fit. The window of the
    // shipped pref.dat at a scale factor of 1.5 on a 1280 x 900 screen (853
    // x 600 logical pixels) comes back whole.
    void windowOnScreens_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("placed");
        const QList<QRect> two{QRect(0, 0, 1280, 1000), QRect(1280, 0, 1920, 1080)};
        QTest::newRow("on the first")
            << QRect(100, 100, 800, 533) << two << QRect(100, 100, 800, 533);
        QTest::newRow("on the second, its corner")
            << QRect(2400, 547, 800, 533) << two << QRect(2400, 547, 800, 533);
        QTest::newRow("title bar above")
            << QRect(100, -300, 800, 533) << two << QRect(100, 0, 800, 533);
        QTest::newRow("right edge a pixel off")
            << QRect(481, 100, 800, 533) << two << QRect(480, 100, 800, 533);
        QTest::newRow("bottom edge a pixel off")
            << QRect(100, 468, 800, 533) << two << QRect(100, 467, 800, 533);
        QTest::newRow("mostly on the second")
            << QRect(1200, 1060, 800, 533) << two << QRect(1280, 547, 800, 533);
        QTest::newRow("too large") << QRect(80, 80, 2000, 1100) << two << QRect(0, 0, 1280, 1000);
        QTest::newRow("scale 1.5")
            << QRect(80, 80, 800, 533) << QList{QRect(0, 0, 853, 600)} << QRect(53, 67, 800, 533);
        QTest::newRow("under a panel at the top")
            << QRect(80, 10, 800, 533) << QList{QRect(0, 30, 1280, 870)} << QRect(80, 30, 800, 533);
    }
    void windowOnScreens()
    {
        QFETCH(QRect, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, placed);
        QCOMPARE(placeOnScreens(stored, screens), placed);
    }
};

QTEST_APPLESS_MAIN(tst_MainLayout)
#include "tst_mainlayout.moc"
