// The main window's layout as arithmetic on twips: the floors and the room
// rule of a resize, the group list's whole lines, the splitter limits and the
// mask column's rule at 2950.

#include "ui/mainlayout.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const ListLines kLines{285, 30}; // 19 px lines and a 1 px border at 96 DPI

struct Splitters
{
    int top = 2640;
    int left0 = 2975;
    int left1 = 5400;
};

// A window laid out at 12000 x 8000 twips with these splitters and mask mark.
MainLayout laidOut(Splitters s = {}, bool mask = false, TwipsSize client = {12000, 8000})
{
    MainLayout l;
    l.lblSizeH.top = s.top;
    l.lblSizeV[0].left = s.left0;
    l.lblSizeV[1].left = s.left1;
    l.maskChecked = mask;
    const TwipsSize kept = Form_Resize(l, WindowFrame{client, 0, false, false}, kLines);
    Q_ASSERT(kept == client);
    return l;
}

} // namespace

Q_DECLARE_METATYPE(TwipsSize)
Q_DECLARE_METATYPE(Splitters)

class tst_MainLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window asked for is the one laid out for; 0 in `want` keeps the size.
    void floors_data()
    {
        QTest::addColumn<int>("splitter");
        QTest::addColumn<TwipsSize>("client");
        QTest::addColumn<int>("frameWidth");
        QTest::addColumn<bool>("maximized");
        QTest::addColumn<TwipsSize>("want");
        // The list column is 2640 wide: the outer width must hold 7140.
        QTest::newRow("roomy") << 2640 << TwipsSize{9000, 6000} << 120 << false
                               << TwipsSize{9000, 6000};
        QTest::newRow("narrower than the floor")
            << 2640 << TwipsSize{5000, 6000} << 0 << false << TwipsSize{7140, 6000};
        QTest::newRow("the frame counts in the width")
            << 2640 << TwipsSize{6900, 6000} << 120 << false << TwipsSize{7020, 6000};
        QTest::newRow("width exactly at the floor")
            << 2640 << TwipsSize{7020, 6000} << 120 << false << TwipsSize{7020, 6000};
        // Splitter high: the entry list has room at 3060.
        QTest::newRow("lower than 3060")
            << 700 << TwipsSize{9000, 2000} << 0 << false << TwipsSize{9000, 3060};
        // Splitter low: no room for the entry list, the last good height comes back.
        QTest::newRow("no room for the entry list")
            << 2640 << TwipsSize{9000, 4000} << 0 << false << TwipsSize{9000, 8000};
        QTest::newRow("maximized stays as it is")
            << 2640 << TwipsSize{5000, 2000} << 0 << true << TwipsSize{5000, 2000};
    }
    void floors()
    {
        QFETCH(int, splitter);
        QFETCH(TwipsSize, client);
        QFETCH(int, frameWidth);
        QFETCH(bool, maximized);
        QFETCH(TwipsSize, want);
        MainLayout l = laidOut({splitter, 2975, 5400});
        QCOMPARE(Form_Resize(l, WindowFrame{client, frameWidth, false, maximized}, kLines), want);
        QCOMPARE(l.saveWindowItemEnabled, !maximized);
        // Laid out for the size it asked for.
        QCOMPARE(l.txtText.right(), want.width - 50);
        QCOMPARE(l.fraMain[0].top, want.height - 1010);
        QCOMPARE(l.lblDate.bottom(), want.height - 65);
    }

    void minimizedIsLeftAlone()
    {
        MainLayout l = laidOut();
        const MainLayout before = l;
        QCOMPARE(Form_Resize(l, WindowFrame{{100, 100}, 0, true, false}, kLines),
                 (TwipsSize{100, 100}));
        QCOMPARE(l.lstEntry, before.lstEntry);
        QCOMPARE(l.txtText, before.txtText);
    }

    // Room = client height - entry list top - 940; below 540 the entry list
    // keeps its height and the window its last good height.
    void entryListRoom_data()
    {
        QTest::addColumn<int>("room");
        QTest::addColumn<bool>("fits");
        QTest::newRow("540") << 540 << true;
        QTest::newRow("539") << 539 << false;
        QTest::newRow("3000") << 3000 << true;
    }
    void entryListRoom()
    {
        QFETCH(int, room);
        QFETCH(bool, fits);
        MainLayout l = laidOut({1400, 2975, 5400});
        const TwipsRect before = l.lstEntry;
        const int height = l.lstEntry.top + 940 + room;
        const TwipsSize got = Form_Resize(l, WindowFrame{{12000, height}, 0, false, false}, kLines);
        QCOMPARE(got.height, fits ? height : 8000);
        if (fits) {
            // The row of buttons under the list ends where the bottom panels begin.
            QCOMPARE(l.cmdH[0].bottom(), height - 1010);
            QCOMPARE(l.cmdCRSR[4].top, l.lstEntry.bottom());
            QCOMPARE(l.lastGoodHeight, height);
        } else {
            QCOMPARE(l.lstEntry.height, before.height);
        }
    }

    // The group list holds whole lines; the bar sits 15 twips under it and the
    // entry list right under the bar.
    void groupListWholeLines_data()
    {
        QTest::addColumn<int>("asked");
        QTest::addColumn<int>("listHeight");
        QTest::newRow("on a line") << 30 + 9 * 285 - 135 << 30 + 9 * 285;
        QTest::newRow("a twip short of a line") << 30 + 9 * 285 - 136 << 30 + 8 * 285;
        QTest::newRow("high up: one line at least") << 100 << 30 + 285;
    }
    void groupListWholeLines()
    {
        QFETCH(int, asked);
        QFETCH(int, listHeight);
        MainLayout l;
        l.lblSizeH.top = asked;
        LayoutRows(l, 8000, kLines);
        QCOMPARE(l.lstGroup.height, listHeight);
        QCOMPARE(l.lastFrameTop, asked);
        QCOMPARE(l.lblSizeH.top, l.lstGroup.bottom() + 15);
        QCOMPARE(l.lstEntry.top, l.lblSizeH.bottom());
        QCOMPARE(l.cmdCRSR[1].top, l.lstGroup.height / 2 + 120);
        QCOMPARE(l.cmdCRSR[3].bottom(), l.lstEntry.top + 2 * (l.lstEntry.height / 2));
    }

    // pref.dat gives the splitter back 100 twips higher than it was kept; the
    // list snaps back to the same lines while a line is higher than 170 twips.
    void keptSplitterComesBack_data()
    {
        QTest::addColumn<int>("lineHeight");
        QTest::addColumn<bool>("same");
        QTest::newRow("285") << 285 << true;
        QTest::newRow("180") << 180 << true;
        QTest::newRow("165") << 165 << false;
    }
    void keptSplitterComesBack()
    {
        QFETCH(int, lineHeight);
        QFETCH(bool, same);
        const ListLines lines{lineHeight, 30};
        MainLayout first;
        first.lblSizeH.top = 2640;
        LayoutRows(first, 8000, lines);
        const int kept = first.lblSizeH.top;
        MainLayout next;
        next.lblSizeH.top = kept - 100;
        LayoutRows(next, 8000, lines);
        QCOMPARE(next.lblSizeH.top == kept, same);
    }

    void horizontalDrag_data()
    {
        QTest::addColumn<int>("newTop");
        QTest::addColumn<bool>("moves");
        // Client height 8000: the bar stays between 600 and 8000 - 1750.
        QTest::newRow("601") << 601 << true;
        QTest::newRow("600") << 600 << false;
        QTest::newRow("6249") << 6249 << true;
        QTest::newRow("6250") << 6250 << false;
        QTest::newRow("the last place asked") << 2640 << false;
    }
    void horizontalDrag()
    {
        QFETCH(int, newTop);
        QFETCH(bool, moves);
        MainLayout l = laidOut();
        QCOMPARE(l.lastFrameTop, 2640);
        const MainLayout before = l;
        QCOMPARE(lblSizeH_MouseMove(l, newTop - l.lblSizeH.top, 8000, kLines), moves);
        if (moves) {
            QCOMPARE(l.lstGroup.height, kLines.snap(newTop + 135));
            QCOMPARE(l.lastFrameTop, newTop);
        } else {
            QCOMPARE(l.lblSizeH, before.lblSizeH);
            QCOMPARE(l.lstEntry, before.lstEntry);
        }
    }

    void verticalDrag_data()
    {
        QTest::addColumn<bool>("mask");
        QTest::addColumn<Splitters>("from");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("clientWidth");
        QTest::addColumn<bool>("moves");
        const Splitters s{2640, 3400, 6400};
        QTest::newRow("0 right of 3000, mask hidden") << false << s << 0 << -399 << 12000 << true;
        QTest::newRow("0 to 3000, mask hidden") << false << s << 0 << -400 << 12000 << false;
        QTest::newRow("0 right of 1860, mask shown") << true << s << 0 << -1539 << 12000 << true;
        QTest::newRow("0 to 1860, mask shown") << true << s << 0 << -1540 << 12000 << false;
        QTest::newRow("0 would take 1 to 2965")
            << true << Splitters{2640, 3400, 4400} << 0 << -1435 << 12000 << false;
        // The text box is client width - 6475 wide.
        QTest::newRow("0 right, text 1201 wide") << true << s << 0 << 100 << 7676 << true;
        QTest::newRow("0 right, text 1200 wide") << true << s << 0 << 100 << 7675 << false;
        QTest::newRow("0 left, text 1200 wide") << true << s << 0 << -100 << 7675 << true;
        QTest::newRow("1 more than 600 right of 0") << true << s << 1 << -2399 << 12000 << true;
        QTest::newRow("1 to 600 right of 0") << true << s << 1 << -2400 << 12000 << false;
        QTest::newRow("1 to 2965")
            << true << Splitters{2640, 1900, 3000} << 1 << -35 << 12000 << false;
        QTest::newRow("1 right, text 1200 wide") << true << s << 1 << 100 << 7675 << false;
        QTest::newRow("1 left, text 1200 wide") << true << s << 1 << -100 << 7675 << true;
    }
    void verticalDrag()
    {
        QFETCH(bool, mask);
        QFETCH(Splitters, from);
        QFETCH(int, index);
        QFETCH(int, x);
        QFETCH(int, clientWidth);
        QFETCH(bool, moves);
        MainLayout l = laidOut(from, mask, {clientWidth, 8000});
        QCOMPARE(lblSizeV_MouseMove(l, index, x, clientWidth, 8000), moves);
        const int moved = moves ? x : 0;
        QCOMPARE(l.lblSizeV[index].left, (index == 0 ? from.left0 : from.left1) + moved);
        // Splitter 0 takes splitter 1 along: the mask keeps its width.
        if (index == 0)
            QCOMPARE(l.lblSizeV[1].left, from.left1 + moved);
        QCOMPARE(l.txtText.right(), clientWidth - 50);
    }

    // Left of 2950 the bottom panels reach under the mask column: the mask is
    // shown, stops above them, and its menu item is checked and disabled.
    void maskColumn_data()
    {
        QTest::addColumn<int>("left0");
        QTest::addColumn<bool>("checked");
        QTest::addColumn<bool>("shown");
        QTest::addColumn<int>("maskHeight");
        QTest::newRow("2950, hidden") << 2950 << false << false << 8000 - 185;
        QTest::newRow("2950, shown") << 2950 << true << true << 8000 - 185;
        QTest::newRow("2949, hidden") << 2949 << false << true << 8000 - 1140;
        QTest::newRow("2000, shown") << 2000 << true << true << 8000 - 1140;
    }
    void maskColumn()
    {
        QFETCH(int, left0);
        QFETCH(bool, checked);
        QFETCH(bool, shown);
        QFETCH(int, maskHeight);
        MainLayout l = laidOut({2640, left0, 4500}, checked);
        QCOMPARE(l.maskChecked, shown);
        QCOMPARE(l.maskItemEnabled, left0 >= 2950);
        QCOMPARE(l.txtMask.height, maskHeight);
        QCOMPARE(l.txtMask.left, left0 + 25);
        QCOMPARE(l.txtMask.right(), 4500 - 5);
        QCOMPARE(l.txtText.left, (shown ? 4500 : left0) + 25);
        QCOMPARE(l.txtText.right(), 12000 - 50);
        QCOMPARE(l.lstEntry.width, left0 - 335);
        QCOMPARE(l.cmdCRSR[0].right(), left0);
        QVERIFY(l.cmdH[2].right() < l.cmdH[3].left);
        QVERIFY(l.cmdH[3].right() <= l.cmdCRSR[4].left);

        // Back at 2950 the item can be used again; the mark stays.
        if (left0 < 2950) {
            QVERIFY(lblSizeV_MouseMove(l, 0, 2950 - left0, 12000, 8000));
            QVERIFY(l.maskItemEnabled);
            QVERIFY(l.maskChecked);
            QCOMPARE(l.txtMask.height, 8000 - 185);
        }
    }
};

QTEST_APPLESS_MAIN(tst_MainLayout)
#include "tst_mainlayout.moc"
