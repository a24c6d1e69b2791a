#include "store/codepage.h"
#include "store/entryfile.h"

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
        const EntryFile::EntryRead back = EntryFile::readEntry(entry);
        QCOMPARE(back.entry.date, kDate);
        QCOMPARE(back.entry.text, CodePage::decode(bytes));
        QCOMPARE(EntryFile::readMask(mask).text, back.entry.text);
        QCOMPARE(EntryFile::formatEntry(kDate, back.entry.text).bytes, readWholeFile(entry).bytes);
    }

    // A text of another system's line ends, or a last line without a break,
    // reads as it stands.
    void readsFilesEditedByHand()
    {
        const EntryFile::Entry entry = EntryFile::parseEntry("d\ra\n\rb"_ba);
        QCOMPARE(entry.date, u"d"_s);
        QCOMPARE(entry.text, u"a\r\n\r\nb"_s);
    }

    void refusesWhatTheCodePageCannotHold()
    {
        QTemporaryDir dir;
        const QString entry = dir.filePath(u"e.txt"_s);
        QVERIFY(EntryFile::writeEntry(entry, kDate, u"old"_s, dir.path()));
        QVERIFY(!EntryFile::writeEntry(entry, kDate, u"\u0141"_s, dir.path()));
        QVERIFY(!EntryFile::writeMask(entry, u"\u0141"_s, dir.path()));
        QCOMPARE(EntryFile::readEntry(entry).entry.text, u"old\r\n"_s);
    }
};

QTEST_GUILESS_MAIN(TestEntryFile)
#include "tst_entryfile.moc"
