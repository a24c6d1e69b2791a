#include "store/dostext.h"
#include "store/notetable.h"
#include "ui/commandstate.h"

#include <QTest>

#include "support/testsupport.h"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CommandInput)

namespace {

// The notebook behind every case, in stored form and list order.
// Lines of lstGroup: 0 Empty, 1 Notes, 2 Solo, 3 Trash, 4 Work, 5 Work/Home,
// 6 Dup (stored with a blank before it), 7 Dup, 8 ÿSecret.
NoteTable notebook()
{
    return tableOf({{u"Empty"_s},
                    {u"Notes"_s, u"a"_s, u"_b"_s, u"c"_s, OutDOS(u"d/e"_s)},
                    {u"Solo"_s, u"only"_s},
                    {u"Trash"_s, u"old"_s},
                    {u"Work"_s, u"Shopping"_s, OutDOS(u"12:30"_s)},
                    {OutDOS(u"Work/Home"_s), u"Plans"_s},
                    {u" Dup"_s, u"y"_s},
                    {u"Dup"_s, u"x"_s},
                    {u"\u00FFSecret"_s, u"x"_s}});
}

// The input the window gathers with group line g and entry line i selected,
// the ÿ-groups hidden, and `memory` in slot 3 (so that a mix-up of the four
// slots shows).
CommandInput select(int g, int i, const QString &memory = u"free/free"_s)
{
    const NoteTable t = notebook();
    CommandInput in;
    in.groupLine = g;
    in.groupLineCount = t.groupCount();
    in.groupTitle = InDOS(t.name(g));
    in.inTrash = in.groupTitle == u"Trash"_s;
    in.entryCount = t.entryCount(g);
    in.entryLine = i; // entryCount: the closing line
    in.entryText = i < in.entryCount ? InDOS(t.cell(g, i + 1)) : QString();
    in.hideYGroups = true;
    in.phraseMemory.fill(u"free"_s);
    in.positionMemory = {u"free/free"_s, u"free/free"_s, memory, u"free/free"_s};
    return in;
}

} // namespace

class TestCommandState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void refresh_data()
    {
        QTest::addColumn<CommandInput>("input");
        // "name=1" enabled, "name=0" disabled, "name=-" left as it was;
        // "memory3=..." memory 3 as the refresh leaves it.
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty group")
            << select(0, 0)
            << u"NewEntry=1 TrashEntry=0 RenameEntry=0 Sort=0 DeleteGroup=1 "
               "EditorMenu=0 IndentRight=0 NextEntry=0 ClearMemories=0 GoToLastMove=0"_s;
        QTest::newRow("one entry, blank line selected")
            << select(2, 1)
            << u"DeleteGroup=1 TrashEntry=0 EditorMenu=1 IndentRight=0 PreviousEntry=1"_s;
        QTest::newRow("two entries, blank line selected")
            << select(4, 2) << u"DeleteGroup=0 TrashEntry=0"_s;
        QTest::newRow("one entry, entry selected")
            << select(2, 0)
            << u"DeleteGroup=0 TrashEntry=1 MoveUp=0 MoveDown=0 NextEntry=1 IndentRight=1"_s;
        QTest::newRow("trash")
            << select(3, 0)
            << u"TrashEntry=0 ChangeGroup=1 NewEntry=0 InsertMenu=0 DeleteGroup=0"_s;
        CommandInput locked = select(1, 1);
        locked.locked = true;
        locked.lastMovePosition = u"Work/"_s;
        QTest::newRow("locked, after a move")
            << locked
            << u"GroupMenu=0 NewEntry=0 TrashEntry=0 MoveToMenu=0 IndentLeft=0 MoveUp=0 "
               u"EditorMenu=1 "
               "PreviousEntry=1 NextEntry=- IndentRight=0 InsertMenu=1 GoToLastMove=1 FileMenu=1"_s;
        CommandInput editing = select(1, 1);
        editing.editing = true;
        editing.phraseMemory[1] = u"hello"_s;
        // The edit frame stands in for the panels; the menus and the buttons
        // beside the lists are greyed, the phrases follow.
        QTest::newRow("an edit")
            << editing
            << u"CallPhrase1=0 CallPhrase2=1 ClearPhrases=1 FileMenu=0 GroupMenu=0 InfoMenu=0 "
               "NextEntry=0 MoveDown=0 IndentLeft=0 NewEntry=- IndividualButton1=- "
               "GoToMemory1=- memory3=free/free"_s;

        QTest::newRow("memory: entry elsewhere")
            << select(1, 0, u"Work/Shopping"_s)
            << u"memory3=Work/Shopping GoToMemory3=1 MoveToMemory3=1 ClearMemories=1 "
               "GoToMemory1=0"_s;
        QTest::newRow("memory: shown title with a substituted character")
            << select(1, 0, u"Work/12:30"_s) << u"memory3=Work/12:30 GoToMemory3=1"_s;
        QTest::newRow("memory: no slash, made a group memory")
            << select(1, 0, u"Work"_s) << u"memory3=Work/ GoToMemory3=1"_s;
        // Go To selects from the list, which does not show the group.
        QTest::newRow("memory: hidden y-group")
            << select(1, 0, u"\u00FFSecret/x"_s)
            << u"memory3=\u00FFSecret/x GoToMemory3=0 MoveToMemory3=0"_s;
        QTest::newRow("memory: entry selected")
            << select(4, 0, u"Work/Shopping"_s) << u"GoToMemory3=0 MoveToMemory3=0"_s;
        QTest::newRow("memory: other entry of the selected group")
            << select(4, 1, u"Work/Shopping"_s) << u"GoToMemory3=1 MoveToMemory3=0"_s;
        QTest::newRow("memory: group memory of the selected group")
            << select(4, 1, u"Work/"_s) << u"GoToMemory3=0 MoveToMemory3=0"_s;
        // The split at the first "/" reads group Work: never offered, never cut
        // back (a memory and the last move left by it: tst_keymap's slashInAGroupTitle).
        QTest::newRow("memory: group memory of a group whose title holds a slash")
            << select(1, 0, u"Work/Home/"_s) << u"memory3=Work/Home/ GoToMemory3=0"_s;
        // The group is what comes before the first "/": the rest is the title.
        QTest::newRow("memory: entry whose title holds a slash")
            << select(4, 0, u"Notes/d/e"_s) << u"memory3=Notes/d/e GoToMemory3=1"_s;
        QTest::newRow("memory: an entry of Work that only starts like the group")
            << select(1, 0, u"Work/Homework"_s) << u"memory3=Work/ GoToMemory3=1"_s;
        // Both show "Dup"; the first in list order holds y.
        QTest::newRow("memory: two groups shown alike, the first wins")
            << select(1, 0, u"Dup/y"_s) << u"memory3=Dup/y GoToMemory3=1"_s;
        QTest::newRow("memory: two groups shown alike, entry of the second")
            << select(1, 0, u"Dup/x"_s) << u"memory3=Dup/ GoToMemory3=1"_s;
        CommandInput lastHere = select(4, 0);
        lastHere.lastMovePosition = u"Work/"_s;
        QTest::newRow("last move from the selected group") << lastHere << u"GoToLastMove=0"_s;
        // The phrase keys also work while the text is only viewed.
        CommandInput viewing = select(1, 1);
        viewing.phraseMemory[3] = u"x"_s;
        QTest::newRow("phrases while viewing")
            << viewing << u"CallPhrase1=0 CallPhrase4=1 ClearPhrases=1"_s;
        QTest::newRow("no phrases") << select(1, 1) << u"ClearPhrases=0"_s;
    }

    void refresh()
    {
        QFETCH(CommandInput, input);
        QFETCH(QString, expected);

        const CommandState state = commandStates(input, notebook());
        QCOMPARE(state.memoriesRepaired, state.positionMemory != input.positionMemory);
        QStringList actual{u"memory3="_s + state.positionMemory[2]};
        for (int k = 0; k < kCmdCount; ++k) {
            const std::optional<bool> on = state[Cmd(k)];
            actual << commandName(Cmd(k)) + u'=' + (on ? QString::number(*on) : u"-"_s);
        }
        for (const QString &token : expected.split(u' '))
            QVERIFY2(actual.contains(token), qPrintable(token));
    }
};

QTEST_GUILESS_MAIN(TestCommandState)
#include "tst_commandstate.moc"
