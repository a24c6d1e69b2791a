#include "i18n/wordtable.h"
#include "notebook/frmchange.h"
#include "notebook/frminput.h"
#include "store/appstate.h"
#include "support/testsupport.h"
#include "ui/twips.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestDialogs : public QObject
{
    Q_OBJECT

    WordTable table_;
    int language_ = 0;
    Words words_{table_, language_};

private Q_SLOTS:
    // A proposal of blanks only is not shown.
    void blankProposal()
    {
        AppState state;
        state.InputAnswer = u"   "_s;
        RecordingMessages messages;
        FrmInput dialog(state, words_, messages, nullptr);
        QCOMPARE(dialog.findChild<QLineEdit *>(u"txtInput"_s)->text(), QString());
    }

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
        RecordingMessages messages;
        FrmInput dialog(state, words_, messages, nullptr);
        dialog.show();
        auto *field = dialog.findChild<QLineEdit *>(u"txtInput"_s);
        QTest::keyClicks(field, typed);
        for (int key : keys)
            QTest::keyClick(field, Qt::Key(key));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(state.InputAnswer, expected);
    }

    void placement_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("lowerLeft");
        QTest::newRow("word 51: lower left, wide OK") << words_(51) << true;
        QTest::newRow("any other prompt: centred") << words_(54) << false;
    }
    void placement()
    {
        QFETCH(QString, prompt);
        QFETCH(bool, lowerLeft);
        QWidget mainWindow;
        mainWindow.setGeometry(200, 150, 900, 640);
        mainWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&mainWindow));
        AppState state;
        state.DialogPrompt = prompt;
        RecordingMessages messages;
        FrmInput dialog(state, words_, messages, &mainWindow);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        const QRect frame = dialog.frameGeometry();
        const QRect main = mainWindow.frameGeometry();
        const int okWidth = dialog.findChild<QPushButton *>(u"cmdMain0"_s)->width();
        // Rounding twips to pixels may move an edge by one pixel.
        auto near = [](int actual, int expected) { return qAbs(actual - expected) <= 1; };
        if (lowerLeft) {
            QVERIFY(near(frame.left(), main.left() + twipsToPixels(100, dialog.logicalDpiX())));
            QVERIFY(near(frame.bottom(), main.bottom() - twipsToPixels(100, dialog.logicalDpiY())));
        } else {
            QVERIFY(near(frame.center().x(), main.center().x()));
            QVERIFY(near(frame.center().y(), main.center().y()));
        }
        QVERIFY(near(okWidth, twipsToPixels(lowerLeft ? 2535 : 975, dialog.logicalDpiX())));
    }

    // The refusal names the character, a whole one even outside the basic plane.
    void unencodableRefused()
    {
        AppState state;
        RecordingMessages messages;
        FrmInput dialog(state, words_, messages, nullptr);
        auto *field = dialog.findChild<QLineEdit *>(u"txtInput"_s);
        field->insert(u"x\U0001F600"_s);
        QCOMPARE(field->text(), QString());
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
