// The window's floors against a real window manager: the frame's bottom and
// right edges dragged with the mouse (slowly, and in one jump), a resize asked
// for from outside, a maximize and back. Afterwards the window is as large as
// the X server says, the client area fills it and no floor is broken.

#include "support/appfixture.h"
#include "x11/xdotool.h"

#include "ui/layout_w.h"
#include "ui/twips.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The size of the window's X window as the server has it.
QSize serverSize(const QWidget *window)
{
    QSize size;
    const QString shell =
        xdotool({u"getwindowgeometry"_s, u"--shell"_s, QString::number(window->winId())})
            .value_or(QString());
    for (const QString &line : shell.split(u'\n')) {
        if (line.startsWith(u"WIDTH="_s))
            size.setWidth(line.mid(6).toInt());
        else if (line.startsWith(u"HEIGHT="_s))
            size.setHeight(line.mid(7).toInt());
    }
    return size;
}

// The pointer pressed at `from`, taken to `to` in `steps` moves a user's
// hand apart, let go. The window manager begins a resize at the first move
// past its drag threshold, from where the pointer is then.
QStringList drag(QPoint from, QPoint to, int steps)
{
    const auto at = [](QPoint p) {
        return QStringList{QString::number(p.x()), QString::number(p.y())};
    };
    const QPoint start = from + (to - from) / 40;
    QStringList args = QStringList{u"mousemove"_s} + at(from) +
                       QStringList{u"mousedown"_s, u"1"_s, u"sleep"_s, u"0.1"_s, u"mousemove"_s} +
                       at(start);
    for (int i = 1; i <= steps; ++i)
        args += QStringList{u"sleep"_s, u"0.04"_s, u"mousemove"_s} +
                at(start + (to - start) * i / steps);
    return args + QStringList{u"sleep"_s, u"0.2"_s, u"mouseup"_s, u"1"_s};
}

} // namespace

class tst_ResizeX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // pref.dat's FrameTop 700 leaves the 3060-twip floor in force; with 4000
    // the entry list starts so low that 540 twips of room under it ask for
    // more. The window starts 800 x 533 pixels, frame included.
    void floorsHold_data()
    {
        QTest::addColumn<int>("frameTop");
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("steps");
        for (const int frameTop : {700, 4000}) {
            const char *floor = frameTop == 700 ? "plain floor" : "room rule";
            for (const int steps : {35, 1}) {
                const char *pace = steps > 1 ? "slow" : "fast";
                QTest::addRow("%s, bottom edge, %s", floor, pace)
                    << frameTop << u"bottom"_s << steps;
                QTest::addRow("%s, right edge, %s", floor, pace) << frameTop << u"right"_s << steps;
            }
            QTest::addRow("%s, windowsize", floor) << frameTop << u"windowsize"_s << 0;
            QTest::addRow("%s, maximized and back", floor) << frameTop << u"maximize"_s << 0;
            QTest::addRow("%s, stored window below it", floor) << frameTop << u"start"_s << 0;
        }
    }
    void floorsHold()
    {
        if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
            QSKIP("xdotool is not installed");
        QFETCH(int, frameTop);
        QFETCH(QString, how);
        QFETCH(int, steps);
        AppFixture run;
        run.setPref(17, u" %1"_s.arg(frameTop));
        if (how == u"start"_s)
            run.setPref(14, u" 2500"_s); // the window's height, frame included

        QVERIFY(run.start());
        MainWindow *window = run.window();
        const QWidget *client = window->centralWidget();
        const qreal dpi = window->logicalDpiY();
        const auto holding = [&](int tw) {
            return int(std::ceil(tw * dpi / kTwipsPerInch - 1e-9));
        };

        // Settled: the size Qt has is the server's and stood still a while.
        const auto settle = [&] {
            QRect at;
            QElapsedTimer still;
            return QTest::qWaitFor(
                [&] {
                    if (window->frameGeometry() != at) {
                        at = window->frameGeometry();
                        still.start();
                    }
                    if (still.elapsed() < 500)
                        return false;
                    if (serverSize(window) == window->size())
                        return true;
                    still.start();
                    return false;
                },
                20000);
        };
        QVERIFY(settle());
        const MainLayout &l = window->windowLayout().placement();
        const int heightFloor = holding(std::max(3060, l.entryList.top + 940 + 540));
        const int widthFloor = holding(l.entryList.width + 4500); // frame included
        QCOMPARE(heightFloor > holding(3060), frameTop == 4000);
        const QSize before(window->frameGeometry().width(), client->height());

        const QRect frame = window->frameGeometry();
        if (how == u"bottom"_s) {
            const QPoint edge(frame.center().x(), frame.bottom());
            QVERIFY(xdotool(drag(edge, edge - QPoint(0, 350), steps)));
        } else if (how == u"right"_s) {
            const QPoint edge(frame.right(), frame.center().y());
            QVERIFY(xdotool(drag(edge, edge - QPoint(500, 0), steps)));
        } else if (how == u"windowsize"_s) {
            QVERIFY(
                xdotool({u"windowsize"_s, QString::number(window->winId()), u"300"_s, u"150"_s}));
        } else {
            window->showMaximized();
            QTRY_VERIFY(window->isMaximized() && window->width() > frame.width());
            QVERIFY(settle());
            window->showNormal();
        }
        QVERIFY(settle());
        const QSize after(window->frameGeometry().width(), client->height());

        // The client area fills the window under the menu bar...
        QCOMPARE(client->geometry(), QRect(0, window->menuBar()->height(), window->width(),
                                           window->height() - window->menuBar()->height()));
        // ...which holds its floors: the drags stop on them.
        if (how == u"bottom"_s)
            QCOMPARE(after, QSize(before.width(), heightFloor));
        else if (how == u"right"_s)
            QCOMPARE(after, QSize(widthFloor, before.height()));
        else if (how == u"maximize"_s)
            QCOMPARE(after, before);
        else if (how == u"windowsize"_s) {
            // A window manager that grants a size asked for from outside below
            // the room rule gets the height before back.
            QCOMPARE(after.width(), widthFloor);
            QVERIFY(after.height() == heightFloor || after.height() == before.height());
        }
        QVERIFY(after.width() >= widthFloor && after.height() >= heightFloor);
        // The controls are laid out for that client area.
        QCOMPARE(client->findChild<QFrame *>(u"fraMain0"_s)->y(),
                 twipsToPixels(pixelsToTwips(client->height(), dpi) - 1010, dpi));
        QCOMPARE(client->findChild<QPlainTextEdit *>(u"txtText"_s)->geometry().right() + 1,
                 twipsToPixels(pixelsToTwips(client->width(), dpi) - 50, dpi));
    }
};

QTEST_MAIN(tst_ResizeX11)
#include "tst_resize_x11.moc"
