#include "store/codepage.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCodePage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void everyByteRoundTrips()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = char(b);
        const QString text = CodePage::decode(all);
        QCOMPARE(text.size(), 256);
        QCOMPARE(CodePage::encode(text), std::optional<QByteArray>(all));
        QCOMPARE(CodePage::firstUnencodable(text), -1);
    }

    void characters_data()
    {
        QTest::addColumn<QChar>("character");
        QTest::addColumn<int>("byte");
        QTest::newRow("euro") << QChar(0x20AC) << 0x80;
        QTest::newRow("y diaeresis") << QChar(0xFF) << 0xFF;
        QTest::newRow("Y diaeresis") << QChar(0x178) << 0x9F;
        QTest::newRow("undefined 0x81") << QChar(0x81) << 0x81;
        QTest::newRow("undefined 0x9D") << QChar(0x9D) << 0x9D;
        QTest::newRow("substitute for colon") << QChar(0xD0) << 0xD0;
        QTest::newRow("right quote") << QChar(0x2019) << 0x92;
    }
    void characters()
    {
        QFETCH(QChar, character);
        QFETCH(int, byte);
        QCOMPARE(CodePage::encode(QString(character)),
                 std::optional<QByteArray>(QByteArray(1, char(byte))));
        QCOMPARE(CodePage::decode(QByteArray(1, char(byte))), QString(character));
    }

    void refusesWhatItCannotHold()
    {
        const QString text = u"ab\u20ac\u0100c"_s;
        QCOMPARE(CodePage::encode(text), std::nullopt);
        QCOMPARE(CodePage::firstUnencodable(text), 3);
        char buffer[8];
        QCOMPARE(CodePage::encodeTo(text, buffer), 3);
        QCOMPARE(QByteArray(buffer, 3), "ab\x80"_ba);
        // The C1 value that Windows-1252 gives to the euro sign is not a way in.
        QVERIFY(!CodePage::canEncode(QChar(0x80)));
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
