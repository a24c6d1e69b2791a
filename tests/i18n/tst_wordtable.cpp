#include "i18n/wordtable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Lines "w0", "w1", ... ended by CR LF: word k of language L reads "w" & (L-1)*151+k.
QByteArray numberedLines(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "w" + QByteArray::number(i) + "\r\n";
    return out;
}

} // namespace

class TestWordTable : public QObject
{
    Q_OBJECT

    QTemporaryDir dir_;

    QString writeFile(const QByteArray &bytes)
    {
        const QString path = dir_.filePath(u"Language.dat"_s);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return path;
    }

private Q_SLOTS:
    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty file leaves language 1 empty") << QByteArray() << 1 << 0 << QString();

        const QByteArray oneBlock = numberedLines(WordTable::kWords);
        QTest::newRow("one block: name of language 1") << oneBlock << 1 << 0 << u"w0"_s;
        QTest::newRow("one block: last word of language 1") << oneBlock << 1 << 150 << u"w150"_s;
        QTest::newRow("one block: language 2 keeps its empty name") << oneBlock << 2 << 0 << QString();

        const QByteArray full = numberedLines(WordTable::kFileLines);
        QTest::newRow("full file: language 5 word 7") << full << 5 << 7 << u"w611"_s;
        QTest::newRow("full file: last word") << full << 9 << 150 << u"w1358"_s;

        const QByteArray longer = numberedLines(WordTable::kFileLines + 200);
        QTest::newRow("lines past 1359 ignored: last word") << longer << 9 << 150 << u"w1358"_s;

        QTest::newRow("code page bytes") << QByteArray("\x80 \xFF \xB4\r\n") << 1 << 0
                                         << u"\u20AC \u00FF \u00B4"_s;
        QTest::newRow("commas, quotes and outer blanks kept")
            << QByteArray(" Enter \"preset\", if in program folder \r\n") << 1 << 0
            << u" Enter \"preset\", if in program folder "_s;
        QTest::newRow("empty lines count as words")
            << QByteArray("\r\n\r\nthird\r\n") << 1 << 2 << u"third"_s;
        QTest::newRow("LF-only file") << QByteArray("a\nb\nc\n") << 1 << 2 << u"c"_s;
        QTest::newRow("CR-only file") << QByteArray("a\rb\rc\r") << 1 << 2 << u"c"_s;
        QTest::newRow("CR then CR LF is an empty line")
            << QByteArray("a\r\r\nc\r\n") << 1 << 1 << QString();
        QTest::newRow("CR then CR LF, the line after it")
            << QByteArray("a\r\r\nc\r\n") << 1 << 2 << u"c"_s;
        QTest::newRow("last line without a break") << QByteArray("a\r\nlast") << 1 << 1 << u"last"_s;
        QTest::newRow("line 152 names language 2")
            << numberedLines(WordTable::kWords + 1) << 2 << 0 << u"w151"_s;
    }

    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, language);
        QFETCH(int, word);
        QFETCH(QString, expected);

        WordTable table;
        QVERIFY(!table.loadLanguageFile(writeFile(content)).has_value());
        QCOMPARE(table.word(language, word), expected);
        QCOMPARE(table.word(0, 0), u"English"_s);
    }

    void shortFileKeepsWhatTheTableHad()
    {
        WordTable table;
        table.word(2, 0) = u"kept"_s;
        QVERIFY(!table.loadLanguageFile(writeFile(numberedLines(WordTable::kWords))).has_value());
        QCOMPARE(table.word(2, 0), u"kept"_s);
    }

    void missingFileIsAnErrorAndChangesNothing()
    {
        WordTable table;
        table.word(1, 0) = u"kept"_s;
        const auto error = table.loadLanguageFile(dir_.filePath(u"none/Language.dat"_s));
        QVERIFY(error.has_value());
        QVERIFY(!error->description.isEmpty());
        QCOMPARE(table.word(1, 0), u"kept"_s);
    }

    void folderInsteadOfFileIsAnError()
    {
        WordTable table;
        QVERIFY(table.loadLanguageFile(dir_.path()).has_value());
    }

    void english_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("expected");

        QTest::newRow("0 name") << 0 << u"English"_s;
        QTest::newRow("17 six blanks") << 17 << u"One Place &Up      [SH] + [CRSR-up]"_s;
        QTest::newRow("18 two blanks") << 18 << u"One Place Do&wn  [SH] + [CRSR-down]"_s;
        QTest::newRow("125 two blanks") << 125 << u"Insert &Date  [F11]"_s;
        QTest::newRow("134 two blanks") << 134 << u"&Last Position before moving Entry  [F9]"_s;
        QTest::newRow("142 nine blanks") << 142 << u"Indent Ri&ght         [SH] + [CRSR-right]"_s;
        QTest::newRow("143 eleven blanks") << 143 << u"Indent &Left           [SH] + [CRSR-left]"_s;
        QTest::newRow("83 quotes") << 83 << u"Edit only! Change Language in \"Settings\""_s;
        QTest::newRow("113 quotes") << 113 << u"Path to \"FileStore\""_s;
        QTest::newRow("114 quotes, outer blanks") << 114 << u" Enter \"preset\" if in program folder "_s;
        QTest::newRow("115 quotes") << 115 << u"Can not find \"idx.dat\"! - Try it again with preset."_s;
        QTest::newRow("139 no closing quote")
            << 139 << u"Memory place is free !  Before using click on \"Go/Move / Save to... / Memory"_s;
        QTest::newRow("65 y diaeresis") << 65 << u"Hide \u00FF-Groups (manual)"_s;
        QTest::newRow("74 acute accent") << 74 << u"After restart you must click on Plimsa\u00B4s button!"_s;
        QTest::newRow("77 y diaeresis") << 77 << u"Possible only if \u00FF-groups not hidden!"_s;
        QTest::newRow("101 y diaeresis") << 101 << u"Search including \u00FF-Groups"_s;
        QTest::newRow("144 euro") << 144 << u"Insert \u20AC"_s;
        for (int k : {135, 136, 137, 138, 140, 150})
            QTest::addRow("%d empty", k) << k << QString();
    }

    void english()
    {
        QFETCH(int, word);
        QFETCH(QString, expected);
        QCOMPARE(WordTable::english(word), expected);
        QCOMPARE(WordTable().word(0, word), expected);
    }

    void stripAmp_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("expected");
        QTest::newRow("first ampersand") << u"&Exit"_s << u"Exit"_s;
        QTest::newRow("word 23 keeps the double") << WordTable::english(23)
                                                  << u"Save Win-Pos., Win-Dim. && Frames"_s;
        QTest::newRow("word 20 keeps the double") << WordTable::english(20)
                                                  << u"Global Settings (&& set language)"_s;
        QTest::newRow("no ampersand") << u"Memory"_s << u"Memory"_s;
        QTest::newRow("empty") << QString() << QString();
    }

    void stripAmp()
    {
        QFETCH(QString, caption);
        QFETCH(QString, expected);
        QCOMPARE(StripAmp(caption), expected);
    }

    void shippedFileHoldsNineFreeSlots()
    {
        const QByteArray dataDir = qgetenv("PLIMSA_DATA");
        if (dataDir.isEmpty())
            QSKIP("PLIMSA_DATA is not set");
        const QString path = QString::fromLocal8Bit(dataDir) + u"/Language.dat"_s;

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), qsizetype(WordTable::kFileLines));
        QCOMPARE(bytes.count('\n'), qsizetype(WordTable::kFileLines));

        WordTable table;
        QVERIFY(!table.loadLanguageFile(path).has_value());
        for (int language = 1; language < WordTable::kLanguages; ++language) {
            QCOMPARE(table.word(language, 0), u"(free)"_s);
            for (int k = 1; k < WordTable::kWords; ++k)
                QVERIFY2(table.word(language, k).isEmpty(), qPrintable(u"%1/%2"_s.arg(language).arg(k)));
        }
    }
};

QTEST_GUILESS_MAIN(TestWordTable)
#include "tst_wordtable.moc"
