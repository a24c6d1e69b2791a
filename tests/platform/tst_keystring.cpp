// Key strings as they are read: what each stroke is and types. How they are
// typed into the window, a phrase that presses its own key, F10 on the menu
// bar and {END} after a double-click: tests/e2e (tst_keymap).

#include "platform/keystring.h"

#include <QKeySequence>
#include <QTest>

using namespace Qt::StringLiterals;

class TestKeyString : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // "Shift+A=A Ctrl+F5": each stroke as its key combination, "=" and what
    // it types; null for a string that is refused, with nothing typed at all.
    void parse_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("strokes");
        QTest::newRow("ctrl, alt types nothing") << u"^{F5}%f"_s << u"Ctrl+F5 Alt+F"_s;
        QTest::newRow("shift over a group, then over one key")
            << u"+({F5}{F6})+{F7}{F8}"_s << u"Shift+F5 Shift+F6 Shift+F7 F8"_s;
        QTest::newRow("names in any case, repeat")
            << u"{end}{DEL}{PgDn}{LEFT 2}"_s << u"End Del=\x7f PgDown Left Left"_s;
        QTest::newRow("enter") << u"~{ENTER}"_s << u"Return=\r Return=\r"_s;
        QTest::newRow("escaped specials")
            << u"{+}{^}{%}{~}{(}{)}{{}{}}"_s << u"+=+ ^=^ %=% ~=~ (=( )=) {={ }=}"_s;
        QTest::newRow("characters") << u"Hi€Ä"_s << u"Shift+H=H I=i €=€ Shift+Ä=Ä"_s;
        QTest::newRow("shift tab is backtab") << u"+{TAB}"_s << u"Shift+Backtab=\t"_s;
        QTest::newRow("character outside the BMP")
            << u"\U0001F600"_s << QKeySequence(0x1F600).toString() + u"=\U0001F600"_s;
        QTest::newRow("unknown name") << u"ab{FOO}"_s << QString();
        QTest::newRow("unclosed brace") << u"ab{F5"_s << QString();
        QTest::newRow("unclosed group") << u"+(ab"_s << QString();
        QTest::newRow("modifier at end") << u"ab^"_s << QString();
        QTest::newRow("count past the limit") << u"{x 99999999999}"_s << QString();
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QString();
    }
    void parse()
    {
        QFETCH(QString, keys);
        QFETCH(QString, strokes);
        const KeyString parsed = parseKeyString(keys);
        QCOMPARE(parsed.isValid(), !strokes.isNull());
        QStringList parts;
        for (const KeyStroke &s : parsed.strokes) {
            const QString keys = QKeySequence(QKeyCombination(s.modifiers, s.key)).toString();
            parts << (s.text.isEmpty() ? keys : keys + u'=' + s.text);
        }
        QCOMPARE(parts.join(u' '), strokes.isNull() ? QString() : strokes);
    }

    // A date or a time is typed as it reads, whatever characters the locale's forms hold.
    void escape()
    {
        for (const QString &text : {u"02.01.03"_s, u"a+b^c%d~e(f)g{h}i[j]"_s, u"}{"_s,
                                   // No byte order mark in the middle of a text.
                                   u"\uFEFF1.\uFEFF2."_s}) {
            const KeyString parsed = parseKeyString(escapeKeyString(text));
            QVERIFY2(parsed.isValid(), qPrintable(parsed.error));
            QString typed;
            for (const KeyStroke &stroke : parsed.strokes)
                typed += stroke.text;
            QCOMPARE(typed, text);
        }
    }
};

QTEST_MAIN(TestKeyString)
#include "tst_keystring.moc"
