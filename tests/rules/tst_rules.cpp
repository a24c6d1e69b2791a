// The rules of the subsystems without a window, where the window's tests
// cannot reach every boundary: key strings, the word table and Language.dat,
// the new entry's title, the individual buttons' keys, the
// settings' checks, and the search's comparisons and reading threads.

#include "support/testsupport.h"

#include "editing/editrules.h"
#include "editing/indivbuttons.h"
#include "editing/phrasekeys.h"
#include "i18n/wordtable.h"
#include "platform/keystring.h"
#include "search/searchengine.h"
#include "search/searchrules.h"
#include "search/textneedle.h"
#include "settings/settingsrules.h"
#include "store/codepage.h"
#include "store/entryfile.h"
#include "store/entrystore.h"

#include <QKeySequence>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using SearchWalk::HitKind;

namespace {

// Lines "w0", "w1", ... ended by CR LF: word k of language L reads "w" & (L-1)*151+k.
QByteArray numberedLines(int count)
{
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "w" + QByteArray::number(i) + "\r\n";
    return out;
}

// Whether `search` is in the entry file as the text box shows it, and as the
// search compares its bytes; both answers must agree.
std::pair<bool, bool> foundIn(const QByteArray &file, const QString &search, bool caseSensitive)
{
    const QString boxText = EntryStore::toTextBox(EntryFile::parseEntry(file).text);
    QByteArray bytes = file;
    return {SearchRules::findInText(boxText, search, 0, caseSensitive) >= 0,
            TextNeedle(search, caseSensitive).foundIn(bytes.data(), bytes.size())};
}

} // namespace

class tst_Rules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // "Shift+A=A Ctrl+F5": each stroke as its key combination, "=" and what
    // it types; null for a string that is refused, with nothing typed at all.
    // How they are typed into the window: tests/e2e (tst_keymap).
    void keyString_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("strokes");
        QTest::newRow("ctrl, alt types nothing") << u"^{F5}%f"_s << u"Ctrl+F5 Alt+F"_s;
        QTest::newRow("shift over a group, then over one key")
            << u"+({F5}{F6})+{F7}{F8}"_s << u"Shift+F5 Shift+F6 Shift+F7 F8"_s;
        QTest::newRow("names in any case, repeat")
            << u"{end}{DEL}{PgDn}{LEFT 2}"_s << u"End Del=\x7f PgDown Left Left"_s;
        QTest::newRow("enter") << u"~{ENTER}"_s << u"Return=\r Return=\r"_s;
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
    void keyString()
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

    // The keys one press types, each phrase key counted with its phrase, however
    // deep; "over" past MaxStrokes (phrases "free" where none is given).
    void keysPressed_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("phrases"); // F5 to F8
        QTest::addColumn<int>("count");
        const int over = MaxStrokes + 1;
        QTest::newRow("no phrase key") << u"ab{x 3}"_s << QStringList() << 5;
        QTest::newRow("F5 and its phrase, twice") << u"{F5}{F5}"_s << QStringList{u"ab"_s} << 6;
        QTest::newRow("up to the bound")
            << u"{F6 1000}"_s << QStringList{u"x"_s, u"{y 9}"_s} << MaxStrokes;
        QTest::newRow("one key past it")
            << u"{F6 1000}a"_s << QStringList{u"x"_s, u"{y 9}"_s} << over;
        QTest::newRow("four deep, each a thousand times")
            << u"{F5}"_s
            << QStringList{u"{F6 1000}"_s, u"{F7 1000}"_s, u"{F8 1000}"_s, u"{a 1000}"_s} << over;
        QTest::newRow("its own key a thousand times")
            << u"{F5}"_s << QStringList{u"{F5 1000}"_s} << over;
        QTest::newRow("its own key once") << u"{F6}"_s << QStringList{u"a"_s, u"x{F6}"_s} << over;
        QTest::newRow("two calling each other")
            << u"{F7}"_s << QStringList{u"{F6}"_s, u"{F5}"_s, u"{F5}"_s} << over;
        QTest::newRow("Shift+F5 keeps a phrase, Ctrl+F5 a place")
            << u"+{F5}^{F5}"_s << QStringList{u"{x 1000}"_s} << 2;
        QTest::newRow("a malformed phrase types nothing")
            << u"{F5 5}"_s << QStringList{u"{x"_s} << 5;
        QTest::newRow("F11 types the date") << u"{F11 1000}"_s << QStringList() << over;
    }
    void keysPressed()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, phrases);
        QFETCH(int, count);
        std::array<QString, 4> memory;
        memory.fill(u"free"_s);
        for (int k = 0; k < phrases.size(); ++k)
            memory[size_t(k)] = phrases[k];
        const QDateTime now(QDate(2024, 2, 29), QTime(23, 59, 58));
        const KeysTypedBy typedBy = [&memory, &now](const KeyStroke &stroke) {
            return PhraseKeys::keysTypedBy(stroke, memory, now, QLocale::c());
        };
        QCOMPARE(countKeysPressed(keys, typedBy), qsizetype(count));
    }

    void languageFile_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("language");
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("missingLine"); // where the file cuts the language short; 0: whole
        const QByteArray oneBlock = numberedLines(WordTable::kWords);
        QTest::newRow("one block: last word") << oneBlock << 1 << 150 << u"w150"_s << 0;
        QTest::newRow("one block: language 2 empty") << oneBlock << 2 << 0 << QString() << 152;
        QTest::newRow("empty: language 1 empty") << QByteArray() << 1 << 0 << QString() << 1;
        QTest::newRow("empty: English whole") << QByteArray() << 0 << 1 << u"&File"_s << 0;
        QTest::newRow("cut within language 9") << numberedLines(WordTable::kFileLines - 1) << 9
                                               << 149 << u"w1357"_s << WordTable::kFileLines;
        QTest::newRow("lines past 1359 ignored")
            << numberedLines(WordTable::kFileLines + 200) << 9 << 150 << u"w1358"_s << 0;
    }
    void languageFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, language);
        QFETCH(int, word);
        QFETCH(QString, expected);
        QFETCH(int, missingLine);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"Language.dat"_s);
        QVERIFY(writeFile(path, content));
        WordTable table;
        QVERIFY(!table.loadLanguageFile(path).has_value());
        QCOMPARE(table.word(language, word), expected);
        QCOMPARE(table.word(0, 0), u"English"_s);
        const std::optional<IoError> cut = table.cutShort(language);
        QCOMPARE(cut ? cut->description : QString(),
                 missingLine ? u"Damaged translations, line %1: missing"_s.arg(missingLine)
                             : QString());
        QCOMPARE(cut ? cut->file : path, path);
    }

    void shippedLanguageFileHoldsNineFreeSlots()
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

    // Rules of one string: an English word by its number (the characters
    // outside ASCII survive the source file's encoding), the new entry's
    // proposed title, an individual button's keys from its three fields ("|"
    // between them), the font size typed (10 before).
    void oneString_data()
    {
        using Rule = std::function<QString(const QString &)>;
        QTest::addColumn<Rule>("rule");
        QTest::addColumn<QString>("in");
        QTest::addColumn<QString>("out");
        const Rule english = [](const QString &in) { return WordTable::english(in.toInt()); };
        QTest::newRow("english: y diaeresis")
            << english << u"65"_s << u"Hide \u00FF-Groups (manual)"_s;
        QTest::newRow("english: euro") << english << u"144"_s << u"Insert \u20AC"_s;
        const Rule title = &EditRules::proposedTitle;
        QTest::newRow("title: CR") << title << u"a\rb"_s << u"a"_s;
        QTest::newRow("title: starts with a break") << title << u"\nsecond"_s << QString();
        QTest::newRow("title: empty") << title << QString() << QString();
        QTest::newRow("title: blanks kept") << title << u"  x  \ny"_s << u"  x  "_s;
        const Rule keys = [](const QString &in) {
            const QStringList f = in.split(u'|');
            return IndivButtons::keysOf({f[0], f[1], f[2]});
        };
        QTest::newRow("keys: free") << keys << u"NORMAL|free|"_s << QString();
        QTest::newRow("keys: ctrl F5") << keys << u"CTRL|{F5}|"_s << u"^{F5}"_s;
        QTest::newRow("keys: no modifier, two keys")
            << keys << u"NORMAL|{F5}|{F6}"_s << u"({F5}{F6})"_s;
        QTest::newRow("keys: alt") << keys << u"ALT|G|"_s << u"%G"_s;
        // Anything but the four names, "ctrl" too, is sent as it is.
        QTest::newRow("keys: a modifier of its own is sent as it is")
            << keys << u"^+|{F5}|"_s << u"^+{F5}"_s;
        QTest::newRow("keys: free with further keys is sent")
            << keys << u"NORMAL|free|{F6}"_s << u"(free{F6})"_s;
        const Rule fontSize = [](const QString &in) {
            return QString::number(SettingsRules::fontSizeFrom(in, 10));
        };
        QTest::newRow("font size: largest") << fontSize << u"32767"_s << u"32767"_s;
        QTest::newRow("font size: one past the largest") << fontSize << u"32768"_s << u"10"_s;
        QTest::newRow("font size: zero") << fontSize << u"0"_s << u"10"_s;
        QTest::newRow("font size: empty") << fontSize << QString() << u"10"_s;
    }
    void oneString()
    {
        QFETCH(std::function<QString(const QString &)>, rule);
        QFETCH(QString, in);
        QFETCH(QString, out);
        QCOMPARE(rule(in), out);
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

    // The cases the window's tests leave out. "@" stands for a scratch folder
    // holding Notes/FileStore/idx.dat and Linked/FileStore/idx.dat, a link to it.
    void storePath_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("valid");
        QTest::newRow("unchanged, not checked")
            << u"@/Gone/FileStore/"_s << u"@/Gone/FileStore/"_s << u"@/Gone/FileStore/"_s << true;
        QTest::newRow("index through a link")
            << u"@/Linked"_s << u"preset"_s << u"@/Linked/FileStore/"_s << false;
        QTest::newRow("relative") << u"Notes"_s << u"preset"_s << u"Notes/FileStore/"_s << false;
    }
    void storePath()
    {
        QFETCH(QString, typed);
        QFETCH(QString, current);
        QFETCH(QString, path);
        QFETCH(bool, valid);
        QTemporaryDir dir;
        QVERIFY(writeFile(dir.filePath(u"Notes/FileStore/idx.dat"_s), {}));
        QVERIFY(QDir().mkpath(dir.filePath(u"Linked/FileStore"_s)));
        QVERIFY(QFile::link(dir.filePath(u"Notes/FileStore/idx.dat"_s),
                            dir.filePath(u"Linked/FileStore/idx.dat"_s)));
        // Run from the scratch folder, where a relative Notes/ would be found.
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto at = [&dir](QString text) { return text.replace(u'@', dir.path()); };
        const SettingsRules::StorePathCheck check =
            SettingsRules::checkStorePath(at(typed), at(current));
        QDir::setCurrent(here);
        QCOMPARE(check.path, at(path));
        QCOMPARE(check.valid, valid);
    }

    // The byte table lowers every character of the code page as the text
    // comparison does, into the code page again and in its place.
    void searchLoweringKeepsEveryPlace()
    {
        for (int b = 0; b < 256; ++b) {
            const QString shown = CodePage::decode(QByteArray(1, char(b)));
            const QString lower = SearchRules::lowered(shown);
            QCOMPARE(lower.size(), 1);
            QCOMPARE(CodePage::encode(lower).value_or("??"),
                     QByteArray(1, char(lowerCodePageByte(b))));
        }
        // A capital whose full lower case is longer stays as it is.
        QCOMPARE(SearchRules::lowered(u"\u0130x"_s), u"\u0130x"_s);
        QCOMPARE(SearchRules::lowered(u"\u0178\u0160\u00c9"_s), u"\u00ff\u0161\u00e9"_s);
    }

    // The entry files compared as bytes against their text as the text box
    // shows it. The walk rows of tst_search meet the rest.
    void searchNeedleAgreesWithTheTextBox_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("found");
        QTest::newRow("cr lf itself") << "d\r\nab\r\ncd"_ba << u"b\r\nc"_s << false << false;
        QTest::newRow("two breaks are not one")
            << "d\r\nab\r\n\r\ncd"_ba << u"b\nc"_s << false << false;
        QTest::newRow("date line alone") << "key\r\n"_ba << u"key"_s << false << false;
        QTest::newRow("empty file") << QByteArray() << u"a"_s << false << false;
        QTest::newRow("outside the code page") << "d\r\n5"_ba << u"5\u0100"_s << false << false;
        QTest::newRow("nul") << "d\r\na\0b"_ba << u"\0B"_s << false << true;
    }
    void searchNeedleAgreesWithTheTextBox()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, search);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, found);
        QCOMPARE(foundIn(file, search, caseSensitive), std::pair(found, found));
    }

    // Every byte against every byte, in a text of two whole eight-byte steps,
    // without case and exact.
    void searchNeedleAgreesOnEveryByte()
    {
        for (int b = 0; b < 256; ++b) {
            const QString search = CodePage::decode(QByteArray(1, char(b)));
            for (bool caseSensitive : {false, true}) {
                for (int c = 0; c < 256; ++c) {
                    const auto [shown, compared] =
                        foundIn("d\r\nxy" + QByteArray(14, char(c)), search, caseSensitive);
                    if (shown != compared)
                        QFAIL(qPrintable(u"byte %1 in a run of %2"_s.arg(b).arg(c)));
                }
            }
        }
    }

    // The first hit in walk order wins however the blocks fall to the
    // threads, and an entry whose file the window would not show has no
    // text. Where a step starts from (SearchPos, a title hit) is the walk
    // rows' of tst_search.
    void searchReadersFindTheFirstHitInWalkOrder()
    {
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        SearchRequest request;
        request.storeFolder = store;
        request.options.titles = false;
        for (const QString &name : {u"A"_s, u"B"_s, u"C"_s}) {
            SearchGroupData group{name, name, {}};
            for (int e = 0; e < 200; ++e) {
                const QString title = u"t%1"_s.arg(e);
                group.storedTitles << title;
                QVERIFY(writeFile(store + name + u'/' + title + u".txt"_s, "d\r\nplain text\r\n"));
            }
            request.groups.push_back(group);
        }
        request.text = u"KEY"_s;
        QVERIFY(writeFile(store + u"C/t3.txt"_s, "d\r\nkey"));
        QVERIFY(writeFile(store + u"A/t150.txt"_s, "d\r\na key"));
        for (int threads : {1, 2, 4}) {
            SearchRequest r = request;
            SearchOutcome out = SearchEngine::run(r, threads);
            QCOMPARE(int(out.hit.kind), int(HitKind::Text));
            QCOMPARE(out.hit.entry, 150);
            QCOMPARE(out.hit.start, 2);
            r.start = {1, 0};
            out = SearchEngine::run(r, threads);
            QCOMPARE(out.hit.group, 2);
            QCOMPARE(out.hit.entry, 3);
        }

        // No text behind a link, a folder, a fifo or a name that leaves the folder.
        request.text = u"plain"_s;
        request.groups.resize(1);
        request.groups[0].storedTitles = {u"link"_s, u"folder"_s, u"fifo"_s, u".."_s, u"t5"_s};
        QVERIFY(QFile::link(store + u"A/t1.txt"_s, store + u"A/link.txt"_s));
        QVERIFY(QDir().mkpath(store + u"A/folder.txt"_s));
        QCOMPARE(::mkfifo(QFile::encodeName(store + u"A/fifo.txt"_s).constData(), 0600), 0);
        QCOMPARE(SearchEngine::run(request, 2).hit.entry, 4);
    }
};

QTEST_MAIN(tst_Rules)
#include "tst_rules.moc"
