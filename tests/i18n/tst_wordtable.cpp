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

private Q_SLOTS:
    void load_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty file") << QByteArray() << 1 << 0 << QString();
        const QByteArray oneBlock = numberedLines(WordTable::kWords);
        QTest::newRow("one block: last word") << oneBlock << 1 << 150 << u"w150"_s;
        QTest::newRow("one block: language 2 empty") << oneBlock << 2 << 0 << QString();
        QTest::newRow("lines past 1359 ignored")
            << numberedLines(WordTable::kFileLines + 200) << 9 << 150 << u"w1358"_s;
        QTest::newRow("euro, y diaeresis, acute accent")
            << QByteArray("\x80 \xFF \xB4\r\n") << 1 << 0 << u"\u20AC \u00FF \u00B4"_s;
    }

    void load()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, language);
        QFETCH(int, word);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        QFile file(dir.filePath(u"Language.dat"_s));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
        file.close();

        WordTable table;
        QVERIFY(!table.loadLanguageFile(file.fileName()).has_value());
        QCOMPARE(table.word(language, word), expected);
        QCOMPARE(table.word(0, 0), u"English"_s);
    }

    // The characters outside ASCII survive the source file's encoding. Only
    // the first "&" goes; a doubled one after it stays doubled.
    void englishWords()
    {
        QCOMPARE(WordTable::english(65), u"Hide \u00FF-Groups (manual)"_s);
        QCOMPARE(WordTable::english(144), u"Insert \u20AC"_s);
        QCOMPARE(StripAmp(WordTable::english(23)), u"Save Win-Pos., Win-Dim. && Frames"_s);
    }

    void shippedFileHoldsNineFreeSlots()
    {
        const QString path = qEnvironmentVariable("PLIMSA_DATA") + u"/Language.dat"_s;
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes.count("\r\n"), qsizetype(WordTable::kFileLines));
        QCOMPARE(bytes.count('\n'), qsizetype(WordTable::kFileLines));
        WordTable table;
        QVERIFY(!table.loadLanguageFile(path).has_value());
        for (int language = 1; language < WordTable::kLanguages; ++language) {
            QCOMPARE(table.word(language, 0), u"(free)"_s);
            QCOMPARE(table.word(language, WordTable::kWords - 1), QString());
        }
    }
};

QTEST_GUILESS_MAIN(TestWordTable)
#include "tst_wordtable.moc"
