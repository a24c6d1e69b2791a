// The input and choice dialogs on their own: what an answer becomes, the
// keys of the individual mode, the refused characters, and the chosen line
// mapped back to the main window's group line.

#include "i18n/wordtable.h"
#include "notebook/frmchange.h"
#include "notebook/frminput.h"
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
        QTest::addColumn<std::optional<QString>>("expected");
        using Answer = std::optional<QString>;
        QTest::newRow("trailing blanks removed, leading kept")
            << words_(51) << u"  abc   "_s << QList<int>{Qt::Key_Return} << Answer(u"  abc"_s);
        QTest::newRow("individual mode: Esc does nothing, Enter confirms")
            << words_(55) << u"abc"_s << QList<int>{Qt::Key_Escape, Qt::Key_Enter}
            << Answer(u"abc"_s);
        QTest::newRow("CANCEL typed is an answer like any other")
            << words_(52) << u"CANCEL"_s << QList<int>{Qt::Key_Return} << Answer(u"CANCEL"_s);
        QTest::newRow("Esc cancels")
            << words_(52) << u"abc"_s << QList<int>{Qt::Key_Escape} << Answer();
    }
    void answer()
    {
        QFETCH(QString, prompt);
        QFETCH(QString, typed);
        QFETCH(QList<int>, keys);
        QFETCH(std::optional<QString>, expected);
        RecordingMessages messages;
        FrmInput dialog(prompt, u"   "_s, words_, messages, nullptr);
        dialog.show();
        auto *field = dialog.findChild<QLineEdit *>(u"txtInput"_s);
        QCOMPARE(field->text(), QString());
        QTest::keyClicks(field, typed);
        for (int key : keys)
            QTest::keyClick(field, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.answer(), expected);
        // The refusal names the character, a whole one even outside the basic plane.
        FrmInput again(prompt, QString(), words_, messages, nullptr);
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
        QTest::newRow("OK with nothing selected") << QList<int>{Qt::Key_Return} << QString() << -1;
    }
    void choose()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, doubleClicked);
        QFETCH(int, expected);
        const QStringList groups{u"Alpha"_s, u"Notes"_s, u"Trash"_s, u"Work"_s};
        FrmChange dialog(words_(10), words_, groups, 1, nullptr);
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
        QCOMPARE(dialog.chosenLine().value_or(-1), expected);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
