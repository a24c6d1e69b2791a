// What the key map's table (tst_keymap) cannot hold: phrases of key strings,
// a memory left by a group whose title holds "/", the individual buttons'
// dialog.

#include "support/appfixture.h"
#include "support/notebookline.h"

#include "platform/keyinjector_w.h"
#include "platform/keystring.h"
#include "store/appstate.h"
#include "ui/codepagetextedit_w.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void key(AppFixture &nb, QWidget *control, int key, Qt::KeyboardModifiers modifiers = {})
{
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key), modifiers);
    QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
}

// Runs `act` on frmIndiv once the Options menu has opened it.
void withButtonDialog(AppFixture &nb, const std::function<void(QWidget *)> &act)
{
    nb.whenShown(act);
    nb.w().mnuSettings[2]->trigger();
    QTRY_VERIFY(!QApplication::activeModalWidget());
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
    // Phrases are key strings: their specials act as keys; a malformed one
    // types nothing and beeps, as does one that presses its own key for ever.
    void phraseAsKeys_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("typed"); // before "text of a"
        QTest::newRow("shift and enter") << u"a+b~"_s << u"aB\n"_s;
        QTest::newRow("unclosed brace") << u"{x"_s << QString();
        QTest::newRow("its own key") << u"x{F6}"_s << QString(9, u'x');
    }
    void phraseAsKeys()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, typed);
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        nb.setPref(28, phrase);
        QVERIFY(nb.start());
        QPlainTextEdit *box = nb.w().txtText[0];
        key(nb, box, Qt::Key_F6);
        QCOMPARE(boxText(box), typed + u"text of a\n"_s);
        QCOMPARE(nb.messages.beeps, typed.startsWith(u'a') ? 0 : 1);
        nb.w().mnuCallDate[0]->trigger(); // the euro sign, typed as a character
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        QCOMPARE(boxText(box), typed + u"\u20ACtext of a\n"_s);
    }

    // A phrase of more keys than are typed at a time types nothing and says
    // so; Esc stops one being typed, and only that.
    void longPhrase()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        const QString most = u"{x 1000}"_s.repeated(MaxStrokes / 1000);
        nb.setPref(27, most + u"y"_s);
        nb.setPref(28, most);
        QVERIFY(nb.start());
        QPlainTextEdit *box = nb.w().txtText[0];
        key(nb, box, Qt::Key_F5);
        QCOMPARE(boxText(box), u"text of a\n"_s);
        QCOMPARE(nb.messages.shown.size(), 1);
        QVERIFY(nb.messages.shown[0].text.contains(QString::number(MaxStrokes)));
        QTest::keyClick(box, Qt::Key_F6);
        QTRY_VERIFY(boxText(box).startsWith(u'x'));
        QVERIFY(nb.window()->keyInjector().isBusy());
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!nb.window()->keyInjector().isBusy());
        QVERIFY(boxText(box).size() < MaxStrokes);
        QVERIFY(nb.state().TextEditMode);
    }

    // A group whose title holds "/" leaves memories that the split at the
    // first "/" reads as group Work: the keys, as the menus, never take them
    // to Work.
    void slashInAGroupTitle()
    {
        AppFixture nb;
        nb.writeNotebook({{u"Work"_s, u"w"_s}, {u"Work/Home"_s, u"Plans"_s, u"Bills"_s}});
        nb.setPref(24, u"Work/"_s);
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        AppFixture::click(w.lstGroup, u"Work/Home"_s);
        AppFixture::click(w.lstEntry, u"Plans"_s);
        key(nb, w.lstEntry, Qt::Key_F5, Qt::ShiftModifier);
        QCOMPARE(nb.app().state().prefs.PositionMemory[0], u"Work/Home/Plans"_s);
        AppFixture::click(w.lstEntry, u"Bills"_s);
        key(nb, w.lstEntry, Qt::Key_F6, Qt::ControlModifier); // moved, from Work/Home
        QCOMPARE(selection(nb), u"Work/Bills"_s);
        select(nb, u"Work/w"_s);
        key(nb, w.lstEntry, Qt::Key_F5);
        key(nb, w.lstEntry, Qt::Key_F9);
        QCOMPARE(selection(nb), u"Work/w"_s);
        QCOMPARE(nb.messages.beeps, 1);
        QCOMPARE(nb.app().state().prefs.PositionMemory[0], u"Work/Home/Plans"_s);
    }

    // frmIndiv shows all four buttons; New only fills the rows, Cancel keeps
    // nothing, OK stores them, NORMAL chosen again among them.
    void buttonDialog()
    {
        AppFixture nb;
        nb.setPref(31, u"SHIFT"_s);
        nb.setPref(32, u"{F5}"_s);
        nb.setPref(34, u"^+"_s); // a modifier of the user's own, not in the list
        QVERIFY(nb.start());
        const auto before = nb.read(u"pref.dat"_s);
        withButtonDialog(nb, [](QWidget *dialog) {
            QCOMPARE(child<QComboBox>(dialog, u"cbo01"_s)->currentIndex(), -1);
            QCOMPARE(child<QComboBox>(dialog, u"cbo10"_s)->currentText(), u"{F5}"_s);
            QCOMPARE(child<QComboBox>(dialog, u"cbo13"_s)->count(), 54);
            child<QPushButton>(dialog, u"cmdMain2"_s)->click(); // New
            QCOMPARE(child<QComboBox>(dialog, u"cbo10"_s)->currentText(), u"free"_s);
            child<QPushButton>(dialog, u"cmdMain1"_s)->click(); // Cancel
        });
        QCOMPARE(nb.read(u"pref.dat"_s), before);
        withButtonDialog(nb, [](QWidget *dialog) {
            child<QComboBox>(dialog, u"cbo00"_s)->setCurrentText(u"NORMAL"_s);
            child<QComboBox>(dialog, u"cbo03"_s)->setCurrentText(u"CTRL"_s);
            child<QComboBox>(dialog, u"cbo13"_s)->setCurrentText(u"{F8}"_s);
            child<QLineEdit>(dialog, u"txt3"_s)->setText(u"{F7}"_s);
            child<QPushButton>(dialog, u"cmdMain0"_s)->click(); // OK
        });
        const QStringList lines = nb.readLines(u"pref.dat"_s);
        QCOMPARE(lines.mid(30, 5),
                 (QStringList{u"NORMAL"_s, u"{F5}"_s, QString(), u"^+"_s, u"free"_s}));
        QCOMPARE(lines.mid(39, 4), (QStringList{u"CTRL"_s, u"{F8}"_s, u"{F7}"_s, u" 0"_s}));
    }
};

QTEST_MAIN(tst_Keyboard)
#include "tst_keyboard.moc"
