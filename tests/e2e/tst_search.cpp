// The search dialog on the real window: Start and Continue over the edge cases
// of the walk, each step read back from the lists, the status line and the
// entry text's selection; the buttons, what Close keeps, a long search
// stopped, no search during an edit, a group renamed between searches.

#include "support/searchdialog.h"

#include "i18n/wordtable.h"
#include "search/frmsearch.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QChar kY(0xFF); // ÿ

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void walk_data()
    {
        QTest::addColumn<QString>("book");
        QTest::addColumn<QString>("select"); // before the first step; "" for the start group
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("steps"); // S Start, C Continue
        QTest::addColumn<QStringList>("outcomes");

        QTest::newRow("continue in the same text, then on")
            << u"A: a1 = xx ab ab; a2 = ab | B: b1 = nothing"_s << QString() << u"111100"_s
            << u"ab"_s << u"SCCC"_s
            << QStringList{u"A/a1 text 3"_s, u"A/a1 text 6"_s, u"A/a2 text 0"_s, u"none A/a2"_s};
        QTest::newRow("one character")
            << u"A: a1 = .x.; a2 = ."_s << QString() << u"111100"_s << u"."_s << u"SCCC"_s
            << QStringList{u"A/a1 text 0"_s, u"A/a1 text 2"_s, u"A/a2 text 0"_s, u"none A/a2"_s};
        QTest::newRow("continue after a title hit")
            << u"A: a0 = zz; the key = one key here; k2 = x"_s << QString() << u"111100"_s
            << u"key"_s << u"SCC"_s
            << QStringList{u"A/the key title"_s, u"A/the key text 4"_s, u"none A/the key"_s};
        QTest::newRow("no title hit on the first entry")
            << u"A: key = none; b = key"_s << QString() << u"111100"_s << u"key"_s << u"S"_s
            << QStringList{u"A/b text 0"_s};
        QTest::newRow("a text hit on the first entry")
            << u"A: key = key"_s << QString() << u"111100"_s << u"key"_s << u"S"_s
            << QStringList{u"A/key text 0"_s};
        QTest::newRow("fixed entry")
            << u"A: a1 = x; a2 = key | B: b1 = key"_s << u"A/a2"_s << u"111110"_s << u"key"_s
            << u"SCC"_s << QStringList{u"none A/a2"_s, u"A/a2 text 0"_s, u"none A/a2"_s};
        QTest::newRow("fixed entry, start")
            << u"A: a1 = key; a2 = key"_s << u"A/a2"_s << u"111110"_s << u"key"_s << u"S"_s
            << QStringList{u"A/a1 text 0"_s};
        QTest::newRow("trash left out while selected")
            << u"Trash: t1 = key | Work: key = zz; w2 = key"_s << u"Trash/t1"_s << u"110100"_s
            << u"key"_s << u"C"_s << QStringList{u"Work/w2 text 0"_s};
        QTest::newRow("trash searched")
            << u"Trash: t1 = key | Work: w1 = key"_s << u"Trash/t1"_s << u"111100"_s << u"key"_s
            << u"C"_s << QStringList{u"Trash/t1 text 0"_s};
        QTest::newRow("y-groups left out")
            << u"A: a1 = n | %1Y: y1 = key"_s.arg(kY) << QString() << u"111000"_s << u"key"_s
            << u"S"_s << QStringList{u"none A/a1"_s};
        QTest::newRow("y-groups searched")
            << u"A: a1 = n | %1Y: y1 = key"_s.arg(kY) << QString() << u"111100"_s << u"key"_s
            << u"S"_s << QStringList{u"%1Y/y1 text 0"_s.arg(kY)};
        QTest::newRow("case sensitive") << u"A: a1 = Key; a2 = key"_s << QString() << u"111101"_s
                                        << u"key"_s << u"S"_s << QStringList{u"A/a2 text 0"_s};
        QTest::newRow("without case") << u"A: a1 = Key; a2 = key"_s << QString() << u"111100"_s
                                      << u"key"_s << u"S"_s << QStringList{u"A/a1 text 0"_s};
        QTest::newRow("without case, upper half")
            << u"A: a1 = x \u0178\u00c9S"_s << QString() << u"111100"_s << u"\u00ff\u00e9s"_s
            << u"S"_s << QStringList{u"A/a1 text 2"_s};
        QTest::newRow("case sensitive, upper half")
            << u"A: a1 = x \u0178\u00c9S"_s << QString() << u"111101"_s << u"\u00ff\u00e9s"_s
            << u"S"_s << QStringList{u"none A/a1"_s};
        QTest::newRow("titles as shown") << u"A: a0 = n; why? = n"_s << QString() << u"111100"_s
                                         << u"?"_s << u"S"_s << QStringList{u"A/why? title"_s};
        QTest::newRow("not as stored") << u"A: a0 = n; why? = n"_s << QString() << u"111100"_s
                                       << u"\u00ee"_s << u"S"_s << QStringList{u"none A/a0"_s};
        QTest::newRow("cr lf") << u"A: a1 = one\r\ntwo key"_s << QString() << u"111100"_s
                               << u"key"_s << u"SC"_s
                               << QStringList{u"A/a1 text 8"_s, u"none A/a1"_s};
        QTest::newRow("missing file") << u"A: gone1 = ; a2 = key"_s << QString() << u"111100"_s
                                      << u"key"_s << u"S"_s << QStringList{u"A/a2 text 0"_s};
        QTest::newRow("title of a missing file")
            << u"A: a0 = n; gone key = "_s << QString() << u"111100"_s << u"key"_s << u"S"_s
            << QStringList{u"A/gone key title"_s};
        QTest::newRow("titles only")
            << u"A: a0 = key; key = n; b = key"_s << QString() << u"101100"_s << u"key"_s << u"SC"_s
            << QStringList{u"A/key title"_s, u"none A/key"_s};
        QTest::newRow("no hit puts the selection back")
            << u"A: a1 = x | B: b1 = y; b2 = z"_s << u"B/b2"_s << u"111100"_s << u"none"_s << u"S"_s
            << QStringList{u"none B/b2"_s};
    }
    void walk()
    {
        QFETCH(QString, book);
        QFETCH(QString, select);
        QFETCH(QString, options);
        QFETCH(QString, search);
        QFETCH(QString, steps);
        QFETCH(QStringList, outcomes);
        AppFixture nb;
        writeBook(nb, book);
        QVERIFY(nb.start());
        if (!select.isEmpty())
            ::select(nb, select);
        SearchDialog dialog(nb);
        dialog.set(search, options);
        for (int i = 0; i < steps.size(); ++i) {
            QVERIFY(dialog.click(steps.at(i) == u'S' ? 0 : 1));
            QCOMPARE(dialog.outcome(), outcomes.at(i));
        }
        QVERIFY(nb.messages.shown.isEmpty());
    }

    // The buttons follow the text and the options within the timer's 250 ms;
    // Enter in the field is Start, only while Start can run.
    void buttons()
    {
        AppFixture nb;
        writeBook(nb, u"A: a1 = x"_s);
        QVERIFY(nb.start());
        SearchDialog dialog(nb);
        QCOMPARE(dialog.dialog->findChild<QTimer *>(u"timChckButton"_s)->interval(), 250);
        const std::tuple<QString, QString, bool> cases[]{
            {u"a"_s, u"110000"_s, true},     {u"a"_s, u"100000"_s, true},
            {u"a"_s, u"010000"_s, true},     {u"a"_s, u"001111"_s, false},
            {QString(), u"111111"_s, false}, {u" "_s, u"110000"_s, true}};
        for (const auto &[text, options, enabled] : cases) {
            dialog.set(enabled ? QString() : u"b"_s, enabled ? u"000000"_s : u"110000"_s);
            dialog.dialog->timChckButton_Timer();
            dialog.set(text, options);
            for (const QString &name : {u"cmdSearch0"_s, u"cmdSearch1"_s})
                QTRY_COMPARE(dialog.button(name)->isEnabled(), enabled);
            dialog.set(u"x"_s, u"110000"_s);
            dialog.dialog->timChckButton_Timer();
            dialog.set(text, options);
            dialog.dialog->findChild<QLabel *>(u"lblStatus"_s)->clear();
            QTest::keyClick(dialog.field(), Qt::Key_Return);
            QCOMPARE(!dialog.status().isEmpty(), enabled);
        }
    }

    // Close keeps the text and the options for the next opening; the title
    // bar's close keeps nothing. SearchPos outlives both.
    void closeKeepsTextAndOptions()
    {
        AppFixture nb;
        writeBook(nb, u"A: a1 = key key"_s);
        QVERIFY(nb.start());
        SearchDialog first(nb);
        QCOMPARE(first.options(), u"111100"_s);
        QCOMPARE(first.field()->text(), QString());
        QCOMPARE(first.status(), WordTable::english(104));
        first.set(u"key"_s, u"110001"_s);
        QVERIFY(first.click(0));
        QCOMPARE(first.dialog->searchPos(), 4);
        QTest::mouseClick(first.button(u"cmdMain"_s), Qt::LeftButton);
        QTRY_VERIFY(!nb.window()->findChild<FrmSearch *>());

        SearchDialog second(nb);
        QCOMPARE(second.field()->text(), u"key"_s);
        QCOMPARE(second.field()->selectedText(), u"key"_s);
        QCOMPARE(second.options(), u"110001"_s);
        QCOMPARE(second.dialog->searchPos(), 4);
        QVERIFY(second.click(1));
        QCOMPARE(second.outcome(), u"A/a1 text 4"_s);
        second.set(u"other"_s, u"100000"_s);
        second.dialog->close();
        QTRY_VERIFY(!nb.window()->findChild<FrmSearch *>());

        SearchDialog third(nb);
        QCOMPARE(third.field()->text(), u"key"_s);
        QCOMPARE(third.options(), u"110001"_s);
        // Beside the main window, and inside its screen.
        const QRect screen = nb.window()->screen()->geometry();
        QVERIFY(screen.contains(third.dialog->frameGeometry()));
    }

    // A search that runs longer than the quick limit: a busy cursor and the
    // groups done in the status line; the main window takes no input; Esc
    // stops it and Close ends it, each leaving the selection as it was; the
    // main window closed by the program unloads the dialog and its search.
    void longSearch_data()
    {
        QTest::addColumn<QString>("stop"); // "", "Esc", "Close" or "Exit"
        QTest::newRow("to its end") << QString();
        QTest::newRow("stopped by Esc") << u"Esc"_s;
        QTest::newRow("ended by Close") << u"Close"_s;
        QTest::newRow("main window closed") << u"Exit"_s;
    }
    void longSearch()
    {
        QFETCH(QString, stop);
        AppFixture nb;
        // Entries without files ("gone"), so that the notebook is quick to write.
        QStringList groups;
        for (int g = 0; g < 40; ++g) {
            QStringList entries;
            for (int e = 0; e < 999; ++e)
                entries << u"gone %1 = "_s.arg(e);
            groups << u"G%1: "_s.arg(g, 2, 10, QChar(u'0')) + entries.join(u"; "_s);
        }
        groups.last().replace(u"gone 998 = "_s, u"last = the key"_s);
        writeBook(nb, groups.join(u" | "_s));
        QVERIFY(nb.start());
        select(nb, u"G00/gone 5"_s);
        SearchDialog dialog(nb);
        dialog.dialog->setQuickSearchLimit(std::chrono::milliseconds(0));
        dialog.set(u"KEY"_s, u"111100"_s);
        QVERIFY(dialog.click(0));
        const bool stopNow = !stop.isEmpty();
        if (stopNow) {
            QVERIFY(dialog.dialog->searching());
            QVERIFY(QApplication::overrideCursor());
            QVERIFY(dialog.status().startsWith(WordTable::english(105) + u' '));
            QVERIFY(dialog.status().endsWith(u" / 40"_s));
            AppFixture::click(nb.w().lstGroup, u"G03"_s);
            QTest::keyClick(nb.w().lstEntry, Qt::Key_Down);
            QCOMPARE(selection(nb), u"G00/gone 5"_s);
            if (stop == u"Esc"_s)
                QTest::keyClick(dialog.dialog, Qt::Key_Escape);
            else if (stop == u"Close"_s)
                QTest::mouseClick(dialog.button(u"cmdMain"_s), Qt::LeftButton);
            else
                QVERIFY(nb.window()->close());
        }
        QTRY_VERIFY(!QApplication::overrideCursor());
        if (stop == u"Exit"_s) {
            QCOMPARE(nb.exitStatus, std::optional<int>(0));
            QTRY_VERIFY(!nb.window()->findChild<FrmSearch *>());
            return;
        }
        if (stop == u"Close"_s) {
            QTRY_VERIFY(!nb.window()->findChild<FrmSearch *>());
            QCOMPARE(nb.app().state().LastSearchText, u"KEY"_s);
            QCOMPARE(selection(nb), u"G00/gone 5"_s);
            return;
        }
        QTRY_VERIFY(!dialog.dialog->searching());
        QCOMPARE(dialog.outcome(), stopNow ? u"none G00/gone 5"_s : u"G39/last text 4"_s);
        // The main window takes input again.
        AppFixture::click(nb.w().lstGroup, u"G03"_s);
        QCOMPARE(AppFixture::current(nb.w().lstGroup), u"G03"_s);
    }

    // A search selects other entries, so it never runs while a text is edited.
    void noSearchWhileEditing()
    {
        AppFixture nb;
        writeBook(nb, u"A: a1 = x; a2 = key"_s);
        QVERIFY(nb.start());
        SearchDialog dialog(nb);
        dialog.set(u"key"_s, u"111100"_s);
        QTRY_VERIFY(dialog.button(u"cmdSearch0"_s)->isEnabled());
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Return);
        QVERIFY(nb.state().TextEditMode);
        QTRY_VERIFY(!dialog.button(u"cmdSearch0"_s)->isEnabled());
        dialog.dialog->cmdSearch_Click(0);
        QCOMPARE(dialog.status(), WordTable::english(104));
        QCOMPARE(selection(nb), u"A/a1"_s);
        QVERIFY(nb.state().TextEditMode);
    }

    // Continue starts from the window's selection as it is now: a group that
    // moved in the list after a rename is followed, not its old line.
    void continueAfterARename()
    {
        AppFixture nb;
        writeBook(nb, u"A: a1 = n | B: b1 = key; b2 = key | C: c1 = n"_s);
        QVERIFY(nb.start());
        SearchDialog dialog(nb);
        dialog.set(u"key"_s, u"011100"_s);
        QVERIFY(dialog.click(0));
        QCOMPARE(dialog.outcome(), u"B/b1 text 0"_s);
        nb.answerInput(u"Z"_s);
        nb.w().mnuGroupRename->trigger();
        QTRY_COMPARE(AppFixture::lines(nb.w().lstGroup), (QStringList{u"A"_s, u"C"_s, u"Z"_s}));
        select(nb, u"Z/b1"_s);
        QVERIFY(dialog.click(1));
        QCOMPARE(dialog.outcome(), u"Z/b2 text 0"_s);
        QVERIFY(dialog.click(1));
        QCOMPARE(dialog.outcome(), u"none Z/b2"_s);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
