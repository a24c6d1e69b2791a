#include "store/indexfile.h"
#include "store/notetable.h"

#include <QRandomGenerator>
#include <QTest>

#include "support/testsupport.h"

using namespace Qt::StringLiterals;

class TestIndexFile : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void writesTheDescribedLayout()
    {
        const NoteTable table = tableOf({{u"Ideas"_s, u"first"_s, u"second"_s},
                                         {u"Trash"_s},
                                         {u"Work"_s, u"12\u00d0 30 \u20ac"_s}});
        QCOMPARE(IndexFile::serialize(table, u"1.3.02"_s).bytes,
                 "idx Plimsa 1.3.02\r\nIdeas\r\n\\first\r\n\\second\r\nTrash\r\nWork\r\n"
                 "\\12\xd0 30 \x80\r\n"_ba);
    }

    void roundTrip_data()
    {
        QTest::addColumn<QList<QStringList>>("rows");
        QTest::newRow("euro, y diaeresis and substitutes") << QList<QStringList>{
            {u"\u00ffPrivate"_s, u"Price 5\u20ac"_s, u"a\u00cfb \u00cbq\u00cb"_s},
            {u"Trash"_s, u"_indented"_s, u"__more"_s, u"_mask"_s}};
        QStringList full{u"Full"_s};
        for (int e = 1; e <= NoteTable::kMaxEntries; ++e)
            full.append(u"Entry %1"_s.arg(e));
        QTest::newRow("999 entries") << QList<QStringList>{full, {u"After"_s, u"one"_s}};
        QList<QStringList> hundred;
        for (int g = 0; g < NoteTable::kGroups; ++g)
            hundred.append({u"G%1"_s.arg(g), u"t"_s});
        QTest::newRow("100 groups") << hundred;
    }
    void roundTrip()
    {
        QFETCH(QList<QStringList>, rows);
        const NoteTable table = tableOf(rows);
        NoteTable back;
        QVERIFY(IndexFile::parse(IndexFile::serialize(table, u"1.3.02"_s).bytes, back));
        QVERIFY(back == table);
    }

    // A name must be able to be its folder or, with ".txt", its file: 255 bytes
    // as the file system is given them (a stand-in such as \xcf takes two).
    // Else the line is damaged, and the read ends there.
    void namesTooLongForAFile_data()
    {
        QTest::addColumn<QByteArray>("lines"); // after the header
        QTest::addColumn<int>("damage");       // IndexFile::Damage
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("lastCell"); // the last name read
        const QByteArray g255(255, 'g');
        const QByteArray t251(251, 't');
        QTest::newRow("longest group") << "A\r\n" + g255 + "\r\n"
                                       << 0 << 0 << QString::fromLatin1(g255);
        QTest::newRow("group a byte too long") << "A\r\n" + g255 + "g\r\n\\x\r\n"
                                               << int(IndexFile::Damage::UnsafeName) << 3 << u"A"_s;
        QTest::newRow("longest title") << "A\r\n\\" + t251 + "\r\n"
                                       << 0 << 0 << QString::fromLatin1(t251);
        QTest::newRow("title a byte too long with .txt")
            << "A\r\n\\x\r\n\\" + t251 + "t\r\n"
            << int(IndexFile::Damage::UnsafeName) << 4 << u"x"_s;
        QTest::newRow("stand-ins count as the file system's bytes")
            << "A\r\n\\" + QByteArray(126, '\xcf') + "\r\n"
            << int(IndexFile::Damage::UnsafeName) << 3 << u"A"_s;
    }
    void namesTooLongForAFile()
    {
        QFETCH(QByteArray, lines);
        QFETCH(int, damage);
        QFETCH(int, line);
        QFETCH(QString, lastCell);
        NoteTable table;
        const IndexFile::ParseResult parsed =
            IndexFile::parse("idx Plimsa 1.3.02\r\n" + lines, table);
        QCOMPARE(int(parsed.damage), damage);
        QCOMPARE(parsed.line, line);
        QString last;
        for (int g = 0; g < NoteTable::kGroups; ++g) {
            for (int c = 0; c < NoteTable::kColumns; ++c) {
                if (!table.cell(g, c).isEmpty())
                    last = table.cell(g, c);
            }
        }
        QCOMPARE(last, lastCell);
    }

    // A table read from a file makes its strings only when asked; rows moved,
    // copied, opened and closed before that, a copy of the table, a second read
    // into it and bytes that were only lent all give the cells of a table
    // filled string by string.
    void cellsReadLaterFollowEveryChange()
    {
        NoteTable eager;
        for (int g = 0; g < 8; ++g) {
            eager.cell(g, 0) = u"Group %1 \u00ff\u20ac"_s.arg(g);
            for (int e = 1; e <= 30; ++e)
                eager.cell(g, e) = u"Title %1.%2"_s.arg(g).arg(e);
        }
        QByteArray file = IndexFile::serialize(eager, u"v"_s).bytes;
        NoteTable lazy;
        {
            // Lent bytes, overwritten once the table has them.
            QByteArray lent(file.constData(), file.size());
            QVERIFY(IndexFile::parse(QByteArray::fromRawData(lent.constData(), lent.size()), lazy));
            lent.fill('x');
        }
        QCOMPARE(lazy.groupCount(), 8);
        QCOMPARE(lazy.entryCount(3), 30);
        QRandomGenerator random(7);
        for (int step = 0; step < 40; ++step) {
            const int g = int(random.bounded(9));
            const int h = int(random.bounded(9));
            for (NoteTable *t : {&eager, &lazy}) {
                switch (step % 8) {
                case 0:
                    t->moveRow(g, h);
                    break;
                case 1:
                    t->copyRow(g, h);
                    break;
                case 2:
                    t->openRow(g);
                    break;
                case 3:
                    t->closeRow(g);
                    break;
                case 4:
                    t->reorderRows({h % 3, (h + 1) % 3, (h + 2) % 3, 3, 4, 5, 6, 7, 8});
                    break;
                default:
                    t->moveRow(h, g);
                    break;
                }
            }
        }
        int named = 0;
        for (int g = 0; g < NoteTable::kGroups; ++g)
            named += eager.name(g).isEmpty() ? 0 : 1;
        QVERIFY(named >= 5);
        const NoteTable copy = lazy;
        QVERIFY(copy == eager);
        // A second file read into the table: the cells still waiting for the
        // first one are made before its bytes go.
        NoteTable other = tableOf({{u"Other"_s, u"one"_s}});
        QByteArray second = IndexFile::serialize(other, u"v"_s).bytes;
        NoteTable twice;
        QVERIFY(IndexFile::parse(file, twice));
        twice.moveRow(0, 50);
        QVERIFY(IndexFile::parse(second, twice));
        QCOMPARE(twice.cell(50, 0), u"Group 0 \u00ff\u20ac"_s);
        QCOMPARE(twice.cell(0, 1), u"one"_s);
        lazy.clear();
        QVERIFY(copy == eager);
    }

    void names_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("safe");
        QTest::newRow("slash") << "\\a/b"_ba << false;
        QTest::newRow("backslash in a title") << "\\a\\b"_ba << false;
        QTest::newRow("nul") << "\\a\0b"_ba << false;
        QTest::newRow("dot") << "\\."_ba << false;
        QTest::newRow("dot dot") << ".."_ba << false;
        QTest::newRow("empty title") << "\\"_ba << false;
        QTest::newRow("slash far in") << "\\abcdefghij/klmnop"_ba << false;
        QTest::newRow("backslash at the end of a word") << "\\abcdefghijklmno\\"_ba << false;
        QTest::newRow("nul far in") << "Group name \0 here"_ba << false;
        QTest::newRow("long, with substitutes")
            << "\\\xcf\xd0\xef\xdc\xaf\x2e\x5d\x2d\x30 a long title, 2024 \x80"_ba << true;
    }
    void names()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, safe);
        NoteTable table;
        const IndexFile::ParseResult parsed =
            IndexFile::parse("idx\r\nG\r\n\\ok\r\n" + line + "\r\n", table);
        QCOMPARE(int(parsed.damage),
                 int(safe ? IndexFile::Damage::None : IndexFile::Damage::UnsafeName));
        QCOMPARE(parsed.line, safe ? 0 : 4);
        QCOMPARE(table.cell(0, 1), u"ok"_s);
    }

    // Save_idx encodes again only the groups whose strings changed: after every
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
        for (int step = 0; step < 400; ++step) {
            const int g = int(random.bounded(8));
            const int h = int(random.bounded(8));
            QString &cell = table.cell(g, int(random.bounded(45)));
            switch (random.bounded(8)) {
            case 0:
                cell = u"New %1"_s.arg(step);
                break;
            case 1:
                cell.append(u'_'); // changes the string in place where it can
                break;
            case 2:
                if (!cell.isEmpty())
                    cell[0] = QChar(u'\u00ff'); // same size, changed in place
                break;
            case 3:
                std::swap(cell, table.cell(h, int(random.bounded(45))));
                break;
            case 4:
                table.moveRow(g, h);
                break;
            case 5:
                table.openRow(g);
                break;
            case 6:
                table.closeRow(g);
                break;
            case 7:
                table.copyRow(g, h);
                break;
            }
            const TextLines::Encoded fresh = IndexFile::serialize(table, u"1.3.02"_s);
            QVERIFY(fresh);
            QCOMPARE(encoder.encode(table, u"1.3.02"_s).bytes, fresh.bytes);
        }
    }

    // A name that would not read back as the same cell never reaches the disk,
    // also when the encoder holds the group's lines from an earlier save.
    void refusesWhatCannotBeReadBack()
    {
        const QStringList names{u"a/b"_s, u".."_s, u"\U0001F600"_s,
                                QString(13, u'a') + u"\t\r"_s + QString(20, u'b'),
                                QString(252, u'a')};
        NoteTable table = tableOf({{u"A"_s, u"one"_s}});
        IndexFile::Encoder encoder;
        for (const QString &name : names) {
            QVERIFY(encoder.encode(table, u"v"_s));
            table.cell(0, 1) = name;
            QVERIFY2(!encoder.encode(table, u"v"_s), qPrintable(name));
            table.cell(0, 1) = u"one"_s;
        }
        QCOMPARE(encoder.encode(table, u"v"_s).bytes, IndexFile::serialize(table, u"v"_s).bytes);
    }
};

QTEST_GUILESS_MAIN(TestIndexFile)
#include "tst_indexfile.moc"
