// The search dialog on the real window: Start and Continue over the edge cases
// of the walk, each step read back from the lists, the status line and the
// entry text's selection; the buttons, what Close keeps, a long search
// stopped, no search during an edit, a group renamed between searches.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/scenario.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "search/searchdialog_w.h"
#include "store/codepage.h"
#include "store/dostext.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "A: a1 = text; a2 = text | B: ...": groups in their list order, each with
// its titles and their texts. Every entry file is "d" and then its text, exactly
// (no line break added); a title starting with "gone" has no file.
Action writing(const QString &book)
{
    return [book](AppFixture &nb) {
        QList<QStringList> groups;
        QMap<QString, QByteArray> files;
        for (const QString &group : book.split(u" | "_s)) {
            groups.append({group.section(u": "_s, 0, 0)});
            for (const QString &entry :
                 group.section(u": "_s, 1).split(u"; "_s, Qt::SkipEmptyParts)) {
                const QString title = entry.section(u" = "_s, 0, 0);
                groups.last() << title;
                if (!title.startsWith(u"gone"_s))
                    files.insert(
                        u"FileStore/%1/%2.txt"_s.arg(OutDOS(groups.last()[0]), OutDOS(title)),
                        "d\r\n" + CodePage::encode(entry.section(u" = "_s, 1)).value());
            }
        }
        nb.writeNotebook(groups);
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            QVERIFY(writeFile(nb.path(it.key()), it.value()));
    };
}

SearchDialog *searchDialog(const AppFixture &nb)
{
    return nb.window()->findChild<SearchDialog *>(u"frmSearch"_s);
}

const Action opened = triggered(u"mnuSearch"_s);

// The dialog, opened from the Entry menu unless it is open, with `text` and
// `options` ("111100": titles, texts, Trash, ÿ-groups, the entry fixed, case).
Action searchFor(const QString &text, const QString &options)
{
    return [text, options](AppFixture &nb) {
        if (!searchDialog(nb))
            opened(nb);
        searchDialog(nb)->findChild<QLineEdit *>(u"txtSearch"_s)->setText(text);
        for (int i = 0; i < 6; ++i)
            searchDialog(nb)
                ->findChild<QCheckBox *>(u"chckMode%1"_s.arg(i))
                ->setChecked(options.at(i) == u'1');
    };
}

// The buttons set by the dialog's own check rather than the timer's next tick.
const Action checked = [](AppFixture &nb) { searchDialog(nb)->updateSearchButtons(); };

// Start, or Continue, clicked once the dialog's check has enabled it; the
// search ends with `found` (support/scenario.h), or is left running (null).
Action clicked(bool further, const QString &found = {})
{
    return [further, found](AppFixture &nb) {
        checked(nb);
        auto *button =
            searchDialog(nb)->findChild<QPushButton *>(u"cmdSearch%1"_s.arg(int(further)));
        QVERIFY(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        if (found.isNull())
            return;
        QTRY_VERIFY(!searchDialog(nb)->searching());
        expectState(nb, u"found="_s + found);
    };
}

// The timer's next tick has turned both buttons on, or off.
Action buttonsTurn(bool on)
{
    return [on](AppFixture &nb) {
        for (int i = 0; i < 2; ++i)
            QTRY_COMPARE(
                searchDialog(nb)->findChild<QPushButton *>(u"cmdSearch%1"_s.arg(i))->isEnabled(),
                on);
    };
}

Action expecting(const QString &state)
{
    return [state](AppFixture &nb) { expectState(nb, state); };
}

// By the Close button or the title bar's close, then gone.
Action closedBy(bool button)
{
    return [button](AppFixture &nb) {
        if (button)
            QTest::mouseClick(searchDialog(nb)->findChild<QPushButton *>(u"cmdMain"_s),
                              Qt::LeftButton);
        else
            searchDialog(nb)->close();
        QTRY_VERIFY(!QApplication::overrideCursor());
        QTRY_VERIFY(!searchDialog(nb));
    };
}

// From `select` ("" the start group's first line) `text` searched with
// `options`; each click of `clicks` (S Start, C Continue) ends with its
// outcome of `found`, and nothing is reported.
Scenario walk(const QString &book, const QString &select, const QString &options,
              const QString &text, const QString &clicks, const QStringList &found)
{
    QList<Action> steps;
    if (!select.isEmpty())
        steps << selected(select);
    steps << searchFor(text, options);
    for (int i = 0; i < clicks.size(); ++i)
        steps << clicked(clicks.at(i) == u'C', found.at(i));
    return Scenario{{}, {}, writing(book), steps, u"msg="_s};
}

} // namespace

class TestSearch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void search_data()
    {
        QTest::addColumn<Scenario>("scenario");
        // Continue goes on right after the hit: the next one may touch it.
        QTest::newRow("continue in the same text, then on") << walk(
            u"A: a1 = xx abab; a2 = ab | B: b1 = nothing"_s, QString(), u"111100"_s, u"ab"_s,
            u"SCCC"_s, {u"A/a1 text 3"_s, u"A/a1 text 5"_s, u"A/a2 text 0"_s, u"none A/a2"_s});
        QTest::newRow("continue after a title hit") << walk(
            u"A: a0 = zz; the key = one key here; k2 = x"_s, QString(), u"111100"_s, u"key"_s,
            u"SCC"_s, {u"A/the key title"_s, u"A/the key text 4"_s, u"none A/the key"_s});
        QTest::newRow("no title hit on the first entry")
            << walk(u"A: key = none; b = key"_s, QString(), u"111100"_s, u"key"_s, u"S"_s,
                    {u"A/b text 0"_s});
        QTest::newRow("fixed entry")
            << walk(u"A: a1 = x; a2 = key | B: b1 = key"_s, u"A/a2"_s, u"111110"_s, u"key"_s,
                    u"SCC"_s, {u"none A/a2"_s, u"A/a2 text 0"_s, u"none A/a2"_s});
        QTest::newRow("fixed entry, start")
            << walk(u"A: a1 = key; a2 = key"_s, u"A/a2"_s, u"111110"_s, u"key"_s, u"S"_s,
                    {u"A/a1 text 0"_s});
        QTest::newRow("trash left out while selected")
            << walk(u"Trash: t1 = key | Work: key = zz; w2 = key"_s, u"Trash/t1"_s, u"110100"_s,
                    u"key"_s, u"C"_s, {u"Work/w2 text 0"_s});
        QTest::newRow("case sensitive") << walk(u"A: a1 = Key; a2 = key"_s, QString(), u"111101"_s,
                                                u"key"_s, u"S"_s, {u"A/a2 text 0"_s});
        // Trash and the ÿ-groups each by their own option.
        const QString skipped = u"Trash: t1 = key | W: w1 = x | \u00FFB: b1 = key"_s;
        QTest::newRow("trash and ÿ-groups left out")
            << walk(skipped, u"W/w1"_s, u"110000"_s, u"key"_s, u"S"_s, {u"none W/w1"_s});
        QTest::newRow("ÿ-groups searched")
            << walk(skipped, u"W/w1"_s, u"110100"_s, u"key"_s, u"S"_s, {u"\u00FFB/b1 text 0"_s});
        QTest::newRow("titles only, an entry without a file")
            << walk(u"A: a1 = key; gone key = ; a3 = key"_s, QString(), u"100000"_s, u"KEY"_s,
                    u"SC"_s, {u"A/gone key title"_s, u"none A/gone key"_s});
        // Capitals whose lower case is elsewhere in the code page; a line break
        // of the search text meets CR LF, LF and a lone CR alike.
        QTest::newRow("capitals of the upper half")
            << walk(u"A: a1 = x\u00FF\u0161\u0153"_s, QString(), u"111100"_s,
                    u"\u0178\u0160\u0152"_s, u"S"_s, {u"A/a1 text 1"_s});
        QTest::newRow("line breaks") << walk(
            u"A: a1 = ab\r\ncd; a2 = ab\ncd; a3 = ab\rcd"_s, QString(), u"011100"_s, u"B\nC"_s,
            u"SCCC"_s, {u"A/a1 text 1"_s, u"A/a2 text 1"_s, u"A/a3 text 1"_s, u"none A/a3"_s});
        // Continue from the blank line under the entries goes on in the next
        // group; with the entry fixed there is nothing to search.
        QTest::newRow("continue from the blank line")
            << walk(u"A: a1 = key | B: b1 = key"_s, u"A/ "_s, u"111100"_s, u"key"_s, u"C"_s,
                    {u"B/b1 text 0"_s});
        QTest::newRow("fixed on the blank line")
            << walk(u"A: a1 = key | B: b1 = key"_s, u"A/ "_s, u"111110"_s, u"key"_s, u"C"_s,
                    {u"none A/ "_s});
        QTest::newRow("no hit puts the selection back")
            << walk(u"A: a1 = x | B: b1 = y; b2 = z"_s, u"B/b2"_s, u"111100"_s, u"none"_s, u"S"_s,
                    {u"none B/b2"_s});

        // Enter in the field is Start, only while Start can run: the buttons
        // it meets are a tick old (enabled), and then follow.
        const QString idle = u"found=status "_s + WordTable::english(Word::EnterSearchString);
        const QString off = u";on:cmdSearch0=0;on:cmdSearch1=0"_s;
        const auto enter = [](const QString &text, const QString &options, const QString &state) {
            const Action enterKey = [](AppFixture &nb) {
                QTest::keyClick(searchDialog(nb)->findChild<QLineEdit *>(u"txtSearch"_s),
                                Qt::Key_Return);
            };
            return Scenario{
                {},
                {},
                writing(u"A: a1 = a"_s),
                {searchFor(u"x"_s, u"110000"_s), checked, searchFor(text, options), enterKey},
                state};
        };
        QTest::newRow("Enter: titles only") << enter(u"a"_s, u"100000"_s, u"found=none A/a1"_s);
        QTest::newRow("Enter: texts only") << enter(u"a"_s, u"010000"_s, u"found=A/a1 text 0"_s);
        QTest::newRow("Enter: neither") << enter(u"a"_s, u"001111"_s, idle + off);
        QTest::newRow("Enter: no text") << enter(QString(), u"111111"_s, idle + off);

        // A search selects other entries, so it never runs while a text is
        // edited; the buttons follow at the timer's tick.
        const Action searchNow = [](AppFixture &nb) { searchDialog(nb)->search(false); };
        QTest::newRow("no search while editing")
            << Scenario{{},
                        {},
                        writing(u"A: a1 = x; a2 = key"_s),
                        {searchFor(u"key"_s, u"111100"_s), buttonsTurn(true), key(Qt::Key_Return),
                         buttonsTurn(false), searchNow},
                        u"mode=text;sel=A/a1;"_s + idle};

        // Continue starts from the window's selection as it is now: a group
        // that moved in the list after a rename is followed, not its old line.
        QTest::newRow("continue after a rename")
            << Scenario{{},
                        {},
                        writing(u"A: a1 = n | B: b1 = key; b2 = key | C: c1 = n"_s),
                        {searchFor(u"key"_s, u"011100"_s), clicked(false, u"B/b1 text 0"_s),
                         answered(u"Z"_s, triggered(u"mnuGroupRename"_s)), selected(u"Z/b1"_s),
                         clicked(true, u"Z/b2 text 0"_s), clicked(true, u"none Z/b2"_s)},
                        u"groups=A|C|Z"_s};

        // Close keeps the text and the options for the next opening; the title
        // bar's close keeps nothing. SearchPos outlives both. A fixed entry on
        // the blank line searches nothing, yet the next text is searched from
        // its start again. The dialog opens beside the main window, inside its
        // screen.
        const Action onScreen = [](AppFixture &nb) {
            QVERIFY(nb.window()->screen()->geometry().contains(searchDialog(nb)->frameGeometry()));
        };
        QTest::newRow("what Close keeps") << Scenario{
            {},
            {},
            writing(u"A: a1 = key key"_s),
            {opened, expecting(u"search=||111100|0;"_s + idle), searchFor(u"key"_s, u"110001"_s),
             clicked(false, u"A/a1 text 0"_s), closedBy(true), opened,
             expecting(u"search=key|key|110001|4"_s), clicked(true, u"A/a1 text 4"_s),
             selected(u"A/ "_s), searchFor(u"key"_s, u"110011"_s), clicked(true, u"none A/ "_s),
             searchFor(u"other"_s, u"100000"_s), closedBy(false), opened, onScreen},
            u"search=key|key|110001|1"_s};

        // Esc with no search running stops nothing and closes nothing: the
        // dialog has no Cancel, and the text typed stays.
        const Action escInField = [](AppFixture &nb) {
            QTest::keyClick(searchDialog(nb)->findChild<QLineEdit *>(u"txtSearch"_s),
                            Qt::Key_Escape);
        };
        QTest::newRow("Esc with no search")
            << Scenario{{},
                        {},
                        writing(u"A: a1 = key"_s),
                        {opened, searchFor(u"key"_s, u"111100"_s), escInField},
                        u"search=key||111100|0;"_s + idle};

        // A search that runs longer than the quick limit: a busy cursor and the
        // groups done in the status line; the main window takes no input; Esc
        // stops it and Close ends it, each leaving the selection as it was; the
        // main window closed by the program unloads the dialog and its search.
        // Entries without files ("gone"), so that the notebook is quick to write.
        QStringList groups;
        for (int g = 0; g < 40; ++g) {
            QStringList entries;
            for (int e = 0; e < 999; ++e)
                entries << u"gone %1 = "_s.arg(e);
            groups << u"G%1: "_s.arg(g, 2, 10, QChar(u'0')) + entries.join(u"; "_s);
        }
        groups.last().replace(u"gone 998 = "_s, u"last = the key"_s);
        const Action toG03 = [](AppFixture &nb) { AppFixture::click(nb.groupList(), u"G03"_s); };
        const Action slow = [](AppFixture &nb) {
            searchDialog(nb)->setQuickSearchLimit(std::chrono::milliseconds(0));
        };
        const Action running = [toG03](AppFixture &nb) {
            QVERIFY(searchDialog(nb)->searching());
            QVERIFY(QApplication::overrideCursor());
            toG03(nb);
            QTest::keyClick(nb.entryList(), Qt::Key_Down);
            expectState(nb, u"sel=G00/gone 5;words:lblStatus=~"_s +
                                QRegularExpression::escape(WordTable::english(Word::Searching)) +
                                u" \\d+ / 40"_s);
        };
        const Action ended = [](AppFixture &nb) {
            QTRY_VERIFY(!QApplication::overrideCursor());
            QTRY_VERIFY(!searchDialog(nb)->searching());
        };
        const auto longSearch = [&](const QList<Action> &then, const QString &state) {
            return Scenario{{},
                            {},
                            writing(groups.join(u" | "_s)),
                            QList<Action>{selected(u"G00/gone 5"_s),
                                          searchFor(u"KEY"_s, u"111100"_s), slow, clicked(false)} +
                                then,
                            state};
        };
        // The main window takes input again.
        const QString inputTaken = u"sel=G03/gone 0"_s;
        QTest::newRow("long search to its end")
            << longSearch({ended, expecting(u"found=G39/last text 4"_s), toG03}, inputTaken);
        const Action esc = [](AppFixture &nb) {
            QTest::keyClick(searchDialog(nb), Qt::Key_Escape);
        };
        QTest::newRow("long search stopped by Esc") << longSearch(
            {running, esc, ended, expecting(u"found=none G00/gone 5"_s), toG03}, inputTaken);
        QTest::newRow("long search ended by Close")
            << longSearch({running, closedBy(true), opened},
                          u"sel=G00/gone 5;search=~KEY\\|KEY\\|111100\\|\\d+"_s);
        const Action exit = [](AppFixture &nb) { QVERIFY(nb.window()->close()); };
        const Action unloaded = [](AppFixture &nb) { QTRY_VERIFY(!searchDialog(nb)); };
        QTest::newRow("long search, main window closed")
            << longSearch({running, exit, unloaded}, u"exit=0;search="_s);
    }
    void search()
    {
        QFETCH(Scenario, scenario);
        run(scenario);
    }
};

QTEST_MAIN(TestSearch)
#include "tst_search.moc"
