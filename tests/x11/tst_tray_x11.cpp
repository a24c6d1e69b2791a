// The tray on a real X server, clicked through xdotool as a user would:
// without a tray host, with one (trayer), and after the host has gone.

#include "support/actions.h"
#include "support/appfixture.h"

#include "ui/systemtray_w.h"

#include <QAbstractButton>
#include <QAction>
#include <QElapsedTimer>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_TrayX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trayHostComesAndGoes()
    {
        for (const QString &tool : {u"xdotool"_s, u"trayer"_s}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP("xdotool or trayer is not installed");
        }
        // No host: hiding minimizes.
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        AppFixture run;
        QVERIFY(run.start());
        QWidget *window = run.window();
        auto *hideButton = window->findChild<QAbstractButton *>(u"cmdMain"_s);
        auto *trayMenu = window->findChild<QMenu *>(u"mnuSystray"_s);
        hideButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(window->isMinimized() && window->isVisible(), 10000);
        window->showNormal();

        QProcess host;
        host.start(u"trayer"_s, {u"--edge"_s, u"top"_s, u"--align"_s, u"right"_s});
        QTRY_VERIFY_WITH_TIMEOUT(QSystemTrayIcon::isSystemTrayAvailable(), 10000);
        auto *icon = window->findChild<SystemTray *>()->findChild<QSystemTrayIcon *>();
        QCOMPARE(icon->toolTip(), u" Plimsa "_s);
        // The window manager and trayer may still move the host about: wait
        // until the icon has stood still at the top edge for half a second.
        QRect at;
        QElapsedTimer still;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                if (icon->geometry() != at) {
                    at = icon->geometry();
                    still.start();
                }
                return at.isValid() && at.top() < 50 && still.elapsed() >= 500;
            }(),
            20000);
        const auto click = [&](const QStringList &how) {
            const QPoint on = icon->geometry().center();
            QProcess::execute(u"xdotool"_s, QStringList{u"mousemove"_s, QString::number(on.x()),
                                                        QString::number(on.y()), u"click"_s} +
                                                how);
        };
        const QStringList twice{u"--repeat"_s, u"2"_s, u"--delay"_s, u"60"_s, u"1"_s};

        // Hidden into the tray; a double click brings it back.
        triggered(u"mnuHide"_s)(run);
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 10000);
        click(twice);
        QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 10000);
        // A right click shows a hidden window without the menu; the next opens it.
        hideButton->click();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 10000);
        click({u"3"_s});
        QTRY_VERIFY_WITH_TIMEOUT(window->isVisible(), 10000);
        QTest::qWait(300); // as long as a user takes to click again
        QVERIFY(!trayMenu->isVisible());
        click({u"3"_s});
        QTRY_VERIFY_WITH_TIMEOUT(trayMenu->isVisible(), 10000);
        trayMenu->close();
        // Minimized: a double click leaves it so, a right click restores it.
        window->showMinimized();
        QTRY_VERIFY_WITH_TIMEOUT(window->isMinimized(), 10000);
        click(twice);
        QTest::qWait(300);
        QVERIFY(window->isMinimized());
        click({u"3"_s});
        QTRY_VERIFY_WITH_TIMEOUT(!window->isMinimized(), 10000);

        // The host goes: hiding minimizes again.
        host.kill();
        host.waitForFinished();
        QTRY_VERIFY_WITH_TIMEOUT(!QSystemTrayIcon::isSystemTrayAvailable(), 10000);
        triggered(u"mnuSystrayCall2"_s)(run);
        QTRY_VERIFY_WITH_TIMEOUT(window->isMinimized() && window->isVisible(), 10000);
    }
};

QTEST_MAIN(tst_TrayX11)
#include "tst_tray_x11.moc"
