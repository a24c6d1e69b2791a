// Every refusal of the organizing commands on the real window: each leaves
// every file of the program folder as it was, and says why (or, for answers
// taken like an empty one, nothing at all).

#include "support/notebookfixture.h"

#include "notebook/dragdrop_w.h"
#include "store/notetable.h"

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <functional>

using namespace Qt::StringLiterals;
using L = QStringList;
using Groups = QList<L>;
using Action = std::function<void(NotebookFixture &)>;
Q_DECLARE_METATYPE(Action)

namespace {

const Groups kAB{{u"A"_s, u"x"_s, u"y"_s}, {u"B"_s}, {u"Trash"_s}};
const QString kReport = u"An error has happend"_s; // head of the error reports

Action newGroup(const QString &answer)
{
    return [answer](NotebookFixture &nb) {
        nb.answerInput(answer);
        nb.w().mnuGroupNew->trigger();
    };
}

Action renameGroup(const QString &group, const QString &answer)
{
    return [group, answer](NotebookFixture &nb) {
        nb.selectGroup(group);
        nb.answerInput(answer);
        nb.w().mnuGroupRename->trigger();
    };
}

Action newTitle(const QString &answer)
{
    return [answer](NotebookFixture &nb) {
        nb.answerInput(answer);
        QTest::keyClick(nb.w().lstEntry, Qt::Key_F12);
    };
}

Action move(const QString &group)
{
    return [group](NotebookFixture &nb) {
        nb.answerChoice(group);
        nb.w().mnuEntryChange->trigger();
    };
}

void trash(NotebookFixture &nb)
{
    QTest::keyClick(nb.w().lstEntry, Qt::Key_Delete);
}

} // namespace

class tst_Refusals : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refusalChangesNothing_data()
    {
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<L>("stray"); // files put into the store before the start
        QTest::addColumn<int>("hideYGroups");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("says"); // part of the message; "" for none, "beep"

        const QString y(QChar(0xFF));
        QTest::newRow("new group: empty") << kAB << L{} << 0 << newGroup(u"  "_s) << QString();
        QTest::newRow("new group: CANCEL") << kAB << L{} << 0 << newGroup(u"CANCEL"_s) << QString();
        QTest::newRow("new group: dot") << kAB << L{} << 0 << newGroup(u"."_s) << QString();
        QTest::newRow("new group: dot dot") << kAB << L{} << 0 << newGroup(u" .. "_s) << QString();
        QTest::newRow("new group: ÿ while hidden")
            << kAB << L{} << 1 << newGroup(y + u"x"_s) << u"not hidden!"_s;
        QTest::newRow("new group: too long")
            << kAB << L{} << 0 << newGroup(QString(300, u'n')) << u"too long"_s;
        Groups hundred;
        for (int g = 0; g < NoteTable::kGroups; ++g)
            hundred << L{u"G%1"_s.arg(g, 2, 10, QChar(u'0'))};
        QTest::newRow("new group: 100 groups")
            << hundred << L{} << 0 << Action([](NotebookFixture &nb) {
                   nb.w().mnuGroupNew->trigger();
                   QCOMPARE(nb.dialogsAnswered, 0); // refused before a name is asked for
               })
            << u"100 groups"_s;
        // A folder of that name may hold another group's files.
        QTest::newRow("new group: folder on disk")
            << kAB << L{u"D/keep.txt"_s} << 0 << newGroup(u"D"_s) << kReport;

        QTest::newRow("rename group: same name")
            << kAB << L{} << 0 << renameGroup(u"A"_s, u"A"_s) << QString();
        QTest::newRow("rename group: dot dot")
            << kAB << L{} << 0 << renameGroup(u"A"_s, u".."_s) << QString();
        QTest::newRow("rename group: folder in the way")
            << kAB << L{u"Z/other.txt"_s} << 0 << renameGroup(u"A"_s, u"Z"_s) << kReport;

        QTest::newRow("delete group: entry line selected")
            << kAB << L{} << 0 << Action([](NotebookFixture &nb) {
                   nb.w().mnuGroupDelete->setEnabled(true); // as a pop-up could leave it
                   nb.w().mnuGroupDelete->trigger();
               })
            << u"beep"_s;
        QTest::newRow("delete group: last entry, no trash")
            << Groups{{u"A"_s, u"x"_s}, {u"B"_s}} << L{} << 0 << Action([](NotebookFixture &nb) {
                   nb.selectEntry(u" "_s);
                   nb.w().mnuGroupDelete->trigger();
               })
            << u"\"Trash\""_s;
        QTest::newRow("trash: no trash group")
            << Groups{{u"A"_s, u"x"_s}} << L{} << 0 << Action(trash) << u"\"Trash\""_s;
        QTest::newRow("Clear Trash: no trash group")
            << Groups{{u"A"_s, u"x"_s}} << L{} << 0
            << Action([](NotebookFixture &nb) { nb.w().mnuClearTrash->trigger(); })
            << u"\"Trash\""_s;

        QTest::newRow("new title: same") << kAB << L{} << 0 << newTitle(u"x"_s) << QString();
        QTest::newRow("new title: blanks") << kAB << L{} << 0 << newTitle(u"  "_s) << QString();
        QTest::newRow("new title: too long")
            << kAB << L{} << 0 << newTitle(QString(260, u't')) << u"too long"_s;
        QTest::newRow("new title: file in the way")
            << kAB << L{u"A/z.txt"_s} << 0 << newTitle(u"z"_s) << kReport;
        QTest::newRow("indent: file in the way")
            << kAB << L{u"A/_x.txt"_s} << 0
            << Action([](NotebookFixture &nb) { nb.w().cmdH[1]->click(); }) << kReport;

        const Groups full{{u"A"_s, u"x"_s},
                          NotebookFixture::group(u"B"_s, u"b"_s, 999),
                          NotebookFixture::group(u"Trash"_s, u"t"_s, 999)};
        QTest::newRow("move: full group") << full << L{} << 0 << move(u"B"_s) << u"999"_s;
        QTest::newRow("trash: full trash") << full << L{} << 0 << Action(trash) << u"999"_s;
        QTest::newRow("drop: full group") << full << L{} << 0 << Action([](NotebookFixture &nb) {
            const QListWidget *groups = nb.w().lstGroup;
            nb.run->find<DragDrop>(u"dragDrop"_s)
                ->lstGroup_OLEDragDrop(groups->visualItemRect(groups->item(1)).center());
        }) << u"999"_s;
        // Never over a file the notebook does not know.
        QTest::newRow("move: file in the way")
            << kAB << L{u"B/x.txt"_s} << 0 << move(u"B"_s) << kReport;
        QTest::newRow("move: no target folder")
            << Groups{{u"A"_s, u"x"_s}, {u"B"_s}} << L{u"-B"_s} << 0 << move(u"B"_s) << kReport;
    }
    void refusalChangesNothing()
    {
        QFETCH(Groups, groups);
        QFETCH(L, stray);
        QFETCH(int, hideYGroups);
        QFETCH(Action, action);
        QFETCH(QString, says);
        NotebookFixture nb(groups);
        for (const QString &file : stray) {
            if (file.startsWith(u'-'))
                nb.folder.remove(u"FileStore/"_s + file.mid(1));
            else
                nb.folder.writeLines(u"FileStore/"_s + file, {u"not the notebook's"_s});
        }
        nb.pref(21, u" "_s + QString::number(hideYGroups));
        QVERIFY(nb.start());
        const L groupLines = nb.groupLines();
        const L entryLines = nb.entryLines();
        const auto before = nb.folder.snapshot();

        action(nb);

        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.groupLines(), groupLines);
        QCOMPARE(nb.selectedGroup(), groupLines.first());
        QCOMPARE(nb.entryLines(), entryLines);
        const auto &shown = nb.messages().shown;
        QCOMPARE(nb.messages().beeps, says == u"beep"_s ? 1 : 0);
        if (says.isEmpty() || says == u"beep"_s) {
            QVERIFY(shown.isEmpty());
        } else {
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(says), qPrintable(shown[0].text));
        }
    }

    // idx.dat cannot be written: the command takes back what it did on disk
    // before (the copy, the new folder, the renamed folder) and deletes nothing.
    void indexWriteFails_data()
    {
        QTest::addColumn<Action>("action");
        QTest::newRow("move") << move(u"B"_s);
        QTest::newRow("trash") << Action(trash);
        QTest::newRow("new group") << newGroup(u"C"_s);
        QTest::newRow("rename group") << renameGroup(u"A"_s, u"Z"_s);
        QTest::newRow("new title") << newTitle(u"z"_s);
        QTest::newRow("Clear Trash")
            << Action([](NotebookFixture &nb) { nb.w().mnuClearTrash->trigger(); });
    }
    void indexWriteFails()
    {
        QFETCH(Action, action);
        NotebookFixture nb({{u"A"_s, u"x"_s}, {u"B"_s}, {u"Trash"_s, u"t1"_s, u"t2"_s}});
        QVERIFY(nb.start());
        auto before = nb.folder.snapshot();
        before.remove(u"FileStore/idx.dat"_s);
        const NoteTable table = nb.run->app().table();
        nb.breakIndexWrites();

        action(nb);

        nb.folder.remove(u"FileStore/idx.dat"_s);
        QCOMPARE(nb.folder.snapshot(), before);
        QVERIFY(nb.run->app().table() == table);
        QVERIFY(!nb.messages().shown.isEmpty());
    }
};

QTEST_MAIN(tst_Refusals)
#include "tst_refusals.moc"
