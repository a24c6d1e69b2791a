#include "store/codepage.h"
#include "store/dostext.h"
#include "store/storepaths.h"
#include "store/textlines.h"

#include <QTest>

using namespace Qt::StringLiterals;

// How text is stored: the code page, the stand-ins for characters a file name
// cannot hold, the names that are safe as file names, and the lines of the files.
class TestStoredText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyByteRoundTripsThroughTheCodePage()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString text = CodePage::decode(all);
        QCOMPARE(text.size(), 256);
        // Windows-1252, not Latin-1: the euro sign and Y diaeresis sit in 0x80..0x9F.
        QCOMPARE(CodePage::decode("\x80\x9f\xff"_ba), u"\u20ac\u0178\u00ff"_s);
        QCOMPARE(CodePage::encode(text), std::optional<QByteArray>(all));
        // The C1 value that Windows-1252 gives to the euro sign is not a way in.
        QVERIFY(!CodePage::canEncode(QChar(0x80)));
    }

    // The bytes where Windows-1252 differs from Latin-1, as the code page's
    // published table gives them. Two entries swapped would still round-trip,
    // so each byte is checked against its own character, both ways.
    void upperControlRange_data()
    {
        QTest::addColumn<int>("byte");
        QTest::addColumn<int>("unicode");
        const QList<std::pair<int, int>> table = {
            {0x80, 0x20AC}, // euro sign
            {0x81, 0x0081}, // undefined: the C1 control of the same value
            {0x82, 0x201A}, // single low-9 quotation mark
            {0x83, 0x0192}, // latin small letter f with hook
            {0x84, 0x201E}, // double low-9 quotation mark
            {0x85, 0x2026}, // horizontal ellipsis
            {0x86, 0x2020}, // dagger
            {0x87, 0x2021}, // double dagger
            {0x88, 0x02C6}, // modifier letter circumflex accent
            {0x89, 0x2030}, // per mille sign
            {0x8A, 0x0160}, // latin capital letter s with caron
            {0x8B, 0x2039}, // single left-pointing angle quotation mark
            {0x8C, 0x0152}, // latin capital ligature oe
            {0x8D, 0x008D}, // undefined
            {0x8E, 0x017D}, // latin capital letter z with caron
            {0x8F, 0x008F}, // undefined
            {0x90, 0x0090}, // undefined
            {0x91, 0x2018}, // left single quotation mark
            {0x92, 0x2019}, // right single quotation mark
            {0x93, 0x201C}, // left double quotation mark
            {0x94, 0x201D}, // right double quotation mark
            {0x95, 0x2022}, // bullet
            {0x96, 0x2013}, // en dash
            {0x97, 0x2014}, // em dash
            {0x98, 0x02DC}, // small tilde
            {0x99, 0x2122}, // trade mark sign
            {0x9A, 0x0161}, // latin small letter s with caron
            {0x9B, 0x203A}, // single right-pointing angle quotation mark
            {0x9C, 0x0153}, // latin small ligature oe
            {0x9D, 0x009D}, // undefined
            {0x9E, 0x017E}, // latin small letter z with caron
            {0x9F, 0x0178}, // latin capital letter y with diaeresis
        };
        for (const auto &[byte, unicode] : table)
            QTest::addRow("0x%X", byte) << byte << unicode;
    }
    void upperControlRange()
    {
        QFETCH(int, byte);
        QFETCH(int, unicode);
        const QByteArray bytes(1, char(byte));
        QCOMPARE(CodePage::decode(bytes), QString(QChar(unicode)));
        QCOMPARE(CodePage::encode(QString(QChar(unicode))), std::optional<QByteArray>(bytes));
    }

    void dosText_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored"); // OutDOS
        QTest::addColumn<QString>("back");   // InDOS of the stored form
        const QString thirteen = u"\"*+,/:;<=>?\\|"_s;
        QTest::newRow("all thirteen")
            << thirteen
            << u"\u00cb\u00cc\u00cd\u00ce\u00cf\u00d0\u00dd\u00eb\u00ec\u00ed\u00ee\u00ef\u00f0"_s
            << thirteen;
        QTest::newRow("blanks trimmed, inner kept") << u"  a  b  "_s << u"a  b"_s << u"a  b"_s;
        QTest::newRow("all blank") << u"     "_s << QString() << QString();
        QTest::newRow("tabs stay") << u"\tx\t"_s << u"\tx\t"_s << u"\tx\t"_s;
        QTest::newRow("many repeated")
            << QString(500, u'/') << QString(500, QChar(0xCF)) << QString(500, u'/');
        const QString others = u"12.30_ (x) \u20ac\u00ff"_s;
        QTest::newRow("others untouched") << others << others << others;
    }
    void dosText()
    {
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, back);
        QCOMPARE(OutDOS(shown), stored);
        QCOMPARE(InDOS(stored), back);
        // InDOS trims blanks too.
        QCOMPARE(InDOS(u"  "_s + stored + u"  "_s), back);
        QVERIFY(showsAs(u"  "_s + stored + u"  "_s, back));
        QVERIFY(!showsAs(stored + u'x', back));
        QCOMPARE(showsAs(stored, shown), InDOS(stored) == shown);
    }

    void safeNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("safe");
        QTest::newRow("stored slash and backslash") << OutDOS(u"a/b\\c"_s) << true;
        QTest::newRow("dot") << u"."_s << false;
        QTest::newRow("dot dot") << u".."_s << false;
        QTest::newRow("slash") << u"../x"_s << false;
        QTest::newRow("backslash") << u"a\\b"_s << false;
        QTest::newRow("nul") << u"a\0b"_s << false;
    }
    void safeNames()
    {
        QFETCH(QString, name);
        QFETCH(bool, safe);
        QCOMPARE(StorePaths::isSafeStoredName(name), safe);
    }

    // Lines are scanned a word at a time: breaks and other control bytes at
    // every position within and across words.
    void lineBreaksAtEveryOffset()
    {
        for (int length = 0; length < 27; ++length) {
            for (const QByteArray &lineEnd : {"\r\n"_ba, "\n"_ba, "\r"_ba}) {
                QByteArray line(length, 'a');
                if (length > 2)
                    line[length / 3] = '\t';
                if (length > 4)
                    line[length - 2] = '\x0c';
                const QByteArray bytes = line + lineEnd + line + "\xff" + lineEnd + "\x01";
                QList<QByteArray> lines;
                for (QByteArrayView view : TextLines::split(bytes))
                    lines.append(view.toByteArray());
                QCOMPARE(lines, (QList<QByteArray>{line, line + "\xff", "\x01"}));
            }
        }
    }

    // pref.dat holds empty lines; an empty view has no data to copy from.
    void writesEmptyLines()
    {
        TextLines::Writer out;
        out.asciiLine({});
        out.line(QString());
        out.line(QStringView(), "\\");
        QCOMPARE(out.finish().bytes, "\r\n\r\n\\\r\n"_ba);
    }
};

QTEST_GUILESS_MAIN(TestStoredText)
#include "tst_storedtext.moc"
