// The date line of a new entry and the title proposed for it.

#include "editing/editrules.h"
#include "store/codepage.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_EditRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void proposedTitle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::newRow("one line") << u"milk"_s << u"milk"_s;
        QTest::newRow("two lines") << u"Shopping list\nmilk"_s << u"Shopping list"_s;
        QTest::newRow("CR") << u"a\rb"_s << u"a"_s;
        QTest::newRow("starts with a break") << u"\nsecond"_s << QString();
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("blanks kept") << u"  x  \ny"_s << u"  x  "_s;
    }
    void proposedTitle()
    {
        QFETCH(QString, text);
        QFETCH(QString, title);
        QCOMPARE(EditRules::proposedTitle(text), title);
    }

    void dateLine_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected"); // "" where the form is the locale's own business
        QTest::newRow("C") << u"C"_s << u"2 Jan 2003 - 04:05:06"_s;
        QTest::newRow("de_DE") << u"de_DE"_s << u"02.01.03 - 04:05:06"_s;
        QTest::newRow("en_US") << u"en_US"_s << QString();
        QTest::newRow("ja_JP") << u"ja_JP"_s << QString();
        QTest::newRow("ar_EG digits") << u"ar_EG"_s << QString();
        QTest::newRow("fa_IR") << u"fa_IR"_s << QString();
    }
    void dateLine()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        const QDateTime at(QDate(2003, 1, 2), QTime(4, 5, 6));
        const QString line = EditRules::dateLine(at, QLocale(locale));
        if (!expected.isEmpty())
            QCOMPARE(line, expected);
        // Always storable, always with the seconds, never with a time zone.
        QCOMPARE(CodePage::firstUnencodable(line), -1);
        const QStringList parts = line.split(u" - "_s);
        QCOMPARE(parts.size(), 2);
        QVERIFY2(parts[1].contains(u"05"_s) && parts[1].contains(u"06"_s), qPrintable(line));
        QVERIFY2(!parts[1].contains(u"UTC"_s) && !parts[1].contains(u"GMT"_s), qPrintable(line));
    }
};

QTEST_GUILESS_MAIN(tst_EditRules)
#include "tst_editrules.moc"
