// The store's file formats without a window: the code page, the stand-ins for
// characters a file name cannot hold, the lines of the files, idx.dat, pref.dat,
// entry files and masks.

#include "store/codepage.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/entrystore.h"
#include "store/indexfile.h"
#include "store/notetable.h"
#include "store/preferences.h"
#include "store/preffile.h"
#include "store/storelocation.h"
#include "store/textlines.h"
#include "support/callfaults.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

// A full pref.dat with every value set apart from its default and from its
// neighbours, so that a line read into the wrong field shows.
QList<QByteArray> prefLines()
{
    // clang-format off
    return {"pref Plimsa 1.3.02", " 3", " 2", " 1", "Always First", "", "DejaVu Sans",  // 1-7
            " 11", "-1", " 0", "", " 1200", " 1300", " 7000", " 9000",                  // 8-15
            " 1", " 1500", " 2500", " 6000", " 1", " 1", "/home/u/Notes/FileStore/",    // 16-22
            "Work/first", "free/free", "Trash/x", "\xffPrivate/y",                      // 23-26
            "Hello, \"world\"", "free", "5\x80 each", "free",                           // 27-30
            "NORMAL", "Sign", "Kind regards{ENTER}", "NORMAL", "free", "",              // 31-36
            "NORMAL", "free", "", "CHARLINE", "Line", "-", " 1"};                       // 37-43
    // clang-format on
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

} // namespace

class TestFormats : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // Every byte against the code page's published table, both ways: two
    // characters swapped would still round-trip. Windows-1252 differs from
    // Latin-1 in 0x80..0x9F only; its five undefined bytes there read as the
    // C1 control of the same value.
    void codePage()
    {
        const QString upper = u"\u20ac\u0081\u201a\u0192\u201e\u2026\u2020\u2021"    // 0x80
                              u"\u02c6\u2030\u0160\u2039\u0152\u008d\u017d\u008f"    // 0x88
                              u"\u0090\u2018\u2019\u201c\u201d\u2022\u2013\u2014"    // 0x90
                              u"\u02dc\u2122\u0161\u203a\u0153\u009d\u017e\u0178"_s; // 0x98
        QByteArray all(256, Qt::Uninitialized);
        QString expected;
        for (int b = 0; b < 256; ++b) {
            all[b] = char(b);
            const QChar c = b >= 0x80 && b < 0xa0 ? upper[b - 0x80] : QChar(b);
            expected += c;
            QVERIFY2(CodePage::encode(QString(c)) == std::optional<QByteArray>(all.mid(b, 1)),
                     qPrintable(u"byte 0x%1"_s.arg(b, 0, 16)));
        }
        QCOMPARE(CodePage::decode(all), expected);
        QCOMPARE(CodePage::encode(expected), std::optional<QByteArray>(all));
        // The C1 value that Windows-1252 gives to the euro sign is not a way in.
        QVERIFY(!CodePage::canEncode(QChar(0x80)));
    }

    void dosText_data()
    {
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("stored"); // OutDOS
        QTest::addColumn<QString>("back");   // InDOS of the stored form
        const QString thirteen = u"\"*+,/:;<=>?\\|"_s;
        QTest::newRow("all thirteen")
            << thirteen
            << u"\u00cb\u00cc\u00cd\u00ce\u00cf\u00d0\u00dd\u00eb\u00ec\u00ed\u00ee\u00ef\u00f0"_s
            << thirteen;
        QTest::newRow("blanks trimmed, inner kept") << u"  a  b  "_s << u"a  b"_s << u"a  b"_s;
        QTest::newRow("all blank") << u"     "_s << QString() << QString();
        QTest::newRow("tabs stay") << u"\tx\t"_s << u"\tx\t"_s << u"\tx\t"_s;
        const QString others = u"12.30_ (x) \u20ac\u00ff"_s;
        QTest::newRow("others untouched") << others << others << others;
    }
    void dosText()
    {
        QFETCH(QString, shown);
        QFETCH(QString, stored);
        QFETCH(QString, back);
        QCOMPARE(OutDOS(shown), stored);
        QCOMPARE(InDOS(stored), back);
        // InDOS trims blanks too.
        QCOMPARE(InDOS(u"  "_s + stored + u"  "_s), back);
        QVERIFY(showsAs(u"  "_s + stored + u"  "_s, back));
        QVERIFY(!showsAs(stored + u'x', back));
        QCOMPARE(showsAs(stored, shown), InDOS(stored) == shown);
    }

    // A file is read up to its first damaged line, and what was read before
    // it is kept; written back, that part is the same bytes. A name that
    // leaves its folder, or that cannot be its folder or, with ".txt", its
    // file (255 bytes as the file system is given them; a stand-in such as
    // \xcf takes two), is a damaged line too.
    void indexRead_data()
    {
        using D = IndexFile::Damage;
        QTest::addColumn<QByteArray>("body"); // after the header line
        QTest::addColumn<int>("line");        // of the damage; 0: none
        QTest::addColumn<D>("damage");
        const auto named = [](const QByteArray &line) {
            return "G\r\n\\ok\r\n" + line + "\r\n\\after\r\n";
        };
        QTest::newRow("slash") << named("\\a/b") << 4 << D::UnsafeName;
        QTest::newRow("backslash in a title") << named("\\a\\b") << 4 << D::UnsafeName;
        QTest::newRow("nul") << named("\\a\0b"_ba) << 4 << D::UnsafeName;
        QTest::newRow("dot") << named("\\.") << 4 << D::UnsafeName;
        QTest::newRow("dot dot") << named("..") << 4 << D::UnsafeName;
        QTest::newRow("empty title") << named("\\") << 4 << D::UnsafeName;
        QTest::newRow("slash far in") << named("\\abcdefghij/klmnop") << 4 << D::UnsafeName;
        QTest::newRow("backslash at the end of a word")
            << named("\\abcdefghijklmno\\") << 4 << D::UnsafeName;
        QTest::newRow("nul far in") << named("Group name \0 here"_ba) << 4 << D::UnsafeName;
        QTest::newRow("long, with substitutes")
            << named("\\\xcf\xd0\xef\xdc\xaf\x2e\x5d\x2d\x30 a long title, 2024 \x80") << 0
            << D::None;
        QTest::newRow("longest group") << named(QByteArray(255, 'g')) << 0 << D::None;
        QTest::newRow("group a byte too long") << named(QByteArray(256, 'g')) << 4 << D::UnsafeName;
        QTest::newRow("longest title") << named("\\" + QByteArray(251, 't')) << 0 << D::None;
        QTest::newRow("title a byte too long with .txt")
            << named("\\" + QByteArray(252, 't')) << 4 << D::UnsafeName;
        QTest::newRow("stand-ins count as the file system's bytes")
            << named("\\" + QByteArray(126, '\xcf')) << 4 << D::UnsafeName;
        QTest::newRow("euro, y diaeresis, underscores")
            << "\xffPrivate\r\n\\Price 5\x80\r\nTrash\r\n\\_indented\r\n\\__more\r\n\\_mask\r\n"_ba
            << 0 << D::None;
        QTest::newRow("empty line") << "G\r\n\\a\r\n\r\nH\r\n"_ba << 4 << D::EmptyLine;
        QTest::newRow("empty lines, then a group") << "G\r\n\r\n\r\nH\r\n"_ba << 3 << D::EmptyLine;
        // An editor's last line break: nothing, and not written back.
        QTest::newRow("empty lines at the end") << "G\r\n\\a\r\n\r\n\r\n"_ba << 0 << D::None;
        QTest::newRow("only the header, an empty line") << "\r\n"_ba << 0 << D::None;
        QTest::newRow("entry before group") << "\\a\r\nG\r\n"_ba << 2 << D::EntryBeforeGroup;
        QByteArray groups;
        for (int g = 0; g < NoteTable::kGroups; ++g)
            groups += "G" + QByteArray::number(g) + "\r\n\\t\r\n";
        QTest::newRow("100 groups") << groups << 0 << D::None;
        QTest::newRow("101st group") << groups + "G\r\n" << 202 << D::TooManyGroups;
        QByteArray entries = "G\r\n";
        for (int e = 1; e <= NoteTable::kMaxEntries; ++e)
            entries += "\\t" + QByteArray::number(e) + "\r\n";
        QTest::newRow("999 entries") << entries << 0 << D::None;
        QTest::newRow("1000th entry") << entries + "\\t\r\n" << 1002 << D::TooManyEntries;
    }
    void indexRead()
    {
        QFETCH(QByteArray, body);
        QFETCH(int, line);
        QFETCH(IndexFile::Damage, damage);
        // Bytes only lent to the reader are gone once it returns.
        QByteArray lent = "idx Plimsa 1.3.02\r\n" + body;
        NoteTable table;
        const IndexFile::ParseResult parsed =
            IndexFile::parse(QByteArray::fromRawData(lent.constData(), lent.size()), table);
        lent.fill('x');
        QCOMPARE(parsed.damage, damage);
        QCOMPARE(parsed.line, line);
        qsizetype kept = body.size();
        while (body.left(kept).endsWith("\r\n\r\n") || body.left(kept) == "\r\n")
            kept -= 2;
        if (line > 0) {
            kept = 0;
            for (int before = 2; before < line; ++before)
                kept = body.indexOf("\r\n", kept) + 2;
        }
        QCOMPARE(IndexFile::serialize(table, u"1.3.02"_s).bytes,
                 "idx Plimsa 1.3.02\r\n" + body.left(kept));
    }

    // Save_idx encodes again only the rows written to since its last save,
    // and writes a row nobody wrote to since the load from the bytes read.
    // After each kind of change to a table read from a file, the same file
    // as one encoded from scratch, and the copy a command keeps for its undo
    // stays as it was.
    void encoderFollowsEveryChange_data()
    {
        QTest::addColumn<std::function<void(NoteTable &)>>("change");
        using Change = std::function<void(NoteTable &)>;
        QTest::newRow("row moved") << Change([](NoteTable &t) { t.moveRow(0, 2); });
        QTest::newRow("row opened") << Change([](NoteTable &t) { t.openRow(1); });
        QTest::newRow("row closed") << Change([](NoteTable &t) { t.closeRow(0); });
        // Two rows then share the lines of one.
        QTest::newRow("row copied") << Change([](NoteTable &t) { t.copyRow(0, 2); });
        QTest::newRow("rows sorted") << Change([](NoteTable &t) { t.reorderRows({2, 0, 1}); });
    }
    void encoderFollowsEveryChange()
    {
        QFETCH(std::function<void(NoteTable &)>, change);
        const QByteArray file = IndexFile::serialize(tableOf({{u"A"_s, u"a1"_s, u"a2"_s},
                                                              {u"B\u00ff"_s, u"b\u20ac"_s},
                                                              {u"C"_s, u"c1"_s}}),
                                                     u"v"_s)
                                    .bytes;
        NoteTable table;
        QVERIFY(IndexFile::parse(file, table));
        IndexFile::Encoder encoder;
        QCOMPARE(encoder.encode(table, u"v"_s).bytes, file);
        const NoteTable kept = table;
        for (int round = 0; round < 2; ++round) { // on rows read, then on rows written
            change(table);
            QCOMPARE(encoder.encode(table, u"v"_s).bytes,
                     IndexFile::serialize(table, u"v"_s).bytes);
        }
        QCOMPARE(IndexFile::serialize(kept, u"v"_s).bytes, file);
    }

    // Read, the values land in their fields; written back, the same file, but
    // FrameTop is read 100 less than written and the Z to A sort is never kept.
    void prefRoundTrip()
    {
        Preferences p;
        QVERIFY(PrefFile::parse(crlf(prefLines()), p));
        QCOMPARE(
            (std::array{p.language, p.StartWindowState, p.WindowTop, p.WindowLeft, p.WindowHeight,
                        p.WindowWidth, p.FrameLeft1, p.FrameLeft2, p.HideYGroups}),
            (std::array{3, 2, 1200, 1300, 7000, 9000, 2500, 6000, 1}));
        QCOMPARE(p.StorePath, u"/home/u/Notes/FileStore/"_s);
        QCOMPARE(p.PhraseMemory[2], u"5\u20ac each"_s);
        QCOMPARE(p.IndivButton[3], (std::array<QString, 3>{u"CHARLINE"_s, u"Line"_s, u"-"_s}));
        p.FrameTop += 100;
        p.SortDescending = -1;
        QCOMPARE(PrefFile::serialize(p, u"1.3.02"_s).bytes, crlf(prefLines()));
        p.WindowWidth = 57600; // a 3840 pixel wide window: saved at the limit
        QVERIFY(PrefFile::parse(PrefFile::serialize(p, u"v"_s).bytes, p));
        QCOMPARE(p.WindowWidth, 32767);
        p.PhraseMemory[1] = u"a\nb"_s; // would shift every line after it
        QVERIFY(!PrefFile::serialize(p, u"v"_s));
    }

    // What one line reads as, shown as it is then written; null when the file
    // is refused as damaged. "cut N": the file ends after line N.
    void prefLineAsRead_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QString>("read");
        QTest::newRow("empty number is 0") << 8 << ""_ba << u" 0"_s;
        QTest::newRow("mask -1") << 16 << "-1"_ba << u" 0"_s;
        QTest::newRow("FrameTop 550") << 17 << " 550"_ba << u" 840"_s;
        QTest::newRow("FrameTop 600: 500 is kept") << 17 << " 600"_ba << u" 500"_s;
        QTest::newRow("FrameLeft1 50") << 18 << " 50"_ba << u" 2975"_s;
        QTest::newRow("FrameLeft1 100") << 18 << " 100"_ba << u" 100"_s;
        QTest::newRow("FrameLeft2 -1") << 19 << "-1"_ba << u" 3600"_s;
        QTest::newRow("store -1") << 22 << "-1"_ba << u"preset"_s;
        QTest::newRow("memory -1") << 23 << "-1"_ba << u"free/free"_s;
        QTest::newRow("phrase -1") << 27 << "-1"_ba << u"free"_s;
        QTest::newRow("phrase -1 with a blank is text") << 30 << " -1"_ba << u" -1"_s;
        QTest::newRow("phrase kept whole") << 29 << "  \"a\", b  "_ba << u"  \"a\", b  "_s;
        QTest::newRow("button -1 is text") << 31 << "-1"_ba << u"-1"_s;
        QTest::newRow("damaged last line") << 43 << "yes"_ba << u" 0"_s;
        QTest::newRow("digits and letters") << 8 << "12pt"_ba << QString();
        QTest::newRow("above 16 bits") << 15 << "32768"_ba << QString();
        QTest::newRow("language 10") << 2 << " 10"_ba << QString();
        QTest::newRow("language -1") << 2 << "-1"_ba << QString();
        // Lines 31 to 43 came later: a file of 30 lines takes their defaults.
        QTest::newRow("30 lines: button") << 32 << "cut 30"_ba << u"free"_s;
        QTest::newRow("30 lines: word wrap") << 43 << "cut 30"_ba << u" 0"_s;
        QTest::newRow("29 lines") << 30 << "cut 29"_ba << QString();
    }
    void prefLineAsRead()
    {
        QFETCH(int, line);
        QFETCH(QByteArray, value);
        QFETCH(QString, read);
        QList<QByteArray> lines = prefLines();
        lines[line - 1] = value;
        if (value.startsWith("cut "))
            lines = lines.mid(0, value.mid(4).toInt());
        Preferences p;
        p.FontName = u"unchanged"_s;
        const PrefFile::ParseResult result = PrefFile::parse(crlf(lines), p);
        if (read.isNull()) {
            QCOMPARE(result.line, line);
            QCOMPARE(p.FontName, u"unchanged"_s); // nothing of a damaged file is taken
            return;
        }
        QVERIFY(result);
        const QByteArray written = PrefFile::serialize(p, u"v"_s).bytes;
        QCOMPARE(QString::fromLatin1(TextLines::split(written).at(line - 1)), read);
    }

    // The store path as read, completed and resolved; completing twice
    // changes nothing, so the saved form reads back the same.
    void storeFolder_data()
    {
        QTest::addColumn<QString>("storePath");
        QTest::addColumn<QString>("completed");
        QTest::addColumn<QString>("folder");
        const QString notes = u"/srv/Notes/FileStore/"_s;
        QTest::newRow("PRESET") << u"PRESET"_s << u"PRESET"_s << u"/opt/plimsa/FileStore/"_s;
        QTest::newRow("folder with slash") << u"/srv/Notes/"_s << notes << notes;
        QTest::newRow("lower case store")
            << u"/srv/filestore"_s << u"/srv/filestore/"_s << u"/srv/filestore/"_s;
        QTest::newRow("preset inside a path is a path")
            << u"/srv/preset"_s << u"/srv/preset/FileStore/"_s << u"/srv/preset/FileStore/"_s;
    }
    void storeFolder()
    {
        QFETCH(QString, storePath);
        QFETCH(QString, completed);
        QFETCH(QString, folder);
        QCOMPARE(StoreLocation::completeStorePath(storePath), completed);
        QCOMPARE(StoreLocation::storeFolder(u"/opt/plimsa/"_s, completed), folder);
        QCOMPARE(StoreLocation::completeStorePath(completed), completed);
    }

    // An entry file as found: its date line and its text as read (a text of
    // another system's line ends, or a last line without a break, reads as it
    // stands; a file without even a date line does not read). A save of that
    // text writes every line ended by CR LF; a mask is the text alone.
    void entryFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("date"); // null: the file does not read
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("saved"); // after the date line
        QTest::newRow("no last break")
            << "d\r\njust text"_ba << u"d"_s << u"just text"_s << "just text\r\n"_ba;
        QTest::newRow("empty lines inside and at the end")
            << "d\r\na\r\n\r\nb\r\n\r\n"_ba << u"d"_s << u"a\r\n\r\nb\r\n\r\n"_s
            << "a\r\n\r\nb\r\n\r\n"_ba;
        QTest::newRow("other line ends")
            << "d\ra\n\rb"_ba << u"d"_s << u"a\r\n\r\nb"_s << "a\r\n\r\nb\r\n"_ba;
        QTest::newRow("long lines, lone lf and cr")
            << "d\r\n0123456789abc\n0123456789abc\r\r\nx\r"_ba << u"d"_s
            << u"0123456789abc\r\n0123456789abc\r\n\r\nx\r\n"_s
            << "0123456789abc\r\n0123456789abc\r\n\r\nx\r\n"_ba;
        QTest::newRow("euro and y diaeresis")
            << "d\r\n5\x80 \xff"_ba << u"d"_s << u"5\u20ac \u00ff"_s << "5\x80 \xff\r\n"_ba;
        QTest::newRow("text from an empty line")
            << "d\n\r\nx\n"_ba << u"d"_s << u"\r\nx\r\n"_s << "\r\nx\r\n"_ba;
        QTest::newRow("date line without its break")
            << "d"_ba << u"d"_s << QString() << QByteArray();
        QTest::newRow("empty date line") << "\r\n"_ba << u""_s << QString() << QByteArray();
        QTest::newRow("0 bytes") << QByteArray() << QString() << QString() << QByteArray();
    }
    void entryFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, date);
        QFETCH(QString, text);
        QFETCH(QByteArray, saved);
        QTemporaryDir dir;
        const QString entry = dir.filePath(u"a\u00cfb.txt"_s);
        const QString mask = dir.filePath(u"_mask.dat"_s);
        QVERIFY(writeFile(entry, bytes));
        const EntryFile::EntryRead read = EntryFile::readEntry(entry, dir.path());
        QCOMPARE(read.ok, !date.isNull());
        QCOMPARE(read.entry.date, date);
        QCOMPARE(read.entry.text, text);
        // As a text box holds it, each break as LF; read a part at a time
        // too, every break split between two parts in one of them.
        const QString boxText = QString(text).replace(u"\r\n"_s, u"\n"_s);
        QCOMPARE(EntryStore::toTextBox(text), boxText);
        for (const qsizetype partBytes : {1, 2, 3, 1 << 20}) {
            QString parts;
            const EntryFile::EntryRead box = EntryFile::readEntryForBox(
                entry, dir.path(), [&parts](const QString &part) { parts += part; }, partBytes);
            QCOMPARE(box.ok, read.ok);
            QCOMPARE(box.entry.date, date);
            QCOMPARE(box.identity, read.identity);
            QCOMPARE(parts, boxText);
        }
        QVERIFY(EntryFile::writeEntry(entry, date, text, dir.path()));
        QVERIFY(EntryFile::writeMask(mask, text, dir.path()));
        QCOMPARE(readWholeFile(entry).bytes, date.toLatin1() + "\r\n" + saved);
        QCOMPARE(readWholeFile(mask).bytes, saved);
        QCOMPARE(EntryFile::readMask(mask, dir.path()).text, CodePage::decode(saved));
        // What the code page cannot hold is refused; the old file stays.
        QVERIFY(!EntryFile::writeEntry(entry, date, u"\u0141"_s, dir.path()));
        QVERIFY(!EntryFile::writeMask(mask, u"\u0141"_s, dir.path()));
        QCOMPARE(readWholeFile(mask).bytes, saved);
    }

    // A group folder may be a link within the store, never one out of it:
    // reads are held to the store as writes are.
    void entryReadsOnlyWithinTheStore()
    {
        QTemporaryDir dir;
        const QString store = dir.filePath(u"store"_s);
        for (const QString &folder : {u"outside"_s, u"store/G"_s}) {
            QVERIFY(QDir(dir.path()).mkpath(folder));
            const QString path = dir.filePath(folder);
            QVERIFY(EntryFile::writeEntry(path + u"/a.txt"_s, u"d"_s, u"text"_s, path));
            QVERIFY(EntryFile::writeMask(path + u"/_mask.dat"_s, u"mask"_s, path));
        }
        QVERIFY(QFile::link(u"../outside"_s, store + u"/Out"_s));
        QVERIFY(QFile::link(u"G"_s, store + u"/In"_s));
        for (const QString &link : {u"Out"_s, u"In"_s}) {
            const bool readable = link == u"In"_s;
            const auto entry = EntryFile::readEntry(store + u'/' + link + u"/a.txt"_s, store);
            QCOMPARE(entry.ok, readable);
            QCOMPARE(entry.entry.text, readable ? u"text\r\n"_s : QString());
            QCOMPARE(EntryFile::readMask(store + u'/' + link + u"/_mask.dat"_s, store).ok,
                     readable);
            QString parts;
            const auto box = EntryFile::readEntryForBox(store + u'/' + link + u"/a.txt"_s, store,
                                                        [&parts](const QString &t) { parts += t; });
            QCOMPARE(box.ok, readable);
            QCOMPARE(parts, readable ? u"text\n"_s : QString());
        }
        // A read that fails after some parts fails whole.
        const QString inside = store + u"/G/a.txt"_s;
        const CallFaults faults(CallFault{Sys::Op::Read, 1, EIO});
        const auto cut = EntryFile::readEntryForBox(inside, store, [](const QString &) {}, 2);
        QVERIFY(!cut.ok);
        QCOMPARE(cut.error.number, EIO);
        QCOMPARE(faults.failed(), 1);
    }
};

QTEST_GUILESS_MAIN(TestFormats)
#include "tst_formats.moc"
