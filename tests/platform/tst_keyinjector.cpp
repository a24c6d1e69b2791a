#include "platform/keyinjector_w.h"
#include "platform/menubarkeys_w.h"
#include "support/testsupport.h"

#include <QAction>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Calls a handler for every key event a widget receives, and logs them as
// "+Ctrl+F5" (press) and "-Ctrl+F5" (release).
class KeyWatch : public QObject
{
public:
    explicit KeyWatch(QWidget *w) { w->installEventFilter(this); }
    std::function<void(QKeyEvent *)> onPress;
    QStringList log;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease)
            return false;
        auto *k = static_cast<QKeyEvent *>(e);
        const bool press = e->type() == QEvent::KeyPress;
        const bool modifierKey = k->key() == Qt::Key_Shift || k->key() == Qt::Key_Control ||
                                 k->key() == Qt::Key_Alt;
        const QKeyCombination shown =
            modifierKey ? QKeyCombination(Qt::Key(k->key())) : k->keyCombination();
        log << (press ? u"+"_s : u"-"_s) + QKeySequence(shown).toString();
        if (press && onPress)
            onPress(k);
        return false;
    }
};

void showActive(QWidget *w, QWidget *focus)
{
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
    focus->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), focus);
}

} // namespace

class TestKeyInjector : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void typesAfterTheHandlerReturns();
    void endClearsSelection();
    void modifiersAroundKeys_data();
    void modifiersAroundKeys();
    void shortcutsTakeTheirKeys();
    void followsTheFocus();
    void keysGoIntoAModalDialog();
    void delayed();
    void malformedTypesNothing_data();
    void malformedTypesNothing();
    void f10Menu_data();
    void f10Menu();
    void realF10();

private:
    void type(const QString &keys);

    RecordingMessages messages_;
    std::unique_ptr<KeyInjector> injector_;
    std::unique_ptr<QWidget> window_;
    QPlainTextEdit *edit_ = nullptr;
};

void TestKeyInjector::init()
{
    messages_ = {};
    injector_ = std::make_unique<KeyInjector>(messages_);
    window_ = std::make_unique<QWidget>();
    edit_ = new QPlainTextEdit(window_.get());
    auto *layout = new QVBoxLayout(window_.get());
    layout->addWidget(edit_);
    showActive(window_.get(), edit_);
}

void TestKeyInjector::cleanup()
{
    window_.reset();
    injector_.reset();
}

void TestKeyInjector::type(const QString &keys)
{
    QVERIFY(injector_->send(keys));
    QTRY_VERIFY(!injector_->isBusy());
}

void TestKeyInjector::typesAfterTheHandlerReturns()
{
    QVERIFY(injector_->send(u"ab{LEFT}X"_s));
    QCOMPARE(edit_->toPlainText(), QString());
    QTRY_VERIFY(!injector_->isBusy());
    QCOMPARE(edit_->toPlainText(), u"aXb"_s);
    type(u"{END}+{LEFT 2}€Ä"_s);
    QCOMPARE(edit_->toPlainText(), u"a€Ä"_s);
}

void TestKeyInjector::endClearsSelection()
{
    edit_->setPlainText(u"first line\nsecond"_s);
    QTextCursor cursor = edit_->textCursor();
    cursor.setPosition(2);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    edit_->setTextCursor(cursor);
    type(u"{END}"_s);
    QCOMPARE(edit_->textCursor().position(), 10);
    QVERIFY(!edit_->textCursor().hasSelection());
}

void TestKeyInjector::modifiersAroundKeys_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("events");

    QTest::newRow("ctrl F5") << u"^{F5}"_s
                             << QStringList{u"+Control"_s, u"+Ctrl+F5"_s, u"-Ctrl+F5"_s,
                                            u"-Control"_s};
    QTest::newRow("shift held over a group")
        << u"+({F5}{F6})"_s
        << QStringList{u"+Shift"_s, u"+Shift+F5"_s, u"-Shift+F5"_s, u"+Shift+F6"_s,
                       u"-Shift+F6"_s, u"-Shift"_s};
    QTest::newRow("capital, then small")
        << u"Ab"_s
        << QStringList{u"+Shift"_s, u"+Shift+A"_s, u"-Shift+A"_s, u"-Shift"_s, u"+B"_s, u"-B"_s};
}

void TestKeyInjector::modifiersAroundKeys()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, events);
    KeyWatch watch(edit_);
    type(keys);
    QCOMPARE(watch.log, events);
}

void TestKeyInjector::shortcutsTakeTheirKeys()
{
    auto *action = new QAction(window_.get());
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F5));
    window_->addAction(action);
    int triggered = 0;
    connect(action, &QAction::triggered, this, [&triggered] { ++triggered; });
    KeyWatch watch(edit_);
    type(u"^{F5}x"_s);
    QCOMPARE(triggered, 1);
    QVERIFY(!watch.log.contains(u"+Ctrl+F5"_s));
    QCOMPARE(edit_->toPlainText(), u"x"_s);
}

void TestKeyInjector::followsTheFocus()
{
    auto *first = new QLineEdit(window_.get());
    auto *second = new QLineEdit(window_.get());
    window_->layout()->addWidget(first);
    window_->layout()->addWidget(second);
    first->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), first);
    KeyWatch watch(first);
    watch.onPress = [second](QKeyEvent *) { second->setFocus(); };
    type(u"xyz"_s);
    QCOMPARE(first->text(), u"x"_s);
    QCOMPARE(second->text(), u"yz"_s);
}

void TestKeyInjector::keysGoIntoAModalDialog()
{
    QString answer;
    KeyWatch watch(edit_);
    watch.onPress = [&](QKeyEvent *k) {
        if (k->key() != Qt::Key_F2)
            return;
        QDialog dialog(window_.get());
        auto *line = new QLineEdit(&dialog);
        connect(line, &QLineEdit::returnPressed, &dialog, &QDialog::accept);
        QTimer::singleShot(5000, &dialog, &QDialog::reject); // never hang the test
        if (dialog.exec() == QDialog::Accepted)
            answer = line->text();
        // The offscreen platform has no window manager to activate the window
        // again; until then the keys after the dialog wait.
        QTimer::singleShot(100, window_.get(), [this] { window_->activateWindow(); });
    };
    type(u"{F2}abc~x"_s);
    QCOMPARE(answer, u"abc"_s);
    QTRY_COMPARE(edit_->toPlainText(), u"x"_s);
}

void TestKeyInjector::delayed()
{
    QVERIFY(injector_->send(u"x"_s, 200ms));
    QCoreApplication::processEvents();
    QVERIFY(injector_->isBusy());
    QCOMPARE(edit_->toPlainText(), QString());
    QTRY_COMPARE(edit_->toPlainText(), u"x"_s);
}

void TestKeyInjector::malformedTypesNothing_data()
{
    QTest::addColumn<QString>("keys");
    QTest::newRow("unknown key") << u"ab{FOO}"_s;
    QTest::newRow("unclosed brace") << u"ab{END"_s;
    QTest::newRow("unclosed group") << u"+(ab"_s;
    QTest::newRow("modifier at end") << u"ab^"_s;
}

void TestKeyInjector::malformedTypesNothing()
{
    QFETCH(QString, keys);
    QVERIFY(!injector_->send(keys));
    QCOMPARE(messages_.beeps, 1);
    QVERIFY(!injector_->isBusy());
    QCoreApplication::processEvents();
    QCOMPARE(edit_->toPlainText(), QString());
}

namespace {

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

void TestKeyInjector::f10Menu_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<bool>("barActive");
    QTest::addColumn<QString>("openItem"); // the active item of the open File menu, or none

    QTest::newRow("F10 highlights File") << u"{F10}"_s << true << QString();
    QTest::newRow("Up opens it at its end") << u"{F10}{UP}"_s << true << u"C"_s;
    QTest::newRow("second Up skips nothing") << u"{F10}{UP}{UP}"_s << true << u"B"_s;
    QTest::newRow("Down opens it at its start") << u"{F10}{DOWN}"_s << true << u"A"_s;
    QTest::newRow("F10 again leaves") << u"{F10}{F10}"_s << false << QString();
    QTest::newRow("Esc twice leaves") << u"{F10}{UP}{UP}{ESC}{ESC}"_s << false << QString();
    QTest::newRow("Alt with the mnemonic") << u"%f"_s << true << u"A"_s;
}

void TestKeyInjector::f10Menu()
{
    QFETCH(QString, keys);
    QFETCH(bool, barActive);
    QFETCH(QString, openItem);
    MenuWindow w;
    showActive(&w.window, w.edit);
    type(keys);
    QMenuBar *bar = w.window.menuBar();
    QCOMPARE(bar->activeAction(), barActive ? w.file->menuAction() : nullptr);
    if (openItem.isEmpty()) {
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
        QCOMPARE(QApplication::focusWidget(), barActive ? static_cast<QWidget *>(bar) : w.edit);
    } else {
        QCOMPARE(QApplication::activePopupWidget(), w.file);
        QVERIFY(w.file->activeAction());
        QCOMPARE(w.file->activeAction()->text(), openItem);
    }
}

void TestKeyInjector::realF10()
{
    MenuWindow w;
    showActive(&w.window, w.edit);
    QTest::keyClick(w.edit, Qt::Key_F10);
    QCOMPARE(w.window.menuBar()->activeAction(), w.file->menuAction());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QCOMPARE(QApplication::activePopupWidget(), w.file);
    QCOMPARE(w.file->activeAction()->text(), u"C"_s);
}

QTEST_MAIN(TestKeyInjector)
#include "tst_keyinjector.moc"
