// The input and choice dialogs on their own: what an answer becomes, the
// keys of the individual mode, the refused characters, and the chosen line
// mapped back to the main window's group line.

#include "i18n/wordtable.h"
#include "notebook/frmchange.h"
#include "notebook/frminput.h"
#include "store/appstate.h"
#include "support/testsupport.h"

#include <QLineEdit>
#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDialogs : public QObject
{
    Q_OBJECT

    WordTable table_;
    int language_ = 0;
    Words words_{table_, language_};

private Q_SLOTS:
    // A proposal of blanks only is not shown; trailing blanks of an answer
    // go, leading ones stay. The individual prompt (word 55) ignores Esc.
    void answer_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("expected");
        QTest::newRow("trailing blanks removed, leading kept")
            << words_(51) << u"  abc   "_s << QList<int>{Qt::Key_Return} << u"  abc"_s;
        QTest::newRow("individual mode: Esc does nothing, Enter confirms")
            << words_(55) << u"abc"_s << QList<int>{Qt::Key_Escape, Qt::Key_Enter} << u"abc"_s;
    }
    void answer()
    {
        QFETCH(QString, prompt);
        QFETCH(QString, typed);
        QFETCH(QList<int>, keys);
        QFETCH(QString, expected);
        AppState state;
        state.DialogPrompt = prompt;
        state.InputAnswer = u"   "_s;
        RecordingMessages messages;
        FrmInput dialog(state, words_, messages, nullptr);
        dialog.show();
        auto *field = dialog.findChild<QLineEdit *>(u"txtInput"_s);
        QCOMPARE(field->text(), QString());
        QTest::keyClicks(field, typed);
        for (int key : keys)
            QTest::keyClick(field, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state.InputAnswer, expected);
        // The refusal names the character, a whole one even outside the basic plane.
        FrmInput again(state, words_, messages, nullptr);
        again.findChild<QLineEdit *>(u"txtInput"_s)->insert(u"\U0001F600"_s);
        QTRY_COMPARE(messages.shown.size(), 1);
        QVERIFY(messages.shown[0].text.contains(u"\U0001F600"_s));
    }

    // Groups Alpha, Notes (selected, so not offered), Trash, Work: the chosen
    // line maps back to its group's line in the main window.
    void choose_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("doubleClicked");
        QTest::addColumn<int>("expected");
        QTest::newRow("first Down selects the first line")
            << QList<int>{Qt::Key_Down, Qt::Key_Return} << QString() << 0;
        QTest::newRow("the selected group is left out")
            << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Return} << QString() << 2;
        QTest::newRow("double-click") << QList<int>{} << u"Work"_s << 3;
        QTest::newRow("Esc") << QList<int>{Qt::Key_Down, Qt::Key_Escape} << QString() << -1;
    }
    void choose()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, doubleClicked);
        QFETCH(int, expected);
        AppState state;
        state.ChosenGroupIndex = 7; // left from an earlier choice
        const QStringList groups{u"Alpha"_s, u"Notes"_s, u"Trash"_s, u"Work"_s};
        FrmChange dialog(state, words_, groups, 1, nullptr);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *list = dialog.findChild<QListWidget *>(u"lstList"_s);
        for (int key : keys)
            QTest::keyClick(list, Qt::Key(key));
        if (!doubleClicked.isEmpty()) {
            const QListWidgetItem *item = list->findItems(doubleClicked, Qt::MatchExactly).first();
            const QPoint at = list->visualItemRect(item).center();
            // A double-click is a click followed by the second press.
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
        }
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state.ChosenGroupIndex, expected);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
