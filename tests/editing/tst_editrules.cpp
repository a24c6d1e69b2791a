// The date line of a new entry, the title proposed for it, and the key
// strings of the individual buttons.

#include "editing/editrules.h"
#include "editing/indivbuttons.h"
#include "platform/keystring.h"
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

    // "" where the form is the locale's own business; always storable, always
    // with the seconds, never with a time zone.
    void dateLine_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("expected");
        QTest::newRow("C") << u"C"_s << u"2 Jan 2003 - 04:05:06"_s;
        QTest::newRow("de_DE") << u"de_DE"_s << u"02.01.03 - 04:05:06"_s;
        QTest::newRow("en_US") << u"en_US"_s << QString();
        QTest::newRow("ja_JP") << u"ja_JP"_s << QString();
        QTest::newRow("ar_EG digits") << u"ar_EG"_s << QString();
    }
    void dateLine()
    {
        QFETCH(QString, locale);
        QFETCH(QString, expected);
        const QString line =
            EditRules::dateLine(QDateTime(QDate(2003, 1, 2), QTime(4, 5, 6)), QLocale(locale));
        if (!expected.isEmpty())
            QCOMPARE(line, expected);
        QCOMPARE(CodePage::firstUnencodable(line), -1);
        const QStringList parts = line.split(u" - "_s);
        QCOMPARE(parts.size(), 2);
        QVERIFY2(parts[1].contains(u"05"_s) && parts[1].contains(u"06"_s), qPrintable(line));
        QVERIFY2(!parts[1].contains(u"UTC"_s) && !parts[1].contains(u"GMT"_s), qPrintable(line));
    }

    void buttonKeys_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("keys");
        QTest::newRow("free") << QStringList{u"NORMAL"_s, u"free"_s, QString()} << QString();
        QTest::newRow("ctrl F5") << QStringList{u"CTRL"_s, u"{F5}"_s, QString()} << u"^{F5}"_s;
        QTest::newRow("no modifier, two keys")
            << QStringList{u"NORMAL"_s, u"{F5}"_s, u"{F6}"_s} << u"({F5}{F6})"_s;
        QTest::newRow("alt") << QStringList{u"ALT"_s, u"G"_s, QString()} << u"%G"_s;
        QTest::newRow("a modifier of its own is sent as it is")
            << QStringList{u"^+"_s, u"{F5}"_s, QString()} << u"^+{F5}"_s;
        QTest::newRow("lower case is no modifier name")
            << QStringList{u"ctrl"_s, u"{F5}"_s, QString()} << u"ctrl{F5}"_s;
        QTest::newRow("free with further keys is sent")
            << QStringList{u"NORMAL"_s, u"free"_s, u"{F6}"_s} << u"(free{F6})"_s;
    }
    void buttonKeys()
    {
        QFETCH(QStringList, fields);
        QFETCH(QString, keys);
        QCOMPARE(IndivButtons::keysOf({fields[0], fields[1], fields[2]}), keys);
    }

    // Every key the dialog offers is one key the key strings know.
    void buttonKeyItems()
    {
        for (const QString &item : IndivButtons::keyItems()) {
            const KeyString parsed = parseKeyString(item);
            QVERIFY2(item == u"free"_s || (parsed.isValid() && parsed.strokes.size() == 1),
                     qPrintable(item));
        }
    }
};

QTEST_GUILESS_MAIN(tst_EditRules)
#include "tst_editrules.moc"
