#include "platform/keystring.h"

#include <QKeySequence>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// "Shift+A=A Ctrl+F5": each stroke as its key combination, "=" and what it types.
QString describe(const QList<KeyStroke> &strokes)
{
    QStringList parts;
    for (const KeyStroke &s : strokes) {
        QString part = QKeySequence(QKeyCombination(s.modifiers, s.key)).toString();
        if (!s.text.isEmpty())
            part += u'=';
        for (QChar c : s.text)
            part += c.unicode() < 0x20 || c.unicode() == 0x7f
                        ? u"\\x"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0')
                        : QString(c);
        parts << part;
    }
    return parts.join(u' ');
}

} // namespace

class TestKeyString : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void wellFormed_data();
    void wellFormed();
    void malformed_data();
    void malformed();
    void repeatLimit();
    void characterKeyCodes_data();
    void characterKeyCodes();
};

void TestKeyString::wellFormed_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("strokes");

    QTest::newRow("empty") << u""_s << u""_s;
    QTest::newRow("plain text") << u"ab 1"_s << u"A=a B=b Space=  1=1"_s;
    QTest::newRow("capital typed with shift") << u"Hi"_s << u"Shift+H=H I=i"_s;
    QTest::newRow("ctrl F5") << u"^{F5}"_s << u"Ctrl+F5"_s;
    QTest::newRow("shift over a group") << u"+({F5}{F6})"_s << u"Shift+F5 Shift+F6"_s;
    QTest::newRow("group without modifier") << u"({F5}{F6})"_s << u"F5 F6"_s;
    QTest::newRow("modifier takes one key") << u"+{F5}{F6}"_s << u"Shift+F5 F6"_s;
    QTest::newRow("nested groups add up") << u"+(a^(b))c"_s
                                          << u"Shift+A=A Ctrl+Shift+B=\\x02 C=c"_s;
    QTest::newRow("repeat") << u"{LEFT 3}"_s << u"Left Left Left"_s;
    QTest::newRow("repeat character") << u"{x 3}"_s << u"X=x X=x X=x"_s;
    QTest::newRow("repeat zero") << u"{x 0}"_s << u""_s;
    QTest::newRow("names in any case") << u"{end}{Home}{pGdN}{F16}"_s << u"End Home PgDown F16"_s;
    QTest::newRow("aliases")
        << u"{ESC}{ESCAPE}{DEL}{DELETE}{INS}{INSERT}{BS}{BKSP}{BACKSPACE}"_s
        << u"Esc=\\x1b Esc=\\x1b Del=\\x7f Del=\\x7f Ins Ins "
           u"Backspace=\\x08 Backspace=\\x08 Backspace=\\x08"_s;
    QTest::newRow("enter") << u"~{ENTER}+~"_s << u"Return=\\x0d Return=\\x0d Shift+Return=\\x0d"_s;
    QTest::newRow("escaped specials") << u"{+}{^}{%}{~}{(}{)}"_s << u"+=+ ^=^ %=% ~=~ (=( )=)"_s;
    QTest::newRow("escaped braces and brackets") << u"{{}{}}{[}{]}[]"_s
                                                 << u"{={ }=} [=[ ]=] [=[ ]=]"_s;
    QTest::newRow("repeated escaped brace") << u"{} 2}"_s << u"}=} }=}"_s;
    QTest::newRow("repeated blank") << u"{  2}"_s << u"Space=  Space= "_s;
    QTest::newRow("euro") << u"€"_s << u"€=€"_s;
    QTest::newRow("umlaut capital") << u"Ä+ö"_s << u"Shift+Ä=Ä Shift+Ö=Ö"_s;
    QTest::newRow("ctrl letter types a control character")
        << u"^v^V"_s << u"Ctrl+V=\\x16 Ctrl+Shift+V=\\x16"_s;
    QTest::newRow("alt types nothing") << u"%f%{F4}"_s << u"Alt+F Alt+F4"_s;
    QTest::newRow("shift tab is backtab") << u"+{TAB}"_s << u"Shift+Backtab=\\x09"_s;
    QTest::newRow("keypad") << u"{ADD}{SUBTRACT}"_s << u"Num++=+ Num+-=-"_s;
    QTest::newRow("character outside the BMP")
        << u"\U0001F600"_s << QKeySequence(0x1F600).toString() + u"=\U0001F600"_s;
}

void TestKeyString::wellFormed()
{
    QFETCH(QString, keys);
    QFETCH(QString, strokes);
    const KeyString parsed = parseKeyString(keys);
    QVERIFY2(parsed.isValid(), qPrintable(parsed.error));
    QCOMPARE(describe(parsed.strokes), strokes);
}

void TestKeyString::malformed_data()
{
    QTest::addColumn<QString>("keys");

    QTest::newRow("unknown name") << u"ab{FOO}"_s;
    QTest::newRow("no F17") << u"{F17}"_s;
    QTest::newRow("no F0") << u"{F0}"_s;
    QTest::newRow("signed key number") << u"{F+5}"_s;
    QTest::newRow("unclosed brace") << u"ab{F5"_s;
    QTest::newRow("empty braces") << u"{}"_s;
    QTest::newRow("stray closing brace") << u"ab}"_s;
    QTest::newRow("unclosed group") << u"+(ab"_s;
    QTest::newRow("stray closing parenthesis") << u"ab)"_s;
    QTest::newRow("modifier at end") << u"ab^"_s;
    QTest::newRow("modifier alone") << u"+"_s;
    QTest::newRow("modifier before closing") << u"(a+)"_s;
    QTest::newRow("modifier twice") << u"++a"_s;
    QTest::newRow("huge count") << u"{x 99999999999}"_s;
    QTest::newRow("control character") << u"a\u0001b"_s;
    QTest::newRow("lone surrogate") << QString(QChar(0xD800));
}

void TestKeyString::malformed()
{
    QFETCH(QString, keys);
    const KeyString parsed = parseKeyString(keys);
    QVERIFY(!parsed.isValid());
    QVERIFY(parsed.strokes.isEmpty());
}

void TestKeyString::repeatLimit()
{
    QCOMPARE(parseKeyString(u"{x %1}"_s.arg(MaxRepeat)).strokes.size(), MaxRepeat);
    QVERIFY(!parseKeyString(u"{x %1}"_s.arg(MaxRepeat + 1)).isValid());
}

void TestKeyString::characterKeyCodes_data()
{
    QTest::addColumn<QString>("character");
    QTest::addColumn<int>("key");

    QTest::newRow("a") << u"a"_s << int(Qt::Key_A);
    QTest::newRow("a umlaut") << u"ä"_s << int(Qt::Key_Adiaeresis);
    QTest::newRow("euro") << u"€"_s << 0x20ac; // Qt has no name for this key code
    // Their capitals lie outside Latin-1; Qt keeps the small letter's code.
    QTest::newRow("y diaeresis") << u"ÿ"_s << int(Qt::Key_ydiaeresis);
    QTest::newRow("micro") << u"µ"_s << int(Qt::Key_mu);
}

void TestKeyString::characterKeyCodes()
{
    QFETCH(QString, character);
    QFETCH(int, key);
    const KeyString parsed = parseKeyString(character);
    QCOMPARE(parsed.strokes.size(), 1);
    QCOMPARE(int(parsed.strokes.first().key), key);
    QCOMPARE(parsed.strokes.first().text, character);
}

QTEST_GUILESS_MAIN(TestKeyString)
#include "tst_keystring.moc"
