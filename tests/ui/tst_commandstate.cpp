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
    in.InTrash = in.groupTitle == u"Trash"_s;
    in.entryCount = t.entryCount(g);
    in.entryLine = i; // entryCount: the closing line
    in.entryText = i < in.entryCount ? InDOS(t.cell(g, i + 1)) : QString();
    in.HideYGroups = true;
    in.PhraseMemory.fill(u"free"_s);
    in.PositionMemory = {u"free/free"_s, u"free/free"_s, memory, u"free/free"_s};
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
            << u"cmdEntry0=1 cmdEntry1=0 mnuEntryRename=0 mnuSortAll=0 mnuGroupDelete=1 "
               "mnuEditor=0 mnuIndent0=0 cmdCRSR3=0 mnuClearMemos=0 mnuGoToLastMove=0"_s;
        QTest::newRow("one entry, blank line selected")
            << select(2, 1) << u"mnuGroupDelete=1 mnuEntryCall1=0 mnuEditor=1 cmdH1=0 cmdCRSR2=1"_s;
        QTest::newRow("two entries, blank line selected")
            << select(4, 2) << u"mnuGroupDelete=0 cmdEntry1=0"_s;
        QTest::newRow("one entry, entry selected")
            << select(2, 0)
            << u"mnuGroupDelete=0 cmdEntry1=1 mnuSort0=0 mnuSort1=0 cmdCRSR3=1 mnuIndent0=1"_s;
        QTest::newRow("trash")
            << select(3, 0)
            << u"cmdEntry1=0 mnuEntryChange=1 cmdEntry0=0 mnuInsert=0 mnuGroupDelete=0"_s;
        CommandInput locked = select(1, 1);
        locked.Locked = true;
        locked.LastMovePosition = u"Work/"_s;
        QTest::newRow("locked, after a move")
            << locked
            << u"mnuGroup=0 cmdEntry0=0 cmdEntry1=0 mnuMoveTo=0 cmdH0=0 mnuSort0=0 mnuEditor=1 "
               "cmdCRSR2=1 cmdCRSR3=- mnuIndent0=1 mnuInsert=1 mnuGoToLastMove=1"_s;
        CommandInput editing = select(1, 1);
        editing.TextEditMode = true;
        editing.PhraseMemory[1] = u"hello"_s;
        QTest::newRow("text edit mode")
            << editing
            << u"mnuCallTxtMemoCall0=0 mnuCallTxtMemoCall1=1 mnuClearTxtMemos=1 mnuGroup=- "
               "cmdEntry0=- mnuGoToMemo0=- cmdCRSR3=-"_s;

        QTest::newRow("memory: entry elsewhere")
            << select(1, 0, u"Work/Shopping"_s)
            << u"memory3=Work/Shopping mnuGoToMemo2=1 mnuMoveToMemo2=1 mnuClearMemos=1 "
               "mnuGoToMemo0=0"_s;
        QTest::newRow("memory: shown title with a substituted character")
            << select(1, 0, u"Work/12:30"_s) << u"memory3=Work/12:30 mnuGoToMemo2=1"_s;
        QTest::newRow("memory: no slash, made a group memory")
            << select(1, 0, u"Work"_s) << u"memory3=Work/ mnuGoToMemo2=1"_s;
        // Go To selects from the list, which does not show the group.
        QTest::newRow("memory: hidden y-group")
            << select(1, 0, u"\u00FFSecret/x"_s)
            << u"memory3=\u00FFSecret/x mnuGoToMemo2=0 mnuMoveToMemo2=0"_s;
        QTest::newRow("memory: entry selected")
            << select(4, 0, u"Work/Shopping"_s) << u"mnuGoToMemo2=0 mnuMoveToMemo2=0"_s;
        QTest::newRow("memory: other entry of the selected group")
            << select(4, 1, u"Work/Shopping"_s) << u"mnuGoToMemo2=1 mnuMoveToMemo2=0"_s;
        QTest::newRow("memory: group memory of the selected group")
            << select(4, 1, u"Work/"_s) << u"mnuGoToMemo2=0 mnuMoveToMemo2=0"_s;
        // The split at the first "/" reads group Work: never offered, never cut
        // back (a memory and the last move left by it: tst_keymap's slashInAGroupTitle).
        QTest::newRow("memory: group memory of a group whose title holds a slash")
            << select(1, 0, u"Work/Home/"_s) << u"memory3=Work/Home/ mnuGoToMemo2=0"_s;
        // The group is what comes before the first "/": the rest is the title.
        QTest::newRow("memory: entry whose title holds a slash")
            << select(4, 0, u"Notes/d/e"_s) << u"memory3=Notes/d/e mnuGoToMemo2=1"_s;
        QTest::newRow("memory: an entry of Work that only starts like the group")
            << select(1, 0, u"Work/Homework"_s) << u"memory3=Work/ mnuGoToMemo2=1"_s;
        // Both show "Dup"; the first in list order holds y.
        QTest::newRow("memory: two groups shown alike, the first wins")
            << select(1, 0, u"Dup/y"_s) << u"memory3=Dup/y mnuGoToMemo2=1"_s;
        QTest::newRow("memory: two groups shown alike, entry of the second")
            << select(1, 0, u"Dup/x"_s) << u"memory3=Dup/ mnuGoToMemo2=1"_s;
        CommandInput lastHere = select(4, 0);
        lastHere.LastMovePosition = u"Work/"_s;
        QTest::newRow("last move from the selected group") << lastHere << u"mnuGoToLastMove=0"_s;
        // The phrase keys also work while the text is only viewed.
        CommandInput viewing = select(1, 1);
        viewing.PhraseMemory[3] = u"x"_s;
        QTest::newRow("phrases while viewing")
            << viewing << u"mnuCallTxtMemoCall0=0 mnuCallTxtMemoCall3=1 mnuClearTxtMemos=1"_s;
        QTest::newRow("no phrases") << select(1, 1) << u"mnuClearTxtMemos=0"_s;
    }

    void refresh()
    {
        QFETCH(CommandInput, input);
        QFETCH(QString, expected);

        const CommandState state = RefreshCommands(input, notebook());
        QCOMPARE(state.memoriesRepaired, state.PositionMemory != input.PositionMemory);
        QStringList actual{u"memory3="_s + state.PositionMemory[2]};
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
