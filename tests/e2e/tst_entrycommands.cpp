// Trash, new title and move on the real window, read back from idx.dat and
// the group folders.

#include "support/notebookfixture.h"

#include "store/appstate.h"
#include "store/dostext.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using L = QStringList;

class tst_EntryCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trashFromLastLine()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"a2"_s}, {u"Trash"_s, u"old"_s}});
        QVERIFY(nb.start());
        nb.selectEntry(u"a2"_s);
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Delete);

        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a1"_s, u"Trash"_s, u"\\old"_s, u"\\a2"_s}));
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.entryLines(), (L{u"a1"_s, u" "_s}));
        QCOMPARE(nb.selectedEntry(), u" "_s);
        QCOMPARE(nb.files(u"A"_s), (L{u"_mask.dat"_s, u"a1.txt"_s}));
        QCOMPARE(nb.entryBytes(u"Trash"_s, u"a2"_s), NotebookFixture::expectedBytes(u"a2"_s));
        // The trash is no position to return to.
        QCOMPARE(nb.run->app().state().LastMovePosition, QString());
    }

    void trashMissingFile()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"gone"_s, u"a3"_s}, {u"Trash"_s}}, {u"gone"_s});
        QVERIFY(nb.start());
        nb.selectEntry(u"gone"_s);
        QCOMPARE(nb.w().lblDate->text(), u"File not present!"_s);
        nb.w().cmdEntry[1]->click();

        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a1"_s, u"\\a3"_s, u"Trash"_s}));
        QCOMPARE(nb.selectedEntry(), u"a3"_s);
        QCOMPARE(nb.files(u"Trash"_s), L{u"_mask.dat"_s});
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void trashTitleTakenInTrash()
    {
        NotebookFixture nb({{u"A"_s, u"x"_s}, {u"Trash"_s, u"x"_s}});
        QVERIFY(nb.start());
        nb.w().mnuEntryCall[1]->trigger();
        QCOMPARE(nb.index(), (L{u"A"_s, u"Trash"_s, u"\\x"_s, u"\\x_"_s}));
        QCOMPARE(nb.entryBytes(u"Trash"_s, u"x"_s), NotebookFixture::expectedBytes(u"x"_s));
        QCOMPARE(nb.entryBytes(u"Trash"_s, u"x_"_s), NotebookFixture::expectedBytes(u"x"_s));
    }

    void trashWithoutTrashGroup()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s}});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        QTest::keyClick(nb.w().lstEntry, Qt::Key_Delete);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), (L{u"a1"_s, u" "_s}));
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"\"Trash\""_s));
    }

    void trashIntoFullTrash()
    {
        L trash{u"Trash"_s};
        for (int i = 0; i < 999; ++i)
            trash << u"t%1"_s.arg(i);
        NotebookFixture nb({{u"A"_s, u"a1"_s}, trash});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.w().cmdEntry[1]->click();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), (L{u"a1"_s, u" "_s}));
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"999"_s));
    }

    void newTitle_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<L>("index");
        QTest::addColumn<QString>("shown");
        QTest::newRow("free title") << u"z"_s << L{u"G"_s, u"\\z"_s, u"\\y"_s, u"\\y_"_s} << u"z"_s;
        QTest::newRow("taken") << u"y"_s << L{u"G"_s, u"\\y__"_s, u"\\y"_s, u"\\y_"_s}
                               << u"y__"_s;
        QTest::newRow("stored form") << u"a/b"_s
                                     << L{u"G"_s, u"\\a\u00CFb"_s, u"\\y"_s, u"\\y_"_s} << u"a/b"_s;
    }
    void newTitle()
    {
        QFETCH(QString, answer);
        QFETCH(L, index);
        QFETCH(QString, shown);
        NotebookFixture nb({{u"G"_s, u"x"_s, u"y"_s, u"y_"_s}});
        QVERIFY(nb.start());
        nb.answerInput(answer);
        QTest::keyClick(nb.w().lstEntry, Qt::Key_F12);
        QCOMPARE(nb.lastDialogTitle, u"Change Entry Title"_s);
        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.selectedEntry(), shown);
        QCOMPARE(nb.entryBytes(u"G"_s, shown), NotebookFixture::expectedBytes(u"x"_s));
        QVERIFY(!QFile::exists(nb.folder.path(u"FileStore/G/x.txt"_s)));
    }

    void newTitleUnchanged_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::newRow("same") << u"x"_s;
        QTest::newRow("empty") << QString();
        QTest::newRow("blanks") << u"  "_s;
        QTest::newRow("CANCEL") << u"CANCEL"_s;
    }
    void newTitleUnchanged()
    {
        QFETCH(QString, answer);
        NotebookFixture nb({{u"G"_s, u"x"_s}});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerInput(answer);
        nb.w().mnuEntryRename->trigger();
        QCOMPARE(nb.dialogsAnswered, 1);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
    }

    // A file of the new name that the notebook does not know is never
    // replaced; the rename is reported and the old title stays everywhere.
    void newTitleFileInTheWay()
    {
        NotebookFixture nb({{u"G"_s, u"x"_s}});
        nb.folder.writeLines(u"FileStore/G/z.txt"_s, {u"someone else's"_s});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerInput(u"z"_s);
        nb.w().mnuEntryRename->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QCOMPARE(nb.run->app().table().cell(0, 1), u"x"_s);
        QCOMPARE(nb.messages().shown.size(), 1);
        QCOMPARE(nb.messages().shown[0].icon, Messages::Icon::Critical);
        QVERIFY(nb.messages().shown[0].text.contains(nb.folder.path(u"FileStore/G/z.txt"_s)));
    }

    void newTitleTooLong()
    {
        NotebookFixture nb({{u"G"_s, u"x"_s}});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerInput(QString(260, u't'));
        nb.w().mnuEntryRename->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"too long"_s));
    }

    void newTitleOfMissingFile()
    {
        NotebookFixture nb({{u"G"_s, u"- - -"_s}}, {u"- - -"_s});
        QVERIFY(nb.start());
        nb.answerInput(u"= = ="_s);
        nb.w().mnuEntryRename->trigger();
        QCOMPARE(nb.index(), (L{u"G"_s, u"\\"_s + OutDOS(u"= = ="_s)}));
        QCOMPARE(nb.files(u"G"_s), L{u"_mask.dat"_s});
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void moveFollowsTheEntry_data()
    {
        QTest::addColumn<QList<L>>("groups");
        QTest::addColumn<QString>("arrives");
        QTest::addColumn<L>("index");
        QTest::newRow("free title")
            << QList<L>{{u"A"_s, u"x"_s, u"a2"_s}, {u"B"_s, u"b1"_s}} << u"x"_s
            << L{u"A"_s, u"\\a2"_s, u"B"_s, u"\\b1"_s, u"\\x"_s};
        QTest::newRow("title taken in the target")
            << QList<L>{{u"A"_s, u"x"_s, u"a2"_s}, {u"B"_s, u"x"_s}} << u"x_"_s
            << L{u"A"_s, u"\\a2"_s, u"B"_s, u"\\x"_s, u"\\x_"_s};
        // x_ is taken in the group it leaves, so the pass goes on to x__.
        QTest::newRow("suffix taken in the source")
            << QList<L>{{u"A"_s, u"x"_s, u"x_"_s}, {u"B"_s, u"x"_s}} << u"x__"_s
            << L{u"A"_s, u"\\x_"_s, u"B"_s, u"\\x"_s, u"\\x__"_s};
    }
    void moveFollowsTheEntry()
    {
        QFETCH(QList<L>, groups);
        QFETCH(QString, arrives);
        QFETCH(L, index);
        NotebookFixture nb(groups);
        QVERIFY(nb.start());
        nb.selectEntry(u"x"_s);
        nb.answerChoice(u"B"_s);
        nb.w().mnuEntryChange->trigger();

        QCOMPARE(nb.lastDialogTitle, u"Change Group"_s);
        QCOMPARE(nb.index(), index);
        QCOMPARE(nb.selectedGroup(), u"B"_s);
        QCOMPARE(nb.selectedEntry(), arrives);
        QCOMPARE(nb.entryLines().last(), u" "_s);
        QCOMPARE(nb.entryLines().size() - 2, nb.w().lstEntry->currentRow());
        QCOMPARE(nb.run->app().state().LastMovePosition, u"A/"_s);
        QCOMPARE(nb.entryBytes(u"B"_s, arrives), NotebookFixture::expectedBytes(u"x"_s));
        QVERIFY(!nb.files(u"A"_s).contains(u"x.txt"_s));
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void moveCancelled()
    {
        NotebookFixture nb({{u"A"_s, u"x"_s}, {u"B"_s}});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.cancelDialog();
        nb.w().mnuEntryChange->trigger();
        QCOMPARE(nb.dialogsAnswered, 1);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.selectedGroup(), u"A"_s);
    }

    void moveIntoFullGroup()
    {
        L full{u"B"_s};
        for (int i = 0; i < 999; ++i)
            full << u"b%1"_s.arg(i);
        NotebookFixture nb({{u"A"_s, u"x"_s}, full});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerChoice(u"B"_s);
        nb.w().mnuEntryChange->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"\"B\" holds 999"_s));
    }

    // The copy fails (the target group has no folder): reported, and the
    // source file, the entry and idx.dat stay as they were.
    void moveWhoseCopyFails()
    {
        NotebookFixture nb({{u"A"_s, u"x"_s}, {u"B"_s}});
        nb.folder.remove(u"FileStore/B"_s);
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerChoice(u"B"_s);
        nb.w().mnuEntryChange->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QCOMPARE(nb.run->app().table().cell(0, 1), u"x"_s);
        QCOMPARE(nb.run->app().table().cell(1, 1), QString());
        QCOMPARE(nb.run->app().state().LastMovePosition, QString());
        QCOMPARE(nb.messages().shown.size(), 1);
        QCOMPARE(nb.messages().shown[0].icon, Messages::Icon::Critical);
    }

    // A file of the target name already in the target folder, unknown to the
    // notebook, is not overwritten.
    void moveOntoStrayFile()
    {
        NotebookFixture nb({{u"A"_s, u"x"_s}, {u"B"_s}});
        nb.folder.writeLines(u"FileStore/B/x.txt"_s, {u"stray"_s});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        nb.answerChoice(u"B"_s);
        nb.w().mnuEntryChange->trigger();
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.messages().shown.size(), 1);
    }

    // idx.dat cannot be written: the copy is taken back, the source stays.
    void moveWhoseIndexWriteFails()
    {
        NotebookFixture nb({{u"A"_s, u"x"_s}, {u"B"_s}});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        // A folder where the writer's new file would go makes every write of idx.dat fail.
        nb.folder.remove(u"FileStore/idx.dat"_s);
        QDir().mkpath(nb.folder.path(u"FileStore/idx.dat"_s));
        nb.answerChoice(u"B"_s);
        nb.w().mnuEntryChange->trigger();
        QDir(nb.folder.path(u"FileStore/idx.dat"_s)).removeRecursively();
        auto after = nb.folder.snapshot();
        auto expected = before;
        expected.remove(u"FileStore/idx.dat"_s);
        QCOMPARE(after, expected);
        QCOMPARE(nb.entryLines(), (L{u"x"_s, u" "_s}));
        QCOMPARE(nb.run->app().table().cell(1, 1), QString());
        QVERIFY(!nb.messages().shown.isEmpty());
    }
};

QTEST_MAIN(tst_EntryCommands)
#include "tst_entrycommands.moc"
