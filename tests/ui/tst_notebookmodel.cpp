// The model of the notebook and the lines the two lists show of it: how each
// kind of change of the table reaches the views (the rows and signals, the
// item a view holds, the new state that follows it), the roles, the group
// list's order and hidden groups, the entry list's closing line. And the
// revisions the undo history keeps: refused on a table they do not fit, and
// an import's files taken back and brought again byte for byte.

#include "notebook/grouplist.h"
#include "notebook/revision.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/errorreports.h"
#include "store/notebookchange.h"
#include "store/store.h"
#include "support/foldercontents.h"
#include "support/notebookline.h"
#include "support/testsupport.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"

#include <QAbstractItemModelTester>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

NoteTable tableFrom(const QString &line)
{
    QList<QStringList> rows = notebook(line);
    for (QStringList &row : rows) {
        for (QString &name : row)
            name = OutDOS(name);
    }
    return tableOf(rows);
}

// The model's signals, one line each, as "removed A 0-1", "inserted top 2-2",
// "layout A", "changed Z"; a parent by its stored name.
class SignalLog : public QObject
{
public:
    explicit SignalLog(QAbstractItemModel &model)
    {
        const auto where = [](const QModelIndex &parent) {
            return parent.isValid() ? parent.data(NotebookModel::StoredNameRole).toString()
                                    : u"top"_s;
        };
        const auto range = [this, where](const QString &what) {
            return [this, where, what](const QModelIndex &parent, int first, int last) {
                lines << u"%1 %2 %3-%4"_s.arg(what, where(parent)).arg(first).arg(last);
            };
        };
        connect(&model, &QAbstractItemModel::rowsRemoved, this, range(u"removed"_s));
        connect(&model, &QAbstractItemModel::rowsInserted, this, range(u"inserted"_s));
        connect(&model, &QAbstractItemModel::rowsMoved, this, [this] { lines << u"moved"_s; });
        connect(&model, &QAbstractItemModel::modelReset, this, [this] { lines << u"reset"_s; });
        connect(&model, &QAbstractItemModel::layoutChanged, this,
                [this, where](const QList<QPersistentModelIndex> &parents) {
                    lines << u"layout "_s + (parents.isEmpty() ? u"top"_s : where(parents[0]));
                });
        connect(&model, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &topLeft) {
            lines << u"changed "_s + topLeft.data(NotebookModel::StoredNameRole).toString();
        });
    }
    QStringList lines;
};

// "G/r": entry line r of group G; "G": the group.
QModelIndex itemAt(const NotebookModel &model, const NoteTable &table, const QString &where)
{
    const int slot = table.findGroup(where.section(u'/', 0, 0));
    if (!where.contains(u'/'))
        return model.groupIndex(slot);
    return model.entryIndex(slot, where.section(u'/', 1).toInt());
}

QString placeOf(const QModelIndex &item)
{
    if (!item.isValid())
        return u"gone"_s;
    if (!item.parent().isValid())
        return item.data(NotebookModel::StoredNameRole).toString();
    return item.parent().data(NotebookModel::StoredNameRole).toString() + u'/' +
           QString::number(item.row());
}

// A store in a scratch folder, held by this process, idx.dat read.
struct ScratchStore : ErrorReports
{
    explicit ScratchStore(const QString &line)
    {
        state.storeFolder = dir.path() + u"/FileStore/"_s;
        QDir().mkpath(state.storeFolder);
        const NoteTable start = tableFrom(line);
        table = start;
        for (int g = 0; g < start.groupCount(); ++g) {
            QVERIFY(writeFile(state.storeFolder + start.name(g) + u"/_mask.dat"_s, "m"));
            for (int c = 1; c <= start.entryCount(g); ++c)
                QVERIFY(writeFile(state.storeFolder + start.name(g) + u'/' + start.cell(g, c) +
                                      u".txt"_s,
                                  "d\r\ntext of " + start.cell(g, c).toLatin1() + "\r\n"));
        }
        QVERIFY(store.Save_idx());
        QVERIFY(store.TakeStoreMarker());
    }
    void ShowErrorCancel(const IoError &error) override { reports << error.description; }
    void ShowErrorContinue(const IoError &error) override { reports << error.description; }
    NotebookChange change() { return NotebookChange(store, table, *this); }
    Files files() const { return readFolder(state.storeFolder); }

    QTemporaryDir dir;
    AppState state;
    NoteTable table;
    Store store{state, table};
    QStringList reports;
};

} // namespace

class TestNotebookModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The table before and after a command, an item a view holds (and that
    // is new), the signals the views get and where the held item is then.
    void follows_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<QString>("held");
        QTest::addColumn<QString>("signalLines");
        QTest::addColumn<QString>("heldAfter");
        QTest::newRow("one place down")
            << u"A x y z"_s << u"A y x z"_s << u"A/0"_s << u"layout A"_s << u"A/1"_s;
        QTest::newRow("sort") << u"G c a b"_s << u"G a b c"_s << u"G/0"_s << u"layout G"_s
                              << u"G/2"_s;
        QTest::newRow("new title: the same item")
            << u"A x y"_s << u"A w y"_s << u"A/0"_s << u"changed w"_s << u"A/0"_s;
        QTest::newRow("into another group") << u"A x y | B b"_s << u"A y | B b x"_s << u"A/0"_s
                                            << u"removed A 0-0; inserted B 1-1"_s << u"gone"_s;
        QTest::newRow("an entry above the held one goes")
            << u"A x y z"_s << u"A y z"_s << u"A/2"_s << u"removed A 0-0"_s << u"A/1"_s;
        QTest::newRow("entries appended")
            << u"A x"_s << u"A x p q"_s << u"A/0"_s << u"inserted A 1-2"_s << u"A/0"_s;
        QTest::newRow("the trash emptied") << u"A a | Trash t u v"_s << u"A a | Trash"_s
                                           << u"Trash/1"_s << u"removed Trash 0-2"_s << u"gone"_s;
        // Entries belong to their group, wherever its row goes.
        QTest::newRow("a group comes before the held entry's")
            << u"A a | C c"_s << u"A a | B | C c"_s << u"C/0"_s << u"inserted top 1-1"_s
            << u"C/0"_s;
        QTest::newRow("group renamed, its row moved")
            << u"A a | B b | C c"_s << u"A a | C c | Z b"_s << u"B/0"_s
            << u"layout top; changed Z"_s << u"Z/0"_s;
        QTest::newRow("group deleted with the held entry")
            << u"A a | B b | C c"_s << u"A a | C c"_s << u"B/0"_s << u"removed top 1-1"_s
            << u"gone"_s;
        QTest::newRow("the held group itself renamed")
            << u"A a | B b"_s << u"A a | D b"_s << u"B"_s << u"changed D"_s << u"D"_s;
        QTest::newRow("nothing changed")
            << u"A x | B"_s << u"A x | B"_s << u"A/0"_s << u""_s << u"A/0"_s;
        // Titles alike: a change of one line is that line's; otherwise one
        // that stands where it stood is the same, the others are paired in
        // their order. A new entry titled above a placeholder a crash left
        // stays the item it was.
        QTest::newRow("titled above a title alike")
            << u"A N x N"_s << u"A t x N"_s << u"A/0"_s << u"changed t"_s << u"A/0"_s;
        QTest::newRow("two titles alike, reordered")
            << u"A d e d"_s << u"A e d d"_s << u"A/0"_s << u"layout A"_s << u"A/1"_s;
        QTest::newRow("two titles alike, one gone")
            << u"A d e d"_s << u"A e d"_s << u"A/2"_s << u"removed A 0-0"_s << u"A/1"_s;
    }
    void follows()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(QString, held);
        QFETCH(QString, signalLines);
        QFETCH(QString, heldAfter);
        AppState state;
        NoteTable table = tableFrom(before);
        NotebookModel model(table, state);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.refresh();
        const QPersistentModelIndex item(itemAt(model, table, held));
        QVERIFY(item.isValid());
        if (item.parent().isValid())
            model.setNew(item, true);

        table = tableFrom(after);
        SignalLog log(model);
        model.refresh();

        QCOMPARE(log.lines.join(u"; "_s), signalLines);
        QCOMPARE(placeOf(item), heldAfter);
        if (item.isValid() && item.parent().isValid()) {
            QVERIFY(model.isNew(item));
            QCOMPARE(item.data(NotebookModel::KindRole).value<NotebookModel::Kind>(),
                     NotebookModel::Kind::New);
        }
        // Every item shows what the table holds.
        QCOMPARE(model.rowCount(), table.groupCount());
        for (int g = 0; g < table.groupCount(); ++g) {
            QCOMPARE(model.groupIndex(g).data(NotebookModel::StoredNameRole).toString(),
                     table.name(g));
            QCOMPARE(model.rowCount(model.groupIndex(g)), table.entryCount(g));
            for (int c = 1; c <= table.entryCount(g); ++c)
                QCOMPARE(model.entryIndex(g, c - 1).data().toString(), InDOS(table.cell(g, c)));
        }
    }

    // Each entry's kind and both forms of its name.
    void roles_data()
    {
        QTest::addColumn<QString>("storedTitle");
        QTest::addColumn<bool>("file");
        QTest::addColumn<bool>("isNew");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<NotebookModel::Kind>("kind");
        using K = NotebookModel::Kind;
        QTest::newRow("with its file") << u"a"_s << true << false << u"a"_s << K::Entry;
        QTest::newRow("file missing") << u"b"_s << false << false << u"b"_s << K::MissingFile;
        QTest::newRow("new") << u"\u00CC NEW \u00CC"_s << false << true << u"* NEW *"_s << K::New;
        // The placeholder's title without the state is no new entry.
        QTest::newRow("the new title, not new")
            << u"\u00CC NEW \u00CC"_s << false << false << u"* NEW *"_s << K::MissingFile;
        QTest::newRow("stored form shown")
            << u"12\u00D030"_s << true << false << u"12:30"_s << K::Entry;
        QTest::newRow("dashed line")
            << QString(99, u'-') << false << false << QString(99, u'-') << K::Separator;
        const QString blanks = QString(99, QChar::Nbsp) + u'.';
        QTest::newRow("blank line") << blanks << false << false << blanks << K::Separator;
        QTest::newRow("a line one short")
            << QString(98, u'=') << false << false << QString(98, u'=') << K::MissingFile;
        QTest::newRow("a line of its file")
            << QString(99, u'=') << true << false << QString(99, u'=') << K::Entry;
    }
    void roles()
    {
        QFETCH(QString, storedTitle);
        QFETCH(bool, file);
        QFETCH(bool, isNew);
        QFETCH(QString, shown);
        QFETCH(NotebookModel::Kind, kind);
        QTemporaryDir dir;
        AppState state;
        state.storeFolder = dir.path() + u'/';
        const QString group = u"Work\u00CFHome"_s; // "Work/Home"
        if (file)
            QVERIFY(writeFile(state.storeFolder + group + u'/' + storedTitle + u".txt"_s, "d\r\n"));
        const NoteTable table = tableOf({{group, u"first"_s, storedTitle}});
        NotebookModel model(table, state);
        model.refresh();
        const QModelIndex entry = model.entryIndex(0, 1);
        model.setNew(entry, isNew);
        QCOMPARE(model.groupIndex(0).data().toString(), u"Work/Home"_s);
        QCOMPARE(model.groupIndex(0).data(NotebookModel::StoredNameRole).toString(), group);
        QCOMPARE(entry.data().toString(), shown);
        QCOMPARE(entry.data(Qt::AccessibleTextRole).toString(), shown);
        QCOMPARE(entry.data(NotebookModel::StoredNameRole).toString(), storedTitle);
        QCOMPARE(entry.data(NotebookModel::KindRole).value<NotebookModel::Kind>(), kind);
        QVERIFY(!model.groupIndex(0).data(NotebookModel::KindRole).isValid());
    }

    // The group list: sorted as the list sorts, the ÿ-groups last and left
    // out while hidden; lines and slots map both ways.
    void groupLines()
    {
        AppState state;
        NoteTable table = tableOf({{u"Work"_s}, {u"\u00FFSecret"_s}, {u"notes"_s}, {u"_x"_s}});
        NotebookModel model(table, state);
        GroupLinesModel lines;
        lines.setSourceModel(&model);
        GroupList groups;
        groups.attach(model, lines);
        groups.fill(false);
        QCOMPARE(groups.lines(), (QStringList{u"_x"_s, u"notes"_s, u"Work"_s, u"\u00FFSecret"_s}));
        QCOMPARE(groups.slotOfLine(1), 2);
        QCOMPARE(groups.lineOfSlot(0), 2);
        groups.fill(true);
        QCOMPARE(groups.lines(), (QStringList{u"_x"_s, u"notes"_s, u"Work"_s}));
        QCOMPARE(groups.lineOfSlot(1), -1);
        QCOMPARE(groups.slotOfLine(3), -1);
        // A group renamed takes its place in the order.
        table.cell(2, 0) = u"zeta"_s;
        groups.fill(true);
        QCOMPARE(groups.lines(), (QStringList{u"_x"_s, u"Work"_s, u"zeta"_s}));
    }

    // The entry list: the group's titles and its closing line, which is no
    // item; the lines follow the group, and only that line is left when the
    // group goes.
    void entryLines()
    {
        AppState state;
        NoteTable table = tableFrom(u"A x y | B b"_s);
        NotebookModel model(table, state);
        model.refresh();
        EntryLinesModel lines;
        lines.setSourceModel(&model);
        QAbstractItemModelTester tester(&lines,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        const TitleLines titles(&lines);
        QCOMPARE(titles.shownNames(), QStringList{u" "_s});
        lines.setGroup(model.groupIndex(0));
        QCOMPARE(titles.shownNames(), (QStringList{u"x"_s, u"y"_s, u" "_s}));
        QCOMPARE(titles.storedNames(), (QStringList{u"x"_s, u"y"_s}));
        QCOMPARE(titles.itemCount(), 2);
        QVERIFY(titles.isClosingLine(2));
        QVERIFY(!titles.isClosingLine(1));
        QVERIFY(!titles.item(2).isValid());
        QCOMPARE(titles.item(1), model.entryIndex(0, 1));
        QCOMPARE(titles.storedName(2), QString());
        QCOMPARE(titles.rowShowing(u" "_s), 2);

        const QPersistentModelIndex onY(lines.index(1, 0));
        table = tableFrom(u"A w x y | B b"_s);
        model.refresh();
        QCOMPARE(titles.shownNames(), (QStringList{u"w"_s, u"x"_s, u"y"_s, u" "_s}));
        QCOMPARE(onY.row(), 2);
        table = tableFrom(u"A y w x | B b"_s);
        model.refresh();
        QCOMPARE(onY.row(), 0);
        table = tableFrom(u"B b"_s);
        model.refresh();
        QCOMPARE(titles.shownNames(), QStringList{u" "_s});
    }

    // What a revision takes back and brings again is byte for byte what was
    // there; on a table it does not fit it does nothing at all.
    void revisionRoundTrip()
    {
        ScratchStore store(u"A x | Trash"_s);
        const auto start = store.files();
        const NoteTable before = store.table;
        // As an import leaves it: a new group with an entry, an entry added.
        NoteTable after = tableFrom(u"A x n | Imported i | Trash"_s);
        QVERIFY(writeFile(store.state.storeFolder + u"A/n.txt"_s, "d\r\nnew\r\n"));
        QVERIFY(writeFile(store.state.storeFolder + u"Imported/_mask.dat"_s, "mask"));
        QVERIFY(writeFile(store.state.storeFolder + u"Imported/i.txt"_s, "d\r\ni\r\n"));
        {
            NotebookChange change = store.change();
            change.table() = after;
            QVERIFY(change.commit());
        }
        const auto imported = store.files();
        std::optional<Revision> revision = Revision::additions(before, after);
        QVERIFY(revision);

        const auto apply = [&store, &revision](bool forward) {
            NotebookChange change = store.change();
            return revision->apply(change, forward);
        };
        QCOMPARE(apply(true), Revision::Outcome::Stale); // it is done already
        QCOMPARE(store.files(), imported);
        QCOMPARE(apply(false), Revision::Outcome::Done);
        QCOMPARE(store.files(), start);
        QVERIFY(store.table == before);
        QCOMPARE(apply(false), Revision::Outcome::Stale);
        QCOMPARE(apply(true), Revision::Outcome::Done);
        QCOMPARE(store.files(), imported);
        QVERIFY(store.reports.isEmpty());
    }

    // Only what adds to the notebook is an import's revision.
    void additions_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("isAddition");
        QTest::newRow("entries appended") << u"A x"_s << u"A x y z"_s << true;
        QTest::newRow("a group and its entries") << u"A x"_s << u"A x | B b"_s << true;
        QTest::newRow("entries between others") << u"A x y"_s << u"A p x q y"_s << true;
        QTest::newRow("an entry gone") << u"A x y"_s << u"A x z"_s << false;
        QTest::newRow("entries reordered") << u"A x y"_s << u"A y x"_s << false;
        QTest::newRow("a group gone") << u"A x | B"_s << u"A x y"_s << false;
        QTest::newRow("a group renamed") << u"A x"_s << u"C x"_s << false;
    }
    void additions()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        QFETCH(bool, isAddition);
        QCOMPARE(Revision::additions(tableFrom(before), tableFrom(after)).has_value(), isAddition);
    }
};

QTEST_GUILESS_MAIN(TestNotebookModel)
#include "tst_notebookmodel.moc"
