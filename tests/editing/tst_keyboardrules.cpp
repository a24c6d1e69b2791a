// The key strings of the individual buttons and the captions of the phrases.

#include "editing/indivbuttons.h"
#include "editing/phrasecaptions.h"
#include "i18n/wordtable.h"
#include "platform/keystring.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestKeyboardRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:

    void buttonKeys_data()
    {
        QTest::addColumn<QStringList>("fields");
        QTest::addColumn<QString>("keys");
        QTest::newRow("free") << QStringList{u"NORMAL"_s, u"free"_s, QString()} << QString();
        QTest::newRow("ctrl F5") << QStringList{u"CTRL"_s, u"{F5}"_s, QString()} << u"^{F5}"_s;
        QTest::newRow("shift over both keys")
            << QStringList{u"SHIFT"_s, u"{F5}"_s, u"{F6}"_s} << u"+({F5}{F6})"_s;
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
        const QStringList items = IndivButtons::keyItems();
        QCOMPARE(items.size(), 54);
        QVERIFY(!items.contains(u"{F1}"_s));
        QCOMPARE(items.indexOf(u"free"_s), 31);
        QCOMPARE(items.first(), u"{DEL}"_s);
        QCOMPARE(items.last(), u"Z"_s);
        for (const QString &item : items) {
            if (item == u"free"_s)
                continue;
            const KeyString parsed = parseKeyString(item);
            QVERIFY2(parsed.isValid() && parsed.strokes.size() == 1, qPrintable(item));
        }
        QCOMPARE(IndivButtons::modifierItems(),
                 (QStringList{u"NORMAL"_s, u"SHIFT"_s, u"CTRL"_s, u"ALT"_s}));
    }

    void phraseCaptions_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("set");
        QTest::newRow("free") << 0 << u"free"_s << u"Phrase &1  [F5]  =>  free"_s
                              << u"Phrase &1  [SH] + [F5]  =>  free"_s;
        QTest::newRow("20 characters")
            << 3 << u"abcdefghijklmnopqrst"_s << u"Phrase &4  [F8]  =>  abcdefghijklmno..."_s
            << u"Phrase &4  [SH] + [F8]  =>  abcdefghijklmno..."_s;
        QTest::newRow("15 characters")
            << 1 << u"abcdefghijklmno"_s << u"Phrase &2  [F6]  =>  abcdefghijklmno"_s
            << u"Phrase &2  [SH] + [F6]  =>  abcdefghijklmno"_s;
    }
    void phraseCaptions()
    {
        QFETCH(int, n);
        QFETCH(QString, phrase);
        QFETCH(QString, call);
        QFETCH(QString, set);
        const WordTable table;
        const int english = 0;
        const Words words(table, english);
        using namespace PhraseCaptions;
        QCOMPARE(callPrefix(words, n) + shownPhrase(phrase), call);
        QCOMPARE(setPrefix(words, n) + shownPhrase(phrase), set);
    }
};

QTEST_GUILESS_MAIN(TestKeyboardRules)
#include "tst_keyboardrules.moc"
