#include "i18n/wordtable.h"
#include "notebook/frmchange.h"
#include "notebook/frminput.h"
#include "store/appstate.h"
#include "support/testsupport.h"
#include "ui/twips.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Runs `act` on the modal dialog once it is up. A dialog that `act` leaves open is
// closed, so a failing step reports instead of hanging the run.
class ModalDriver
{
public:
    explicit ModalDriver(std::function<void(QDialog *)> act)
    {
        QTimer::singleShot(0, [this, act] {
            auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            found = true;
            act(dialog);
            if (dialog->isVisible()) {
                leftOpen = true;
                dialog->reject();
            }
        });
    }
    bool found = false;
    bool leftOpen = false;
};

template <typename T>
T *child(QWidget *dialog, const QString &name)
{
    return dialog->findChild<T *>(name);
}

// Enter and Esc reach the dialog as real key presses in the focused field.
void press(QWidget *dialog, Qt::Key key)
{
    QWidget *target = QApplication::focusWidget();
    QTest::keyClick(target && dialog->isAncestorOf(target) ? target : dialog, key);
}

} // namespace

class TestDialogs : public QObject
{
    Q_OBJECT

    WordTable table_;
    int language_ = 0;
    Words words_{table_, language_};

    QLineEdit *input(QWidget *dialog) { return child<QLineEdit>(dialog, u"txtInput"_s); }
    QListWidget *list(QWidget *dialog) { return child<QListWidget>(dialog, u"lstList"_s); }

private Q_SLOTS:
    void proposal_data()
    {
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("none") << QString() << QString();
        QTest::newRow("only blanks are not shown") << u"   "_s << QString();
        QTest::newRow("shown and selected") << u"first line"_s << u"first line"_s;
        QTest::newRow("shown untrimmed") << u"  first line "_s << u"  first line "_s;
    }

    void proposal()
    {
        QFETCH(QString, proposed);
        QFETCH(QString, shown);
        AppState state;
        state.DialogPrompt = u"Change Entry Title"_s;
        state.InputAnswer = proposed;
        RecordingMessages messages;
        FrmInput dialog(state, words_, messages, nullptr);

        QCOMPARE(dialog.windowTitle(), u"Change Entry Title"_s);
        QCOMPARE(input(&dialog)->text(), shown);
        QCOMPARE(input(&dialog)->selectedText(), shown);
        QCOMPARE(child<QPushButton>(&dialog, u"cmdMain0"_s)->text(), u"&OK"_s);
        QCOMPARE(child<QPushButton>(&dialog, u"cmdMain1"_s)->text(), u"&Cancel"_s);
    }

    void answer_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<QString>("proposed");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("finish"); // a key, or the button to click
        QTest::addColumn<QString>("expected");

        const QString title = u"Entry Title"_s;
        QTest::newRow("trailing blanks removed, leading kept")
            << title << QString() << u"  abc   "_s << u"Enter"_s << u"  abc"_s;
        QTest::newRow("typing replaces the proposal")
            << title << u"old"_s << u"new"_s << u"Enter"_s << u"new"_s;
        QTest::newRow("proposal taken as it is")
            << title << u"Meeting"_s << QString() << u"Enter"_s << u"Meeting"_s;
        QTest::newRow("only blanks give an empty answer")
            << title << QString() << u"   "_s << u"Enter"_s << QString();
        QTest::newRow("OK button") << title << QString() << u"x "_s << u"cmdMain0"_s << u"x"_s;
        QTest::newRow("Esc cancels") << title << u"old"_s << u"x"_s << u"Esc"_s << u"CANCEL"_s;
        QTest::newRow("Cancel button")
            << title << u"old"_s << u"x"_s << u"cmdMain1"_s << u"CANCEL"_s;
        QTest::newRow("individual mode: Enter confirms")
            << u"Insert Individual"_s << QString() << u"*"_s << u"Enter"_s << u"*"_s;
        QTest::newRow("individual mode: the button still cancels")
            << u"Insert Individual"_s << QString() << u"*"_s << u"cmdMain1"_s << u"CANCEL"_s;
    }

    void answer()
    {
        QFETCH(QString, prompt);
        QFETCH(QString, proposed);
        QFETCH(QString, typed);
        QFETCH(QString, finish);
        QFETCH(QString, expected);

        AppState state;
        state.DialogPrompt = prompt;
        state.InputAnswer = proposed;
        RecordingMessages messages;
        ModalDriver driver([&](QDialog *dialog) {
            QTest::keyClicks(input(dialog), typed);
            if (finish == u"Enter"_s)
                press(dialog, Qt::Key_Return);
            else if (finish == u"Esc"_s)
                press(dialog, Qt::Key_Escape);
            else
                child<QPushButton>(dialog, finish)->click();
        });
        FrmInput::run(state, words_, messages, nullptr);

        QVERIFY(driver.found);
        QVERIFY(!driver.leftOpen);
        QCOMPARE(state.InputAnswer, expected);
        QVERIFY(messages.shown.isEmpty());
    }

    void individualModeIgnoresEsc_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::newRow("word 55") << StripAmp(WordTable::english(55));
        QTest::newRow("any letter case") << u"My INDIVIDUAL text"_s;
    }

    void individualModeIgnoresEsc()
    {
        QFETCH(QString, prompt);
        AppState state;
        state.DialogPrompt = prompt;
        RecordingMessages messages;
        bool openAfterEsc = false;
        ModalDriver driver([&](QDialog *dialog) {
            QTest::keyClicks(input(dialog), u"abc"_s);
            press(dialog, Qt::Key_Escape);
            openAfterEsc = dialog->isVisible();
            press(dialog, Qt::Key_Enter);
        });
        FrmInput::run(state, words_, messages, nullptr);

        QVERIFY(openAfterEsc);
        QVERIFY(!driver.leftOpen);
        QCOMPARE(state.InputAnswer, u"abc"_s);
    }

    void closeBoxKeepsTheCallersAnswer()
    {
        AppState state;
        state.DialogPrompt = u"Name of New Group"_s;
        state.InputAnswer = u"proposed"_s;
        RecordingMessages messages;
        ModalDriver driver([](QDialog *dialog) {
            QTest::keyClicks(dialog->findChild<QLineEdit *>(u"txtInput"_s), u"typed"_s);
            dialog->close();
        });
        FrmInput::run(state, words_, messages, nullptr);
        QVERIFY(!driver.leftOpen);
        QCOMPARE(state.InputAnswer, u"proposed"_s);
    }

    void placement_data()
    {
        QTest::addColumn<QString>("prompt");
        QTest::addColumn<bool>("lowerLeft");
        QTest::newRow("entry title: lower left") << u"Entry Title"_s << true;
        QTest::newRow("any other prompt: centred") << u"Change Entry Title"_s << false;
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
        QRect dialogFrame;
        QRect okButton;
        int dpiX = 0;
        int dpiY = 0;
        ModalDriver driver([&](QDialog *dialog) {
            dialogFrame = dialog->frameGeometry();
            okButton = child<QPushButton>(dialog, u"cmdMain0"_s)->geometry();
            dpiX = dialog->logicalDpiX();
            dpiY = dialog->logicalDpiY();
            dialog->reject();
        });
        FrmInput::run(state, words_, messages, &mainWindow);
        QVERIFY(driver.found);

        const QRect main = mainWindow.frameGeometry();
        // Rounding twips to pixels may move an edge by one pixel.
        auto near = [](int actual, int expected) { return qAbs(actual - expected) <= 1; };
        if (lowerLeft) {
            QVERIFY(near(dialogFrame.left(), main.left() + twipsToPixels(100, dpiX)));
            QVERIFY(near(dialogFrame.bottom(), main.bottom() - twipsToPixels(100, dpiY)));
            QCOMPARE(okButton.left(), twipsToPixels(120, dpiX));
            QVERIFY(near(okButton.width(), twipsToPixels(2535, dpiX)));
        } else {
            QVERIFY(near(dialogFrame.center().x(), main.center().x()));
            QVERIFY(near(dialogFrame.center().y(), main.center().y()));
            QCOMPARE(okButton.left(), twipsToPixels(1680, dpiX));
            QVERIFY(near(okButton.width(), twipsToPixels(975, dpiX)));
        }
    }

    void codePage_data()
    {
        QTest::addColumn<QString>("entered");
        QTest::addColumn<bool>("typed"); // a key press, else pasted
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("refused"); // the character named, or none

        QTest::newRow("typed outside the code page")
            << u"\u0101"_s << true << u"ab"_s << u"\u0101"_s;
        QTest::newRow("pasted with one character outside")
            << u"x\u4E2Dy"_s << false << u"ab"_s << u"\u4E2D"_s;
        QTest::newRow("pasted character outside the basic plane")
            << u"\U0001F600"_s << false << u"ab"_s << u"\U0001F600"_s;
        QTest::newRow("euro, y diaeresis and acute accent are taken")
            << u"\u20AC\u00FF\u00B4"_s << false << u"ab\u20AC\u00FF\u00B4"_s << QString();
    }

    void codePage()
    {
        QFETCH(QString, entered);
        QFETCH(bool, typed);
        QFETCH(QString, expected);
        QFETCH(QString, refused);

        AppState state;
        state.DialogPrompt = u"Entry Title"_s;
        state.InputAnswer = u"ab"_s;
        RecordingMessages messages;
        FrmInput dialog(state, words_, messages, nullptr);
        QLineEdit *field = input(&dialog);
        field->end(false);
        if (typed) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, entered);
            QApplication::sendEvent(field, &key);
        } else {
            field->insert(entered);
        }
        QCOMPARE(field->text(), expected);

        if (refused.isEmpty()) {
            QTest::qWait(10);
            QVERIFY(messages.shown.isEmpty());
        } else {
            QTRY_COMPARE(messages.shown.size(), 1);
            QCOMPARE(messages.shown[0].title, u"Caution!"_s);
            QVERIFY(messages.shown[0].text.contains(refused));
            // The field goes on taking what it can hold.
            QTest::keyClicks(field, u"c"_s);
            QCOMPARE(field->text(), expected + u"c"_s);
        }
    }

    void choiceList_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("selectedLine");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("preselected");

        const QStringList groups{u"Alpha"_s, u"Notes"_s, u"Trash"_s, u"Work"_s};
        QTest::newRow("selected group left out")
            << groups << 1 << QStringList{u"Alpha"_s, u"Trash"_s, u"Work"_s} << QString();
        QTest::newRow("a group named like the hint is preselected")
            << QStringList{u"B"_s, u"Select a Group"_s} << 0 << QStringList{u"Select a Group"_s}
            << u"Select a Group"_s;
    }

    void choiceList()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, selectedLine);
        QFETCH(QStringList, offered);
        QFETCH(QString, preselected);

        AppState state;
        state.DialogPrompt = u"Change Group"_s;
        state.ChosenGroupIndex = 7;
        FrmChange dialog(state, words_, lines, selectedLine, nullptr);

        QListWidget *lst = list(&dialog);
        QStringList shown;
        for (int i = 0; i < lst->count(); ++i)
            shown.append(lst->item(i)->text());
        QCOMPARE(shown, offered);
        const QList<QListWidgetItem *> selected = lst->selectedItems();
        QCOMPARE(selected.isEmpty() ? QString() : selected.first()->text(), preselected);
        QCOMPARE(state.ChosenGroupIndex, -1);
        QCOMPARE(dialog.windowTitle(), u"Change Group"_s);
        QCOMPARE(child<QLabel>(&dialog, u"lbl0"_s)->text(), u"(Check also drag && drop)"_s);
    }

    void choose_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("selectedLine");
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("expected");

        const QStringList groups{u"Alpha"_s, u"Notes"_s, u"Trash"_s, u"Work"_s};
        QTest::newRow("first Down selects the first line, Enter")
            << groups << 1 << u"Down Enter"_s << 0;
        QTest::newRow("two Downs, Enter") << groups << 1 << u"Down Down Enter"_s << 2;
        QTest::newRow("OK button") << groups << 1 << u"Down Down Down cmdMain0"_s << 3;
        QTest::newRow("double-click") << groups << 1 << u"dblclick:Work"_s << 3;
        QTest::newRow("Esc") << groups << 1 << u"Down Esc"_s << -1;
        QTest::newRow("Cancel button") << groups << 1 << u"Down cmdMain1"_s << -1;
        QTest::newRow("Enter with nothing selected") << groups << 1 << u"Enter"_s << -1;
        QTest::newRow("close box") << groups << 1 << u"Down close"_s << -1;
        QTest::newRow("equal names: the last line wins")
            << QStringList{u"A"_s, u"A"_s, u"B"_s} << 2 << u"Down Enter"_s << 1;
    }

    void choose()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, selectedLine);
        QFETCH(QString, action);
        QFETCH(int, expected);

        AppState state;
        state.DialogPrompt = u"Change Group"_s;
        ModalDriver driver([&](QDialog *dialog) {
            QListWidget *lst = list(dialog);
            lst->setFocus();
            for (const QString &step : action.split(u' ')) {
                if (step == u"Down"_s) {
                    QTest::keyClick(lst, Qt::Key_Down);
                } else if (step == u"Enter"_s) {
                    QTest::keyClick(lst, Qt::Key_Return);
                } else if (step == u"Esc"_s) {
                    QTest::keyClick(lst, Qt::Key_Escape);
                } else if (step == u"close"_s) {
                    dialog->close();
                } else if (step.startsWith(u"dblclick:"_s)) {
                    const auto items = lst->findItems(step.mid(9), Qt::MatchExactly);
                    QCOMPARE(items.size(), 1);
                    const QPoint at = lst->visualItemRect(items.first()).center();
                    // A double-click is a click followed by the second press.
                    QTest::mouseClick(lst->viewport(), Qt::LeftButton, {}, at);
                    QTest::mouseDClick(lst->viewport(), Qt::LeftButton, {}, at);
                } else {
                    child<QPushButton>(dialog, step)->click();
                }
            }
        });
        FrmChange::run(state, words_, lines, selectedLine, nullptr);

        QVERIFY(driver.found);
        QVERIFY(!driver.leftOpen);
        QCOMPARE(state.ChosenGroupIndex, expected);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
