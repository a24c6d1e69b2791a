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
        QTest::newRow("one block: first word") << oneBlock << 1 << 0 << u"w0"_s;
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

    // The characters outside ASCII survive the source file's encoding.
    void englishSpecialCharacters()
    {
        QCOMPARE(WordTable::english(65), u"Hide \u00FF-Groups (manual)"_s);
        QCOMPARE(WordTable::english(74),
                 u"After restart you must click on Plimsa\u00B4s button!"_s);
        QCOMPARE(WordTable::english(144), u"Insert \u20AC"_s);
    }

    // Only the first "&" goes; a doubled one after it stays doubled.
    void stripAmp()
    {
        QCOMPARE(StripAmp(WordTable::english(23)), u"Save Win-Pos., Win-Dim. && Frames"_s);
        QCOMPARE(StripAmp(u"Memory"_s), u"Memory"_s);
    }

    // Written whole: a language in use gets the English text for every word
    // it leaves empty, a free slot keeps its lines; read back unchanged.
    void writeAndReadBack()
    {
        WordTable table;
        for (int slot = 1; slot < WordTable::kLanguages; ++slot)
            table.word(slot, 0) = WordTable::freeSlotName();
        table.word(1, 0) = u"Deutsch"_s;
        table.word(1, 144) = u"\u20AC einf\u00FCgen"_s;
        table.word(3, 7) = u"kept"_s;
        const TextLines::Encoded content = table.languageFileContent();
        QVERIFY(content);
        QVERIFY(content.bytes.contains("\r\n\x80 einf\xFCgen\r\n"));

        QTemporaryDir dir;
        const QString path = dir.filePath(u"Language.dat"_s);
        QVERIFY(table.saveLanguageFile(path, dir.path() + u'/').ok);
        WordTable reread;
        QVERIFY(!reread.loadLanguageFile(path));
        QCOMPARE(reread.word(1, 144), u"\u20AC einf\u00FCgen"_s);
        QCOMPARE(reread.word(1, 1), WordTable::english(1));
        QCOMPARE(reread.word(1, 135), QString()); // English has no text there
        QCOMPARE(reread.word(3, 0), WordTable::freeSlotName());
        QCOMPARE(reread.word(3, 7), u"kept"_s);
        QCOMPARE(reread.word(3, 1), QString());
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
