#include "store/dostext.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDosText : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void outDos_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored");
        QTest::newRow("colon") << u"a:b"_s << u"a\u00d0b"_s;
        QTest::newRow("all thirteen")
            << u"\"*+,/:;<=>?\\|"_s
            << u"\u00cb\u00cc\u00cd\u00ce\u00cf\u00d0\u00dd\u00eb\u00ec\u00ed\u00ee\u00ef\u00f0"_s;
        QTest::newRow("blanks trimmed") << u"  x  "_s << u"x"_s;
        QTest::newRow("all blank") << u"     "_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("tabs stay") << u"\tx\t"_s << u"\tx\t"_s;
        QTest::newRow("inner blanks stay") << u" a  b "_s << u"a  b"_s;
        QTest::newRow("many repeated") << QString(500, u'/') << QString(500, QChar(0xCF));
        QTest::newRow("repeated among text") << u"a/b/c//d"_s << u"a\u00cfb\u00cfc\u00cf\u00cfd"_s;
        QTest::newRow("others untouched")
            << u"Meeting 12.30_ (x) \u20ac\u00ff"_s << u"Meeting 12.30_ (x) \u20ac\u00ff"_s;
        QTest::newRow("substitute letter typed stays") << u"\u00cb"_s << u"\u00cb"_s;
    }
    void outDos()
    {
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QCOMPARE(OutDOS(shown), stored);
    }

    void inDos_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("colon") << u"a\u00d0b"_s << u"a:b"_s;
        QTest::newRow("all thirteen")
            << u"\u00cb\u00cc\u00cd\u00ce\u00cf\u00d0\u00dd\u00eb\u00ec\u00ed\u00ee\u00ef\u00f0"_s
            << u"\"*+,/:;<=>?\\|"_s;
        QTest::newRow("blanks trimmed") << u" \u00cf "_s << u"/"_s;
        QTest::newRow("all blank") << u"  "_s << QString();
        QTest::newRow("many repeated") << QString(300, QChar(0xEF)) << QString(300, u'\\');
        QTest::newRow("shown characters stay") << u"a:b"_s << u"a:b"_s;
    }
    void inDos()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        QCOMPARE(InDOS(stored), shown);
    }
};

QTEST_GUILESS_MAIN(TestDosText)
#include "tst_dostext.moc"
