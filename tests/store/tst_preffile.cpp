#include "store/preferences.h"
#include "store/preffile.h"
#include "store/storelocation.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A full file with every value set apart from its default and from its
// neighbours, so that a line read into the wrong field shows.
QList<QByteArray> sampleLines()
{
    // clang-format off
    return {"pref Plimsa 1.3.02", " 3", " 2", " 1", "Always First", "", "DejaVu Sans",  // 1-7
            " 11", "-1", " 0", "", " 1200", " 1300", " 7000", " 9000",                  // 8-15
            " 1", " 1500", " 2500", " 6000", " 1", " 1", "/home/u/Notes/FileStore/",    // 16-22
            "Work/first", "free/free", "Trash/x", "\xffPrivate/y",                      // 23-26
            "Hello, \"world\"", "free", "5\x80 each", "free",                           // 27-30
            "NORMAL", "Sign", "Kind regards{ENTER}", "NORMAL", "free", "",              // 31-36
            "NORMAL", "free", "", "CHARLINE", "Line", "-", " 1"};                       // 37-43
    // clang-format on
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace

class TestPrefFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Read, the values land in their fields; written back, the same file, but
    // FrameTop is read 100 less than written and the Z to A sort is never kept.
    void roundTrip()
    {
        Preferences p;
        QVERIFY(PrefFile::parse(crlf(sampleLines()), p));
        QCOMPARE(p.language, 3);
        QCOMPARE(p.StartWindowState, 2);
        QCOMPARE(p.WindowTop, 1200);
        QCOMPARE(p.WindowLeft, 1300);
        QCOMPARE(p.WindowHeight, 7000);
        QCOMPARE(p.WindowWidth, 9000);
        QCOMPARE(p.FrameLeft1, 2500);
        QCOMPARE(p.FrameLeft2, 6000);
        QCOMPARE(p.HideYGroups, 1);
        QCOMPARE(p.StorePath, u"/home/u/Notes/FileStore/"_s);
        QCOMPARE(p.PhraseMemory[2], u"5\u20ac each"_s);
        QCOMPARE(p.IndivButton[3], (std::array<QString, 3>{u"CHARLINE"_s, u"Line"_s, u"-"_s}));
        p.FrameTop += 100;
        p.SortDescending = -1;
        QCOMPARE(PrefFile::serialize(p, u"1.3.02"_s).bytes, crlf(sampleLines()));
    }

    void refusesWhatCannotBeWrittenBack()
    {
        Preferences p;
        p.WindowWidth = 57600; // a 3840 pixel wide window: saved at the limit
        QVERIFY(PrefFile::parse(PrefFile::serialize(p, u"v"_s).bytes, p));
        QCOMPARE(p.WindowWidth, 32767);
        p.PhraseMemory[1] = u"a\nb"_s; // would shift every line after it
        QVERIFY(!PrefFile::serialize(p, u"v"_s));
    }

    // What one line reads as, shown as it is then written; null when the file
    // is refused as damaged.
    void lineAsRead_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("read");
        QTest::newRow("empty number is 0") << 8 << ""_ba << u" 0"_s;
        QTest::newRow("mask -1") << 16 << "-1"_ba << u" 0"_s;
        QTest::newRow("FrameTop 1000") << 17 << " 1000"_ba << u" 900"_s;
        QTest::newRow("FrameTop 550") << 17 << " 550"_ba << u" 840"_s;
        QTest::newRow("FrameTop 600: 500 is kept") << 17 << " 600"_ba << u" 500"_s;
        QTest::newRow("FrameLeft1 50") << 18 << " 50"_ba << u" 2975"_s;
        QTest::newRow("FrameLeft1 100") << 18 << " 100"_ba << u" 100"_s;
        QTest::newRow("FrameLeft2 -1") << 19 << "-1"_ba << u" 3600"_s;
        QTest::newRow("store -1") << 22 << "-1"_ba << u"preset"_s;
        QTest::newRow("memory -1") << 23 << "-1"_ba << u"free/free"_s;
        QTest::newRow("phrase -1") << 27 << "-1"_ba << u"free"_s;
        QTest::newRow("phrase -1 with a blank is text") << 30 << " -1"_ba << u" -1"_s;
        QTest::newRow("phrase kept whole") << 29 << "  \"a\", b  "_ba << u"  \"a\", b  "_s;
        QTest::newRow("button -1 is text") << 31 << "-1"_ba << u"-1"_s;
        QTest::newRow("damaged last line") << 43 << "yes"_ba << u" 0"_s;
        QTest::newRow("digits and letters") << 8 << "12pt"_ba << QString();
        QTest::newRow("above 16 bits") << 15 << "32768"_ba << QString();
        QTest::newRow("language 10") << 2 << " 10"_ba << QString();
        QTest::newRow("language -1") << 2 << "-1"_ba << QString();
    }
    void lineAsRead()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, value);
        QFETCH(QString, read);
        QList<QByteArray> lines = sampleLines();
        lines[line - 1] = value;
        Preferences p;
        p.FontName = u"unchanged"_s;
        const PrefFile::ParseResult result = PrefFile::parse(crlf(lines), p);
        if (read.isNull()) {
            QCOMPARE(result.line, line);
            QCOMPARE(p.FontName, u"unchanged"_s); // nothing of a damaged file is taken
            return;
        }
        QVERIFY(result);
        const QByteArray written = PrefFile::serialize(p, u"v"_s).bytes;
        QCOMPARE(QString::fromLatin1(TextLines::split(written).at(line - 1)), read);
    }

    // The store path as read, completed and resolved.
    void storeFolder_data()
    {
        QTest::addColumn<QString>("storePath");
        QTest::addColumn<QString>("completed");
        QTest::addColumn<QString>("folder");
        const QString def = u"/opt/plimsa/FileStore/"_s;
        const QString notes = u"/srv/Notes/FileStore/"_s;
        QTest::newRow("PRESET") << u"PRESET"_s << u"PRESET"_s << def;
        QTest::newRow("folder") << u"/srv/Notes"_s << notes << notes;
        QTest::newRow("folder with slash") << u"/srv/Notes/"_s << notes << notes;
        QTest::newRow("lower case store")
            << u"/srv/filestore"_s << u"/srv/filestore/"_s << u"/srv/filestore/"_s;
        QTest::newRow("complete in any case")
            << u"/srv/FILESTORE/"_s << u"/srv/FILESTORE/"_s << u"/srv/FILESTORE/"_s;
        QTest::newRow("preset inside a path is a path")
            << u"/srv/preset"_s << u"/srv/preset/FileStore/"_s << u"/srv/preset/FileStore/"_s;
    }
    void storeFolder()
    {
        QFETCH(QString, storePath);
        QFETCH(QString, completed);
        QFETCH(QString, folder);
        QCOMPARE(StoreLocation::completeStorePath(storePath), completed);
        QCOMPARE(StoreLocation::storeFolder(u"/opt/plimsa/"_s, completed), folder);
        // Completing twice changes nothing: the saved form reads back the same.
        QCOMPARE(StoreLocation::completeStorePath(completed), completed);
    }

    // Lines 31 to 43 came later: a file of 30 lines (LF only here) still reads,
    // its empty last line included, and takes their defaults. 29 lines do not.
    void thirtyLinesAreEnough()
    {
        QList<QByteArray> lines = sampleLines().mid(0, 30);
        lines[29] = "";
        Preferences p;
        QVERIFY(PrefFile::parse(lines.join('\n') + '\n', p));
        QCOMPARE(p.PhraseMemory[3], QString());
        QCOMPARE(p.IndivButton[0], (std::array<QString, 3>{u"NORMAL"_s, u"free"_s, QString()}));
        QCOMPARE(p.StartWordwrap, 0);
        QCOMPARE(PrefFile::parse(crlf(lines.mid(0, 29)), p).line, 30);
    }
};

QTEST_GUILESS_MAIN(TestPrefFile)
#include "tst_preffile.moc"
