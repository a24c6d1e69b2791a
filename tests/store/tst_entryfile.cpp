#include "store/codepage.h"
#include "store/entryfile.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kDate = u"03.05.2024 - 14:22:07"_s;

} // namespace

class TestEntryFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // An entry is its date line and then its text; a mask is the text alone.
    void roundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes"); // after the date line
        QTest::newRow("no line break") << u"just text"_s << "just text\r\n"_ba;
        QTest::newRow("empty") << QString() << QByteArray();
        QTest::newRow("empty lines inside and at the end")
            << u"a\r\n\r\nb\r\n\r\n"_s << "a\r\n\r\nb\r\n\r\n"_ba;
        QTest::newRow("lf and lone cr") << u"a\nb\rc"_s << "a\r\nb\r\nc\r\n"_ba;
        QTest::newRow("euro and y diaeresis") << u"5\u20ac \u00ff"_s << "5\x80 \xff\r\n"_ba;
    }
    void roundTrip()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString entry = dir.filePath(u"a\u00cfb.txt"_s);
        const QString mask = dir.filePath(u"_mask.dat"_s);
        QVERIFY(EntryFile::writeEntry(entry, kDate, text, dir.path()));
        QVERIFY(EntryFile::writeMask(mask, text, dir.path()));
        QCOMPARE(readWholeFile(entry).bytes, kDate.toLatin1() + "\r\n" + bytes);
        QCOMPARE(readWholeFile(mask).bytes, bytes);
        // Read back, every line ends with CR LF; written again, the same file.
        const EntryFile::EntryRead back = EntryFile::readEntry(entry, dir.path());
        QCOMPARE(back.entry.date, kDate);
        QCOMPARE(back.entry.text, CodePage::decode(bytes));
        QCOMPARE(EntryFile::readMask(mask, dir.path()).text, back.entry.text);
        QCOMPARE(EntryFile::formatEntry(kDate, back.entry.text).bytes, readWholeFile(entry).bytes);
    }

    // A text of another system's line ends, or a last line without a break,
    // reads as it stands; a file without even a date line does not read.
    void readsFilesEditedByHand_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("other line ends") << "d\ra\n\rb"_ba << true << u"d"_s << u"a\r\n\r\nb"_s;
        QTest::newRow("date line without its break") << "d"_ba << true << u"d"_s << QString();
        QTest::newRow("empty date line") << "\r\n"_ba << true << QString() << QString();
        QTest::newRow("0 bytes") << QByteArray() << false << QString() << QString();
    }
    void readsFilesEditedByHand()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, ok);
        QFETCH(QString, date);
        QFETCH(QString, text);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"e.txt"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
        file.close();
        const EntryFile::EntryRead read = EntryFile::readEntry(path, dir.path());
        QCOMPARE(read.ok, ok);
        QCOMPARE(read.entry.date, date);
        QCOMPARE(read.entry.text, text);
    }

    // A group folder may be a link within the store, never one out of it:
    // reads are held to the store as writes are.
    void readsOnlyWithinTheStore_data()
    {
        QTest::addColumn<QString>("linkTarget"); // of the group folder store/L
        QTest::addColumn<bool>("readable");
        QTest::newRow("to a folder outside") << u"../outside"_s << false;
        QTest::newRow("to another group") << u"G"_s << true;
    }
    void readsOnlyWithinTheStore()
    {
        QFETCH(QString, linkTarget);
        QFETCH(bool, readable);
        QTemporaryDir dir;
        const QString store = dir.filePath(u"store"_s);
        for (const QString &folder : {u"outside"_s, u"store/G"_s}) {
            QVERIFY(QDir(dir.path()).mkpath(folder));
            const QString path = dir.filePath(folder);
            QVERIFY(EntryFile::writeEntry(path + u"/a.txt"_s, kDate, u"text"_s, path));
            QVERIFY(EntryFile::writeMask(path + u"/_mask.dat"_s, u"mask"_s, path));
        }
        QVERIFY(QFile::link(linkTarget, store + u"/L"_s));

        const EntryFile::EntryRead entry = EntryFile::readEntry(store + u"/L/a.txt"_s, store);
        QCOMPARE(entry.ok, readable);
        QCOMPARE(entry.entry.text, readable ? u"text\r\n"_s : QString());
        QCOMPARE(EntryFile::readMask(store + u"/L/_mask.dat"_s, store).ok, readable);
    }

    void refusesWhatTheCodePageCannotHold()
    {
        QTemporaryDir dir;
        const QString entry = dir.filePath(u"e.txt"_s);
        QVERIFY(EntryFile::writeEntry(entry, kDate, u"old"_s, dir.path()));
        QVERIFY(!EntryFile::writeEntry(entry, kDate, u"\u0141"_s, dir.path()));
        QVERIFY(!EntryFile::writeMask(entry, u"\u0141"_s, dir.path()));
        QCOMPARE(EntryFile::readEntry(entry, dir.path()).entry.text, u"old\r\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestEntryFile)
#include "tst_entryfile.moc"
