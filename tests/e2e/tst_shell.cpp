// The window shell on the real window: resizes below the floors, splitter
// drags, the mask column, the tray (here without a tray host; the X11 test
// has one), the Editor menu's export and the About box.

#include "support/appfixture.h"
#include "support/filefaults.h"

#include "notebook/editorexport_w.h"
#include "ui/layout_w.h"
#include "ui/systemtray_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

const MainLayout &layoutOf(AppFixture &run)
{
    return run.window()->windowLayout().layout();
}

// Presses the left button on `bar` at (0, 0), moves the pointer by `by`
// (pixels) and lets go.
void drag(QWidget *bar, QPoint by)
{
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(0, 0));
    QMouseEvent move(QEvent::MouseMove, QPointF(by), QPointF(bar->mapToGlobal(by)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, by);
}

SystemTray &trayOf(AppFixture &run)
{
    return *run.window()->findChild<SystemTray *>(u"tray"_s);
}

} // namespace

class tst_Shell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The window is made smaller than the layout allows and takes the size the
    // floors give it: the outer width (frame included) at least the entry
    // list's width + 4500, the client height at least 3060, and room for the
    // entry list (else the height it had). pref.dat 17 is the splitter's top
    // as kept (100 more than used).
    void resizeBelowFloors_data()
    {
        QTest::addColumn<int>("keptSplitter");
        QTest::addColumn<QSize>("asked");    // outer width, client height (twips)
        QTest::addColumn<QSize>("expected"); // the same; 0: as before
        QTest::newRow("narrower than the lists allow") << 2740 << QSize(3000, 0) << QSize(7140, 0);
        QTest::newRow("at the floor") << 2740 << QSize(7140, 0) << QSize(7140, 0);
        QTest::newRow("lower than 3060") << 900 << QSize(9000, 1500) << QSize(9000, 3060);
        QTest::newRow("no room for the entry list") << 2740 << QSize(9000, 3500) << QSize(9000, 0);
    }
    void resizeBelowFloors()
    {
        QFETCH(int, keptSplitter);
        QFETCH(QSize, asked);
        QFETCH(QSize, expected);
        AppFixture run;
        run.setPref(17, u" "_s + QString::number(keptSplitter));
        QVERIFY(run.start());
        FrmMain *window = run.window();
        const QWidget *client = window->centralWidget();
        const qreal dpiX = window->logicalDpiX();
        const qreal dpiY = window->logicalDpiY();
        const auto outerWidth = [&] {
            return pixelsToTwips(window->frameGeometry().width(), dpiX);
        };
        const auto clientHeight = [&] { return pixelsToTwips(client->height(), dpiY); };
        const QSize before(outerWidth(), clientHeight());
        const QSize frame = window->frameGeometry().size() - client->size();
        const auto or_ = [](int value, int otherwise) { return value ? value : otherwise; };
        window->resize(twipsToPixels(or_(asked.width(), before.width()), dpiX) - frame.width() +
                           (window->width() - client->width()),
                       twipsToPixels(or_(asked.height(), before.height()), dpiY) +
                           window->height() - client->height());
        QTRY_COMPARE(outerWidth(), or_(expected.width(), before.width()));
        QTRY_COMPARE(clientHeight(), or_(expected.height(), before.height()));
        // Laid out for that size: the text box ends 50 twips before the right
        // edge, the bottom panels 1010 twips above the bottom.
        const MainWidgets &w = run.w();
        QTRY_COMPARE(w.txtText[0]->geometry().right() + 1,
                     twipsToPixels(pixelsToTwips(client->width(), dpiX) - 50, dpiX));
        QTRY_COMPARE(w.fraMain[0]->y(), twipsToPixels(clientHeight() - 1010, dpiY));
    }

    // Drags in pixels from the bar's corner; where the bar lands is checked in
    // twips of the layout, and the widgets follow it.
    void splitterDrags_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<bool>("mask");
        QTest::addColumn<int>("first"); // pixels along the bar's axis, a drag before
        QTest::addColumn<int>("by");
        QTest::addColumn<bool>("moves");
        QTest::newRow("group list shorter") << u"lblSizeH"_s << false << 0 << -60 << true;
        QTest::newRow("group list longer") << u"lblSizeH"_s << false << 0 << 40 << true;
        QTest::newRow("within 600 of the top") << u"lblSizeH"_s << false << 0 << -150 << false;
        QTest::newRow("within 1750 of the bottom") << u"lblSizeH"_s << false << 0 << 210 << false;
        QTest::newRow("lists wider") << u"lblSizeV0"_s << false << 0 << 60 << true;
        QTest::newRow("lists narrower, mask hidden")
            << u"lblSizeV0"_s << false << 0 << -10 << false;
        QTest::newRow("lists narrower, mask shown") << u"lblSizeV0"_s << true << 0 << -60 << true;
        QTest::newRow("lists narrower than 1860") << u"lblSizeV0"_s << true << 0 << -80 << false;
        // The text box is 8890 twips wide; a drag of 513 pixels leaves it 1195.
        QTest::newRow("text under 1200, wider") << u"lblSizeV0"_s << false << 513 << 1 << false;
        QTest::newRow("text under 1200, narrower") << u"lblSizeV0"_s << false << 513 << -1 << true;
        QTest::newRow("mask wider") << u"lblSizeV1"_s << true << 0 << 60 << true;
        QTest::newRow("mask narrower than 600") << u"lblSizeV1"_s << true << 0 << -170 << false;
    }
    void splitterDrags()
    {
        QFETCH(QString, bar);
        QFETCH(bool, mask);
        QFETCH(int, first);
        QFETCH(int, by);
        QFETCH(bool, moves);
        AppFixture run;
        run.setPref(16, mask ? u" 1"_s : u" 0"_s);
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        auto *widget = run.window()->findChild<QLabel *>(bar);
        const bool horizontal = bar == u"lblSizeH"_s;
        if (first)
            drag(widget, horizontal ? QPoint(0, first) : QPoint(first, 0));
        const MainLayout before = layoutOf(run);
        drag(widget, horizontal ? QPoint(0, by) : QPoint(by, 0));
        const MainLayout &l = layoutOf(run);
        const int offset = pixelsToTwips(by, widget->logicalDpiX());
        if (horizontal) {
            QCOMPARE(l.lstGroup.height != before.lstGroup.height, moves);
            if (moves)
                QCOMPARE(l.lastFrameTop, before.lblSizeH.top + offset);
            QCOMPARE(w.lstEntry->y(), twipsToPixels(l.lstEntry.top, widget->logicalDpiY()));
        } else {
            const int i = bar == u"lblSizeV0"_s ? 0 : 1;
            QCOMPARE(l.lblSizeV[i].left, before.lblSizeV[i].left + (moves ? offset : 0));
            // Splitter 0 takes splitter 1 along.
            QCOMPARE(l.lblSizeV[1].left, before.lblSizeV[1].left + (moves ? offset : 0));
            QCOMPARE(w.lstGroup->width(),
                     twipsToPixels(l.lstGroup.right(), widget->logicalDpiX()) -
                         twipsToPixels(l.lstGroup.left, widget->logicalDpiX()));
        }
        // Left of 2950 the mask stays shown and its menu item cannot take it away.
        const bool narrow = l.lblSizeV[0].left < 2950;
        QCOMPARE(w.mnuViewMask->isEnabled(), !narrow);
        QCOMPARE(w.txtMask->isVisible(), mask || narrow);
        QCOMPARE(w.mnuViewMask->isChecked(), mask || narrow);
    }

    // The mask view command shows and hides the mask column; the entry text
    // moves beside it and back.
    void maskView()
    {
        AppFixture run;
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QVERIFY(!w.txtMask->isVisible());
        const int textLeft = w.txtText[0]->x();
        w.mnuViewMask->trigger();
        QVERIFY(w.mnuViewMask->isChecked());
        QVERIFY(w.txtMask->isVisible());
        QVERIFY(w.txtText[0]->x() > w.txtMask->geometry().right());
        QCOMPARE(w.txtText[0]->geometry().right(), w.txtText[0]->parentWidget()->width() -
                                                       twipsToPixels(50, w.txtMask->logicalDpiX()) -
                                                       1);
        w.mnuViewMask->trigger();
        QVERIFY(!w.txtMask->isVisible());
        QCOMPARE(w.txtText[0]->x(), textLeft);
    }

    // A list column stored narrower than 2950 twips starts with the mask shown
    // and its item checked and disabled, even when the mask is not to be shown.
    void narrowListsAtStart()
    {
        AppFixture run;
        run.setPref(18, u" 2400"_s);
        run.setPref(19, u" 4000"_s);
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QVERIFY(w.txtMask->isVisible());
        QVERIFY(w.mnuViewMask->isChecked());
        QVERIFY(!w.mnuViewMask->isEnabled());
        // The mask stops above the bottom panels it would reach under.
        QVERIFY(w.txtMask->geometry().bottom() < w.fraMain[2]->y());
        QVERIFY(w.txtText[0]->x() > w.txtMask->geometry().right());
    }

    // The splitter kept in pref.dat comes back where it was at the next start.
    void keptSplitterComesBack()
    {
        AppFixture run;
        QVERIFY(run.start());
        drag(run.w().lblSizeH, QPoint(0, -45));
        const int kept = run.window()->windowLayout().frameTop();
        const int listHeight = run.w().lstGroup->height();
        run.setPref(17, u" "_s + QString::number(kept));
        QVERIFY(run.restart());
        QCOMPARE(run.window()->windowLayout().frameTop(), kept);
        QCOMPARE(run.w().lstGroup->height(), listHeight);
        // Whole lines of the group list.
        const QListWidget *list = run.w().lstGroup;
        QCOMPARE((list->height() - 2 * list->frameWidth()) % list->sizeHintForRow(0), 0);
    }

    void maximizedWindowKeepsNoPosition()
    {
        AppFixture run;
        QVERIFY(run.start());
        QVERIFY(run.w().mnuSettings[4]->isEnabled());
        run.window()->showMaximized();
        QTRY_VERIFY(!run.w().mnuSettings[4]->isEnabled());
        run.window()->showNormal();
        QTRY_VERIFY(run.w().mnuSettings[4]->isEnabled());
    }

    void storedOffScreenComesOnScreen()
    {
        AppFixture run;
        run.setPref(12, u" -30000"_s); // WindowTop
        run.setPref(13, u" 30000"_s);  // WindowLeft
        QVERIFY(run.start());
        const QRect screen = run.window()->screen()->availableGeometry();
        QVERIFY(screen.contains(run.window()->frameGeometry()));
    }

    // Without a tray host hiding would leave nothing to bring the window back
    // with: every way of hiding minimizes.
    void hideWithoutTrayHost_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("File menu") << u"mnuHide"_s;
        QTest::newRow("Hide button") << u"cmdMain"_s;
        QTest::newRow("tray menu") << u"mnuSystrayCall2"_s;
    }
    void hideWithoutTrayHost()
    {
        QFETCH(QString, way);
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this platform has a tray host");
        AppFixture run;
        QVERIFY(run.start());
        if (auto *button = run.window()->findChild<QPushButton *>(way))
            button->click();
        else
            run.window()->findChild<QAction *>(way)->trigger();
        QTRY_VERIFY(run.window()->isMinimized());
        QVERIFY(run.window()->isVisible());
        if (way == u"cmdMain"_s)
            QCOMPARE(run.window()->focusWidget(), run.w().lstEntry);
    }

    // The icon's mouse events, from each state the window can be in.
    void trayIconClicks_data()
    {
        QTest::addColumn<QString>("from"); // normal, minimized, maximized, hidden
        QTest::addColumn<int>("reason");
        QTest::addColumn<QString>("to");
        QTest::addColumn<bool>("menu");
        const int dbl = QSystemTrayIcon::DoubleClick;
        const int right = QSystemTrayIcon::Context;
        QTest::newRow("double click, hidden") << u"hidden"_s << dbl << u"normal"_s << false;
        QTest::newRow("double click, minimized")
            << u"minimized"_s << dbl << u"minimized"_s << false;
        QTest::newRow("right click, minimized") << u"minimized"_s << right << u"normal"_s << false;
        QTest::newRow("right click, hidden") << u"hidden"_s << right << u"normal"_s << false;
        QTest::newRow("right click, shown") << u"normal"_s << right << u"normal"_s << true;
        QTest::newRow("right click, maximized")
            << u"maximized"_s << right << u"maximized"_s << true;
        QTest::newRow("left click")
            << u"hidden"_s << int(QSystemTrayIcon::Trigger) << u"hidden"_s << false;
    }
    void trayIconClicks()
    {
        QFETCH(QString, from);
        QFETCH(int, reason);
        QFETCH(QString, to);
        QFETCH(bool, menu);
        AppFixture run;
        QVERIFY(run.start());
        QWidget *window = run.window();
        setState(window, from);
        trayOf(run).MainWindowProc(QSystemTrayIcon::ActivationReason(reason));
        QTRY_COMPARE(stateOf(window), to);
        if (menu) {
            QTRY_COMPARE(QApplication::activePopupWidget(), run.w().mnuSystray);
            run.w().mnuSystray->close();
        } else {
            QTest::qWait(50);
            QVERIFY(!run.w().mnuSystray->isVisible());
        }
    }

    // A minimized window comes back with the first right click; the second
    // opens the menu.
    void secondRightClickOpensMenu()
    {
        AppFixture run;
        QVERIFY(run.start());
        setState(run.window(), u"minimized"_s);
        trayOf(run).MainWindowProc(QSystemTrayIcon::Context);
        QTRY_COMPARE(stateOf(run.window()), u"normal"_s);
        QVERIFY(!run.w().mnuSystray->isVisible());
        trayOf(run).MainWindowProc(QSystemTrayIcon::Context);
        QTRY_VERIFY(run.w().mnuSystray->isVisible());
        run.w().mnuSystray->close();
    }

    void trayMenu_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("to");
        QTest::newRow("normal to maximized") << u"normal"_s << 0 << u"maximized"_s;
        QTest::newRow("maximized to normal") << u"maximized"_s << 0 << u"normal"_s;
        QTest::newRow("minimized to normal") << u"minimized"_s << 0 << u"normal"_s;
        QTest::newRow("minimize") << u"normal"_s << 1 << u"minimized"_s;
    }
    void trayMenu()
    {
        QFETCH(QString, from);
        QFETCH(int, item);
        QFETCH(QString, to);
        AppFixture run;
        QVERIFY(run.start());
        QCOMPARE(run.w().mnuSystrayCall[0]->text(), u"Maximize / Normal"_s);
        setState(run.window(), from);
        run.w().mnuSystrayCall[item]->trigger();
        QTRY_COMPARE(stateOf(run.window()), to);
    }

    void trayMenuExits()
    {
        AppFixture run;
        QVERIFY(run.start());
        QCOMPARE(run.w().mnuSystrayCall[3]->text(), u"Exit"_s);
        run.w().mnuSystrayCall[3]->trigger();
        QTRY_COMPARE(run.exitStatus, std::optional<int>(0));
    }

    // LstPrnt.txt byte for byte: each line as shown, cut to 50 characters,
    // the closing blank line last; then opened in the editor.
    void exportEntryList_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("storeFolder"); // "" the preset store
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("titles as shown")
            << QStringList{u"one"_s, u"__indented"_s, QString(60, u'x'), u"caf\u00e9 \u20ac5"_s}
            << QString()
            << QByteArray("one\r\n__indented\r\n" + QByteArray(50, 'x') +
                          "\r\ncaf\xe9 \x80"
                          "5\r\n \r\n");
        QTest::newRow("a store path with blanks")
            << QStringList{u"a b"_s} << u"My Notes"_s << QByteArray("a b\r\n \r\n");
    }
    void exportEntryList()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, storeFolder);
        QFETCH(QByteArray, file);
        AppFixture run;
        run.writeNotebook({QStringList{u"G"_s} + titles});
        QString store = u"FileStore/"_s;
        if (!storeFolder.isEmpty()) {
            QDir().mkpath(run.path(storeFolder));
            QVERIFY(
                QDir().rename(run.path(u"FileStore"_s), run.path(storeFolder + u"/FileStore"_s)));
            run.setPref(22, run.path(storeFolder));
            store = storeFolder + u"/FileStore/"_s;
        }
        QVERIFY(run.start());
        QVERIFY(run.w().mnuEditor->menuAction()->isEnabled());
        run.w().mnuEditorCall[1]->trigger();
        QCOMPARE(run.read(store + u"LstPrnt.txt"_s), file);
        QCOMPARE(run.desktop.openedFiles, QStringList{run.path(store + u"LstPrnt.txt"_s)});
        QVERIFY(run.messages.shown.isEmpty());
    }

    // The menu is offered only with entries; the command itself still writes
    // the closing blank line alone.
    void exportEmptyGroup()
    {
        AppFixture run;
        run.writeNotebook({{u"Empty"_s}});
        QVERIFY(run.start());
        QVERIFY(!run.w().mnuEditor->menuAction()->isEnabled());
        run.window()->findChild<EditorExport *>(u"editorExport"_s)->mnuEditorCall_Click(1);
        QCOMPARE(run.read(u"FileStore/LstPrnt.txt"_s), QByteArray(" \r\n"));
        run.window()->findChild<EditorExport *>(u"editorExport"_s)->mnuEditorCall_Click(2);
        QCOMPARE(run.desktop.openedFiles.size(), 1);
    }

    // A list that cannot be written is reported and not opened; the old one stays.
    void exportFails()
    {
        AppFixture run;
        run.writeNotebook({{u"G"_s, u"a"_s}});
        run.write(u"FileStore/LstPrnt.txt"_s, {u"old"_s});
        QVERIFY(run.start());
        {
            const auto faults = FileFaults::failing(Sys::Op::Write, ENOSPC, 0, true);
            run.w().mnuEditorCall[1]->trigger();
        }
        QCOMPARE(run.read(u"FileStore/LstPrnt.txt"_s), QByteArray("old\r\n"));
        QVERIFY(run.desktop.openedFiles.isEmpty());
        QCOMPARE(run.messages.shown.size(), 1);
        QVERIFY(run.messages.shown[0].text.contains(run.path(u"FileStore/LstPrnt.txt"_s)));
    }

    // The entry's own file, by its stored name.
    void exportEntryText()
    {
        AppFixture run;
        run.writeNotebook({{u"G/H"_s, u"first"_s, u"a:b"_s}});
        QVERIFY(run.start());
        AppFixture::click(run.w().lstEntry, u"a:b"_s);
        run.w().mnuEditorCall[0]->trigger();
        QCOMPARE(run.desktop.openedFiles,
                 QStringList{run.path(u"FileStore/G\u00cfH/a\u00d0b.txt"_s)});
        QVERIFY(QFile::exists(run.desktop.openedFiles.value(0)));
    }

    // From the Info menu: the name is whole after its ticks and the timer
    // stops; Enter closes the box.
    void aboutBox()
    {
        AppFixture run;
        QVERIFY(run.start());
        bool shown = false;
        run.whenShown([&](QWidget *box) {
            shown = true;
            QCOMPARE(box->objectName(), u"frmInfo"_s);
            QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
            auto *timer = box->findChild<QTimer *>(u"Timer1"_s);
            QTRY_VERIFY(!timer->isActive());
            QCOMPARE(box->findChild<QLabel *>(u"lbl0"_s)->text(), u"Plimsa"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        run.w().mnuAbout->trigger();
        QVERIFY(shown);
        QVERIFY(!QApplication::activeModalWidget());
    }

private:
    static QString stateOf(const QWidget *window)
    {
        if (!window->isVisible())
            return u"hidden"_s;
        if (window->isMinimized())
            return u"minimized"_s;
        return window->isMaximized() ? u"maximized"_s : u"normal"_s;
    }

    static void setState(QWidget *window, const QString &state)
    {
        if (state == u"minimized"_s)
            window->showMinimized();
        else if (state == u"maximized"_s)
            window->showMaximized();
        else if (state == u"hidden"_s)
            window->hide();
        QTRY_COMPARE(stateOf(window), state);
    }
};

QTEST_MAIN(tst_Shell)
#include "tst_shell.moc"
