#include "store/codepage.h"
#include "store/entryfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString kDate = u"03.05.2024 - 14:22:07"_s;

} // namespace

class TestEntryFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void formatEntry_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray d = "03.05.2024 - 14:22:07\r\n"_ba;
        QTest::newRow("two lines and a final break") << u"a\r\nb\r\n"_s << d + "a\r\nb\r\n";
        QTest::newRow("no line break") << u"just text"_s << d + "just text\r\n";
        QTest::newRow("empty") << QString() << d;
        QTest::newRow("only a break") << u"\r\n"_s << d + "\r\n";
        QTest::newRow("empty lines inside and at the end")
            << u"a\r\n\r\nb\r\n\r\n"_s << d + "a\r\n\r\nb\r\n\r\n";
        QTest::newRow("lf line ends") << u"a\nb\n"_s << d + "a\r\nb\r\n";
        QTest::newRow("lone cr") << u"a\rb"_s << d + "a\r\nb\r\n";
        QTest::newRow("euro and y diaeresis") << u"5\u20ac \u00ff"_s << d + "5\x80 \xff\r\n";
        QTest::newRow("tabs and blanks stay") << u"\t x \r\n"_s << d + "\t x \r\n";
    }
    void formatEntry()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const TextLines::Encoded out = EntryFile::formatEntry(kDate, text);
        QVERIFY(out);
        QCOMPARE(out.bytes, bytes);
        // Read back: the date, and the text with every line ended by CR LF;
        // written again, the same file.
        const EntryFile::Entry back = EntryFile::parseEntry(out.bytes);
        QCOMPARE(back.date, kDate);
        QCOMPARE(back.text, CodePage::decode(bytes.mid(bytes.indexOf('\n') + 1)));
        QCOMPARE(EntryFile::formatEntry(back.date, back.text).bytes, bytes);
    }

    void formatMask_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty mask is an empty file") << QString() << QByteArray();
        QTest::newRow("lines") << u"To do:\r\n- one\r\n- two"_s
                               << "To do:\r\n- one\r\n- two\r\n"_ba;
        QTest::newRow("lf") << u"x\ny\n"_s << "x\r\ny\r\n"_ba;
    }
    void formatMask()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const TextLines::Encoded out = EntryFile::formatMask(text);
        QVERIFY(out);
        QCOMPARE(out.bytes, bytes);
        QCOMPARE(EntryFile::formatMask(EntryFile::parseMask(out.bytes)).bytes, bytes);
    }

    void parseEntry_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("as written") << "d\r\na\r\nb\r\n"_ba << u"d"_s << u"a\r\nb\r\n"_s;
        QTest::newRow("no final break kept as stored") << "d\r\na\r\nb"_ba << u"d"_s << u"a\r\nb"_s;
        QTest::newRow("date only") << "d\r\n"_ba << u"d"_s << QString();
        QTest::newRow("date without break") << "d"_ba << u"d"_s << QString();
        QTest::newRow("empty file") << QByteArray() << QString() << QString();
        QTest::newRow("lf only") << "d\na\nb\n"_ba << u"d"_s << u"a\r\nb\r\n"_s;
        QTest::newRow("cr only") << "d\ra\rb\r"_ba << u"d"_s << u"a\r\nb\r\n"_s;
        QTest::newRow("cr lf text after lf date") << "d\na\r\n"_ba << u"d"_s << u"a\r\n"_s;
        QTest::newRow("code page")
            << "\x80\r\n\xe4\xff\r\n"_ba << u"\u20ac"_s << u"\u00e4\u00ff\r\n"_s;
    }
    void parseEntry()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, date);
        QFETCH(QString, text);
        const EntryFile::Entry entry = EntryFile::parseEntry(bytes);
        QCOMPARE(entry.date, date);
        QCOMPARE(entry.text, text);
    }

    void refusesWhatTheCodePageCannotHold_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("maskRefused"); // a mask of the same text and date
        QTest::newRow("text") << kDate << u"caf\u00e9\r\n\u0141\u00f3d\u017a\r\n"_s << true;
        QTest::newRow("date") << u"\u2116 1"_s << u"x"_s << true;
        QTest::newRow("line break in date") << u"a\r\nb"_s << u"x"_s << false;
    }
    void refusesWhatTheCodePageCannotHold()
    {
        QFETCH(QString, date);
        QFETCH(QString, text);
        QFETCH(bool, maskRefused);
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        const QString path = store + u"entry.txt"_s;
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old\r\n");
        old.close();

        const WriteResult written = EntryFile::writeEntry(path, date, text, store);
        QVERIFY(!written);
        QVERIFY(!written.error.description.isEmpty());
        QCOMPARE(fileBytes(path), "old\r\n"_ba);
        QCOMPARE(!EntryFile::writeMask(store + u"_mask.dat"_s, text + date, store), maskRefused);
        QCOMPARE(!QFile::exists(store + u"_mask.dat"_s), maskRefused);
    }

    void writesAndReadsFiles()
    {
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        QVERIFY(QDir(store).mkdir(u"Notes"_s));
        const QString entry = store + u"Notes/a\u00cfb.txt"_s;
        const QString mask = store + u"Notes/_mask.dat"_s;

        QVERIFY(EntryFile::writeEntry(entry, kDate, u"Line 1\r\nLine 2\r\n"_s, store));
        QCOMPARE(fileBytes(entry), "03.05.2024 - 14:22:07\r\nLine 1\r\nLine 2\r\n"_ba);
        QVERIFY(QFile::exists(dir.path() + u"/Notes/a\u00cfb.txt"_s));
        const EntryFile::EntryRead read = EntryFile::readEntry(entry);
        QVERIFY(read.ok);
        QCOMPARE(read.entry.date, kDate);
        QCOMPARE(read.entry.text, u"Line 1\r\nLine 2\r\n"_s);

        QVERIFY(EntryFile::writeMask(mask, u"M1\r\nM2"_s, store));
        const EntryFile::MaskRead maskRead = EntryFile::readMask(mask);
        QVERIFY(maskRead.ok);
        QCOMPARE(maskRead.text, u"M1\r\nM2\r\n"_s);

        QVERIFY(EntryFile::writeMask(mask, QString(), store));
        QCOMPARE(QFileInfo(mask).size(), 0);
    }

    void missingFilesAreReported()
    {
        QTemporaryDir dir;
        const EntryFile::EntryRead entry = EntryFile::readEntry(dir.path() + u"/none.txt"_s);
        QVERIFY(!entry.ok);
        QVERIFY(!entry.error.description.isEmpty());
        QVERIFY(!EntryFile::readMask(dir.path() + u"/none/_mask.dat"_s).ok);
    }
};

QTEST_GUILESS_MAIN(TestEntryFile)
#include "tst_entryfile.moc"
