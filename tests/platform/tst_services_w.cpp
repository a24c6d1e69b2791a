// The desktop's own services, caught before they reach the desktop, the
// real message boxes, and the keys the program types into itself.

#include "support/testsupport.h"

#include "platform/keyinjector_w.h"
#include "platform/messageboxes_w.h"
#include "platform/systemdesktop_w.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// Set for the copy that startAgain() starts: it leaves this file and ends.
static constexpr char kMarker[] = "PLIMSA_TEST_STARTED_MARKER";

namespace {

// Counts the keys it is given; each "a" sends "{b 3}" in turn, as a command
// would that types keys of its own.
class KeyCounter : public QWidget
{
public:
    explicit KeyCounter(KeyInjector &injector) : injector_(injector)
    {
        setFocusPolicy(Qt::StrongFocus);
    }
    int keys = 0;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        ++keys;
        if (event->key() == Qt::Key_A)
            injector_.send(u"{b 3}"_s);
    }

private:
    KeyInjector &injector_;
};

} // namespace

class tst_Services : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void open(const QUrl &url) { opened.append(url); }
    QList<QUrl> opened;

private Q_SLOTS:
    // A path with blanks arrives as it reads.
    void openFile()
    {
        QDesktopServices::setUrlHandler(u"file"_s, this, "open");
        const QString path = u"/home/me/My Notes/G\u00cfH/a #1%20.txt"_s;
        QVERIFY(SystemDesktop().openFile(path));
        QDesktopServices::unsetUrlHandler(u"file"_s);
        QCOMPARE(opened.value(0).toLocalFile(), path);
    }

    // This program again by its full path, started from another folder.
    void startAgain()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath(u"started"_s);
        qputenv(kMarker, marker.toLocal8Bit());
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const bool started = SystemDesktop().startAgain();
        QDir::setCurrent(here);
        qunsetenv(kMarker);
        QVERIFY(started);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    }

    // One press types at most MaxStrokes keys with all it types in turn:
    // refused before the first key where the keys typed in turn are known,
    // stopped at the bound where they are not; nothing stays queued.
    void keysOfOnePress_data()
    {
        QTest::addColumn<bool>("foreseen");
        QTest::addColumn<int>("typed");
        QTest::addColumn<QString>("said");
        QTest::newRow("foreseen") << true << 0 << u"Nothing was typed"_s;
        // 2,600 a's, each with 3 b's in turn: the a's until the one whose b's
        // would pass the bound (the b's are queued behind every a).
        QTest::newRow("not foreseen")
            << false << (MaxStrokes - 2600) / 3 + 1 << u"Typing stopped"_s;
    }
    void keysOfOnePress()
    {
        QFETCH(bool, foreseen);
        QFETCH(int, typed);
        QFETCH(QString, said);
        RecordingMessages messages;
        KeyInjector injector(messages, [] { return u"Caution!"_s; });
        if (foreseen) {
            injector.setKeysTypedBy([](const KeyStroke &stroke) {
                return stroke.key == Qt::Key_A ? std::optional(u"{b 3}"_s) : std::nullopt;
            });
        }
        KeyCounter counter(injector);
        counter.show();
        QApplication::setActiveWindow(&counter);
        counter.setFocus();
        QTRY_VERIFY(counter.hasFocus());
        QCOMPARE(injector.send(u"{a 1000}{a 1000}{a 600}"_s), !foreseen);
        QTRY_VERIFY_WITH_TIMEOUT(!injector.isBusy(), 60000);
        QCOMPARE(counter.keys, typed);
        QCOMPARE(messages.shown.size(), 1);
        QVERIFY2(messages.shown[0].text.startsWith(said), qPrintable(messages.shown[0].text));
    }

    // Modal, the stop icon, one OK, and names and paths shown as they are,
    // never read as markup.
    void messageBox()
    {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            QCOMPARE(box->icon(), QMessageBox::Critical);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->buttons().size(), 1);
            box->buttons().first()->click();
        });
        MessageBoxes().message(Messages::Icon::Critical, u"Caution!"_s, u"<b>Work</b> & R&D"_s);
        QVERIFY(seen);
    }
};

int main(int argc, char **argv)
{
    if (const QByteArray marker = qgetenv(kMarker); !marker.isEmpty())
        return QFile(QString::fromLocal8Bit(marker)).open(QIODevice::WriteOnly) ? 0 : 1;
    QApplication app(argc, argv);
    tst_Services test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_services_w.moc"
