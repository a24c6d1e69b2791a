#include "store/textlines.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTextLines : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void split_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QList<QByteArray>>("lines");
        using L = QList<QByteArray>;
        QTest::newRow("empty") << QByteArray() << L{};
        QTest::newRow("no break") << "a"_ba << L{"a"};
        QTest::newRow("crlf, final break") << "a\r\nb\r\n"_ba << L{"a", "b"};
        QTest::newRow("crlf, no final break") << "a\r\nb"_ba << L{"a", "b"};
        QTest::newRow("lf only") << "a\nb\n"_ba << L{"a", "b"};
        QTest::newRow("cr only") << "a\rb\r"_ba << L{"a", "b"};
        QTest::newRow("mixed") << "a\r\nb\nc\rd"_ba << L{"a", "b", "c", "d"};
        QTest::newRow("empty lines kept")
            << "\r\na\r\n\r\n\nb\r\r\n"_ba << L{"", "a", "", "", "b", ""};
        QTest::newRow("cr cr lf is a line and an empty line") << "a\r\r\n"_ba << L{"a", ""};
        QTest::newRow("lf cr is two breaks") << "a\n\rb"_ba << L{"a", "", "b"};
        QTest::newRow("only a break") << "\r\n"_ba << L{""};
        QTest::newRow("control bytes stay") << "a\tb\x01\x0b\x0c\r\n"_ba << L{"a\tb\x01\x0b\x0c"};
    }
    void split()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QList<QByteArray>, lines);
        QList<QByteArray> got;
        for (QByteArrayView v : TextLines::split(bytes))
            got.append(v.toByteArray());
        QCOMPARE(got, lines);

        QStringList text;
        for (const QByteArray &l : lines)
            text.append(QString::fromLatin1(l));
        QCOMPARE(TextLines::splitText(QString::fromLatin1(bytes)), text);
    }

    // Lines are scanned a word at a time: breaks and other control bytes at
    // every position within and across words.
    void breaksAtEveryOffset()
    {
        const QList<QByteArray> breaks{"\r\n", "\n", "\r"};
        for (int length = 0; length < 27; ++length) {
            for (const QByteArray &lineEnd : breaks) {
                QByteArray line(length, 'a');
                if (length > 2)
                    line[length / 3] = '\t';
                if (length > 4)
                    line[length - 2] = '\x0c';
                const QByteArray bytes = line + lineEnd + line + "\xff" + lineEnd + "\x01";
                QList<QByteArray> got;
                for (QByteArrayView v : TextLines::split(bytes))
                    got.append(v.toByteArray());
                QCOMPARE(got, (QList<QByteArray>{line, line + "\xff", "\x01"}));
            }
        }
    }

    void readerRest()
    {
        const QByteArray bytes = "date\nline 1\r\nline 2\r\n"_ba;
        TextLines::Reader reader(bytes);
        QByteArrayView first;
        QVERIFY(reader.next(first));
        QCOMPARE(first.toByteArray(), "date"_ba);
        QCOMPARE(reader.rest().toByteArray(), "line 1\r\nline 2\r\n"_ba);
        QVERIFY(reader.next(first));
        QVERIFY(reader.next(first));
        QVERIFY(reader.atEnd());
        QVERIFY(!reader.next(first));
    }

    void toCrLf_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("already crlf") << u"a\r\nb\r\n"_s << u"a\r\nb\r\n"_s;
        QTest::newRow("lf") << u"a\nb\n"_s << u"a\r\nb\r\n"_s;
        QTest::newRow("cr") << u"a\rb"_s << u"a\r\nb"_s;
        QTest::newRow("mixed after crlf") << u"a\r\nb\nc\r"_s << u"a\r\nb\r\nc\r\n"_s;
        QTest::newRow("cr cr lf") << u"\r\r\n"_s << u"\r\n\r\n"_s;
        QTest::newRow("none") << u"plain"_s << u"plain"_s;
    }
    void toCrLf()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TextLines::toCrLf(text), expected);
    }

    void writerEndsEveryLineWithCrLf()
    {
        TextLines::Writer out(1); // grows past its first guess
        QVERIFY(out.line(u"caf\u00e9 \u20ac"_s));
        out.asciiLine(" 0");
        QVERIFY(out.line(u"x"_s, "\\"));
        for (int i = 0; i < 200; ++i)
            QVERIFY(out.line(u"0123456789"_s));
        const TextLines::Encoded done = out.finish();
        QVERIFY(done);
        QVERIFY(done.bytes.startsWith("caf\xe9 \x80\r\n 0\r\n\\x\r\n0123456789\r\n"_ba));
        QCOMPARE(done.bytes.size(), 8 + 4 + 4 + 200 * 12);
    }

    void writerRefuses_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("reason");
        QTest::newRow("outside the code page") << u"ok \u0100"_s << u"U+0100"_s;
        QTest::newRow("emoji") << u"\U0001F600"_s << u"U+D83D"_s;
        QTest::newRow("cr inside") << u"a\rb"_s << u"line break"_s;
        QTest::newRow("lf inside") << u"a\nb"_s << u"line break"_s;
        QTest::newRow("cr deep in a long line")
            << QString(13, u'a') + u"\t\r"_s + QString(20, u'b') << u"line break"_s;
    }
    void writerRefuses()
    {
        QFETCH(QString, line);
        QFETCH(QString, reason);
        TextLines::Writer out;
        QVERIFY(out.line(u"first"_s));
        QVERIFY(!out.line(line));
        QVERIFY(!out.line(u"after"_s));
        const TextLines::Encoded done = out.finish();
        QVERIFY(!done);
        QVERIFY2(done.error->description.contains(reason), qPrintable(done.error->description));
        QVERIFY(done.error->description.contains(u"Line 2"_s));
        QVERIFY(done.bytes.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextLines)
#include "tst_textlines.moc"
