// The search dialog on the real window: Start and Continue over the edge cases
// of the walk, each step read back from the lists, the status line and the
// entry text's selection; the buttons, what Close keeps, a long search
// stopped, no search during an edit, a group renamed between searches.

#include "support/appfixture.h"
#include "support/notebookline.h"

#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "search/frmsearch.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "ui/codepagetextedit_w.h"

#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QChar kY(0xFF); // ÿ

// An entry file of exactly these bytes.
void writeEntry(AppFixture &nb, const QString &group, const QString &title, const QByteArray &bytes)
{
    QFile file(nb.path(u"FileStore/%1/%2.txt"_s.arg(OutDOS(group), OutDOS(title))));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// "A: a1 = text; a2 = text | B: ...": groups in their list order, each with
// its titles and their texts. Every entry file is "d" and then its text, exactly
// (no line break added); a title starting with "gone" has no file.
void writeBook(AppFixture &nb, const QString &book)
{
    QList<QStringList> groups;
    QList<QStringList> texts;
    for (const QString &group : book.split(u" | "_s)) {
        const qsizetype colon = group.indexOf(u": "_s);
        groups.append({colon < 0 ? group.trimmed() : group.left(colon)});
        texts.append(QStringList());
        if (colon < 0)
            continue;
        for (const QString &entry : group.mid(colon + 2).split(u"; "_s)) {
            groups.last() << entry.section(u" = "_s, 0, 0);
            texts.last() << entry.section(u" = "_s, 1);
        }
    }
    nb.writeNotebook(groups);
    for (int g = 0; g < groups.size(); ++g) {
        for (int e = 1; e < groups[g].size(); ++e) {
            if (groups[g][e].startsWith(u"gone"_s))
                continue;
            writeEntry(nb, groups[g][0], groups[g][e],
                       "d\r\n" + CodePage::encode(texts[g][e - 1]).value());
        }
    }
}

QPlainTextEdit *textBox(const AppFixture &nb)
{
    return nb.w().txtText[size_t(nb.window()->mainState().TextBoxIndex)];
}

// The search dialog opened from the Entry menu, driven through its controls.
struct SearchDialog
{
    explicit SearchDialog(AppFixture &nb) : nb_(nb)
    {
        nb.w().mnuSearch->trigger();
        dialog = nb.window()->findChild<FrmSearch *>(u"frmSearch"_s);
    }
    QLineEdit *field() const { return dialog->findChild<QLineEdit *>(u"txtSearch"_s); }
    QCheckBox *option(int i) const
    {
        return dialog->findChild<QCheckBox *>(u"chckMode%1"_s.arg(i));
    }
    QPushButton *button(const QString &name) const
    {
        return dialog->findChild<QPushButton *>(name);
    }
    QString status() const { return dialog->findChild<QLabel *>(u"lblStatus"_s)->text(); }
    QString options() const // "111100"
    {
        QString bits;
        for (int i = 0; i < 6; ++i)
            bits += option(i)->isChecked() ? u'1' : u'0';
        return bits;
    }
    void set(const QString &text, const QString &options)
    {
        field()->setText(text);
        for (int i = 0; i < 6; ++i)
            option(i)->setChecked(options.at(i) == u'1');
    }
    // Start (0) or Continue (1) by a click, once the dialog's check (rather
    // than the timer's next tick) has enabled it.
    bool click(int index)
    {
        QPushButton *search = button(u"cmdSearch%1"_s.arg(index));
        dialog->timChckButton_Timer();
        if (!search->isEnabled())
            return false;
        QTest::mouseClick(search, Qt::LeftButton);
        return true;
    }
    // What a step left: "none G/e", "G/e title" or "G/e text <start>", the last
    // only with the text's selection as long as the search text and the focus
    // in the entry text.
    QString outcome() const
    {
        const QString status = this->status();
        if (status == WordTable::english(106))
            return u"none "_s + selection(nb_);
        if (status == WordTable::english(107))
            return selection(nb_) + u" title"_s;
        if (status != WordTable::english(108))
            return u"status "_s + status;
        const QTextCursor cursor = textBox(nb_)->textCursor();
        if (cursor.selectionEnd() - cursor.selectionStart() != field()->text().size())
            return u"text of another length"_s;
        // The focus moves into the main window once the window system has activated it.
        QPlainTextEdit *box = textBox(nb_);
        if (!QTest::qWaitFor([box] { return box->hasFocus(); }, 2000))
            return u"text without the focus"_s;
        return selection(nb_) + u" text "_s + QString::number(cursor.selectionStart());
    }

    FrmSearch *dialog = nullptr;
    AppFixture &nb_;
};

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
        QTest::newRow("fixed entry")
            << u"A: a1 = x; a2 = key | B: b1 = key"_s << u"A/a2"_s << u"111110"_s << u"key"_s
            << u"SCC"_s << QStringList{u"none A/a2"_s, u"A/a2 text 0"_s, u"none A/a2"_s};
        QTest::newRow("fixed entry, start")
            << u"A: a1 = key; a2 = key"_s << u"A/a2"_s << u"111110"_s << u"key"_s << u"S"_s
            << QStringList{u"A/a1 text 0"_s};
        QTest::newRow("trash left out while selected")
            << u"Trash: t1 = key | Work: key = zz; w2 = key"_s << u"Trash/t1"_s << u"110100"_s
            << u"key"_s << u"C"_s << QStringList{u"Work/w2 text 0"_s};
        QTest::newRow("case sensitive") << u"A: a1 = Key; a2 = key"_s << QString() << u"111101"_s
                                        << u"key"_s << u"S"_s << QStringList{u"A/a2 text 0"_s};
        // Trash and the ÿ-groups each by their own option.
        const QString skipped = u"Trash: t1 = key | W: w1 = x | \u00FFB: b1 = key"_s;
        QTest::newRow("trash and ÿ-groups left out")
            << skipped << u"W/w1"_s << u"110000"_s << u"key"_s << u"S"_s
            << QStringList{u"none W/w1"_s};
        QTest::newRow("ÿ-groups searched") << skipped << u"W/w1"_s << u"110100"_s << u"key"_s
                                           << u"S"_s << QStringList{u"\u00FFB/b1 text 0"_s};
        QTest::newRow("titles only, an entry without a file")
            << u"A: a1 = key; gone key = ; a3 = key"_s << QString() << u"100000"_s << u"KEY"_s
            << u"SC"_s << QStringList{u"A/gone key title"_s, u"none A/gone key"_s};
        // Capitals whose lower case is elsewhere in the code page; a line break
        // of the search text meets CR LF, LF and a lone CR alike.
        QTest::newRow("capitals of the upper half")
            << u"A: a1 = x\u00FF\u0161\u0153"_s << QString() << u"111100"_s
            << u"\u0178\u0160\u0152"_s << u"S"_s << QStringList{u"A/a1 text 1"_s};
        QTest::newRow("line breaks")
            << u"A: a1 = ab\r\ncd; a2 = ab\ncd; a3 = ab\rcd"_s << QString() << u"011100"_s
            << u"B\nC"_s << u"SCCC"_s
            << QStringList{u"A/a1 text 1"_s, u"A/a2 text 1"_s, u"A/a3 text 1"_s, u"none A/a3"_s};
        // Continue from the blank line under the entries goes on in the next
        // group; with the entry fixed there is nothing to search.
        QTest::newRow("continue from the blank line")
            << u"A: a1 = key | B: b1 = key"_s << u"A/ "_s << u"111100"_s << u"key"_s << u"C"_s
            << QStringList{u"B/b1 text 0"_s};
        QTest::newRow("fixed on the blank line")
            << u"A: a1 = key | B: b1 = key"_s << u"A/ "_s << u"111110"_s << u"key"_s << u"C"_s
            << QStringList{u"none A/ "_s};
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

    // The buttons follow the text and the options at the timer's next tick;
    // Enter in the field is Start, only while Start can run.
    void buttons()
    {
        AppFixture nb;
        writeBook(nb, u"A: a1 = x"_s);
        QVERIFY(nb.start());
        SearchDialog dialog(nb);
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
        // A fixed entry on the blank line searches nothing, yet the next text
        // is searched from its start again.
        select(nb, u"A/ "_s);
        second.set(u"key"_s, u"110011"_s);
        QVERIFY(second.click(1));
        QTRY_COMPARE(second.dialog->searchPos(), 1);
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
            QCOMPARE(SearchDialog(nb).field()->text(), u"KEY"_s);
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
        dialog.dialog->search(false);
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
