// The desktop's own services, caught before they reach the desktop: the
// address each request becomes, and the restart of the running executable.

#include "platform/desktopservices_w.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Set for the copy that startAgain() starts: it leaves this file and ends.
constexpr char kStartedMarker[] = "PLIMSA_TEST_STARTED_MARKER";

} // namespace

class tst_DesktopServices : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void open(const QUrl &url) { opened.append(url); }
    QList<QUrl> opened;

private Q_SLOTS:
    void init()
    {
        opened.clear();
        for (const QString &scheme : {u"file"_s, u"https"_s, u"mailto"_s})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    void cleanup()
    {
        for (const QString &scheme : {u"file"_s, u"https"_s, u"mailto"_s})
            QDesktopServices::unsetUrlHandler(scheme);
    }

    // The path as it reads: blanks and the code page's letters stay.
    void fileKeepsItsPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("plain") << u"/tmp/store/LstPrnt.txt"_s;
        QTest::newRow("blanks") << u"/home/me/My Notes/File Store/LstPrnt.txt"_s;
        QTest::newRow("stored names") << u"/tmp/G\u00cfH/a\u00d0b #1%20.txt"_s;
    }
    void fileKeepsItsPath()
    {
        QFETCH(QString, path);
        SystemDesktop desktop;
        QVERIFY(desktop.openFile(path));
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened[0].isLocalFile());
        QCOMPARE(opened[0].toLocalFile(), path);
    }

    void addresses()
    {
        SystemDesktop desktop;
        QVERIFY(desktop.openUrl(QUrl(u"https://plimsa.test/news"_s)));
        QVERIFY(desktop.openUrl(QUrl(u"mailto:help@plimsa.test"_s)));
        QCOMPARE(opened, (QList<QUrl>{QUrl(u"https://plimsa.test/news"_s),
                                      QUrl(u"mailto:help@plimsa.test"_s)}));
    }

    // This test program started again by its full path, from another folder.
    void startAgain()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath(u"started"_s);
        qputenv(kStartedMarker, marker.toLocal8Bit());
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        SystemDesktop desktop;
        const bool started = desktop.startAgain();
        QDir::setCurrent(here);
        qunsetenv(kStartedMarker);
        QVERIFY(started);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
    }
};

int main(int argc, char **argv)
{
    if (const QByteArray marker = qgetenv(kStartedMarker); !marker.isEmpty()) {
        QFile file(QString::fromLocal8Bit(marker));
        return file.open(QIODevice::WriteOnly) ? 0 : 1;
    }
    QGuiApplication app(argc, argv);
    tst_DesktopServices test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_desktopservices_w.moc"
