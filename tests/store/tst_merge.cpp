// The merge of two computers' versions of idx.dat, as data: the versions, the
// base, the files on disk in, the merged table out. Notebooks are written as
// lines, "A x y | B b1", with "~" for a blank inside a name.

#include "notebook/grouplist.h"
#include "store/indexmerge.h"
#include "store/outsidechange.h"
#include "support/testsupport.h"

#include <QTest>

using namespace Qt::StringLiterals;
using IndexMerge::Disk;
using IndexMerge::EntryCopy;

namespace {

QList<QStringList> rowsOf(const QString &line)
{
    QList<QStringList> rows;
    if (line.isEmpty())
        return rows;
    for (const QString &group : line.split(u" | "_s))
        rows << group.split(u' ').replaceInStrings(u"~"_s, u" "_s);
    return rows;
}

NoteTable book(const QString &line)
{
    return tableOf(rowsOf(line));
}

QString lineOf(const NoteTable &table)
{
    QStringList groups;
    for (int g = 0; g < table.groupCount(); ++g) {
        QStringList names{table.name(g)};
        for (int c = 1; c <= table.entryCount(g); ++c)
            names << table.cell(g, c);
        groups << names.replaceInStrings(u" "_s, u"~"_s).join(u' ');
    }
    return groups.join(u" | "_s);
}

// Each group a folder with its mask, each title its file.
Disk diskOf(const QString &line)
{
    Disk disk;
    for (const QStringList &row : rowsOf(line)) {
        Disk::Folder &folder = disk.folders[row.first()];
        folder.mask = true;
        for (const QString &title : row.mid(1))
            folder.titles.insert(title);
    }
    return disk;
}

// "group/title@2026-12-07", and "=title" for the file that holds its bytes already.
EntryCopy copyOf(const QString &spec)
{
    const QString where = spec.section(u'@', 0, 0);
    const QString date = spec.section(u'@', 1).section(u'=', 0, 0);
    EntryCopy copy{where.section(u'/', 0, 0), {}, where.section(u'/', 1).replace(u'~', u' '), date};
    copy.copyTitle = copy.title + u".sync-conflict-"_s + QString(date).remove(u'-') +
                     u"-101500-ABCDEF1"_s;
    if (spec.contains(u'='))
        copy.sameBytes << spec.section(u'=', 1).replace(u'~', u' ');
    return copy;
}

IndexMerge::Input input(const QString &base, const QStringList &versions, const QString &disk,
                        const QStringList &copies)
{
    IndexMerge::Input in;
    for (const QString &version : versions)
        in.versions << book(version);
    if (base != u"-"_s)
        in.base = book(base);
    in.disk = diskOf(disk);
    for (const QString &copy : copies)
        in.entryCopies << copyOf(copy);
    in.orderGroups = &GroupList::orderRows;
    return in;
}

} // namespace

class TestMerge : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // What exists, where, and in which order. Every merge is also merged
    // again with each of its versions, as the other computer or a later look
    // does once the first result is on disk: it must come out the same, or the
    // two computers would not settle.
    void merged_data()
    {
        QTest::addColumn<QString>("base"); // "-": none to trust
        QTest::addColumn<QStringList>("versions");
        QTest::addColumn<QString>("disk");
        QTest::addColumn<QStringList>("copies");
        QTest::addColumn<QString>("expected");
        // Names kept for their files alone, which a late deletion takes away.
        QTest::addColumn<QStringList>("byFile");
        using L = QStringList;
        const auto row = [](const char *name, const QString &base, const L &versions,
                            const QString &disk, const QString &expected, const L &copies = {},
                            const L &byFile = {}) {
            QTest::newRow(name) << base << versions << disk << copies << expected << byFile;
        };
        // What exists.
        row("added on both sides, after the same line", u"A x y | T"_s,
            {u"A x a y | T"_s, u"A x b y | T"_s}, u"A x y a b | T"_s, u"A x a b y | T"_s);
        row("cleared from the trash on one side", u"A x | T t"_s, {u"A x | T"_s, u"A x y | T t"_s},
            u"A x y | T"_s, u"A x y | T"_s);
        row("cleared on one side, its text changed on the other", u"A x | T t"_s,
            {u"A x | T"_s, u"A x | T t"_s}, u"A x | T t"_s, u"A x | T t"_s, {}, {u"T/t"_s});
        row("moved to another group", u"A x y | B"_s, {u"A y | B x"_s, u"A x y z | B"_s},
            u"A y z | B x"_s, u"A y z | B x"_s);
        row("renamed on one side, a line added after it on the other", u"A x y"_s,
            {u"A z y"_s, u"A x w y"_s}, u"A z w y"_s, u"A z w y"_s);
        row("renamed to different titles on each side", u"A x"_s, {u"A y"_s, u"A z"_s},
            u"A y z"_s, u"A y z"_s);
        row("the same title made on both sides", u"A x"_s, {u"A n x"_s, u"A x n"_s}, u"A n x"_s,
            u"A n x"_s);
        row("separator added on one side", u"A x | T"_s, {u"A x | T"_s, u"A x s | T"_s},
            u"A x | T"_s, u"A x s | T"_s);
        row("separator trashed on one side", u"A s x | T"_s, {u"A x | T s"_s, u"A s x y | T"_s},
            u"A x y | T"_s, u"A x y | T s"_s);
        row("separator in every version", u"A s x"_s, {u"A s x"_s, u"A s x y"_s}, u"A x y"_s,
            u"A s x y"_s);
        row("a file still on its way", u"A x"_s, {u"A x n"_s, u"A x"_s}, u"A x"_s, u"A x n"_s);
        // Both computers merged and wrote different results (or one merged
        // less): nothing is dropped that either has.
        row("no base: every name stays", u"-"_s, {u"A s x n"_s, u"A s x"_s}, u"A x"_s,
            u"A s x n"_s);
        row("no base: a file is enough", u"-"_s, {u"A x"_s, u"A x y"_s}, u"A x y"_s,
            u"A x y"_s, {}, {u"A/y"_s});
        // Groups.
        row("group added on one side", u"A"_s, {u"A | N n1"_s, u"A a1"_s}, u"A a1 | N n1"_s,
            u"A a1 | N n1"_s);
        row("group added on one side, its folder on its way", u"A"_s, {u"A | N n1"_s, u"A"_s},
            u"A"_s, u"A | N n1"_s);
        row("group deleted on one side", u"A | C"_s, {u"A"_s, u"A a1 | C"_s}, u"A a1"_s,
            u"A a1"_s);
        row("group deleted on one side, an entry made in it on the other", u"A | C c1 | T"_s,
            {u"A | T c1"_s, u"A | C c1 n | T"_s}, u"A | C n | T c1"_s, u"A | C n | T c1"_s, {},
            {u"C/"_s});
        row("group renamed on one side", u"A x | C c1"_s, {u"A x | D c1"_s, u"A x y | C c1"_s},
            u"A x y | D c1"_s, u"A x y | D c1"_s);
        row("groups in the group list's order", u"b"_s, {u"b | Z"_s, u"a | b"_s}, u"a | b | Z"_s,
            u"a | b | Z"_s);
        // Files no version names.
        row("files no version names, at the end; hidden files left", u"A x"_s, {u"A x"_s},
            u"A x .syncthing.y.txt.tmp q p"_s, u"A x p q"_s);
        row("a folder no version names", u"A x"_s, {u"A x"_s}, u"A x | N n2 n1 | .stfolder"_s,
            u"A x | N n1 n2"_s);
        // The order.
        row("each side moved another entry", u"A 1 2 3 4 5"_s,
            {u"A 2 3 4 5 1"_s, u"A 5 1 2 3 4"_s}, u"A 1 2 3 4 5"_s, u"A 5 2 3 4 1"_s);
        row("both moved one entry: the first version decides", u"A 1 2 3"_s,
            {u"A 2 3 1"_s, u"A 2 1 3"_s}, u"A 1 2 3"_s, u"A 2 3 1"_s);
        row("sorted on one side, one moved on the other", u"A c a d b"_s,
            {u"A a b c d"_s, u"A c d a b"_s}, u"A a b c d"_s, u"A a b c d"_s);
        row("no base: the first version's order", u"-"_s, {u"A 2 1 3"_s, u"A 1 3 2 4"_s},
            u"A 1 2 3 4"_s, u"A 2 4 1 3"_s, {}, {u"A/4"_s});
        row("three versions", u"A x"_s, {u"A x a"_s, u"A b x"_s, u"A x c"_s}, u"A x a b c"_s,
            u"A b x a c"_s);
        // Entries changed on both sides.
        row("the other text beside its entry", u"A x y"_s, {u"A x y"_s}, u"A x y"_s,
            u"A x x~(other~computer~2026-12-07) y"_s, {u"A/x@2026-12-07"_s});
        row("two other texts of one entry, in the order of their names", u"A x y"_s,
            {u"A x y"_s}, u"A x y"_s,
            u"A x x~(other~computer~2026-12-07) x~(other~computer~2026-12-08) y"_s,
            {u"A/x@2026-12-07"_s, u"A/x@2026-12-08"_s});
        row("its title taken by another file", u"A x"_s, {u"A x"_s},
            u"A x x~(other~computer~2026-12-07)"_s,
            u"A x x~(other~computer~2026-12-07)_ x~(other~computer~2026-12-07)"_s,
            {u"A/x@2026-12-07"_s});
        row("taken in already, by the other computer", u"A x"_s,
            {u"A x x~(other~computer~2026-12-07)"_s}, u"A x x~(other~computer~2026-12-07)"_s,
            u"A x x~(other~computer~2026-12-07)"_s,
            {u"A/x@2026-12-07=x~(other~computer~2026-12-07)"_s});
        row("its entry gone: at the end of its group", u"A x y"_s, {u"A y"_s}, u"A y"_s,
            u"A y x~(other~computer~2026-12-07)"_s, {u"A/x@2026-12-07"_s});
    }
    void merged()
    {
        QFETCH(QString, base);
        QFETCH(QStringList, versions);
        QFETCH(QString, disk);
        QFETCH(QStringList, copies);
        QFETCH(QString, expected);
        QFETCH(QStringList, byFile);
        const IndexMerge::Result result = IndexMerge::merge(input(base, versions, disk, copies));
        QVERIFY2(result.refused.isEmpty(), qPrintable(result.refused));
        QCOMPARE(lineOf(result.table), expected);
        QCOMPARE(result.keptByFile, byFile);
        QVERIFY(result.copiesLeft.isEmpty());

        // Once on disk: the entries made of copies have their files, the copies are gone.
        IndexMerge::Input again = input(base, versions, disk, {});
        for (const IndexMerge::NewEntry &made : result.fromCopies)
            again.disk.folders[made.group].titles.insert(made.title);
        for (const NoteTable &version : std::as_const(again.versions)) {
            IndexMerge::Input next = again;
            next.versions = {result.table, version};
            QCOMPARE(lineOf(IndexMerge::merge(next).table), expected);
        }
    }

    // What idx.dat cannot hold is not merged; a copy without its group, or
    // whose title would be too long, is left where it is.
    void notMerged()
    {
        QStringList full{u"A"_s};
        for (int i = 0; i < NoteTable::kMaxEntries; ++i)
            full << u"e%1"_s.arg(i);
        IndexMerge::Input in = input(u"A"_s, {full.join(u' '), u"A n"_s}, full.join(u' ') + u" n"_s, {});
        QVERIFY(IndexMerge::merge(in).refused.contains(u"1000 entries"_s));

        in = input(u"A"_s, {u"A x"_s}, u"A x"_s, {u"B/b@2026-12-07"_s, u"A/x@2026-12-07"_s});
        in.entryCopies[1].title = QString(230, u'x');
        const IndexMerge::Result result = IndexMerge::merge(in);
        QCOMPARE(result.copiesLeft.size(), 2);
        QCOMPARE(lineOf(result.table), u"A x"_s);
    }

    // The names sync programs give their conflict copies, and what they tell.
    void conflictNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("original"); // "" for no copy
        QTest::addColumn<QString>("date");
        QTest::newRow("Syncthing") << u"x.sync-conflict-20261207-101500-ABCDEF1.txt"_s
                                   << u"x.txt"_s << u"2026-12-07"_s;
        QTest::newRow("Syncthing, a title with dots and a copy of a copy")
            << u"v1.2.sync-conflict-20261207-101500-ABCDEF1.sync-conflict-20261208-090000-XYZ2345.txt"_s
            << u"v1.2.txt"_s << u"2026-12-07"_s;
        QTest::newRow("Syncthing, idx.dat") << u"idx.sync-conflict-20261207-101500-ABCDEF1.dat"_s
                                            << u"idx.dat"_s << u"2026-12-07"_s;
        QTest::newRow("Nextcloud") << u"a (b) (conflicted copy 2026-12-07 101500).txt"_s
                                   << u"a (b).txt"_s << u"2026-12-07"_s;
        QTest::newRow("Dropbox, a second copy")
            << u"x (Someone's Conflicted Copy 2026-12-07 (1)).txt"_s << u"x.txt"_s
            << u"2026-12-07"_s;
        QTest::newRow("no mark") << u"x (copy).txt"_s << QString() << QString();
        QTest::newRow("no date") << u"x.sync-conflict-.txt"_s << QString() << QString();
        QTest::newRow("another kind of file")
            << u"x.sync-conflict-20261207-101500-ABCDEF1.doc"_s << QString() << QString();
    }
    void conflictNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, original);
        QFETCH(QString, date);
        const auto parsed = OutsideChange::parseConflictCopy(name);
        QCOMPARE(parsed ? parsed->original : QString(), original);
        QCOMPARE(parsed ? parsed->date : QString(), date);
    }
};

QTEST_MAIN(TestMerge)
#include "tst_merge.moc"
