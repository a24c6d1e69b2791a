// The tray and the window on a real X server with a window manager: first
// without a tray host, then with one (trayer) clicked through xdotool as a
// user would, then without again once the host has gone. Also the window
// manager shrinking the window below the floors, and a splitter dragged with
// the real pointer.

#include "support/appfixture.h"

#include "ui/layout_w.h"
#include "ui/systemtray_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int kWait = 10000;

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(u"xdotool"_s, arguments) == 0;
}

QStringList at(const QPoint &p)
{
    return {u"mousemove"_s, QString::number(p.x()), QString::number(p.y())};
}

QSystemTrayIcon *iconOf(AppFixture &run)
{
    return run.window()->findChild<SystemTray *>(u"tray"_s)->findChild<QSystemTrayIcon *>();
}

} // namespace

class tst_TrayX11 : public QObject
{
    Q_OBJECT

    QProcess trayHost_;

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty() ||
            QStandardPaths::findExecutable(u"trayer"_s).isEmpty())
            QSKIP("xdotool or trayer is not installed");
        QCOMPARE(QGuiApplication::platformName(), u"xcb"_s);
    }

    void cleanupTestCase()
    {
        if (trayHost_.state() != QProcess::NotRunning) {
            trayHost_.kill();
            trayHost_.waitForFinished();
        }
    }

    // Nothing to hide into: the Hide button minimizes, and the window stays
    // one click away.
    void withoutTrayHost()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        AppFixture run;
        QVERIFY(run.start());
        run.w().cmdMain->click();
        QTRY_VERIFY_WITH_TIMEOUT(run.window()->isMinimized(), kWait);
        QVERIFY(run.window()->isVisible());
    }

    // The window manager is asked for a window smaller than the floors; the
    // window takes its floors back.
    void windowManagerResize()
    {
        AppFixture run;
        QVERIFY(run.start());
        FrmMain *window = run.window();
        const int height = window->height();
        const QString id = QString::number(window->winId());
        QVERIFY(xdotool({u"windowsize"_s, id, u"200"_s, u"150"_s}));
        // 7140 twips wide with the frame; the entry list's room keeps the height.
        QTRY_COMPARE_WITH_TIMEOUT(window->frameGeometry().width(),
                                  twipsToPixels(7140, window->logicalDpiX()), kWait);
        QTRY_COMPARE_WITH_TIMEOUT(window->height(), height, kWait);
    }

    // Pressed on the first vertical bar and moved 60 pixels right with the
    // real pointer: the list column follows.
    void splitterDrag()
    {
        AppFixture run;
        QVERIFY(run.start());
        const QLabel *bar = run.w().lblSizeV[0];
        const int before = run.window()->windowLayout().frameLeft1();
        const int listWidth = run.w().lstGroup->width();
        const QPoint from = bar->mapToGlobal(QPoint(0, bar->height() / 2));
        QVERIFY(xdotool(at(from) + QStringList{u"mousedown"_s, u"1"_s}));
        QVERIFY(xdotool(at(from + QPoint(30, 0))));
        QVERIFY(xdotool(at(from + QPoint(60, 0)) + QStringList{u"mouseup"_s, u"1"_s}));
        QTRY_COMPARE_WITH_TIMEOUT(run.window()->windowLayout().frameLeft1(),
                                  before + pixelsToTwips(60, bar->logicalDpiX()), kWait);
        QVERIFY(qAbs(run.w().lstGroup->width() - (listWidth + 60)) <= 1);
    }

    void withTrayHost()
    {
        trayHost_.start(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s,
                                      u"--widthtype"_s, u"request"_s, u"--height"_s, u"24"_s});
        QVERIFY(trayHost_.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), kWait);

        AppFixture run;
        QVERIFY(run.start());
        QWidget *window = run.window();
        QSystemTrayIcon *icon = iconOf(run);
        QCOMPARE(icon->toolTip(), u" Plimsa "_s);
        QTRY_VERIFY_WITH_TIMEOUT(icon->geometry().isValid(), kWait);
        const QStringList onIcon = at(icon->geometry().center());
        const QStringList doubleClick{u"click"_s,   u"--repeat"_s, u"2"_s,
                                      u"--delay"_s, u"60"_s,       u"1"_s};
        const QStringList rightClick{u"click"_s, u"3"_s};

        // Hidden into the tray: no window at all; a double click brings it back.
        run.w().mnuHide->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), kWait);
        QVERIFY(!window->isMinimized());
        QVERIFY(xdotool(onIcon + doubleClick));
        QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), kWait);

        // A right click shows a hidden window without the menu; the next one opens it.
        run.w().cmdMain->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), kWait);
        QVERIFY(xdotool(onIcon + rightClick));
        QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), kWait);
        QTest::qWait(300);
        QVERIFY(!run.w().mnuSystray->isVisible());
        QVERIFY(xdotool(onIcon + rightClick));
        QTRY_VERIFY_WITH_TIMEOUT(run.w().mnuSystray->isVisible(), kWait);
        QCOMPARE(run.w().mnuSystray->actions().size(), 4);
        run.w().mnuSystray->close();

        // A minimized window stays minimized on a double click and comes back
        // on a right click.
        window->showMinimized();
        QTRY_VERIFY_WITH_TIMEOUT(window->isMinimized(), kWait);
        QVERIFY(xdotool(onIcon + doubleClick));
        QTest::qWait(300);
        QVERIFY(window->isMinimized());
        QVERIFY(xdotool(onIcon + rightClick));
        QTRY_VERIFY_WITH_TIMEOUT(!window->isMinimized(), kWait);
        QVERIFY(!run.w().mnuSystray->isVisible());

        // The host goes: hiding minimizes again.
        trayHost_.kill();
        trayHost_.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(!QSystemTrayIcon::isSystemTrayAvailable(), kWait);
        run.w().mnuSystrayCall[2]->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(window->isMinimized(), kWait);
        QVERIFY(window->isVisible());
    }
};

QTEST_MAIN(tst_TrayX11)
#include "tst_tray_x11.moc"
