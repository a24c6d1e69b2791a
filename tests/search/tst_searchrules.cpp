// The search's rules without a window: the comparisons, the entry files
// compared as bytes against their text as the text box shows it, the order of
// the walk, and the reading threads.

#include "store/entrystore.h"
#include "search/searchengine.h"
#include "search/searchrules.h"
#include "search/searchwalk.h"
#include "search/textneedle.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "store/entryfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;
using SearchWalk::HitKind;

namespace {

// The text box's text of an entry file, the way the entry list loads it.
QString boxTextOf(const QByteArray &file)
{
    return EntryStore::toTextBox(EntryFile::parseEntry(file).text);
}

// "A:3 Trash:2 ÿY:1": group lines with their entry counts.
std::vector<SearchWalk::Group> groupsOf(const QString &spec)
{
    std::vector<SearchWalk::Group> groups;
    for (const QString &group : spec.split(u' ', Qt::SkipEmptyParts))
        groups.push_back({group.section(u':', 0, 0), group.section(u':', 1).toInt()});
    return groups;
}

SearchOptionSet optionsOf(const QString &bits)
{
    std::array<int, 6> states{};
    for (int i = 0; i < 6; ++i)
        states[i] = bits.at(i) == u'1';
    return SearchOptionSet::from(states);
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class TestSearchRules : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // The byte table lowers every character of the code page as the text
    // comparison does, into the code page again and in its place.
    void loweringKeepsEveryPlace()
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

    void needleAgreesWithTheTextBox_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<bool>("found");
        QTest::newRow("other case") << "d\r\nHello World\r\n"_ba << u"wORLD"_s << false << true;
        QTest::newRow("other case, exact")
            << "d\r\nHello World\r\n"_ba << u"world"_s << true << false;
        QTest::newRow("line break over cr lf") << "d\r\nab\r\ncd"_ba << u"b\nc"_s << false << true;
        QTest::newRow("line break over lf") << "d\nab\ncd"_ba << u"b\nc"_s << false << true;
        QTest::newRow("line break over lone cr") << "d\rab\rcd"_ba << u"b\nc"_s << true << true;
        QTest::newRow("cr lf itself") << "d\r\nab\r\ncd"_ba << u"b\r\nc"_s << false << false;
        QTest::newRow("two breaks are not one")
            << "d\r\nab\r\n\r\ncd"_ba << u"b\nc"_s << false << false;
        QTest::newRow("date line") << "key\r\ntext"_ba << u"key"_s << false << false;
        QTest::newRow("date line alone") << "key\r\n"_ba << u"key"_s << false << false;
        QTest::newRow("empty file") << QByteArray() << u"a"_s << false << false;
        QTest::newRow("upper half") << "d\r\n\x9f\xc9s"_ba << u"\u00ffeS"_s << false << false;
        QTest::newRow("upper half, lowered")
            << "d\r\n\x9f\xc9s"_ba << u"\u00ff\u00e9S"_s << false << true;
        QTest::newRow("mu is no micro") << "d\r\n\xb5"_ba << u"\u039c"_s << false << false;
        QTest::newRow("sharp s stays") << "d\r\nstrasse"_ba << u"STRA\u00dfE"_s << false << false;
        QTest::newRow("dotted capital i") << "d\r\ni"_ba << u"\u0130"_s << false << false;
        QTest::newRow("euro") << "d\r\n5\x80"_ba << u"\u20ac"_s << true << true;
        QTest::newRow("outside the code page") << "d\r\n5"_ba << u"5\u0100"_s << false << false;
        QTest::newRow("nul") << "d\r\na\0b"_ba << u"\0B"_s << false << true;
        QTest::newRow("at the very end") << "d\r\nabc"_ba << u"bc"_s << false << true;
    }
    void needleAgreesWithTheTextBox()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, search);
        QFETCH(bool, caseSensitive);
        QFETCH(bool, found);
        QCOMPARE(SearchRules::findInText(boxTextOf(file), search, 0, caseSensitive) >= 0, found);
        QByteArray bytes = file;
        QCOMPARE(TextNeedle(search, caseSensitive).foundIn(bytes.data(), bytes.size()), found);
    }

    // Every byte against every byte, in a text of two whole eight-byte steps,
    // without case and exact.
    void needleAgreesOnEveryByte()
    {
        for (int b = 0; b < 256; ++b) {
            const QString search = CodePage::decode(QByteArray(1, char(b)));
            for (bool caseSensitive : {false, true}) {
                const TextNeedle needle(search, caseSensitive);
                for (int c = 0; c < 256; ++c) {
                    const QByteArray file = "d\r\nxy" + QByteArray(14, char(c));
                    const bool expected =
                        SearchRules::findInText(boxTextOf(file), search, 0, caseSensitive) >= 0;
                    QByteArray bytes = file;
                    if (needle.foundIn(bytes.data(), bytes.size()) != expected)
                        QFAIL(qPrintable(u"byte %1 in a run of %2"_s.arg(b).arg(c)));
                }
            }
        }
    }

    void spans_data()
    {
        QTest::addColumn<QString>("groups");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("spans");  // group:first-last ...
        QTest::addColumn<bool>("blankLine"); // the closing blank line is visited
        const QString book = u"A:3 Trash:2 B:0 C:2 \u00ffY:1"_s;
        QTest::newRow("start") << book << 0 << 0 << u"111100"_s << u"0:0-2 1:0-1 3:0-1 4:0-0"_s
                               << false;
        QTest::newRow("continue mid-group")
            << book << 0 << 2 << u"111100"_s << u"0:2-2 1:0-1 3:0-1 4:0-0"_s << false;
        QTest::newRow("continue on the blank line")
            << book << 0 << 3 << u"111100"_s << u"1:0-1 3:0-1 4:0-0"_s << false;
        QTest::newRow("trash and y-groups left out")
            << book << 0 << 1 << u"110000"_s << u"0:1-2 3:0-1"_s << false;
        QTest::newRow("trash selected and left out")
            << book << 1 << 1 << u"110100"_s << u"3:0-1 4:0-0"_s << false;
        QTest::newRow("fixed entry") << book << 3 << 1 << u"111110"_s << u"3:1-1"_s << false;
        QTest::newRow("fixed entry in the trash left out")
            << book << 1 << 0 << u"110110"_s << QString() << false;
        QTest::newRow("fixed entry on the blank line")
            << book << 0 << 3 << u"111110"_s << QString() << true;
        QTest::newRow("fixed entry in an empty group")
            << book << 2 << 0 << u"111110"_s << QString() << true;
        QTest::newRow("past the last group") << book << 7 << 0 << u"111100"_s << QString() << false;
    }
    void spans()
    {
        QFETCH(QString, groups);
        QFETCH(int, group);
        QFETCH(int, entry);
        QFETCH(QString, options);
        QFETCH(QString, spans);
        QFETCH(bool, blankLine);
        const auto lines = groupsOf(groups);
        QStringList got;
        for (const SearchWalk::Span &s :
             SearchWalk::spans(lines, {group, entry}, optionsOf(options)))
            got << u"%1:%2-%3"_s.arg(s.group).arg(s.first).arg(s.last);
        QCOMPARE(got.join(u' '), spans);
        QCOMPARE(SearchWalk::visitsBlankLine(lines, {group, entry}, optionsOf(options)), blankLine);
    }

    // The first hit in walk order wins however the blocks fall to the threads,
    // the first entry is compared from SearchPos and never by its title, and
    // an entry whose file the window would not show has no text.
    void readersFindTheFirstHitInWalkOrder()
    {
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        SearchRequest request;
        request.storeFolder = store;
        for (const QString &name : {u"A"_s, u"B"_s, u"C"_s}) {
            SearchGroupData group{name, name, {}};
            for (int e = 0; e < 200; ++e) {
                const QString title = u"t%1"_s.arg(e);
                group.storedTitles << title;
                writeBytes(store + name + u'/' + title + u".txt"_s, "d\r\nplain text\r\n");
            }
            request.groups.push_back(group);
        }
        request.text = u"KEY"_s;
        const auto put = [&](const QString &entry, const QByteArray &text) {
            writeBytes(store + entry + u".txt"_s, "d\r\n" + text);
        };
        put(u"C/t3"_s, "key");
        put(u"A/t150"_s, "a key");
        put(u"A/t0"_s, "key key");
        request.groups[0].storedTitles[120] = u"the keyÌ"_s; // shown as "the key*"

        const auto run = [](SearchRequest r, int threads) {
            return SearchEngine::run(std::move(r), threads);
        };
        for (int threads : {1, 2, 4}) {
            SearchRequest r = request;
            SearchOutcome out = run(r, threads);
            QCOMPARE(int(out.hit.kind), int(HitKind::Text)); // t0's text, never its title
            QCOMPARE(out.hit.start, 0);
            QCOMPARE(out.searchPos, 4);
            r.searchPos = 4;
            r.start = {0, 0};
            out = run(r, threads);
            QCOMPARE(out.hit.start, 4);
            r.searchPos = 8;
            out = run(r, threads);
            QCOMPARE(int(out.hit.kind), int(HitKind::Title));
            QCOMPARE(out.hit.entry, 120);
            QCOMPARE(out.searchPos, 1);
            r.options.titles = false;
            out = run(r, threads);
            QCOMPARE(int(out.hit.kind), int(HitKind::Text));
            QCOMPARE(out.hit.entry, 150);
            QCOMPARE(out.hit.start, 2);
            r.start = {1, 0};
            out = run(r, threads);
            QCOMPARE(out.hit.group, 2);
            QCOMPARE(out.hit.entry, 3);
        }

        // No text behind a link, a folder, a fifo or a name that leaves the folder.
        request.text = u"plain"_s;
        request.options.titles = false;
        request.groups.resize(1);
        request.groups[0].storedTitles = {u"link"_s, u"folder"_s, u"fifo"_s, u".."_s, u"t5"_s};
        QVERIFY(QFile::link(store + u"A/t1.txt"_s, store + u"A/link.txt"_s));
        QVERIFY(QDir().mkpath(store + u"A/folder.txt"_s));
        QCOMPARE(::mkfifo(QFile::encodeName(store + u"A/fifo.txt"_s).constData(), 0600), 0);
        const SearchOutcome out = run(request, 2);
        QCOMPARE(out.hit.entry, 4);
    }

    // A stopped search has no hit and leaves SearchPos as one without a hit.
    void stoppedSearch()
    {
        QTemporaryDir dir;
        SearchRequest request;
        request.storeFolder = dir.path() + u'/';
        // A walk long enough to be stopped long before its end.
        for (int g = 0; g < 100; ++g) {
            request.groups.push_back({u"G%1"_s.arg(g), u"G%1"_s.arg(g), {}});
            for (int e = 0; e < 999; ++e)
                request.groups.back().storedTitles << u"title %1"_s.arg(e);
        }
        request.groups.back().storedTitles.last() = u"key"_s;
        request.text = u"key"_s;
        request.searchPos = 9;
        SearchEngine engine(2);
        engine.start(request);
        engine.stop();
        QVERIFY(engine.waitFor(std::chrono::seconds(10)));
        const SearchOutcome out = engine.outcome();
        QVERIFY(out.stopped);
        QCOMPARE(int(out.hit.kind), int(HitKind::None));
        QCOMPARE(out.searchPos, 1);
        QVERIFY(!engine.running());
    }
};

QTEST_GUILESS_MAIN(TestSearchRules)
#include "tst_searchrules.moc"
