// Position memories, phrases, separator lines and the individual buttons on
// the real window, read back from the menus, idx.dat and pref.dat.

#include "support/appfixture.h"
#include "support/filefaults.h"
#include "support/notebookline.h"

#include "platform/keyinjector_w.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "ui/codepagetextedit_w.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

const QString kContinued = u"An error has happend - trying to continue..."_s;
const QString kFree = u"free/free"_s;

void key(AppFixture &nb, QWidget *control, int key, Qt::KeyboardModifiers modifiers = {})
{
    QTest::keyClick(control, Qt::Key(key), modifiers);
    QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
}

void listKey(AppFixture &nb, int k, Qt::KeyboardModifiers modifiers = {})
{
    nb.w().lstEntry->setFocus();
    key(nb, nb.w().lstEntry, k, modifiers);
}

QStringList memories(const AppFixture &nb)
{
    return nb.readLines(u"pref.dat"_s).mid(22, 4);
}

QString lastMessage(const AppFixture &nb)
{
    return nb.messages.shown.isEmpty() ? QString() : nb.messages.shown.last().text;
}

// Selects `length` characters of the entry text from `from`.
void selectText(const AppFixture &nb, int from, int length)
{
    QPlainTextEdit *box = nb.w().txtText[0];
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(from);
    cursor.setPosition(from + length, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    box->setFocus();
}

// Runs `act` on frmIndiv once the Options menu has opened it.
void withButtonDialog(AppFixture &nb, const std::function<void(QWidget *)> &act)
{
    nb.whenShown(act);
    nb.w().mnuSettings[2]->trigger();
}

template <typename T> T *child(QWidget *dialog, const QString &name)
{
    return dialog->findChild<T *>(name);
}

} // namespace

class tst_Keyboard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Memory 1 on Work/Shopping: the three captions and pref.dat at once,
    // the same after a restart. Renamed, the entry leaves a group memory,
    // and F5 then only selects the group.
    void memoryFollowsTheNotebook()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a | Work Plans Shopping"_s));
        QVERIFY(nb.start());
        select(nb, u"Work/Shopping"_s);
        listKey(nb, Qt::Key_F5, Qt::ShiftModifier);
        const MainWidgets *w = &nb.w();
        QCOMPARE(memories(nb), (QStringList{u"Work/Shopping"_s, kFree, kFree, kFree}));
        const QString goTo = u"Memory &1  [F5]  =>  Work/Shopping"_s;
        const QString moveTo = u"Memory &1  [CTRL] + [F5]  =>  Work"_s;
        const QString set = u"Memory &1  [SH] + [F5]  =>  Work/Shopping"_s;
        QCOMPARE(w->mnuGoToMemo[0]->text(), goTo);
        QCOMPARE(w->mnuMoveToMemo[0]->text(), moveTo);
        QCOMPARE(w->mnuSetMemo[0]->text(), set);
        QVERIFY(!w->mnuGoToMemo[0]->isEnabled()); // already there

        QVERIFY(nb.restart());
        w = &nb.w();
        QCOMPARE(w->mnuGoToMemo[0]->text(), goTo);
        QCOMPARE(w->mnuMoveToMemo[0]->text(), moveTo);
        select(nb, u"Notes/a"_s);
        listKey(nb, Qt::Key_F5);
        QCOMPARE(selection(nb), u"Work/Shopping"_s);

        select(nb, u"Work/Shopping"_s);
        nb.answerInput(u"Groceries"_s);
        listKey(nb, Qt::Key_F12);
        QCOMPARE(index(nb), u"Notes a | Work Plans Groceries"_s);
        QCOMPARE(w->mnuGoToMemo[0]->text(), u"Memory &1  [F5]  =>  Work/"_s);
        QCOMPARE(nb.app().state().prefs.PositionMemory[0], u"Work/"_s);
        select(nb, u"Notes/a"_s);
        listKey(nb, Qt::Key_F5);
        QCOMPARE(selection(nb), u"Work/Plans"_s); // the line the group's load selects
        QCOMPARE(nb.messages.beeps, 0);
    }

    // A deleted group: Go To and Move To are no longer offered, F5 beeps and
    // Ctrl+F5 says the memory is free, ending in the number " 1".
    void groupOfMemoryDeleted()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a | Work"_s));
        nb.setPref(23, u"Work/"_s);
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        QVERIFY(w.mnuGoToMemo[0]->isEnabled());
        select(nb, u"Work/ "_s);
        w.mnuGroupDelete->trigger();
        QCOMPARE(index(nb), u"Notes a"_s);
        select(nb, u"Notes/a"_s);
        QVERIFY(!w.mnuGoToMemo[0]->isEnabled());
        QVERIFY(!w.mnuMoveToMemo[0]->isEnabled());
        listKey(nb, Qt::Key_F5);
        QCOMPARE(nb.messages.beeps, 1);
        listKey(nb, Qt::Key_F5, Qt::ControlModifier);
        QCOMPARE(nb.messages.shown.size(), 1);
        QCOMPARE(nb.messages.shown[0].title, u"Message"_s);
        QVERIFY2(lastMessage(nb).endsWith(u"Memory 1"_s), qPrintable(lastMessage(nb)));
        QCOMPARE(index(nb), u"Notes a"_s);
    }

    // A group whose title holds "/" leaves memories that the split at the
    // first "/" reads as group Work: they are kept, but never taken to Work.
    void slashInAGroupTitle()
    {
        AppFixture nb;
        nb.writeNotebook({{u"Work"_s, u"w"_s}, {u"Work/Home"_s, u"Plans"_s, u"Bills"_s}});
        nb.setPref(24, u"Work/"_s);
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        AppFixture::click(w.lstGroup, u"Work/Home"_s);
        AppFixture::click(w.lstEntry, u"Plans"_s);
        listKey(nb, Qt::Key_F5, Qt::ShiftModifier);
        QCOMPARE(memories(nb)[0], u"Work/Home/Plans"_s);
        QVERIFY(!w.mnuGoToMemo[0]->isEnabled());

        select(nb, u"Work/w"_s);
        listKey(nb, Qt::Key_F5);
        QCOMPARE(selection(nb), u"Work/w"_s);
        QCOMPARE(nb.messages.beeps, 1);
        QCOMPARE(nb.app().state().prefs.PositionMemory[0], u"Work/Home/Plans"_s);

        // The last position is the group itself: F9 does nothing rather than go to Work.
        AppFixture::click(w.lstGroup, u"Work/Home"_s);
        AppFixture::click(w.lstEntry, u"Bills"_s);
        listKey(nb, Qt::Key_F6, Qt::ControlModifier);
        QCOMPARE(selection(nb), u"Work/Bills"_s);
        QCOMPARE(nb.app().state().LastMovePosition, u"Work/Home/"_s);
        QVERIFY(!w.mnuGoToLastMove->isEnabled());
        listKey(nb, Qt::Key_Up);
        listKey(nb, Qt::Key_F9);
        QCOMPARE(selection(nb), u"Work/w"_s);
    }

    // Shift+F5 keeps the selection's first line as phrase 1 and writes
    // pref.dat; F5 types it at the caret, which starts the edit mode and
    // shows the Phrases menu, which goes again with the edit.
    void phraseSavedThenTyped()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        QPlainTextEdit *box = w.txtText[0];
        selectText(nb, 0, 4);
        key(nb, box, Qt::Key_F5, Qt::ShiftModifier);
        QCOMPARE(nb.readLines(u"pref.dat"_s)[26], u"text"_s);
        QCOMPARE(w.mnuCallTxtMemoCall[0]->text(), u"Phrase &1  [F5]  =>  text"_s);
        QVERIFY(!nb.state().TextEditMode);
        QVERIFY(!w.mnuPhrases->menuAction()->isVisible());

        box->moveCursor(QTextCursor::End);
        key(nb, box, Qt::Key_F5);
        QCOMPARE(boxText(box), u"text of a\ntext"_s);
        QVERIFY(nb.state().TextEditMode);
        QVERIFY(w.mnuPhrases->menuAction()->isVisible());
        key(nb, box, Qt::Key_F2);
        QVERIFY(!w.mnuPhrases->menuAction()->isVisible());
        QCOMPARE(nb.readLines(u"FileStore/Notes/a.txt"_s).mid(1),
                 (QStringList{u"text of a"_s, u"text"_s}));
        QVERIFY(nb.messages.shown.isEmpty());
    }

    // Phrases are key strings: their specials act as keys; a malformed one
    // types nothing and beeps; the euro sign is typed as a character.
    void phraseAsKeys_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("typed"); // before "text of a"
        QTest::addColumn<int>("beeps");
        QTest::newRow("shift in a phrase") << u"a+b"_s << u"aB"_s << 0;
        QTest::newRow("enter in a phrase") << u"x~"_s << u"x\n"_s << 0;
        QTest::newRow("unclosed brace") << u"{x"_s << QString() << 1;
        QTest::newRow("unknown key") << u"a{NOKEY}"_s << QString() << 1;
        QTest::newRow("open group") << u"(ab"_s << QString() << 1;
        QTest::newRow("its own key: ends") << u"x{F6}"_s << QString(9, u'x') << 1;
    }
    void phraseAsKeys()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, typed);
        QFETCH(int, beeps);
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        nb.setPref(28, phrase);
        QVERIFY(nb.start());
        QPlainTextEdit *box = nb.w().txtText[0];
        box->setFocus();
        key(nb, box, Qt::Key_F6);
        QCOMPARE(boxText(box), typed + u"text of a\n"_s);
        QCOMPARE(nb.state().TextEditMode, !typed.isEmpty());
        QCOMPARE(nb.messages.beeps, beeps);
        nb.w().mnuCallDate[0]->trigger();
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        QCOMPARE(boxText(box), typed + u"\u20ACtext of a\n"_s);
    }

    // What a selection leaves as a phrase, and the menu's how-to and clear.
    void phraseFromMenuAndSelection()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        nb.write(u"FileStore/Notes/a.txt"_s, {u"date"_s, u"one"_s, u"two"_s});
        nb.setPref(29, u"kept"_s);
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        selectText(nb, 3, 2); // the line break and "t"
        w.mnuSetTxtMemoSet[0]->trigger();
        QCOMPARE(nb.messages.shown.size(), 1);
        QCOMPARE(nb.messages.shown[0].title, u"How to save a phrase?"_s);
        QCOMPARE(nb.readLines(u"pref.dat"_s).mid(26, 4),
                 (QStringList{u"free"_s, u"free"_s, u"kept"_s, u"free"_s}));

        selectText(nb, 1, 5); // "ne", a line break, "tw"
        w.mnuSetTxtMemoSet[1]->trigger();
        QCOMPARE(nb.readLines(u"pref.dat"_s)[27], u"ne"_s);
        QVERIFY(w.mnuClearTxtMemos->isEnabled());
        w.mnuClearTxtMemos->trigger();
        QCOMPARE(nb.readLines(u"pref.dat"_s).mid(26, 4), QStringList(4, u"free"_s));
        QCOMPARE(w.mnuCallTxtMemoCall[2]->text(), u"Phrase &3  [F7]  =>  free"_s);
        QVERIFY(!w.mnuCallTxtMemoCall[2]->isEnabled());
        QVERIFY(!w.mnuClearTxtMemos->isEnabled());
    }

    // The separator lines of the Insert menu: titles without a file before the selected line.
    void separators_data()
    {
        QTest::addColumn<int>("k");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("line"); // as the list shows it; "" for none
        QTest::newRow("blanks") << 0 << QString() << QString(99, QChar::Nbsp) + u'.';
        QTest::newRow("equal signs") << 2 << QString() << QString(99, u'=');
        QTest::newRow("char line") << 3 << u"*ab"_s << QString(99, u'*') + u'.';
        QTest::newRow("char line of blanks") << 3 << u" x"_s << QString(99, QChar::Nbsp) + u'.';
        QTest::newRow("char line cancelled") << 3 << u"CANCEL"_s << QString();
        QTest::newRow("text") << 4 << u"-- week 3 --"_s << u"-- week 3 --"_s;
        QTest::newRow("text, one blank") << 4 << u" "_s << QString();
        QTest::newRow("text that is no name") << 4 << u"  ."_s << QString();
        // The same title would share the entry's file.
        QTest::newRow("text naming an entry") << 4 << u"c"_s << u"c_"_s;
    }
    void separators()
    {
        QFETCH(int, k);
        QFETCH(QString, answer);
        QFETCH(QString, line);
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a b c | Work"_s));
        nb.setPref(23, u"Work/"_s);
        QVERIFY(nb.start());
        select(nb, u"Notes/b"_s);
        if (answer == u"CANCEL"_s) {
            nb.whenShown(
                [](QWidget *dialog) { child<QPushButton>(dialog, u"cmdMain1"_s)->click(); });
        } else if (!answer.isNull()) {
            nb.answerInput(answer);
        }
        const auto files = nb.snapshot();
        nb.w().mnuInsertCall[k]->trigger();
        if (line.isEmpty()) {
            QCOMPARE(nb.snapshot(), files);
            QCOMPARE(selection(nb), u"Notes/b"_s);
            return;
        }
        const QString changed = u"Notes a "_s + OutDOS(line) + u" b c | Work"_s;
        QCOMPARE(index(nb), changed);
        QCOMPARE(AppFixture::lines(nb.w().lstEntry),
                 (QStringList{u"a"_s, line, u"b"_s, u"c"_s, u" "_s}));
        QCOMPARE(selection(nb), u"Notes/"_s + line);
        QCOMPARE(nb.w().lblDate->text(), u"File not present!"_s);
        QVERIFY(nb.state().FileMissing);
        QCOMPARE(boxText(nb.w().txtText[0]), QString());
        // No file to move: Ctrl+F5 says so.
        listKey(nb, Qt::Key_F5, Qt::ControlModifier);
        QCOMPARE(lastMessage(nb), u"Only real files can be moved !"_s);
        QCOMPARE(index(nb), changed);
    }

    // Each of the individual buttons types its keys into the entry list.
    void buttons_data()
    {
        QTest::addColumn<int>("b");
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("index");
        QTest::addColumn<QStringList>("memories");
        QTest::addColumn<int>("beeps");
        const QString nb = u"Notes a b | Trash | Work w"_s;
        QTest::newRow("free: only the focus")
            << 0 << QStringList{u"NORMAL"_s, u"free"_s, QString()} << nb
            << QStringList{u"Work/"_s, kFree, kFree, kFree} << 0;
        QTest::newRow("shift over two keys: memories 1 and 2 saved")
            << 1 << QStringList{u"SHIFT"_s, u"{F5}"_s, u"{F6}"_s} << nb
            << QStringList{u"Notes/b"_s, u"Notes/b"_s, kFree, kFree} << 0;
        QTest::newRow("the fourth button: Delete")
            << 3 << QStringList{u"NORMAL"_s, u"{DEL}"_s, QString()}
            << u"Notes a | Trash b | Work w"_s << QStringList{u"Work/"_s, kFree, kFree, kFree} << 0;
        QTest::newRow("malformed: nothing, a beep")
            << 3 << QStringList{u"NORMAL"_s, u"{F5"_s, QString()} << nb
            << QStringList{u"Work/"_s, kFree, kFree, kFree} << 1;
    }
    void buttons()
    {
        QFETCH(int, b);
        QFETCH(QStringList, fields);
        QFETCH(QString, index);
        QFETCH(QStringList, memories);
        QFETCH(int, beeps);
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a b | Trash | Work w"_s));
        nb.setPref(23, u"Work/"_s);
        for (int f = 0; f < 3; ++f)
            nb.setPref(31 + 3 * b + f, fields[f]);
        QVERIFY(nb.start());
        select(nb, u"Notes/b"_s);
        QPushButton *button = nb.w().cmdIndiv[b];
        QVERIFY(button->isVisible() && button->isEnabled());
        button->setFocus();
        button->click();
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        QCOMPARE(nb.window()->focusWidget(), nb.w().lstEntry);
        QCOMPARE(::index(nb), index);
        QCOMPARE(::memories(nb), memories);
        QCOMPARE(nb.messages.beeps, beeps);

        nb.w().chckEdit->setChecked(true);
        for (QPushButton *any : nb.w().cmdIndiv)
            QVERIFY(!any->isEnabled());
    }

    // frmIndiv shows all four buttons; OK stores them, New only fills the rows.
    void buttonDialog()
    {
        AppFixture nb;
        nb.setPref(31, u"^+"_s); // a modifier of the user's own, not in the list
        nb.setPref(32, u"{F5}"_s);
        QVERIFY(nb.start());
        const auto before = nb.read(u"pref.dat"_s);

        withButtonDialog(nb, [](QWidget *dialog) {
            QCOMPARE(dialog->windowTitle(), u"Individual Buttons"_s);
            QCOMPARE(child<QLabel>(dialog, u"lbl3"_s)->text(), u"Individual Button 4 :"_s);
            QCOMPARE(child<QComboBox>(dialog, u"cbo00"_s)->currentIndex(), -1);
            QCOMPARE(child<QComboBox>(dialog, u"cbo10"_s)->currentText(), u"{F5}"_s);
            QCOMPARE(child<QComboBox>(dialog, u"cbo13"_s)->count(), 54);
            child<QPushButton>(dialog, u"cmdMain2"_s)->click(); // New
            QCOMPARE(child<QComboBox>(dialog, u"cbo00"_s)->currentText(), u"NORMAL"_s);
            QCOMPARE(child<QComboBox>(dialog, u"cbo10"_s)->currentText(), u"free"_s);
            child<QPushButton>(dialog, u"cmdMain1"_s)->click(); // Cancel
        });
        QCOMPARE(nb.read(u"pref.dat"_s), before);
        QCOMPARE(nb.app().state().prefs.IndivButton[0][0], u"^+"_s);

        withButtonDialog(nb, [](QWidget *dialog) {
            child<QComboBox>(dialog, u"cbo03"_s)->setCurrentText(u"CTRL"_s);
            child<QComboBox>(dialog, u"cbo13"_s)->setCurrentText(u"{F8}"_s);
            child<QLineEdit>(dialog, u"txt3"_s)->setText(u"{F7}"_s);
            child<QPushButton>(dialog, u"cmdMain0"_s)->click(); // OK
        });
        QTRY_VERIFY(!QApplication::activeModalWidget());
        const QStringList lines = nb.readLines(u"pref.dat"_s);
        QCOMPARE(lines.mid(30, 3), (QStringList{u"^+"_s, u"{F5}"_s, QString()}));
        QCOMPARE(lines.mid(39, 3), (QStringList{u"CTRL"_s, u"{F8}"_s, u"{F7}"_s}));
        QCOMPARE(lines.size(), 43);
    }

    // pref.dat cannot be written: the report says so, the file keeps what it
    // had, and the value changed stays for this run.
    void storingFails_data()
    {
        QTest::addColumn<int>("what");
        QTest::newRow("memory") << 0;
        QTest::newRow("phrase") << 1;
        QTest::newRow("buttons") << 2;
    }
    void storingFails()
    {
        QFETCH(int, what);
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        QVERIFY(nb.start());
        const auto before = nb.read(u"pref.dat"_s);
        {
            const auto faults = FileFaults::failing(Sys::Op::Write, ENOSPC, 0, true);
            if (what == 0) {
                listKey(nb, Qt::Key_F8, Qt::ShiftModifier);
            } else if (what == 1) {
                selectText(nb, 0, 4);
                key(nb, nb.w().txtText[0], Qt::Key_F8, Qt::ShiftModifier);
            } else {
                withButtonDialog(nb, [](QWidget *dialog) {
                    child<QComboBox>(dialog, u"cbo12"_s)->setCurrentText(u"{F9}"_s);
                    child<QPushButton>(dialog, u"cmdMain0"_s)->click();
                });
                QTRY_VERIFY(!QApplication::activeModalWidget());
            }
        }
        QCOMPARE(nb.messages.shown.size(), 1);
        QVERIFY(nb.messages.shown[0].text.startsWith(kContinued));
        QVERIFY2(nb.messages.shown[0].text.contains(u"pref.dat"_s),
                 qPrintable(nb.messages.shown[0].text));
        QCOMPARE(nb.read(u"pref.dat"_s), before);
        const Preferences &prefs = nb.app().state().prefs;
        const QString kept[] = {prefs.PositionMemory[3], prefs.PhraseMemory[3],
                                prefs.IndivButton[2][1]};
        QCOMPARE(kept[what], (QStringList{u"Notes/a"_s, u"text"_s, u"{F9}"_s}[what]));
    }
};

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
