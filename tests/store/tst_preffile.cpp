#include "store/preferences.h"
#include "store/preffile.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A full file with every value set apart from its default.
QList<QByteArray> sampleLines()
{
    return {"pref Plimsa 1.3.02",
            " 3",
            " 2",
            " 1",
            "Always First",
            "",
            "DejaVu Sans",
            " 11",
            "-1",
            " 0",
            "",
            " 1200",
            " 1300",
            " 7000",
            " 9000",
            " 1",
            " 1500",
            " 2500",
            " 6000",
            " 1",
            " 1",
            "/home/u/Notes/FileStore/",
            "Work/first",
            "free/free",
            "Trash/x",
            "\xffPrivate/y",
            "Hello, \"world\"",
            "free",
            "5\x80 each",
            "free",
            "NORMAL",
            "Sign",
            "Kind regards{ENTER}",
            "NORMAL",
            "free",
            "",
            "NORMAL",
            "free",
            "",
            "CHARLINE",
            "Line",
            "-",
            " 1"};
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

Preferences parsed(const QByteArray &bytes)
{
    Preferences prefs;
    const PrefFile::ParseResult result = PrefFile::parse(bytes, prefs);
    if (!result)
        qWarning("%s", qPrintable(result.error().description));
    return prefs;
}

} // namespace

class TestPrefFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void readsEveryValue()
    {
        Preferences p;
        QVERIFY(PrefFile::parse(crlf(sampleLines()), p));
        QCOMPARE(p.language, 3);
        QCOMPARE(p.StartWindowState, 2);
        QCOMPARE(p.StartLocked, 1);
        QCOMPARE(p.StartGroup, u"Always First"_s);
        QCOMPARE(p.FontName, u"DejaVu Sans"_s);
        QCOMPARE(p.FontSize, 11);
        QCOMPARE(p.FontBold, -1);
        QCOMPARE(p.WindowTop, 1200);
        QCOMPARE(p.WindowLeft, 1300);
        QCOMPARE(p.WindowHeight, 7000);
        QCOMPARE(p.WindowWidth, 9000);
        QCOMPARE(p.StartViewMask, 1);
        QCOMPARE(p.FrameTop, 1400);
        QCOMPARE(p.FrameLeft1, 2500);
        QCOMPARE(p.FrameLeft2, 6000);
        QCOMPARE(p.GroupListWhite, 1);
        QCOMPARE(p.HideYGroups, 1);
        QCOMPARE(p.StorePath, u"/home/u/Notes/FileStore/"_s);
        QCOMPARE(p.PositionMemory[3], u"\u00ffPrivate/y"_s);
        QCOMPARE(p.PhraseMemory[0], u"Hello, \"world\""_s);
        QCOMPARE(p.PhraseMemory[2], u"5\u20ac each"_s);
        QCOMPARE(p.IndivButton[0][2], u"Kind regards{ENTER}"_s);
        QCOMPARE(p.IndivButton[3], (std::array<QString, 3>{u"CHARLINE"_s, u"Line"_s, u"-"_s}));
        QCOMPARE(p.StartWordwrap, 1);
    }

    // Written and read back: the same values, but FrameTop comes back 100 less
    // and the Z to A sort is not kept.
    void roundTrip()
    {
        Preferences p = parsed(crlf(sampleLines()));
        p.SortDescending = -1;
        p.FrameTop = 2000;
        const TextLines::Encoded out = PrefFile::serialize(p, u"1.3.02"_s);
        QVERIFY(out);
        Preferences back;
        QVERIFY(PrefFile::parse(out.bytes, back));
        QCOMPARE(back.FrameTop, 1900);
        QCOMPARE(back.SortDescending, 0);
        back.FrameTop = p.FrameTop;
        back.SortDescending = p.SortDescending;
        QCOMPARE(PrefFile::serialize(back, u"1.3.02"_s).bytes, out.bytes);
    }

    void writesNumbersWithASignColumn()
    {
        Preferences p = parsed(crlf(sampleLines()));
        p.SortDescending = -1;
        p.FrameTop = 1500;
        QList<QByteArray> expected = sampleLines();
        const QByteArray bytes = PrefFile::serialize(p, u"1.3.02"_s).bytes;
        const QList<QByteArrayView> lines = TextLines::split(bytes);
        QCOMPARE(lines.size(), PrefFile::kLines);
        for (int i = 0; i < PrefFile::kLines; ++i)
            QCOMPARE(lines[i].toByteArray(), expected[i]);
    }

    void outOfRangeNumbersAreSavedAtTheLimit()
    {
        Preferences p;
        p.WindowWidth = 57600; // a 3840 pixel wide window
        p.WindowLeft = -40000;
        Preferences back;
        QVERIFY(PrefFile::parse(PrefFile::serialize(p, u"v"_s).bytes, back));
        QCOMPARE(back.WindowWidth, 32767);
        QCOMPARE(back.WindowLeft, -32768);
    }

    void textThatCannotBeStoredIsRefused_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::newRow("outside the code page") << u"\u03a9"_s;
        QTest::newRow("line break") << u"a\nb"_s;
    }
    void textThatCannotBeStoredIsRefused()
    {
        QFETCH(QString, phrase);
        Preferences p;
        p.PhraseMemory[1] = phrase;
        const TextLines::Encoded out = PrefFile::serialize(p, u"v"_s);
        QVERIFY(!out);
        QVERIFY(out.error->description.contains(u"Line 28"_s));
    }

    void readConversions_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty number is 0") << 8 << QByteArray() << u"FontSize"_s << u"0"_s;
        QTest::newRow("blanks around a number") << 8 << " \t 12  "_ba << u"FontSize"_s << u"12"_s;
        QTest::newRow("plus sign") << 8 << "+12"_ba << u"FontSize"_s << u"12"_s;
        QTest::newRow("limit") << 12 << "-32768"_ba << u"WindowTop"_s << u"-32768"_s;
        QTest::newRow("mask -1") << 16 << "-1"_ba << u"StartViewMask"_s << u"0"_s;
        QTest::newRow("white -1") << 20 << "-1"_ba << u"GroupListWhite"_s << u"0"_s;
        QTest::newRow("hide -1") << 21 << "-1"_ba << u"HideYGroups"_s << u"0"_s;
        QTest::newRow("FrameTop 1000") << 17 << " 1000"_ba << u"FrameTop"_s << u"900"_s;
        QTest::newRow("FrameTop 600") << 17 << " 600"_ba << u"FrameTop"_s << u"500"_s;
        QTest::newRow("FrameTop 550") << 17 << " 550"_ba << u"FrameTop"_s << u"840"_s;
        QTest::newRow("FrameTop empty") << 17 << ""_ba << u"FrameTop"_s << u"840"_s;
        QTest::newRow("FrameLeft1 50") << 18 << " 50"_ba << u"FrameLeft1"_s << u"2975"_s;
        QTest::newRow("FrameLeft1 100") << 18 << " 100"_ba << u"FrameLeft1"_s << u"100"_s;
        QTest::newRow("FrameLeft2 99") << 19 << " 99"_ba << u"FrameLeft2"_s << u"3600"_s;
        QTest::newRow("store -1") << 22 << "-1"_ba << u"StorePath"_s << u"preset"_s;
        QTest::newRow("store PRESET kept as typed")
            << 22 << "PRESET"_ba << u"StorePath"_s << u"PRESET"_s;
        QTest::newRow("store with comma") << 22 << "/a, b/"_ba << u"StorePath"_s << u"/a, b/"_s;
        QTest::newRow("memory -1") << 24 << "-1"_ba << u"PositionMemory1"_s << u"free/free"_s;
        QTest::newRow("phrase -1") << 30 << "-1"_ba << u"PhraseMemory3"_s << u"free"_s;
        QTest::newRow("phrase -1 with blank is text")
            << 30 << " -1"_ba << u"PhraseMemory3"_s << u" -1"_s;
        QTest::newRow("phrase kept whole")
            << 27 << "  \"a\", b  "_ba << u"PhraseMemory0"_s << u"  \"a\", b  "_s;
        QTest::newRow("button field 0 empty") << 34 << ""_ba << u"IndivButton1.0"_s << u"NORMAL"_s;
        QTest::newRow("button field 1 empty") << 35 << ""_ba << u"IndivButton1.1"_s << u"free"_s;
        QTest::newRow("button field 2 empty") << 36 << ""_ba << u"IndivButton1.2"_s << QString();
        QTest::newRow("button -1 is text") << 31 << "-1"_ba << u"IndivButton0.0"_s << u"-1"_s;
        QTest::newRow("damaged last line") << 43 << "yes"_ba << u"StartWordwrap"_s << u"0"_s;
        QTest::newRow("out of range last line") << 43 << "99999"_ba << u"StartWordwrap"_s << u"0"_s;
    }
    void readConversions()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, value);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        QList<QByteArray> lines = sampleLines();
        lines[line - 1] = value;
        Preferences p;
        const PrefFile::ParseResult result = PrefFile::parse(crlf(lines), p);
        QVERIFY2(result, qPrintable(result.error().description));
        const QHash<QString, QString> values{
            {u"FontSize"_s, QString::number(p.FontSize)},
            {u"WindowTop"_s, QString::number(p.WindowTop)},
            {u"StartViewMask"_s, QString::number(p.StartViewMask)},
            {u"GroupListWhite"_s, QString::number(p.GroupListWhite)},
            {u"HideYGroups"_s, QString::number(p.HideYGroups)},
            {u"FrameTop"_s, QString::number(p.FrameTop)},
            {u"FrameLeft1"_s, QString::number(p.FrameLeft1)},
            {u"FrameLeft2"_s, QString::number(p.FrameLeft2)},
            {u"StorePath"_s, p.StorePath},
            {u"PositionMemory1"_s, p.PositionMemory[1]},
            {u"PhraseMemory0"_s, p.PhraseMemory[0]},
            {u"PhraseMemory3"_s, p.PhraseMemory[3]},
            {u"IndivButton0.0"_s, p.IndivButton[0][0]},
            {u"IndivButton1.0"_s, p.IndivButton[1][0]},
            {u"IndivButton1.1"_s, p.IndivButton[1][1]},
            {u"IndivButton1.2"_s, p.IndivButton[1][2]},
            {u"StartWordwrap"_s, QString::number(p.StartWordwrap)},
        };
        QVERIFY(values.contains(field));
        QCOMPARE(values.value(field), expected);
    }

    void everyNotSetMarkInLines16To30()
    {
        QList<QByteArray> lines = sampleLines();
        for (int line = 16; line <= 30; ++line)
            lines[line - 1] = "-1";
        Preferences p;
        QVERIFY(PrefFile::parse(crlf(lines), p));
        QCOMPARE(p.StartViewMask, 0);
        QCOMPARE(p.GroupListWhite, 0);
        QCOMPARE(p.HideYGroups, 0);
        QCOMPARE(p.StorePath, u"preset"_s);
        QCOMPARE(p.PositionMemory, (std::array<QString, 4>{u"free/free"_s, u"free/free"_s,
                                                           u"free/free"_s, u"free/free"_s}));
        QCOMPARE(p.PhraseMemory,
                 (std::array<QString, 4>{u"free"_s, u"free"_s, u"free"_s, u"free"_s}));
        QCOMPARE(p.FrameTop, 840);
        QCOMPARE(p.FrameLeft1, 2975);
        QCOMPARE(p.FrameLeft2, 3600);
    }

    void shortFilesTakeTheDefaults_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QByteArray>("lineEnd");
        QTest::newRow("30 lines") << 30 << "\r\n"_ba;
        QTest::newRow("30 lines, lf") << 30 << "\n"_ba;
        QTest::newRow("36 lines, cr") << 36 << "\r"_ba;
        QTest::newRow("42 lines") << 42 << "\r\n"_ba;
    }
    void shortFilesTakeTheDefaults()
    {
        QFETCH(int, lineCount);
        QFETCH(QByteArray, lineEnd);
        const QList<QByteArray> lines = sampleLines().mid(0, lineCount);
        Preferences p;
        p.StartWordwrap = 1;
        QVERIFY(PrefFile::parse(lines.join(lineEnd) + lineEnd, p));
        QCOMPARE(p.PhraseMemory[3], u"free"_s);
        QCOMPARE(p.StartWordwrap, 0);
        const std::array<QString, 3> unset{u"NORMAL"_s, u"free"_s, QString()};
        if (lineCount < 40)
            QCOMPARE(p.IndivButton[3], unset);
        if (lineCount == 30)
            QCOMPARE(p.IndivButton[0], unset);
        if (lineCount >= 36)
            QCOMPARE(p.IndivButton[0][2], u"Kind regards{ENTER}"_s);
    }

    void damage_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("value");
        QTest::newRow("letters in a number") << 3 << "two"_ba;
        QTest::newRow("digits and letters") << 8 << "12pt"_ba;
        QTest::newRow("fraction") << 8 << "10.5"_ba;
        QTest::newRow("two numbers") << 12 << "1 2"_ba;
        QTest::newRow("above 16 bits") << 15 << "32768"_ba;
        QTest::newRow("below 16 bits") << 13 << "-32769"_ba;
        QTest::newRow("huge") << 14 << "99999999999999999999"_ba;
        QTest::newRow("language 10") << 2 << "10"_ba;
        QTest::newRow("language -1") << 2 << "-1"_ba;
    }
    void damage()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, value);
        QList<QByteArray> lines = sampleLines();
        lines[line - 1] = value;
        Preferences p;
        p.FontName = u"unchanged"_s;
        const PrefFile::ParseResult result = PrefFile::parse(crlf(lines), p);
        QVERIFY(!result);
        QCOMPARE(result.line, line);
        QVERIFY(result.error().description.contains(u"line %1"_s.arg(line)));
        QCOMPARE(p.FontName, u"unchanged"_s);
    }

    void missingRequiredLines_data()
    {
        QTest::addColumn<int>("lineCount");
        QTest::newRow("empty file") << 0;
        QTest::newRow("header only") << 1;
        QTest::newRow("29 lines") << 29;
    }
    void missingRequiredLines()
    {
        QFETCH(int, lineCount);
        Preferences p;
        const PrefFile::ParseResult result =
            PrefFile::parse(crlf(sampleLines().mid(0, lineCount)), p);
        QVERIFY(!result);
        QCOMPARE(result.line, lineCount + 1);
    }

    void emptyLastTextLineIsPresent()
    {
        // A 30-line file whose last phrase is empty still has 30 lines.
        QList<QByteArray> lines = sampleLines().mid(0, 30);
        lines[29] = "";
        Preferences p;
        QVERIFY(PrefFile::parse(crlf(lines), p));
        QCOMPARE(p.PhraseMemory[3], QString());
    }
};

QTEST_GUILESS_MAIN(TestPrefFile)
#include "tst_preffile.moc"
