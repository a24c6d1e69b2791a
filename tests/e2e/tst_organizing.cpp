// The organizing commands on the real window, each read back from idx.dat and
// the group folders: group and entry commands, ordering, drag and drop. Every
// refusal leaves the files, the lists and the table as they were.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"
#include "support/scenario.h"
#include "support/writingcommands.h"

#include "notebook/dragdrop_w.h"
#include "store/dostext.h"
#include "store/notetable.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

// A command on a notebook (ÿ-groups hidden) with a line selected, and the
// state it leaves (support/scenario.h). A command refused, without "idx=",
// leaves every other name of the state as it was, and the files, the lists
// and the table; one that is done leaves the store's folders as idx.dat names them.
struct Command
{
    QString notebook;
    QString select; // clicked before the action
    Action action;
    QString expected = {};
    QString arrived = {}; // where the text of the entry selected before is now
    // The store before the start: "+X" a file X that is not the notebook's,
    // "-X" the folder X gone. "link:X" or "copy:X": the selected entry's file
    // already as X, as a command killed between its copy and idx.dat leaves
    // it; given again, the command takes it as its copy.
    QString disk = {};
};
Q_DECLARE_METATYPE(Command)

namespace {

// The one message, holding `text`.
QString says(const QString &text)
{
    return u"msg=~[^|]*"_s + QRegularExpression::escape(text) + u"[^|]*"_s;
}

const QString kReport = says(u"An error has happend"_s); // head of the error reports

Command refused(const QString &notebook, const QString &select, const Action &action,
                const QString &state = {}, const QString &disk = {})
{
    return Command{notebook, select, action, state, {}, disk};
}

// The store's files as `command.disk` says, before the start.
void prepareDisk(AppFixture &nb, const Command &command)
{
    const QString &disk = command.disk;
    const QString path = nb.path(u"FileStore/"_s + disk.mid(disk.indexOf(u':') + 1));
    if (disk.startsWith(u'+')) {
        nb.write(u"FileStore/"_s + disk.mid(1), {u"not the notebook's"_s});
    } else if (disk.startsWith(u'-')) {
        QVERIFY(QDir(nb.path(u"FileStore/"_s + disk.mid(1))).removeRecursively());
    } else if (!disk.isEmpty()) {
        const QString source = nb.path(u"FileStore/"_s + command.select + u".txt"_s);
        if (disk.startsWith(u"link:"_s))
            QCOMPARE(
                ::link(QFile::encodeName(source).constData(), QFile::encodeName(path).constData()),
                0);
        else
            QVERIFY(QFile::copy(source, path));
    }
}

// The store's folders are the groups of idx.dat, each holding its mask and
// the files of its titles ("gone..." have none), nothing else.
void verifyFolders(const AppFixture &nb)
{
    const QList<QStringList> groups = notebook(index(nb));
    QStringList expected{u"FileStore/InUse.dat"_s, u"FileStore/idx.dat"_s};
    for (const QStringList &group : groups) {
        expected << u"FileStore/"_s + group[0] + u"/_mask.dat"_s;
        for (const QString &title : group.mid(1)) {
            if (!title.startsWith(u"gone"_s))
                expected << u"FileStore/"_s + group[0] + u'/' + title + u".txt"_s;
        }
    }
    expected.sort();
    QCOMPARE(nb.snapshot().keys().filter(QRegularExpression(u"^FileStore/"_s)), expected);
    QCOMPARE(QDir(nb.path(u"FileStore"_s)).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(),
             groups.size());
}

// Only a drag that started in the entry list is taken: a drop of another
// program, even of the same type, is turned away at the door.
void foreignDrop(AppFixture &nb)
{
    QMimeData data;
    data.setData(DragDrop::mimeType(), "x");
    for (QWidget *widget : {nb.entryList()->viewport(), nb.groupList()->viewport(),
                            static_cast<QWidget *>(nb.control<QPushButton>(u"cmdEntry1"_s))}) {
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(widget, &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(widget, &drop);
    }
}

Action locked(const Action &action)
{
    return [action](AppFixture &nb) {
        nb.lockBox()->setChecked(true);
        action(nb);
    };
}

// The menu item of that objectName enabled, then triggered: the command's own
// refusal, past the gate that keeps it disabled.
Action ungated(const QString &item)
{
    return [item](AppFixture &nb) {
        auto *action = nb.window()->findChild<QAction *>(item);
        action->setEnabled(true);
        action->trigger();
    };
}

// `action` while idx.dat cannot be written: a folder stands in its place.
Action indexUnwritable(const Action &action)
{
    return [action](AppFixture &nb) {
        const QStringList index = nb.readLines(u"FileStore/idx.dat"_s);
        QFile::remove(nb.path(u"FileStore/idx.dat"_s));
        QDir().mkpath(nb.path(u"FileStore/idx.dat"_s));
        action(nb);
        QDir(nb.path(u"FileStore/idx.dat"_s)).removeRecursively();
        nb.write(u"FileStore/idx.dat"_s, index);
    };
}

// The refusals: every one leaves the files, the lists, the table and the selection.
void addRefusals()
{
    const QString ab = u"A x y | B | Trash"_s;
    const QString x = u"A/x"_s;
    QString full = u"A x | B"_s;
    for (int i = 0; i < NoteTable::kMaxEntries; ++i)
        full += u" b"_s + QString::number(i);
    full += u" | Trash"_s;
    for (int i = 0; i < NoteTable::kMaxEntries; ++i)
        full += u" t"_s + QString::number(i);
    QStringList hundred;
    for (int g = 0; g < NoteTable::kGroups; ++g)
        hundred << u"G%1"_s.arg(g, 2, 10, QChar(u'0'));
    const Action newGroup = triggered(u"mnuGroupNew"_s);
    const Action rename = triggered(u"mnuGroupRename"_s);
    const Action newTitle = key(Qt::Key_F12);
    const Action trash = key(Qt::Key_Delete);
    const Action clearTrash = triggered(u"mnuClearTrash"_s);
    const Action indentRight = key(Qt::Key_Right, Qt::ControlModifier);
    const QString trashMissing = says(u"\"Trash\""_s), full999 = says(u"999"_s);

    QTest::newRow("new group: blanks") << refused(ab, x, answered(u"  "_s, newGroup));
    QTest::newRow("new group: .") << refused(ab, x, answered(u"."_s, newGroup));
    QTest::newRow("new group: ..") << refused(ab, x, answered(u" .. "_s, newGroup));
    QTest::newRow("new group: ÿ while hidden")
        << refused(ab, x, answered(QChar(0xFF) + u"x"_s, newGroup), says(u"not hidden!"_s));
    QTest::newRow("new group: too long")
        << refused(ab, x, answered(QString(300, u'n'), newGroup), says(u"too long"_s));
    QTest::newRow("new group: 100 groups") << refused(
        hundred.join(u" | "_s), u"G00/ "_s, answered(u"new"_s, newGroup), says(u"100 groups"_s));
    // A folder of that name may hold another group's files.
    QTest::newRow("new group: folder on disk")
        << refused(ab, x, answered(u"D"_s, newGroup), kReport, u"+D/keep.txt"_s);
    // A rename is answered through the same check of "." and ".." as a new group.
    QTest::newRow("rename group: same name") << refused(ab, x, answered(u"A"_s, rename));
    QTest::newRow("rename group: folder in the way")
        << refused(ab, x, answered(u"Z"_s, rename), kReport, u"+Z/other.txt"_s);
    // Enabled as a pop-up could leave it.
    QTest::newRow("delete group: entry line selected")
        << refused(ab, x, ungated(u"mnuGroupDelete"_s), u"beeps=1"_s);
    QTest::newRow("delete group: last entry, no trash")
        << refused(u"A x | B"_s, u"A/ "_s, triggered(u"mnuGroupDelete"_s), trashMissing);
    QTest::newRow("trash: no trash group") << refused(u"A x"_s, x, trash, trashMissing);
    QTest::newRow("Clear Trash: no trash group") << refused(u"A x"_s, x, clearTrash, trashMissing);
    QTest::newRow("new title: same") << refused(ab, x, answered(u"x"_s, newTitle));
    QTest::newRow("new title: blanks") << refused(ab, x, answered(u"  "_s, newTitle));
    QTest::newRow("new title: too long")
        << refused(ab, x, answered(QString(260, u't'), newTitle), says(u"too long"_s));
    QTest::newRow("new title: file in the way")
        << refused(ab, x, answered(u"z"_s, newTitle), kReport, u"+A/z.txt"_s);
    QTest::newRow("indent: file in the way")
        << refused(ab, x, indentRight, kReport, u"+A/_x.txt"_s);
    // Their keys' gates are closed; a button would only trigger the disabled action.
    QTest::newRow("indent left of a lone _")
        << refused(u"A _"_s, u"A/_"_s, ungated(u"mnuIndent1"_s));
    QTest::newRow("one place down from the last entry")
        << refused(ab, u"A/y"_s, ungated(u"mnuSort1"_s));
    QTest::newRow("new entry: 999 entries")
        << refused(full, u"B/b0"_s, key(Qt::Key_Insert), full999);
    QTest::newRow("new entry: trash") << refused(full, u"Trash/t0"_s, key(Qt::Key_Insert));
    QTest::newRow("move: 999 entries") << refused(full, x, moveTo(u"B"_s), full999);
    QTest::newRow("trash: 999 entries") << refused(full, x, trash, full999);
    // A drop on the group list leaves the focus there.
    QTest::newRow("drop: 999 entries")
        << refused(full, x, drop(true, u"B"_s), full999 + u";focus=lstGroup"_s);
    // Never over a file the notebook does not know, though it has the name
    // a killed move would have left.
    QTest::newRow("move: file in the way") << refused(
        ab, x, moveTo(u"B"_s), says(QString::fromLocal8Bit(strerror(EEXIST))), u"+B/x.txt"_s);
    QTest::newRow("move: no target folder") << refused(ab, x, moveTo(u"B"_s), kReport, u"-B"_s);

    // What a command did on disk before the index write is taken back. The
    // fault matrix fails idx.dat's write for every other command that writes.
    const QString five = u"A x y z | B | Trash"_s;
    QTest::newRow("idx.dat unwritable: new entry")
        << refused(five, x, indexUnwritable(key(Qt::Key_Insert)), kReport);
    QTest::newRow("idx.dat unwritable: indent left")
        << refused(u"A _x y | Trash"_s, u"A/_x"_s,
                   indexUnwritable(key(Qt::Key_Left, Qt::AltModifier)), kReport);
    QTest::newRow("idx.dat unwritable: trash of a missing file")
        << refused(u"A gone y | Trash"_s, u"A/gone"_s, indexUnwritable(trash), kReport);

    // The keys with their gate closed do nothing at all (locked: the rows of
    // tst_keymap).
    const Action organizingKeys = [](AppFixture &nb) {
        for (int key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Right, Qt::Key_Left})
            QTest::keyClick(nb.entryList(), Qt::Key(key), Qt::ShiftModifier);
        QTest::keyClick(nb.entryList(), Qt::Key_Delete);
        QTest::keyClick(nb.entryList(), Qt::Key_F12);
    };
    QTest::newRow("blank line: keys") << refused(ab, u"A/ "_s, organizingKeys);
    QTest::newRow("first line: Shift+Up") << refused(ab, x, key(Qt::Key_Up, Qt::ShiftModifier));
    QTest::newRow("no _: Shift+Left") << refused(ab, x, key(Qt::Key_Left, Qt::ShiftModifier));
    QTest::newRow("trash: Delete") << refused(u"Trash t"_s, u"Trash/t"_s, trash);

    QTest::newRow("drop onto its own group")
        << refused(ab, x, drop(true, u"A"_s), u"focus=lstGroup"_s);
    QTest::newRow("drop below the groups")
        << refused(ab, x, drop(true, QString()), u"focus=lstGroup"_s);
    QTest::newRow("drop onto its own line") << refused(ab, x, drop(false, u"x"_s));
    QTest::newRow("drop while locked") << refused(ab, x, locked(drop(false, u"y"_s)), u"lock=1"_s);
    QTest::newRow("drop of a missing file onto a group")
        << refused(u"A gone | B"_s, u"A/gone"_s, drop(true, u"B"_s));
    QTest::newRow("drop onto the trash button in the trash")
        << refused(u"Trash t"_s, u"Trash/t"_s, dropOnTrashButton());
    QTest::newRow("drop from another program") << refused(ab, x, foreignDrop);
}

} // namespace

class tst_Organizing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void command_data()
    {
        QTest::addColumn<Command>("command");
        const QString y(QChar(0xFF));
        const QString abc = u"A a1 | B b1 b2 | C | Trash"_s;
        const QString sorting = u"A a1 | G b A _c | Z"_s;
        const QString five = u"G e0 e1 e2 e3 e4"_s;
        const Action newGroup = triggered(u"mnuGroupNew"_s);
        const Action rename = triggered(u"mnuGroupRename"_s);
        const Action deleteGroup = triggered(u"mnuGroupDelete"_s);

        QTest::newRow("new group between two, case ignored")
            << Command{u"A a1 | c c1"_s, u"A/a1"_s, answered(u"B"_s, newGroup),
                       u"idx=A a1 | B | c c1;sel=B/ "_s};
        QTest::newRow("new group, name taken twice") << Command{
            u"A | A_"_s, u"A/ "_s, answered(u"A"_s, newGroup), u"idx=A | A_ | A__;sel=A__/ "_s};
        // "CANCEL" is a name like any other: a dialog's answer is no word.
        QTest::newRow("new group named CANCEL") << Command{
            u"A"_s, u"A/ "_s, answered(u"CANCEL"_s, newGroup), u"idx=A | CANCEL;sel=CANCEL/ "_s};
        QTest::newRow("new title CANCEL")
            << Command{u"A x"_s, u"A/x"_s, answered(u"CANCEL"_s, key(Qt::Key_F12)),
                       u"idx=A CANCEL;sel=A/CANCEL"_s, u"A/CANCEL"_s};
        QTest::newRow("new group, stored name")
            << Command{u"A"_s, u"A/ "_s, answered(u"x:y?"_s, newGroup),
                       u"idx=A | "_s + OutDOS(u"x:y?"_s) + u";sel=x:y?/ "_s};
        // A hidden group keeps its place in the rows.
        QTest::newRow("new group among hidden groups")
            << Command{u"A | "_s + y + u"h h1"_s, u"A/ "_s, answered(u"Z"_s, newGroup),
                       u"idx=A | Z | "_s + y + u"h h1;sel=Z/ "_s};
        QTest::newRow("rename B to Z: rows A, C, Z with B's entries") << Command{
            abc, u"B/b1"_s, answered(u"Z"_s, rename), u"idx=A a1 | C | Trash | Z b1 b2;sel=Z/b1"_s};
        QTest::newRow("rename to a taken name")
            << Command{abc, u"B/b1"_s, answered(u"A"_s, rename),
                       u"idx=A a1 | A_ b1 b2 | C | Trash;sel=A_/b1"_s};
        QTest::newRow("rename into a hidden group")
            << Command{u"A | B b1"_s, u"B/b1"_s, answered(y + u"B"_s, rename),
                       u"idx=A | "_s + y + u"B b1;sel=A/ "_s};
        QTest::newRow("delete an empty group")
            << Command{abc, u"C/ "_s, deleteGroup, u"idx=A a1 | B b1 b2 | Trash;sel=A/a1"_s};
        // Its last entry is not dropped with the group: it goes into the trash.
        QTest::newRow("delete a group with one entry")
            << Command{abc, u"A/ "_s, deleteGroup, u"idx=B b1 b2 | C | Trash a1;sel=B/b1"_s};
        // Gone for good: asked first, with the number of entries; kept unless
        // the answer is Delete.
        const Action clearTrash = triggered(u"mnuClearTrash"_s);
        const QString clearTrashAsked = u"msg=[Clear Trash] Delete the 2 entries in \"Trash\" for "
                                        "good? Their texts cannot be brought back."_s;
        QTest::newRow("Clear Trash")
            << Command{u"A a1 | Trash t1 gone"_s, u"A/a1"_s, then(answeringQuestion(0), clearTrash),
                       u"idx=A a1 | Trash;sel=Trash/ ;"_s + clearTrashAsked};
        QTest::newRow("Clear Trash, kept")
            << Command{u"A a1 | Trash t1 gone"_s, u"A/a1"_s, clearTrash,
                       u"idx=A a1 | Trash t1 gone;sel=Trash/t1;"_s + clearTrashAsked};
        // The Group menu's items, as the keys' rows do (tst_keymap).
        QTest::newRow("indent right from the Group menu") << Command{
            u"G x y"_s, u"G/x"_s, triggered(u"mnuIndent0"_s), u"idx=G _x y;sel=G/_x"_s, u"G/_x"_s};
        QTest::newRow("indent left from the Group menu") << Command{
            u"G _x y"_s, u"G/_x"_s, triggered(u"mnuIndent1"_s), u"idx=G x y;sel=G/x"_s, u"G/x"_s};

        QTest::newRow("trash from the last line")
            << Command{u"A a1 a2 | Trash a2"_s, u"A/a2"_s, key(Qt::Key_Delete),
                       u"idx=A a1 | Trash a2 a2_;sel=A/ "_s, u"Trash/a2_"_s};
        QTest::newRow("trash of a missing file")
            << Command{u"A a1 gone a3 | Trash"_s, u"A/gone"_s,
                       [](AppFixture &nb) { nb.control<QPushButton>(u"cmdEntry1"_s)->click(); },
                       u"idx=A a1 a3 | Trash;sel=A/a3"_s};
        // "_" is appended until the title is free, checked again after each
        // one; another group's titles never count, the last column does.
        QTest::newRow("new title taken thrice")
            << Command{u"G x y__ y y_ | H y___"_s, u"G/x"_s, answered(u"y"_s, key(Qt::Key_F12)),
                       u"idx=G y___ y__ y y_ | H y___;sel=G/y___"_s, u"G/y___"_s};
        QString fullGroup = u"G"_s;
        for (int i = 0; i < NoteTable::kMaxEntries; ++i)
            fullGroup += u" t"_s + QString::number(i);
        QTest::newRow("new title taken in the last column") << Command{
            fullGroup, u"G/t0"_s, answered(u"t998"_s, key(Qt::Key_F12)),
            u"idx="_s + QString(fullGroup).replace(u"G t0 "_s, u"G t998_ "_s) + u";sel=G/t998_"_s,
            u"G/t998_"_s};
        // x_ is taken in the group it leaves and x__ in the one it enters:
        // each "_" added sends the check back to both groups.
        QTest::newRow("move, suffixes taken in both groups")
            << Command{u"A x x_ | B x x__"_s, u"A/x"_s, moveTo(u"B"_s),
                       u"idx=A x_ | B x x__ x___;sel=B/x___;last=A/"_s, u"B/x___"_s};

        // The entry is not reloaded: a load would replace the text put in here.
        const Action downKeepsText = [](AppFixture &nb) {
            {
                const QSignalBlocker quiet(nb.entryText());
                nb.entryText()->setPlainText(u"not reloaded"_s);
            }
            QTest::keyClick(nb.entryList(), Qt::Key_Down, Qt::ShiftModifier);
        };
        QTest::newRow("one place down")
            << Command{sorting, u"G/A"_s, downKeepsText,
                       u"idx=A a1 | G b _c A | Z;sel=G/A;text=not reloaded"_s};
        // A missing file stays missing: no edit or move may start on it.
        const Action missingDown = [](AppFixture &nb) {
            nb.control<QPushButton>(u"cmdH3"_s)->click();
            QVERIFY(nb.state().FileMissing);
        };
        QTest::newRow("missing file one place down")
            << Command{u"G a gone c"_s, u"G/gone"_s, missingDown,
                       u"idx=G a c gone;sel=G/gone;on:mnuEntryChange=0"_s};
        QTest::newRow("sort A to Z")
            << Command{sorting, u"G/A"_s, [](AppFixture &nb) { nb.control<QPushButton>(u"cmdSort0"_s)->click(); },
                       u"idx=A a1 | G _c A b | Z;sel=G/_c"_s};
        const Action sortDescending = [](AppFixture &nb) {
            nb.app().state().prefs.SortDescending = 1;
            nb.control<QPushButton>(u"cmdSort0"_s)->click();
        };
        QTest::newRow("sort Z to A")
            << Command{sorting, u"G/A"_s, sortDescending, u"idx=A a1 | G b A _c | Z;sel=G/b"_s};
        QTest::newRow("Left: the group above")
            << Command{sorting, u"G/A"_s, key(Qt::Key_Left), u"idx="_s + sorting + u";sel=A/a1"_s};
        QTest::newRow("cursor pad: from the blank line to the first")
            << Command{sorting, u"G/ "_s, [](AppFixture &nb) { nb.control<QPushButton>(u"cmdCRSR4"_s)->click(); },
                       u"idx="_s + sorting + u";sel=G/b"_s};
        QTest::newRow("indent right onto an existing _x")
            << Command{u"G x _x"_s, u"G/x"_s, key(Qt::Key_Right, Qt::ControlModifier),
                       u"idx=G _x_ _x;sel=G/_x_"_s, u"G/_x_"_s};
        QTest::newRow("indent left onto an existing y")
            << Command{u"G _y y"_s, u"G/_y"_s, key(Qt::Key_Left, Qt::AltModifier),
                       u"idx=G y_ y;sel=G/y_"_s, u"G/y_"_s};

        QTest::newRow("trash onto a linked copy left by a crash")
            << Command{u"A x y | B | Trash"_s, u"A/x"_s,
                       key(Qt::Key_Delete),    u"idx=A y | B | Trash x;sel=A/y"_s,
                       u"Trash/x"_s,           u"link:Trash/x.txt"_s};
        QTest::newRow("move onto a copy left by a crash")
            << Command{u"A x y | B | Trash"_s,
                       u"A/x"_s,
                       moveTo(u"B"_s),
                       u"idx=A y | B x | Trash;sel=B/x;last=A/"_s,
                       u"B/x"_s,
                       u"copy:B/x.txt"_s};

        // A save beside the history (Keep both, after another program changed
        // the entry's file) leaves the notebook as no step of the history
        // left it: Ctrl+Z refuses, says so once and forgets what it could
        // no longer take back; nothing changes.
        const Action keptBothThenUndone = [](AppFixture &nb) {
            const QSignalBlocker quiet = nb.quietWatcher();
            QTest::keyClick(nb.entryList(), Qt::Key_Down, Qt::ShiftModifier);
            nb.write(u"FileStore/A/x.txt"_s, {u"date of x"_s, u"changed outside"_s});
            QTest::keyClicks(nb.entryText(), u"z"_s);
            QTest::keyClick(nb.entryText(), Qt::Key_F2);
            QTest::keyClick(nb.entryList(), Qt::Key_Z, Qt::ControlModifier);
            QTest::keyClick(nb.entryList(), Qt::Key_Z, Qt::ControlModifier);
        };
        QTest::newRow("undo after a save beside the history")
            << Command{u"A x y"_s, u"A/x"_s, keptBothThenUndone,
                       u"idx=A y x x_;sel=A/x_;msg=~[^|]*Keep both[^|]*\\|\\|[^|]*can no longer be "
                       "taken back[^|]*"_s};

        QTest::newRow("drag the third onto the blank line of five")
            << Command{five, u"G/e2"_s, drop(false, u" "_s), u"idx=G e0 e1 e3 e4 e2;sel=G/e2"_s};
        QTest::newRow("drag the fourth onto the first")
            << Command{five, u"G/e3"_s, drop(false, u"e0"_s), u"idx=G e3 e0 e1 e2 e4;sel=G/e3"_s};
        QTest::newRow("drop onto a group holding the title")
            << Command{u"A a1 x | B x"_s, u"A/x"_s, drop(true, u"B"_s),
                       u"idx=A a1 | B x x_;sel=B/x_;last=A/"_s, u"B/x_"_s};
        QTest::newRow("drop onto the trash button")
            << Command{u"A a1 a2 | Trash"_s, u"A/a1"_s, dropOnTrashButton(),
                       u"idx=A a2 | Trash a1;sel=A/a2"_s, u"Trash/a1"_s};
        addRefusals();
    }
    void command()
    {
        QFETCH(Command, command);
        AppFixture nb;
        nb.writeNotebook(notebook(command.notebook));
        nb.setPref(21, u" 1"_s); // ÿ-groups hidden
        prepareDisk(nb, command);
        QVERIFY(nb.start());
        select(nb, command.select);
        const auto shown = [&nb] {
            return QList{AppFixture::lines(nb.groupList()), AppFixture::lines(nb.entryList())};
        };
        const QList<QStringList> lines = shown();
        const NoteTable table = nb.app().table();
        const auto files = nb.snapshot();
        const bool refused = !command.expected.contains(u"idx="_s);
        // A command done says nothing and moves no memory unless its row says so.
        const State before =
            refused ? observe(nb) : State{{u"msg"_s, {}}, {u"beeps"_s, u"0"_s}, {u"last"_s, {}}};

        command.action(nb);

        expectState(nb, command.expected, before);
        if (refused) {
            QCOMPARE(nb.snapshot(), files);
            QVERIFY(nb.app().table() == table);
            QCOMPARE(shown(), lines);
        } else {
            verifyFolders(nb);
        }
        if (!command.arrived.isEmpty()) {
            const QByteArray title = command.select.section(u'/', 1).toLatin1();
            const QString group = OutDOS(command.arrived.section(u'/', 0, 0));
            QCOMPARE(nb.read(u"FileStore/"_s + group + u'/' +
                             OutDOS(command.arrived.section(u'/', 1)) + u".txt"_s),
                     "date of " + title + "\r\ntext of " + title + "\r\n");
        }
    }

    // Every command that changes the notebook, taken back by Ctrl+Z and done
    // again by Ctrl+Shift+Z and Ctrl+Y, from either list: each time the
    // store's files are byte for byte as before or after it (a new entry's
    // before its Insert), and the lists show
    // what a fresh start on them shows. Clear Trash, gone for good, ends
    // what can be taken back.
    void undoRedo_data()
    {
        QTest::addColumn<int>("row");
        // Saves, files of the program's own, and the merge of another
        // computer's changes are no steps of the notebook's history.
        const QStringList kept{u"entry save"_s, u"mask save"_s, u"LstPrnt.txt"_s, u"Language.dat"_s,
                               u"merge of a synced notebook"_s};
        const QList<WritingCommand> commands = writingCommands();
        for (int i = 0; i < commands.size(); ++i) {
            const QString &name = commands[i].name;
            if (!kept.contains(name) && !commands[i].recovery && !name.startsWith(u"pref.dat"_s) &&
                !name.startsWith(u"undo: "_s) && !name.startsWith(u"redo: "_s))
                QTest::addRow("%s", qPrintable(name)) << i;
        }
    }
    void undoRedo()
    {
        QFETCH(int, row);
        const WritingCommand command = writingCommands().at(row);
        AppFixture nb;
        nb.writeNotebook(notebook(command.notebook));
        QVERIFY(nb.start());
        select(nb, command.select);
        const auto store = [&nb] {
            QMap<QString, QByteArray> files = nb.snapshot();
            files.removeIf([](const auto &file) {
                return !file.key().startsWith(u"FileStore/"_s) ||
                       file.key() == u"FileStore/InUse.dat"_s;
            });
            return files;
        };
        // Clear Trash ends what went before it too.
        const bool clearsTrash = command.name == u"Clear Trash"_s;
        if (clearsTrash)
            key(Qt::Key_Down, Qt::ShiftModifier)(nb);
        // A new entry is taken back whole, its placeholder line with it.
        const auto before = store();
        command.prepare(nb);
        command.action(nb);
        const auto after = store();
        QVERIFY(after != before);
        const Action undo = key(Qt::Key_Z, Qt::ControlModifier);
        if (clearsTrash) {
            // Nothing is offered, and the key says nothing: only the question was asked.
            QVERIFY(!nb.window()->findChild<QAction *>(u"mnuUndo"_s)->isEnabled());
            undo(nb);
            QCOMPARE(store(), after);
            QCOMPARE(nb.messages.shown.size(), 1);
            return;
        }
        undo(nb);
        QCOMPARE(store(), before);
        QTest::keyClick(nb.groupList(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(store(), after);
        QTest::keyClick(nb.groupList(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(store(), before);
        key(Qt::Key_Y, Qt::ControlModifier)(nb);
        QCOMPARE(store(), after);
        QVERIFY(nb.messages.shown.isEmpty() || !command.report.isEmpty());

        const QString group = nb.groupList()->currentText();
        const QStringList groups = AppFixture::lines(nb.groupList());
        const QStringList entries = AppFixture::lines(nb.entryList());
        QVERIFY(nb.restart());
        QCOMPARE(AppFixture::lines(nb.groupList()), groups);
        AppFixture::click(nb.groupList(), group);
        QCOMPARE(AppFixture::lines(nb.entryList()), entries);
    }

    // Titles in forms the program itself would not store (a hand edit or
    // another program left them): whatever a command does to the group, each
    // stays in idx.dat byte for byte, beside its file, and shows its text.
    void storedNamesKept_data()
    {
        QTest::addColumn<int>("row");
        const QList<WritingCommand> commands = writingCommands();
        for (int i = 0; i < commands.size(); ++i)
            QTest::addRow("%s", qPrintable(commands[i].name)) << i;
    }
    void storedNamesKept()
    {
        QFETCH(int, row);
        const WritingCommand command = writingCommands().at(row);
        const QStringList odd{u" lead"_s, u"trail "_s, u"  two"_s, u"c:d"_s,
                              u"e"_s + QChar(0xD0) + u'f'};
        AppFixture nb;
        nb.writeNotebook(notebook(command.notebook));
        QStringList lines = nb.readLines(u"FileStore/idx.dat"_s);
        const qsizetype firstGroupEnd = lines.indexOf(OutDOS(notebook(command.notebook)[1][0]));
        for (const QString &name : odd) {
            lines.insert(firstGroupEnd, u"\\"_s + name);
            nb.write(u"FileStore/A/"_s + name + u".txt"_s, {u"d"_s, u"text of "_s + name});
        }
        nb.write(u"FileStore/idx.dat"_s, lines);
        QVERIFY(nb.start());
        select(nb, command.select);
        command.prepare(nb);
        command.action(nb);
        if (nb.exitStatus)
            QVERIFY(nb.restart());
        // A command that leaves its edit open (the recovery copy's) lets the lists be used again.
        if (nb.state().edit.editing())
            QTest::keyClick(nb.window()->focusWidget(), Qt::Key_Escape);

        // Each name in exactly one group, its file there with its text.
        QString group;
        QMap<QString, QString> groupOf;
        for (const QString &line : nb.readLines(u"FileStore/idx.dat"_s).mid(1)) {
            if (!line.startsWith(u'\\'))
                group = line;
            else if (odd.contains(line.mid(1)))
                groupOf.insert(line.mid(1), group);
        }
        QCOMPARE(groupOf.keys().size(), odd.size());
        for (const QString &name : odd) {
            const QString folder = u"FileStore/"_s + groupOf[name] + u'/';
            QCOMPARE(nb.readLines(folder + name + u".txt"_s).value(1), u"text of "_s + name);
            select(nb, InDOS(groupOf[name]) + u'/' + InDOS(name));
            QCOMPARE(nb.entryList()->currentIndex().data().toString(), InDOS(name)); // shown
            QCOMPARE(nb.text(), u"text of "_s + name + u'\n');
        }
    }
};

QTEST_MAIN(tst_Organizing)
#include "tst_organizing.moc"
