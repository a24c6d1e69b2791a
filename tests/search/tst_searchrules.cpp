// The search's rules without a window: the comparisons, the entry files
// compared as bytes against their text as the text box shows it, and the
// reading threads.

#include "search/searchengine.h"
#include "search/searchrules.h"
#include "search/textneedle.h"
#include "store/codepage.h"
#include "store/entryfile.h"
#include "store/entrystore.h"
#include "support/testsupport.h"

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
        // The walk against the window's lists (tst_search) meets the rest.
        QTest::newRow("line break over lone cr") << "d\rab\rcd"_ba << u"b\nc"_s << true << true;
        QTest::newRow("cr lf itself") << "d\r\nab\r\ncd"_ba << u"b\r\nc"_s << false << false;
        QTest::newRow("two breaks are not one")
            << "d\r\nab\r\n\r\ncd"_ba << u"b\nc"_s << false << false;
        QTest::newRow("date line alone") << "key\r\n"_ba << u"key"_s << false << false;
        QTest::newRow("empty file") << QByteArray() << u"a"_s << false << false;
        QTest::newRow("outside the code page") << "d\r\n5"_ba << u"5\u0100"_s << false << false;
        QTest::newRow("nul") << "d\r\na\0b"_ba << u"\0B"_s << false << true;
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
                QVERIFY(writeFile(store + name + u'/' + title + u".txt"_s, "d\r\nplain text\r\n"));
            }
            request.groups.push_back(group);
        }
        request.text = u"KEY"_s;
        const auto put = [&](const QString &entry, const QByteArray &text) {
            QVERIFY(writeFile(store + entry + u".txt"_s, "d\r\n" + text));
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
};

QTEST_GUILESS_MAIN(TestSearchRules)
#include "tst_searchrules.moc"
