// The Group menu on the real window: new, rename, delete and Clear Trash,
// each read back from idx.dat and the store's folders.

#include "support/notebookfixture.h"

#include "i18n/wordtable.h"
#include "store/dostext.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QTest>

using namespace Qt::StringLiterals;
using L = QStringList;

namespace {

const QList<L> kABC{{u"A"_s, u"a1"_s}, {u"B"_s, u"b1"_s, u"b2"_s}, {u"C"_s}, {u"Trash"_s}};

} // namespace

class tst_GroupCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newGroup_data()
    {
        QTest::addColumn<QList<L>>("groups");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("hideYGroups");
        QTest::addColumn<QString>("created");
        QTest::addColumn<L>("index");

        const QList<L> ac{{u"A"_s, u"a1"_s}, {u"C"_s, u"c1"_s}};
        QTest::newRow("between two") << ac << u"B"_s << 0 << u"B"_s
                                     << L{u"A"_s, u"\\a1"_s, u"B"_s, u"C"_s, u"\\c1"_s};
        QTest::newRow("first, case ignored")
            << ac << u"_a"_s << 0 << u"_a"_s << L{u"_a"_s, u"A"_s, u"\\a1"_s, u"C"_s, u"\\c1"_s};
        QTest::newRow("name taken") << ac << u"C"_s << 0 << u"C_"_s
                                    << L{u"A"_s, u"\\a1"_s, u"C"_s, u"\\c1"_s, u"C_"_s};
        const QList<L> taken{{u"A"_s}, {u"A_"_s}};
        QTest::newRow("name taken twice")
            << taken << u"A"_s << 0 << u"A__"_s << L{u"A"_s, u"A_"_s, u"A__"_s};
        QTest::newRow("stored form")
            << ac << u"x:y?"_s << 0 << u"x:y?"_s
            << L{u"A"_s, u"\\a1"_s, u"C"_s, u"\\c1"_s, OutDOS(u"x:y?"_s)};
        QTest::newRow("blanks trimmed") << ac << u"  B"_s << 0 << u"B"_s
                                        << L{u"A"_s, u"\\a1"_s, u"B"_s, u"C"_s, u"\\c1"_s};
        const QString y(QChar(0xFF));
        QTest::newRow("ÿ-group while shown") << ac << y + u"x"_s << 0 << y + u"x"_s
                                             << L{u"A"_s, u"\\a1"_s, u"C"_s, u"\\c1"_s, y + u"x"_s};
        // A hidden group takes its place in the rows without showing.
        QTest::newRow("among hidden groups")
            << QList<L>{{u"A"_s}, {y + u"h"_s, u"h1"_s}} << u"Z"_s << 1 << u"Z"_s
            << L{u"A"_s, u"Z"_s, y + u"h"_s, u"\\h1"_s};
    }
    void newGroup()
    {
        QFETCH(QList<L>, groups);
        QFETCH(QString, answer);
        QFETCH(int, hideYGroups);
        QFETCH(QString, created);
        QFETCH(L, index);
        NotebookFixture nb(groups);
        nb.pref(21, u" "_s + QString::number(hideYGroups));
        QVERIFY(nb.start());
        nb.answerInput(answer);
        nb.w().mnuGroupNew->trigger();

        QCOMPARE(nb.lastDialogTitle, u"Name of New Group"_s);
        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.selectedGroup(), created);
        QCOMPARE(nb.entryLines(), L{u" "_s});
        QCOMPARE(nb.files(created), L{u"_mask.dat"_s});
        QCOMPARE(nb.folder.read(u"FileStore/"_s + OutDOS(created) + u"/_mask.dat"_s),
                 QByteArray());
        QVERIFY(nb.messages().shown.isEmpty());
        // Every shown line still leads to its own group.
        const GroupList &map = nb.run->window()->groupList();
        for (int line = 0; line < map.count(); ++line)
            QCOMPARE(InDOS(nb.run->app().table().name(map.slotOfLine(line))), map.lines()[line]);
    }

    // Answers taken like an empty one change nothing and say nothing; the
    // others say why. Nothing on disk changes in any of them.
    void newGroupRefused_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<int>("hideYGroups");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << QString() << 0 << QString();
        QTest::newRow("blanks") << u"   "_s << 0 << QString();
        QTest::newRow("CANCEL typed") << u"CANCEL"_s << 0 << QString();
        QTest::newRow("dot") << u"."_s << 0 << QString();
        QTest::newRow("dot dot") << u" .. "_s << 0 << QString();
        QTest::newRow("ÿ-group while hidden")
            << QString(QChar(0xFF)) + u"x"_s << 1 << u"Possible only if \u00FF-groups not hidden!"_s;
        QTest::newRow("too long") << QString(300, u'n') << 0 << u"too long"_s;
    }
    void newGroupRefused()
    {
        QFETCH(QString, answer);
        QFETCH(int, hideYGroups);
        QFETCH(QString, message);
        NotebookFixture nb(kABC);
        nb.pref(21, u" "_s + QString::number(hideYGroups));
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerInput(answer);
        nb.w().mnuGroupNew->trigger();
        QCOMPARE(nb.dialogsAnswered, 1);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.groupLines(), (L{u"A"_s, u"B"_s, u"C"_s, u"Trash"_s}));
        if (message.isEmpty()) {
            QVERIFY(nb.messages().shown.isEmpty());
        } else {
            QCOMPARE(nb.messages().shown.size(), 1);
            QVERIFY2(nb.messages().shown[0].text.contains(message),
                     qPrintable(nb.messages().shown[0].text));
            QCOMPARE(nb.messages().shown[0].title, u"Caution!"_s);
        }
    }

    void newGroupCancelled()
    {
        NotebookFixture nb(kABC);
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.cancelDialog();
        nb.w().mnuGroupNew->trigger();
        QCOMPARE(nb.dialogsAnswered, 1);
        QCOMPARE(nb.folder.snapshot(), before);
    }

    void newGroupAtHundredRefused()
    {
        QList<L> groups;
        for (int g = 0; g < 100; ++g)
            groups << L{u"G%1"_s.arg(g, 2, 10, QChar(u'0'))};
        NotebookFixture nb(groups);
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.w().mnuGroupNew->trigger();
        QCOMPARE(nb.dialogsAnswered, 0); // refused before a name is asked for
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"100 groups"_s));
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.groupLines().size(), 100);
    }

    // A folder of that name already on disk may hold another group's files:
    // the new group is refused with the report, nothing is added.
    void newGroupOntoStrayFolder()
    {
        NotebookFixture nb(kABC);
        nb.folder.writeLines(u"FileStore/D/keep.txt"_s, {u"mine"_s});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerInput(u"D"_s);
        nb.w().mnuGroupNew->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.groupLines(), (L{u"A"_s, u"B"_s, u"C"_s, u"Trash"_s}));
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(nb.folder.path(u"FileStore/D"_s)));
    }

    void renameGroup_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("renamed");
        QTest::addColumn<L>("index");
        QTest::newRow("B to Z: rows A, C, Z with B's entries")
            << u"Z"_s << u"Z"_s
            << L{u"A"_s, u"\\a1"_s, u"C"_s, u"Trash"_s, u"Z"_s, u"\\b1"_s, u"\\b2"_s};
        QTest::newRow("B to 0: first row")
            << u"0"_s << u"0"_s
            << L{u"0"_s, u"\\b1"_s, u"\\b2"_s, u"A"_s, u"\\a1"_s, u"C"_s, u"Trash"_s};
        QTest::newRow("B to a taken name")
            << u"C"_s << u"C_"_s
            << L{u"A"_s, u"\\a1"_s, u"C"_s, u"C_"_s, u"\\b1"_s, u"\\b2"_s, u"Trash"_s};
        QTest::newRow("B to b: case alone")
            << u"b"_s << u"b"_s
            << L{u"A"_s, u"\\a1"_s, u"b"_s, u"\\b1"_s, u"\\b2"_s, u"C"_s, u"Trash"_s};
    }
    void renameGroup()
    {
        QFETCH(QString, answer);
        QFETCH(QString, renamed);
        QFETCH(L, index);
        NotebookFixture nb(kABC);
        QVERIFY(nb.start());
        nb.selectGroup(u"B"_s);
        nb.answerInput(answer);
        nb.w().mnuGroupRename->trigger();

        QCOMPARE(nb.lastDialogTitle, u"Change Group Name"_s);
        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.selectedGroup(), renamed);
        QCOMPARE(nb.entryLines(), (L{u"b1"_s, u"b2"_s, u" "_s}));
        QVERIFY(!nb.folderExists(u"B"_s));
        QCOMPARE(nb.files(renamed), (L{u"_mask.dat"_s, u"b1.txt"_s, u"b2.txt"_s}));
        QCOMPARE(nb.entryBytes(renamed, u"b2"_s), NotebookFixture::expectedBytes(u"b2"_s));
    }

    void renameGroupUnchanged_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("same name") << u"B"_s;
        QTest::newRow("cancel") << u"CANCEL"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("dot dot") << u".."_s;
    }
    void renameGroupUnchanged()
    {
        QFETCH(QString, answer);
        NotebookFixture nb(kABC);
        QVERIFY(nb.start());
        nb.selectGroup(u"B"_s);
        const auto before = nb.folder.snapshot();
        nb.answerInput(answer);
        nb.w().mnuGroupRename->trigger();
        QCOMPARE(nb.dialogsAnswered, 1);
        QCOMPARE(nb.folder.snapshot(), before); // idx.dat not even rewritten
        QCOMPARE(nb.selectedGroup(), u"B"_s);
        QVERIFY(nb.messages().shown.isEmpty());
    }

    // A folder in the way is never replaced, and a rename that fails leaves
    // the list, the table and idx.dat with the old name.
    void renameGroupFolderInTheWay()
    {
        NotebookFixture nb(kABC);
        nb.folder.writeLines(u"FileStore/Z/other.txt"_s, {u"not a group's"_s});
        QVERIFY(nb.start());
        nb.selectGroup(u"B"_s);
        const auto before = nb.folder.snapshot();
        nb.answerInput(u"Z"_s);
        nb.w().mnuGroupRename->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.groupLines(), (L{u"A"_s, u"B"_s, u"C"_s, u"Trash"_s}));
        QCOMPARE(nb.run->app().table().name(1), u"B"_s);
        QCOMPARE(nb.messages().shown.size(), 1);
        QCOMPARE(nb.messages().shown[0].icon, Messages::Icon::Critical);
    }

    void renameIntoHiding()
    {
        NotebookFixture nb(kABC);
        nb.pref(21, u" 1"_s);
        QVERIFY(nb.start());
        nb.selectGroup(u"B"_s);
        const QString hidden = QString(QChar(0xFF)) + u"B"_s;
        nb.answerInput(hidden);
        nb.w().mnuGroupRename->trigger();
        QCOMPARE(nb.groupLines(), (L{u"A"_s, u"C"_s, u"Trash"_s}));
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.index(),
                 (L{u"A"_s, u"\\a1"_s, u"C"_s, u"Trash"_s, hidden, u"\\b1"_s, u"\\b2"_s}));
        QCOMPARE(nb.files(hidden).size(), 3);
    }

    void deleteGroup_data()
    {
        QTest::addColumn<QList<L>>("groups");
        QTest::addColumn<QString>("group");
        QTest::addColumn<L>("index");
        QTest::addColumn<L>("trashFiles");
        QTest::newRow("empty group") << kABC << u"C"_s
                                     << L{u"A"_s, u"\\a1"_s, u"B"_s, u"\\b1"_s, u"\\b2"_s,
                                          u"Trash"_s}
                                     << L{u"_mask.dat"_s};
        // The last entry is not dropped with its group: it goes into the trash.
        QTest::newRow("one entry, blank line selected")
            << kABC << u"A"_s
            << L{u"B"_s, u"\\b1"_s, u"\\b2"_s, u"C"_s, u"Trash"_s, u"\\a1"_s}
            << L{u"_mask.dat"_s, u"a1.txt"_s};
    }
    void deleteGroup()
    {
        QFETCH(QList<L>, groups);
        QFETCH(QString, group);
        QFETCH(L, index);
        QFETCH(L, trashFiles);
        NotebookFixture nb(groups);
        QVERIFY(nb.start());
        nb.selectGroup(group);
        nb.selectEntry(u" "_s);
        QVERIFY(nb.w().mnuGroupDelete->isEnabled());
        nb.w().mnuGroupDelete->trigger();

        QCOMPARE(nb.index(), index);
        QVERIFY(!nb.folderExists(group));
        QCOMPARE(nb.files(u"Trash"_s), trashFiles);
        QCOMPARE(nb.selectedGroup(), nb.groupLines().first());
        QVERIFY(!nb.groupLines().contains(group));
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void deleteGroupWithEntrySelected()
    {
        NotebookFixture nb(kABC);
        QVERIFY(nb.start());
        nb.selectGroup(u"A"_s);
        nb.selectEntry(u"a1"_s);
        const auto before = nb.folder.snapshot();
        nb.w().mnuGroupDelete->setEnabled(true); // as a key or pop-up could reach it
        nb.w().mnuGroupDelete->trigger();
        QCOMPARE(nb.messages().beeps, 1);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.groupLines().size(), 4);
    }

    void deleteGroupWithEntryWithoutTrash()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s}, {u"B"_s}});
        QVERIFY(nb.start());
        nb.selectGroup(u"A"_s);
        nb.selectEntry(u" "_s);
        const auto before = nb.folder.snapshot();
        nb.w().mnuGroupDelete->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.groupLines(), (L{u"A"_s, u"B"_s}));
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"\"Trash\""_s));
    }

    // A file the user put into the folder keeps the folder; the group goes.
    void deleteGroupKeepsForeignFiles()
    {
        NotebookFixture nb(kABC);
        nb.folder.writeLines(u"FileStore/C/notes.txt"_s, {u"mine"_s});
        QVERIFY(nb.start());
        nb.selectGroup(u"C"_s);
        nb.w().mnuGroupDelete->trigger();
        QVERIFY(!nb.groupLines().contains(u"C"_s));
        QCOMPARE(nb.files(u"C"_s), L{u"notes.txt"_s});
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void clearTrash()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s}, {u"Trash"_s, u"t1"_s, u"t2"_s, u"gone"_s}},
                           {u"gone"_s});
        QVERIFY(nb.start());
        QVERIFY(nb.w().mnuClearTrash->isEnabled());
        nb.w().mnuClearTrash->trigger();
        QCOMPARE(nb.selectedGroup(), u"Trash"_s);
        QCOMPARE(nb.entryLines(), L{u" "_s});
        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a1"_s, u"Trash"_s}));
        QCOMPARE(nb.files(u"Trash"_s), L{u"_mask.dat"_s});
        QCOMPARE(nb.files(u"A"_s), (L{u"_mask.dat"_s, u"a1.txt"_s}));
        QVERIFY(nb.messages().shown.isEmpty());
        QVERIFY(!nb.w().mnuClearTrash->isEnabled());
    }

    // idx.dat goes first: when it cannot be written, no file is deleted and
    // the trash keeps its entries.
    void clearTrashWhoseIndexWriteFails()
    {
        NotebookFixture nb({{u"A"_s}, {u"Trash"_s, u"t1"_s, u"t2"_s}});
        QVERIFY(nb.start());
        nb.folder.remove(u"FileStore/idx.dat"_s);
        QDir().mkpath(nb.folder.path(u"FileStore/idx.dat"_s)); // no file can take its place
        nb.w().mnuClearTrash->trigger();
        QCOMPARE(nb.files(u"Trash"_s), (L{u"_mask.dat"_s, u"t1.txt"_s, u"t2.txt"_s}));
        QCOMPARE(nb.entryLines(), (L{u"t1"_s, u"t2"_s, u" "_s}));
        QCOMPARE(nb.run->app().table().cell(1, 2), u"t2"_s);
        QVERIFY(!nb.messages().shown.isEmpty());
    }

    void clearTrashWithoutTrash()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s}});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.w().mnuClearTrash->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"\"Trash\""_s));
    }
};

QTEST_MAIN(tst_GroupCommands)
#include "tst_groupcommands.moc"
