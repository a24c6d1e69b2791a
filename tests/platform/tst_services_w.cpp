// The desktop's own services, caught before they reach the desktop, and the
// real message boxes.

#include "platform/messageboxes_w.h"
#include "platform/systemdesktop_w.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// Set for the copy that startAgain() starts: it leaves this file and ends.
static constexpr char kMarker[] = "PLIMSA_TEST_STARTED_MARKER";

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
