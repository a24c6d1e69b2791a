#include "store/indexfile.h"
#include "store/notetable.h"

#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;
using IndexFile::Damage;

namespace {

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

// Groups given as rows: the name, then the titles.
NoteTable tableOf(const QList<QStringList> &rows)
{
    NoteTable table;
    for (int g = 0; g < rows.size(); ++g) {
        for (int c = 0; c < rows[g].size(); ++c)
            table.cell(g, c) = rows[g][c];
    }
    return table;
}

} // namespace

class TestIndexFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesTheDescribedLayout()
    {
        const NoteTable table = tableOf({{u"Ideas"_s, u"first note"_s, u"second note"_s},
                                         {u"Trash"_s},
                                         {u"Work"_s, u"Meeting 12\u00d030"_s}});
        const TextLines::Encoded out = IndexFile::serialize(table, u"1.3.02"_s);
        QVERIFY(out);
        QCOMPARE(out.bytes, crlf({"idx Plimsa 1.3.02", "Ideas", "\\first note", "\\second note",
                                  "Trash", "Work",
                                  "\\Meeting 12\xd0"
                                  "30"}));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("no groups") << QList<QStringList>{};
        QTest::newRow("groups without entries") << QList<QStringList>{{u"A"_s}, {u"Trash"_s}};
        QTest::newRow("euro, y diaeresis and substitutes") << QList<QStringList>{
            {u"\u00ffPrivate"_s, u"Price 5\u20ac"_s, u"a\u00cfb \u00cbq\u00cb"_s},
            {u"Trash"_s, u"_indented"_s, u"__more"_s, u"_mask"_s}};
        QTest::newRow("blanks and tabs inside")
            << QList<QStringList>{{u"a  b"_s, u"x\ty"_s, u"--------"_s}};
        QStringList full{u"Full"_s};
        for (int e = 1; e <= NoteTable::kMaxEntries; ++e)
            full.append(u"Entry %1"_s.arg(e));
        QTest::newRow("999 entries") << QList<QStringList>{full, {u"After"_s, u"one"_s}};
        QList<QStringList> hundred;
        for (int g = 0; g < NoteTable::kGroups; ++g)
            hundred.append({u"G%1"_s.arg(g, 3, 10, QChar(u'0')), u"t"_s});
        QTest::newRow("100 groups") << hundred;
    }
    void roundTrip()
    {
        QFETCH(QList<QStringList>, rows);
        const NoteTable table = tableOf(rows);
        const TextLines::Encoded out = IndexFile::serialize(table, u"1.3.02"_s);
        QVERIFY(out);
        NoteTable back;
        const IndexFile::ParseResult parsed = IndexFile::parse(out.bytes, back);
        QVERIFY2(parsed, qPrintable(parsed.error().description));
        QVERIFY(back == table);
        // Written again, the file is the same.
        QCOMPARE(IndexFile::serialize(back, u"1.3.02"_s).bytes, out.bytes);
    }

    void cellAfterGapJoinsTheListBeforeIt()
    {
        NoteTable table = tableOf({{u"A"_s, u"one"_s}});
        table.cell(0, 5) = u"late"_s;
        table.cell(3, 0) = u"B"_s;
        NoteTable back;
        QVERIFY(IndexFile::parse(IndexFile::serialize(table, u"v"_s).bytes, back));
        QVERIFY(back == tableOf({{u"A"_s, u"one"_s, u"late"_s}, {u"B"_s}}));
    }

    // Save_idx encodes again only the slots whose strings changed: after every
    // kind of change the table sees, its file equals one written from scratch.
    void encoderFollowsEveryChange()
    {
        NoteTable table;
        for (int g = 0; g < 6; ++g) {
            table.cell(g, 0) = u"Group %1"_s.arg(g);
            for (int e = 1; e <= 40; ++e)
                table.cell(g, e) = u"Title %1.%2"_s.arg(g).arg(e);
        }
        IndexFile::Encoder encoder;
        QRandomGenerator random(20240503);
        QString version = u"1.3.02"_s;
        for (int step = 0; step < 400; ++step) {
            const int g = int(random.bounded(8));
            const int h = int(random.bounded(8));
            const int c = int(random.bounded(45));
            QString &cell = table.cell(g, c);
            switch (random.bounded(10)) {
            case 0:
                cell = u"New %1"_s.arg(step);
                break;
            case 1:
                cell.append(u'_'); // changes the string in place where it can
                break;
            case 2:
                if (!cell.isEmpty())
                    cell[0] = QChar(u'\u00ff');
                break;
            case 3:
                cell.clear();
                break;
            case 4:
                std::swap(cell, table.cell(h, int(random.bounded(45))));
                break;
            case 5:
                table.moveRow(g, h);
                break;
            case 6:
                table.openRow(g);
                break;
            case 7:
                table.closeRow(g);
                break;
            case 8:
                table.copyRow(g, h);
                break;
            case 9:
                version = u"1.3.%1"_s.arg(step);
                break;
            }
            const TextLines::Encoded fresh = IndexFile::serialize(table, version);
            QVERIFY(fresh);
            QCOMPARE(encoder.encode(table, version).bytes, fresh.bytes);
        }
    }

    void encoderRefusesLikeTheSerializer()
    {
        NoteTable table = tableOf({{u"A"_s, u"one"_s}, {u"B"_s, u"two"_s}});
        IndexFile::Encoder encoder;
        QVERIFY(encoder.encode(table, u"v"_s));
        table.cell(1, 1) = u"a/b"_s;
        const TextLines::Encoded refused = encoder.encode(table, u"v"_s);
        QVERIFY(!refused);
        QCOMPARE(refused.error->description,
                 IndexFile::serialize(table, u"v"_s).error->description);
        table.cell(1, 1) = u"a\u00cfb"_s;
        QCOMPARE(encoder.encode(table, u"v"_s).bytes, IndexFile::serialize(table, u"v"_s).bytes);
    }

    void readsOtherLineEndsAndAnyHeader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("crlf") << "idx Plimsa 1.3.02\r\nA\r\n\\x\r\nB\r\n"_ba;
        QTest::newRow("lf") << "idx\nA\n\\x\nB\n"_ba;
        QTest::newRow("cr") << "idx\rA\r\\x\rB"_ba;
        QTest::newRow("older header, no final break") << "idx Plimsa 1.0\r\nA\r\n\\x\r\nB"_ba;
        QTest::newRow("empty header") << "\r\nA\r\n\\x\r\nB\r\n"_ba;
    }
    void readsOtherLineEndsAndAnyHeader()
    {
        QFETCH(QByteArray, bytes);
        NoteTable table;
        QVERIFY(IndexFile::parse(bytes, table));
        QVERIFY(table == tableOf({{u"A"_s, u"x"_s}, {u"B"_s}}));
    }

    void damage_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<int>("line");
        QTest::newRow("empty file") << QByteArray() << Damage::NoHeader << 1;
        QTest::newRow("empty line") << crlf({"h", "A", "\\x", "", "B"}) << Damage::EmptyLine << 4;
        QTest::newRow("empty last line") << crlf({"h", "A", ""}) << Damage::EmptyLine << 3;
        QTest::newRow("blank line from a lone break")
            << "h\r\nA\n\nB\r\n"_ba << Damage::EmptyLine << 3;
        QTest::newRow("entry before group")
            << crlf({"h", "\\x", "A"}) << Damage::EntryBeforeGroup << 2;
        QTest::newRow("empty title") << crlf({"h", "A", "\\"}) << Damage::UnsafeName << 3;
        QTest::newRow("dot") << crlf({"h", "."}) << Damage::UnsafeName << 2;
        QTest::newRow("dot dot title") << crlf({"h", "A", "\\.."}) << Damage::UnsafeName << 3;
        QTest::newRow("slash in group") << crlf({"h", "../etc"}) << Damage::UnsafeName << 2;
        QTest::newRow("backslash in title") << crlf({"h", "A", "\\\\x"}) << Damage::UnsafeName << 3;
        QTest::newRow("slash in title") << crlf({"h", "A", "\\a/b"}) << Damage::UnsafeName << 3;
        QTest::newRow("nul in title")
            << crlf({"h", "A", QByteArray("\\a\0b", 4)}) << Damage::UnsafeName << 3;

        QList<QByteArray> groups{"h"};
        for (int g = 0; g <= NoteTable::kGroups; ++g)
            groups.append("G" + QByteArray::number(g));
        QTest::newRow("101st group") << crlf(groups) << Damage::TooManyGroups << 102;

        QList<QByteArray> entries{"h", "A"};
        for (int e = 1; e <= NoteTable::kColumns; ++e)
            entries.append("\\e" + QByteArray::number(e));
        QTest::newRow("1000th entry") << crlf(entries) << Damage::TooManyEntries << 1002;
    }
    void damage()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Damage, damage);
        QFETCH(int, line);
        NoteTable table;
        const IndexFile::ParseResult parsed = IndexFile::parse(bytes, table);
        QCOMPARE(parsed.damage, damage);
        QCOMPARE(parsed.line, line);
        QVERIFY(parsed.error().description.contains(u"line %1"_s.arg(line)));
    }

    void refusesToWriteWhatCannotBeReadBack_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("name");
        QTest::newRow("group with backslash") << 0 << u"\\x"_s;
        QTest::newRow("title with slash") << 1 << u"a/b"_s;
        QTest::newRow("title dot dot") << 2 << u".."_s;
        QTest::newRow("title with line break") << 1 << u"a\r\nb"_s;
        QTest::newRow("title outside code page") << 1 << u"\u0142"_s;
    }
    void refusesToWriteWhatCannotBeReadBack()
    {
        QFETCH(int, column);
        QFETCH(QString, name);
        NoteTable table = tableOf({{u"A"_s, u"one"_s, u"two"_s}});
        table.cell(0, column) = name;
        const TextLines::Encoded out = IndexFile::serialize(table, u"v"_s);
        QVERIFY(!out);
        QVERIFY(out.bytes.isEmpty());
        QVERIFY(!out.error->description.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestIndexFile)
#include "tst_indexfile.moc"
