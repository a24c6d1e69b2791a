// Key strings: how they are read, and how they are typed into the program.

#include "platform/keyinjector_w.h"
#include "platform/keystring.h"
#include "platform/menubarkeys_w.h"
#include "support/testsupport.h"

#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

// "Shift+A=A Ctrl+F5": each stroke as its key combination, "=" and what it types.
QString describe(const QList<KeyStroke> &strokes)
{
    QStringList parts;
    for (const KeyStroke &s : strokes) {
        const QString combination = QKeySequence(QKeyCombination(s.modifiers, s.key)).toString();
        parts << (s.text.isEmpty() ? combination : combination + u'=' + s.text);
    }
    return parts.join(u' ');
}

// A File menu of A, a separator, B and C, an Edit menu, and a text box.
struct MenuWindow
{
    QMainWindow window;
    QMenu *file = nullptr;
    QPlainTextEdit *edit = new QPlainTextEdit;

    MenuWindow()
    {
        file = window.menuBar()->addMenu(u"&File"_s);
        file->addAction(u"A"_s);
        file->addSeparator();
        file->addAction(u"B"_s);
        file->addAction(u"C"_s);
        window.menuBar()->addMenu(u"&Edit"_s)->addAction(u"X"_s);
        window.setCentralWidget(edit);
        new MenuBarKeys(window.menuBar());
    }
};

} // namespace

class TestKeyInjector : public QObject
{
    Q_OBJECT

    RecordingMessages messages_;
    std::unique_ptr<KeyInjector> injector_;
    std::unique_ptr<MenuWindow> w_;

    void type(const QString &keys)
    {
        QVERIFY(injector_->send(keys));
        QTRY_VERIFY(!injector_->isBusy());
    }

private Q_SLOTS:
    void init()
    {
        messages_ = {};
        injector_ = std::make_unique<KeyInjector>(messages_);
        w_ = std::make_unique<MenuWindow>();
        w_->window.show();
        w_->window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w_->window));
        w_->edit->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), w_->edit);
    }

    void parse_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("strokes");
        QTest::newRow("ctrl, alt types nothing") << u"^{F5}%f"_s << u"Ctrl+F5 Alt+F"_s;
        QTest::newRow("shift over a group, then over one key")
            << u"+({F5}{F6})+{F7}{F8}"_s << u"Shift+F5 Shift+F6 Shift+F7 F8"_s;
        QTest::newRow("names in any case, repeat")
            << u"{end}{DEL}{PgDn}{LEFT 2}"_s << u"End Del=\x7f PgDown Left Left"_s;
        QTest::newRow("enter") << u"~{ENTER}"_s << u"Return=\r Return=\r"_s;
        QTest::newRow("escaped specials")
            << u"{+}{^}{%}{~}{(}{)}{{}{}}"_s << u"+=+ ^=^ %=% ~=~ (=( )=) {={ }=}"_s;
        QTest::newRow("characters") << u"Hi€Ä"_s << u"Shift+H=H I=i €=€ Shift+Ä=Ä"_s;
        QTest::newRow("shift tab is backtab") << u"+{TAB}"_s << u"Shift+Backtab=\t"_s;
        QTest::newRow("character outside the BMP")
            << u"\U0001F600"_s << QKeySequence(0x1F600).toString() + u"=\U0001F600"_s;
    }
    void parse()
    {
        QFETCH(QString, keys);
        QFETCH(QString, strokes);
        const KeyString parsed = parseKeyString(keys);
        QVERIFY2(parsed.isValid(), qPrintable(parsed.error));
        QCOMPARE(describe(parsed.strokes), strokes);
    }

    // A date or a time is typed as it reads, whatever characters the locale's forms hold.
    void escape_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("date") << u"02.01.03"_s;
        QTest::newRow("every special") << u"a+b^c%d~e(f)g{h}i[j]"_s;
        QTest::newRow("braces alone") << u"}{"_s;
        // A zero-width no-break space is no byte order mark in the middle of a text.
        QTest::newRow("zero-width no-break space") << u"\uFEFF1.\uFEFF2."_s;
    }
    void escape()
    {
        QFETCH(QString, text);
        const KeyString parsed = parseKeyString(escapeKeyString(text));
        QVERIFY2(parsed.isValid(), qPrintable(parsed.error));
        QString typed;
        for (const KeyStroke &stroke : parsed.strokes)
            typed += stroke.text;
        QCOMPARE(typed, text);
    }

    // Nothing is typed, not even the keys before the fault, and the user hears a beep.
    void malformed_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::newRow("unknown name") << u"ab{FOO}"_s;
        QTest::newRow("unclosed brace") << u"ab{F5"_s;
        QTest::newRow("unclosed group") << u"+(ab"_s;
        QTest::newRow("modifier at end") << u"ab^"_s;
        QTest::newRow("count past the limit") << u"{x 99999999999}"_s;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800));
    }
    void malformed()
    {
        QFETCH(QString, keys);
        QVERIFY(!injector_->send(keys));
        QCOMPARE(messages_.beeps, 1);
        QCoreApplication::processEvents();
        QCOMPARE(w_->edit->toPlainText(), QString());
    }

    // A key whose handler types a string that presses that key again (a
    // phrase holding its own key) ends after MaxNesting rounds, with a beep.
    void selfTypingKeyEnds()
    {
        struct Retyping : QObject
        {
            KeyInjector *injector;
            bool eventFilter(QObject *, QEvent *event) override
            {
                const bool f5 = event->type() == QEvent::KeyPress &&
                                static_cast<QKeyEvent *>(event)->key() == Qt::Key_F5;
                if (f5)
                    injector->send(u"a{F5}"_s);
                return f5;
            }
        } retyping;
        retyping.injector = injector_.get();
        w_->edit->installEventFilter(&retyping);
        type(u"{F5}"_s);
        QCOMPARE(w_->edit->toPlainText(), QString(KeyInjector::MaxNesting, u'a'));
        QCOMPARE(messages_.beeps, 1);
    }

    // After a double-click: the keys arrive once the sending handler has
    // returned, and "{END}" leaves the caret at the line end, nothing selected.
    void endAfterDoubleClick()
    {
        w_->edit->setPlainText(u"first line\nsecond"_s);
        QTextCursor cursor = w_->edit->textCursor();
        cursor.setPosition(2);
        cursor.setPosition(4, QTextCursor::KeepAnchor);
        w_->edit->setTextCursor(cursor);
        QVERIFY(injector_->send(u"{END}X"_s));
        QCOMPARE(w_->edit->toPlainText(), u"first line\nsecond"_s);
        QTRY_VERIFY(!injector_->isBusy());
        QCOMPARE(w_->edit->toPlainText(), u"first lineX\nsecond"_s);
    }

    // Esc in the entry list types "{F10}{UP}{UP}": F10 highlights File without
    // opening it (F10 again leaves the bar), Up opens it at its end, and the
    // second Up steps past the separator to B.
    void f10Menu()
    {
        QMenuBar *bar = w_->window.menuBar();
        type(u"{F10}"_s);
        QCOMPARE(bar->activeAction(), w_->file->menuAction());
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        type(u"{F10}"_s);
        QCOMPARE(bar->activeAction(), nullptr);
        type(u"{F10}{UP}{UP}"_s);
        QCOMPARE(QApplication::activePopupWidget(), w_->file);
        QCOMPARE(w_->file->activeAction()->text(), u"B"_s);
    }
};

QTEST_MAIN(TestKeyInjector)
#include "tst_keyinjector.moc"
