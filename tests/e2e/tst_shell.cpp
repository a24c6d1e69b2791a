// The window shell on the real window: the splitters moved by mouse and by
// key, the lists' colours under a light and a dark theme, buttons that act
// when let go, the tray without a tray host (tests/x11 has one, and the
// resizes below the floors against a real window manager), the Editor menu's
// export and the About box.

#include "support/actions.h"
#include "support/appfixture.h"

#include "i18n/wordtable.h"
#include "notebook/editorexport_w.h"
#include "ui/aboutbox_w.h"
#include "ui/layout_w.h"
#include "ui/systemtray_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

#include <cmath>

using namespace Qt::StringLiterals;

namespace {

// The left button pressed on `bar` at (0, 0), moved by `by` pixels, let go.
void drag(QWidget *bar, QPoint by)
{
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(0, 0));
    QMouseEvent move(QEvent::MouseMove, QPointF(by), QPointF(bar->mapToGlobal(by)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, by);
}

QString stateOf(const QWidget *window)
{
    if (!window->isVisible())
        return u"hidden"_s;
    if (window->isMinimized())
        return u"minimized"_s;
    return window->isMaximized() ? u"maximized"_s : u"normal"_s;
}

} // namespace

class tst_Shell : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Drags in pixels and arrow keys on the shipped window, the mask shown;
    // the limits refuse inside the layout's own arithmetic (tests/ui/
    // tst_mainlayout), which a pixel cannot place exactly. Every move the
    // floors follow (the entry list's top and width) becomes the window's
    // minimum size at once, so that a later drag of the frame stops there.
    void splitterMoves_data()
    {
        QTest::addColumn<QString>("bar");
        QTest::addColumn<int>("by"); // pixels
        QTest::addColumn<int>("key");
        QTest::newRow("group list shorter") << u"lblSizeH"_s << -60 << 0;
        QTest::newRow("group list longer") << u"lblSizeH"_s << 90 << 0;
        QTest::newRow("lists left of 2950") << u"lblSizeV0"_s << -60 << 0;
        QTest::newRow("Down on the row bar") << u"lblSizeH"_s << 0 << int(Qt::Key_Down);
        QTest::newRow("Up on the row bar") << u"lblSizeH"_s << 0 << int(Qt::Key_Up);
        QTest::newRow("Left on the lists' bar") << u"lblSizeV0"_s << 0 << int(Qt::Key_Left);
        QTest::newRow("Right on the mask's bar") << u"lblSizeV1"_s << 0 << int(Qt::Key_Right);
        QTest::newRow("Up on a column bar") << u"lblSizeV0"_s << 0 << int(Qt::Key_Up);
    }
    void splitterMoves()
    {
        QFETCH(QString, bar);
        QFETCH(int, by);
        QFETCH(int, key);
        AppFixture run;
        run.setPref(16, u" 1"_s); // the mask shown
        QVERIFY(run.start());
        MainWindow *window = run.window();
        const MainWidgets &w = run.w();
        auto *widget = window->findChild<QWidget *>(bar);
        const bool rows = bar == u"lblSizeH"_s;
        const int index = rows ? -1 : bar.right(1).toInt();
        const MainLayout before = window->windowLayout().placement();
        const qreal dpi = widget->logicalDpiX();
        if (key) {
            QTest::keyClick(widget, Qt::Key(key));
        } else {
            drag(widget, rows ? QPoint(0, by) : QPoint(by, 0));
            by = pixelsToTwips(by, dpi);
        }
        const MainLayout &l = window->windowLayout().placement();
        const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                         : key == Qt::Key_Up && rows                 ? -1
                         : key == Qt::Key_Left                       ? -1
                                                                     : 0;
        if (rows && key) {
            const int line = pixelsToTwips(w.groupList->sizeHintForRow(0), dpi);
            QCOMPARE(l.groupList.height, before.groupList.height + step * line);
        } else if (rows) {
            QCOMPARE(l.lastFrameTop, before.rowSplitter.top + by);
        } else {
            const int moved = key ? step * 120 : by;
            QCOMPARE(l.columnSplitters[1].left, before.columnSplitters[1].left + moved);
            QCOMPARE(l.columnSplitters[0].left,
                     before.columnSplitters[0].left + (index == 0 ? moved : 0));
        }
        // The widgets follow; left of 2950 the mask's item cannot hide it.
        const TwipsRect &e = l.entryList;
        QCOMPARE(w.entryList->geometry(),
                 twipsToPixels(QRect(e.left, e.top, e.width, e.height), dpi, dpi));
        const TwipsRect &bars = index < 0 ? l.rowSplitter : l.columnSplitters[size_t(index)];
        QCOMPARE(widget->geometry(),
                 twipsToPixels(QRect(bars.left, bars.top, bars.width, bars.height), dpi, dpi));
        QCOMPARE(window->findChild<QAction *>(u"mnuViewMask"_s)->isEnabled(),
                 l.columnSplitters[0].left >= 2950);
        QVERIFY(w.maskText->isVisible());
        const TwipsSize floor =
            clientFloor(l, pixelsToTwips(window->frameGeometry().width() - window->width(), dpi));
        const auto holding = [dpi](int twips) {
            return int(std::ceil(twips * dpi / kTwipsPerInch - 1e-9));
        };
        // Told by the move itself, not by whatever lays the window out next.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(window->minimumSize(),
                 QSize(holding(floor.width), holding(floor.height) + window->menuBar()->height()));
    }

    // The group list's fixed grey keeps a dark text under any theme; white,
    // it takes the theme's colours. The list with the keyboard's focus shows
    // its selected line in the highlight colour, the other list in grey.
    void listColours_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::addColumn<bool>("white");
        QTest::newRow("light theme, grey") << false << false;
        QTest::newRow("light theme, white") << false << true;
        QTest::newRow("dark theme, grey") << true << false;
        QTest::newRow("dark theme, white") << true << true;
    }
    void listColours()
    {
        QFETCH(bool, dark);
        QFETCH(bool, white);
        const QPalette before = QApplication::palette();
        const auto restore = qScopeGuard([&] { QApplication::setPalette(before); });
        QPalette theme = before;
        if (dark) {
            for (const auto &[role, colour] : {std::pair{QPalette::Window, QColor(40, 40, 40)},
                                               {QPalette::Base, Qt::black},
                                               {QPalette::WindowText, Qt::white},
                                               {QPalette::Text, Qt::white},
                                               {QPalette::Mid, QColor(90, 90, 90)},
                                               {QPalette::Highlight, QColor(0, 80, 160)}})
                theme.setColor(role, colour);
            QApplication::setPalette(theme);
        }
        AppFixture run;
        run.setPref(20, white ? u" 1"_s : u" 0"_s);
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        const QPalette groups = w.groupList->palette();
        QCOMPARE(groups.color(QPalette::Base),
                 white ? theme.color(QPalette::Base) : QColor(224, 224, 224));
        QCOMPARE(groups.color(QPalette::Text), white ? theme.color(QPalette::Text) : Qt::black);

        for (TitleListView *focused : {w.entryList, w.groupList}) {
            TitleListView *other = focused == w.entryList ? w.groupList : w.entryList;
            focused->setFocus();
            QTRY_VERIFY(focused->hasFocus());
            QCOMPARE(focused->palette().color(QPalette::Highlight),
                     theme.color(QPalette::Highlight));
            QCOMPARE(other->palette().color(QPalette::Highlight), theme.color(QPalette::Mid));
        }
    }

    // A button's command runs when the button is let go on it: a press that
    // slides off before it is let go is no click.
    void buttonRelease_data()
    {
        QTest::addColumn<bool>("slidesOff");
        QTest::addColumn<QStringList>("titles");
        QTest::newRow("let go on it") << false << QStringList{u"a"_s, u"b"_s, u" "_s};
        QTest::newRow("slid off") << true << QStringList{u"b"_s, u"a"_s, u" "_s};
    }
    void buttonRelease()
    {
        QFETCH(bool, slidesOff);
        QFETCH(QStringList, titles);
        AppFixture run;
        run.writeNotebook({{u"Notes"_s, u"b"_s, u"a"_s}});
        QVERIFY(run.start());
        QPushButton *sort = run.control<QPushButton>(u"cmdSort0"_s);
        const QPoint off(-sort->width(), sort->height() / 2);
        QTest::mousePress(sort, Qt::LeftButton);
        QCOMPARE(AppFixture::lines(run.entryList()), (QStringList{u"b"_s, u"a"_s, u" "_s}));
        if (slidesOff)
            QTest::mouseMove(sort, off);
        QTest::mouseRelease(sort, Qt::LeftButton, {}, slidesOff ? off : sort->rect().center());
        QCOMPARE(AppFixture::lines(run.entryList()), titles);
    }

    // No tray host here: every way of hiding minimizes, so the window can
    // always be found again. The tray menu's items from each state, and the
    // icon's right click on a maximized window (the icon's clicks on a hidden
    // and a minimized window: tests/x11/tst_tray_x11).
    void trayWithoutHost()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        AppFixture run;
        QVERIFY(run.start());
        MainWindow *window = run.window();
        const auto item = [window](const QString &name) {
            return window->findChild<QAction *>(name);
        };
        auto *trayMenu = window->findChild<QMenu *>(u"mnuSystray"_s);
        const std::function<void()> hides[]{
            [&] { item(u"mnuHide"_s)->trigger(); },
            [&] { window->findChild<QPushButton *>(u"cmdMain"_s)->click(); },
            [&] { item(u"mnuSystrayCall2"_s)->trigger(); }};
        for (const auto &hide : hides) {
            hide();
            QTRY_COMPARE(stateOf(window), u"minimized"_s);
            window->showNormal();
        }
        const int right = QSystemTrayIcon::Context;
        // From, the reason (-1 - n: tray menu item n), to, the tray menu shown.
        const std::tuple<QString, int, QString, bool> steps[]{
            {u"maximized"_s, right, u"maximized"_s, true},
            {u"normal"_s, -1, u"maximized"_s, false},
            {u"maximized"_s, -1, u"normal"_s, false},
            {u"minimized"_s, -1, u"normal"_s, false},
            {u"normal"_s, -2, u"minimized"_s, false}};
        for (const auto &[from, reason, to, menu] : steps) {
            if (from == u"minimized"_s)
                window->showMinimized();
            else if (from == u"maximized"_s)
                window->showMaximized();
            else
                window->showNormal();
            QTRY_COMPARE(stateOf(window), from);
            if (reason < 0)
                item(u"mnuSystrayCall"_s + QString::number(-1 - reason))->trigger();
            else
                window->findChild<SystemTray *>(u"tray"_s)->MainWindowProc(
                    QSystemTrayIcon::ActivationReason(reason));
            QTRY_COMPARE(stateOf(window), to);
            QTRY_COMPARE(trayMenu->isVisible(), menu);
            trayMenu->close();
        }
        item(u"mnuSystrayCall3"_s)->trigger();
        QTRY_COMPARE(run.exitStatus, std::optional<int>(0));
    }

    // LstPrnt.txt byte for byte (each line as shown, cut to 50 characters,
    // the closing blank line last), then opened in the editor.
    void exportEntryList_data()
    {
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("folder"); // "" the preset store
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("titles as shown")
            << QStringList{u"__indented"_s, QString(60, u'x'), u"caf\u00e9 \u20ac5"_s} << QString()
            << QByteArray("__indented\r\n" + QByteArray(50, 'x') +
                          "\r\ncaf\xe9 \x80"
                          "5\r\n \r\n");
        QTest::newRow("a store path with blanks")
            << QStringList{u"a b"_s} << u"My Notes/"_s << QByteArray("a b\r\n \r\n");
        QTest::newRow("no entries") << QStringList{} << QString() << QByteArray(" \r\n");
    }
    void exportEntryList()
    {
        QFETCH(QStringList, titles);
        QFETCH(QString, folder);
        QFETCH(QByteArray, file);
        AppFixture run;
        run.writeNotebook({QStringList{u"G"_s} + titles});
        if (!folder.isEmpty()) {
            QDir().mkpath(run.path(folder));
            QVERIFY(QDir().rename(run.path(u"FileStore"_s), run.path(folder + u"FileStore"_s)));
            run.setPref(22, run.path(folder));
        }
        QVERIFY(run.start());
        // Offered with entries only; the command itself works either way.
        QCOMPARE(run.control<QMenu>(u"mnuEditor"_s)->menuAction()->isEnabled(), !titles.isEmpty());
        run.window()->findChild<EditorExport *>()->openEntryList();
        const QString path = folder + u"FileStore/LstPrnt.txt"_s;
        QCOMPARE(run.read(path), file);
        QCOMPARE(run.desktop.openedFiles, QStringList{run.path(path)});
        QVERIFY(run.messages.shown.isEmpty());
    }

    // The entry's own file opens by its stored name (a failed export: the
    // fault matrix's LstPrnt.txt row).
    void openEntryText()
    {
        AppFixture run;
        run.writeNotebook({{u"G/H"_s, u"first"_s, u"a:b"_s}});
        QVERIFY(run.start());
        AppFixture::click(run.entryList(), u"a:b"_s);
        triggered(u"mnuEditorCall0"_s)(run);
        QCOMPARE(run.desktop.openedFiles,
                 QStringList{run.path(u"FileStore/G\u00cfH/a\u00d0b.txt"_s)});
    }

    // From the Info menu: on top, the name spelled out whole once the timer
    // stops, then Enter closes the box.
    void aboutBox()
    {
        AppFixture run;
        QVERIFY(run.start());
        run.whenShown([&](QWidget *box) {
            QVERIFY(box->windowFlags() & Qt::WindowStaysOnTopHint);
            QTRY_VERIFY(!box->findChild<QTimer *>(u"Timer1"_s)->isActive());
            QCOMPARE(box->findChild<QLabel *>(u"lbl0"_s)->text(), u"Plimsa"_s);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        triggered(u"mnuAbout"_s)(run);
        QVERIFY(!QApplication::activeModalWidget());
    }

    // Links open their address and close the box; the name and the maker's
    // line are no links; Back closes. The project's own box has Back alone.
    // Its icon is the program's, at every size.
    void aboutLinks()
    {
        RecordingDesktop desktop;
        const AboutLinks links{u"help@plimsa.test"_s, u"https://plimsa.test/"_s,
                               u"https://plimsa.test/get"_s, u"https://plimsa.test/news"_s};
        const WordTable table;
        const int english = 0;
        const Words words(table, english);
        const std::tuple<int, QString, bool> clicks[]{{0, QString(), false},
                                                      {4, u"mailto:help@plimsa.test"_s, true},
                                                      {5, u"https://plimsa.test/"_s, true},
                                                      {6, QString(), true}};
        for (const auto &[label, opened, closes] : clicks) {
            AboutBox box(words, u"1.3.02"_s, desktop, links, nullptr);
            box.show();
            box.showNextLetter();
            desktop.openedUrls.clear();
            QTest::mouseClick(box.findChild<QLabel *>(u"lbl"_s + QString::number(label)),
                              Qt::LeftButton);
            QCOMPARE(desktop.openedUrls, opened.isEmpty() ? QList<QUrl>{} : QList{QUrl(opened)});
            QCOMPARE(box.isVisible(), !closes);
        }
        AboutBox own(words, u"1.3.02"_s, desktop, projectLinks(), nullptr);
        for (int i : {4, 5, 7, 8})
            QVERIFY(own.findChild<QLabel *>(u"lbl"_s + QString::number(i))->isHidden());
        const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
        QCOMPARE(own.windowIcon().availableSizes(), sizes);
        for (const QSize &size : sizes) // a size whose file is missing gives no picture
            QVERIFY(!own.windowIcon().pixmap(size).isNull());
    }
};

QTEST_MAIN(tst_Shell)
#include "tst_shell.moc"
