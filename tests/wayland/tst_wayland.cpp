// The program as a native Wayland client under a headless compositor: what a
// client may not do (place its window, stay on top) is passed over without a
// word, and the rest works as on X: the size and the frames come back from
// pref.dat and are saved to it. (Typing reaches the widgets directly in a
// test, as on any platform: the window tests hold the commands.)

#include "support/actions.h"
#include "support/appfixture.h"

#include "ui/layout_w.h"
#include "ui/twips.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QSystemTrayIcon>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_Wayland : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void nativeClient()
    {
        QCOMPARE(QGuiApplication::platformName(), u"wayland"_s);
        QVERIFY(qEnvironmentVariableIsEmpty("DISPLAY"));

        AppFixture run;
        run.setPref(14, u" 6000"_s);  // height
        run.setPref(15, u" 10500"_s); // width
        run.setPref(17, u" 2100"_s);  // the horizontal frame, 100 more than shown
        run.setPref(18, u" 3300"_s);  // the first vertical frame
        QVERIFY(run.start());
        MainWindow *window = run.window();
        const QSize wanted =
            twipsToPixels(QRect(0, 0, 10500, 6000), window->logicalDpiX(), window->logicalDpiY())
                .size();
        QTRY_COMPARE(window->frameGeometry().size(), wanted);
        const MainLayout &layout = window->windowLayout().placement();
        QCOMPARE(layout.lastFrameTop, 2000);
        QCOMPARE(layout.columnSplitters[0].left, 3300);

        // Saved, the size and the frames are as shown; the place, which a
        // Wayland client cannot know, stays as it was.
        const QStringList before = run.readLines(u"pref.dat"_s);
        triggered(u"mnuSettings4"_s)(run);
        const QStringList saved = run.readLines(u"pref.dat"_s);
        QCOMPARE(saved.mid(11, 2), before.mid(11, 2));
        QCOMPARE(saved.mid(13, 2), (QStringList{u" 6000"_s, u" 10500"_s}));
        QCOMPARE(saved.value(17), u" 3300"_s);
        run.messages.shown.clear();

        // The search stays on top where it can; here it simply opens.
        triggered(u"mnuSearch"_s)(run);
        QWidget *search = nullptr;
        QTRY_VERIFY((search = window->findChild<QWidget *>(u"frmSearch"_s)) && search->isVisible());
        search->close();

        // No status notifier runs here: hiding minimizes, as on X without a tray.
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        window->findChild<QAbstractButton *>(u"cmdMain"_s)->click();
        QTRY_VERIFY(window->isMinimized() && window->isVisible());
        QVERIFY(run.messages.shown.isEmpty());
    }
};

QTEST_MAIN(tst_Wayland)
#include "tst_wayland.moc"
