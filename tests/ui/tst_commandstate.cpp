#include "store/dostext.h"
#include "store/notetable.h"
#include "ui/commandstate.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(CommandInput)

namespace {

// The notebook behind every case, in stored form and list order.
// Lines of lstGroup: 0 Empty, 1 Notes, 2 Solo, 3 Trash, 4 Work, 5 ÿSecret.
const NoteTable &notebook()
{
    static const NoteTable table = [] {
        NoteTable t;
        const QList<QStringList> groups = {
            {u"Empty"_s},
            {u"Notes"_s, u"a"_s, u"_b"_s, u"c"_s},
            {u"Solo"_s, u"only"_s},
            {u"Trash"_s, u"old"_s},
            {u"Work"_s, u"Shopping"_s, OutDOS(u"Meeting 12:30"_s)},
            {u"\u00FFSecret"_s, u"x"_s},
        };
        for (int g = 0; g < groups.size(); ++g) {
            for (int c = 0; c < groups[g].size(); ++c)
                t.cell(g, c) = groups[g][c];
        }
        return t;
    }();
    return table;
}

// The input the window gathers with group line g and entry line i selected.
CommandInput select(int g, int i)
{
    const NoteTable &t = notebook();
    CommandInput in;
    in.groupLine = g;
    in.groupLineCount = t.groupCount();
    in.groupTitle = InDOS(t.name(g));
    in.InTrash = in.groupTitle == u"Trash"_s;
    in.emptyTrashExists = emptyTrashExists(t);
    in.entryLineCount = t.entryCount(g) + 1;
    in.entryLine = i;
    in.entryText = i < in.entryLineCount - 1 ? InDOS(t.cell(g, i + 1)) : u" "_s;
    in.PhraseMemory.fill(u"free"_s);
    in.PositionMemory.fill(u"free/free"_s);
    return in;
}

CommandInput locked(CommandInput in)
{
    in.Locked = true;
    return in;
}

CommandInput missing(CommandInput in)
{
    in.FileMissing = true;
    return in;
}

std::optional<Cmd> cmdNamed(const QString &name)
{
    for (int k = 0; k < kCmdCount; ++k) {
        if (commandName(Cmd(k)) == name)
            return Cmd(k);
    }
    return std::nullopt;
}

} // namespace

class TestCommandState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void states_data()
    {
        QTest::addColumn<CommandInput>("input");
        // "name=1" enabled, "name=0" disabled, "name=-" left as it was.
        QTest::addColumn<QString>("expected");

        QTest::newRow("empty group")
            << select(0, 0)
            << u"cmdEntry0=1 mnuEntryCall0=1 mnuEntryCall1=0 cmdEntry1=0 mnuEntryRename=0 "
               "mnuEntryChange=0 mnuMoveTo=1 mnuSortAll=0 cmdSort0=0 mnuGroupDelete=1 "
               "mnuGroupRename=1 mnuInsert=1 mnuEditor=0 cmdCRSR4=0 mnuSort0=0 mnuSort1=0 "
               "mnuIndent0=0 mnuIndent1=0 cmdH0=0 cmdH1=0 cmdH2=0 cmdH3=0 cmdCRSR0=0 "
               "cmdCRSR1=1 cmdCRSR2=0 cmdCRSR3=0 txtText0=1 txtText1=1 mnuClearTrash=1"_s;
        QTest::newRow("one entry, blank line selected")
            << select(2, 1)
            << u"mnuGroupDelete=1 mnuEntryCall1=0 mnuEntryRename=0 mnuEditor=1 cmdCRSR4=1 "
               "mnuSortAll=0 cmdH1=0 cmdCRSR3=0 mnuIndent0=0 cmdCRSR2=1 mnuSort0=0 mnuSort1=0"_s;
        QTest::newRow("one entry, entry selected")
            << select(2, 0)
            << u"mnuGroupDelete=0 mnuEntryCall1=1 cmdEntry1=1 mnuEntryRename=1 "
               "mnuEntryChange=1 mnuEditorCall0=1 mnuSort0=0 cmdH2=0 mnuSort1=0 cmdH3=0 "
               "cmdH1=1 cmdCRSR3=1 mnuIndent0=1 cmdCRSR2=0 mnuSortAll=0"_s;
        QTest::newRow("first of three")
            << select(1, 0)
            << u"mnuSort0=0 cmdH2=0 mnuSort1=1 cmdH3=1 mnuSortAll=1 cmdSort0=1 cmdH0=0 "
               "mnuIndent1=0 cmdCRSR2=0 mnuGroupDelete=0 cmdCRSR0=1 cmdCRSR1=1"_s;
        QTest::newRow("middle entry starting with _")
            << select(1, 1)
            << u"cmdH0=1 mnuIndent1=1 mnuSort0=1 cmdH2=1 mnuSort1=1 cmdH3=1 cmdCRSR2=1"_s;
        QTest::newRow("last of three")
            << select(1, 2)
            << u"mnuSort0=1 cmdH2=1 mnuSort1=0 cmdH3=0 cmdH1=1 cmdCRSR3=1 cmdH0=0"_s;
        QTest::newRow("blank line under three entries")
            << select(1, 3)
            << u"mnuGroupDelete=0 mnuSortAll=1 mnuEditor=1 mnuIndent0=0 cmdH1=0 cmdCRSR3=0"_s;
        QTest::newRow("trash, entry selected")
            << select(3, 0)
            << u"mnuEntryCall1=0 cmdEntry1=0 mnuEntryRename=1 mnuEntryChange=1 cmdEntry0=0 "
               "mnuEntryCall0=0 mnuGroupRename=0 mnuInsert=0 mnuGroupDelete=0"_s;
        QTest::newRow("trash, blank line selected")
            << select(3, 1) << u"mnuGroupDelete=0 cmdEntry0=0 mnuInsert=0"_s;
        QTest::newRow("locked, entry selected")
            << locked(select(1, 1))
            << u"mnuGroup=0 mnuEntry=0 mnuOptions=0 cmdEntry0=0 mnuMoveTo=0 mnuSetMem=0 "
               "mnuClearMemos=0 cmdIndiv0=0 cmdIndiv1=0 cmdIndiv2=0 cmdIndiv3=0 cmdH0=0 "
               "cmdH1=0 cmdH2=0 cmdH3=0 mnuEntryCall1=0 cmdEntry1=0 mnuEntryRename=0 "
               "mnuEntryChange=0 mnuSortAll=0 cmdSort0=0 mnuSort0=0 mnuSort1=0 mnuIndent1=0 "
               "mnuEditor=1 cmdCRSR4=1 cmdCRSR0=1 cmdCRSR1=1 cmdCRSR2=1 cmdCRSR3=- "
               "mnuIndent0=1 mnuEntryCall0=1 mnuGroupRename=1 mnuInsert=1 txtText0=1"_s;
        QTest::newRow("locked, blank line of an empty group")
            << locked(select(0, 0)) << u"mnuGroupDelete=0 cmdCRSR3=0 cmdH1=0"_s;
        QTest::newRow("file missing")
            << missing(select(1, 0))
            << u"mnuEntryChange=0 mnuEditorCall0=0 txtText0=0 txtText1=0 mnuMoveTo=0 "
               "mnuEntryRename=1 mnuEntryCall1=1"_s;
        QTest::newRow("last group") << select(5, 0) << u"cmdCRSR0=1 cmdCRSR1=0"_s;

        CommandInput emptyTrash = select(1, 0);
        emptyTrash.emptyTrashExists = true;
        QTest::newRow("trash exists and is empty") << emptyTrash << u"mnuClearTrash=0"_s;

        CommandInput memory = select(1, 0);
        memory.PositionMemory[3] = u"Work/"_s;
        QTest::newRow("a memory set") << memory << u"mnuClearMemos=1 mnuMoveTo=1"_s;
        QTest::newRow("a memory set, locked") << locked(memory) << u"mnuClearMemos=0 mnuMoveTo=0"_s;
        QTest::newRow("no memory set") << select(1, 0) << u"mnuClearMemos=0"_s;

        CommandInput noGroup;
        QTest::newRow("no group at all")
            << noGroup
            << u"mnuGroup=1 mnuGroupDelete=0 mnuGroupRename=0 mnuInsert=0 cmdEntry0=0 "
               "mnuEntryCall0=0 mnuEntryCall1=0 cmdEntry1=0 cmdCRSR0=0 cmdCRSR1=0 "
               "cmdCRSR2=0 cmdCRSR3=0 mnuEditor=0 mnuIndent0=0"_s;

        CommandInput editing = select(1, 1);
        editing.TextEditMode = true;
        editing.PhraseMemory[1] = u"hello"_s;
        editing.PositionMemory[0] = u"Work/Gone"_s;
        QTest::newRow("text edit mode")
            << editing
            << u"mnuCallTxtMemoCall0=0 mnuCallTxtMemoCall1=1 mnuCallTxtMemoCall2=0 "
               "mnuCallTxtMemoCall3=0 mnuClearTxtMemos=1 mnuGroup=- cmdEntry0=- txtText0=- "
               "mnuGoToMemo0=- mnuMoveTo=- cmdCRSR3=- mnuGroupDelete=-"_s;
        CommandInput editingNoPhrase = select(1, 1);
        editingNoPhrase.TextEditMode = true;
        QTest::newRow("text edit mode, no phrases")
            << editingNoPhrase << u"mnuCallTxtMemoCall0=0 mnuClearTxtMemos=0"_s;
        CommandInput viewing = select(1, 1);
        viewing.PhraseMemory[1] = u"hello"_s;
        QTest::newRow("phrases left alone while viewing")
            << viewing << u"mnuCallTxtMemoCall1=- mnuClearTxtMemos=-"_s;
    }

    void states()
    {
        QFETCH(CommandInput, input);
        QFETCH(QString, expected);

        const CommandState state = RefreshCommands(input, notebook());
        for (const QString &token : expected.split(u' ', Qt::SkipEmptyParts)) {
            const QStringList parts = token.split(u'=');
            QCOMPARE(parts.size(), 2);
            const std::optional<Cmd> cmd = cmdNamed(parts[0]);
            QVERIFY2(cmd, qPrintable(parts[0]));
            // "-" means the refresh leaves the item as it was.
            const std::optional<bool> got = state[*cmd];
            if (parts[1] == u"-"_s)
                QVERIFY2(!got.has_value(), qPrintable(token));
            else
                QVERIFY2(got.has_value() && *got == (parts[1] == u"1"_s), qPrintable(token));
        }
    }

    // Outside text edit mode every item but the phrase items gets a state, so the
    // window never shows one left over from an earlier selection.
    void everyItemSetWhileViewing()
    {
        const CommandState state = RefreshCommands(select(1, 1), notebook());
        for (int k = 0; k < kCmdCount; ++k) {
            const QString name = commandName(Cmd(k));
            const bool phraseItem = name.startsWith(u"mnuCallTxtMemoCall"_s)
                                    || name == u"mnuClearTxtMemos"_s;
            QVERIFY2(state[Cmd(k)].has_value() != phraseItem, qPrintable(name));
        }
    }

    void emptyTrash_data()
    {
        QTest::addColumn<QStringList>("groups"); // "Name" or "Name/entry"
        QTest::addColumn<bool>("expected");
        QTest::newRow("no trash") << QStringList{u"Notes/a"_s} << false;
        QTest::newRow("empty trash") << QStringList{u"Notes/a"_s, u"Trash"_s} << true;
        QTest::newRow("trash with an entry") << QStringList{u"Trash/old"_s} << false;
        QTest::newRow("another case") << QStringList{u"trash"_s} << false;
    }

    void emptyTrash()
    {
        QFETCH(QStringList, groups);
        QFETCH(bool, expected);
        NoteTable t;
        for (int g = 0; g < groups.size(); ++g) {
            const QStringList parts = groups[g].split(u'/');
            for (int c = 0; c < parts.size(); ++c)
                t.cell(g, c) = parts[c];
        }
        QCOMPARE(emptyTrashExists(t), expected);
    }

    void memories_data()
    {
        QTest::addColumn<QString>("memory");
        QTest::addColumn<int>("groupLine");
        QTest::addColumn<int>("entryLine");
        QTest::addColumn<bool>("hideY");
        QTest::addColumn<QString>("repaired");
        QTest::addColumn<bool>("goTo");
        QTest::addColumn<bool>("moveTo");

        const QString free = u"free/free"_s;
        QTest::newRow("free") << free << 1 << 0 << false << free << false << false;
        QTest::newRow("entry elsewhere")
            << u"Work/Shopping"_s << 1 << 0 << false << u"Work/Shopping"_s << true << true;
        QTest::newRow("entry selected")
            << u"Work/Shopping"_s << 4 << 0 << false << u"Work/Shopping"_s << false << false;
        QTest::newRow("other entry of the selected group")
            << u"Work/Shopping"_s << 4 << 1 << false << u"Work/Shopping"_s << true << false;
        QTest::newRow("shown title with a substituted character")
            << u"Work/Meeting 12:30"_s << 4 << 0 << false << u"Work/Meeting 12:30"_s << true
            << false;
        QTest::newRow("stored form is not a shown title")
            << u"Work/Meeting 12\u00D030"_s << 1 << 0 << false << u"Work/"_s << true << true;
        QTest::newRow("entry renamed: cut back to the group")
            << u"Work/Gone"_s << 1 << 0 << false << u"Work/"_s << true << true;
        QTest::newRow("entry renamed in the selected group")
            << u"Work/Gone"_s << 4 << 0 << false << u"Work/"_s << false << false;
        QTest::newRow("entry part holding a slash")
            << u"Work/a/b"_s << 1 << 0 << false << u"Work/"_s << true << true;
        QTest::newRow("no slash becomes a group memory")
            << u"Work"_s << 1 << 0 << false << u"Work/"_s << true << true;
        QTest::newRow("group memory of the selected group")
            << u"Work/"_s << 4 << 1 << false << u"Work/"_s << false << false;
        QTest::newRow("group deleted")
            << u"Gone/x"_s << 1 << 0 << false << u"Gone/x"_s << false << false;
        QTest::newRow("empty group part")
            << u"/x"_s << 1 << 0 << false << u"/x"_s << false << false;
        QTest::newRow("hidden y-group")
            << u"\u00FFSecret/x"_s << 1 << 0 << true << u"\u00FFSecret/x"_s << true << false;
        QTest::newRow("shown y-group")
            << u"\u00FFSecret/x"_s << 1 << 0 << false << u"\u00FFSecret/x"_s << true << true;
    }

    void memories()
    {
        QFETCH(QString, memory);
        QFETCH(int, groupLine);
        QFETCH(int, entryLine);
        QFETCH(bool, hideY);
        QFETCH(QString, repaired);
        QFETCH(bool, goTo);
        QFETCH(bool, moveTo);

        // Memory 3, so that a mix-up of the four slots shows.
        CommandInput in = select(groupLine, entryLine);
        in.HideYGroups = hideY;
        in.PositionMemory[2] = memory;
        const CommandState state = RefreshCommands(in, notebook());

        QCOMPARE(state.PositionMemory[2], repaired);
        QCOMPARE(state.memoriesRepaired, repaired != memory);
        QCOMPARE(state[Cmd::mnuGoToMemo2], std::optional<bool>(goTo));
        QCOMPARE(state[Cmd::mnuMoveToMemo2], std::optional<bool>(moveTo));
        for (Cmd other : {Cmd::mnuGoToMemo0, Cmd::mnuGoToMemo1, Cmd::mnuGoToMemo3,
                          Cmd::mnuMoveToMemo0, Cmd::mnuMoveToMemo1, Cmd::mnuMoveToMemo3})
            QCOMPARE(state[other], std::optional<bool>(false));
        QCOMPARE(state.PositionMemory[0], u"free/free"_s);
    }

    void lastMove_data()
    {
        QTest::addColumn<QString>("lastMove");
        QTest::addColumn<int>("groupLine");
        QTest::addColumn<bool>("expected");
        QTest::newRow("nothing moved yet") << QString() << 1 << false;
        QTest::newRow("came from another group") << u"Work/"_s << 1 << true;
        QTest::newRow("back in that group") << u"Work/"_s << 4 << false;
    }

    void lastMove()
    {
        QFETCH(QString, lastMove);
        QFETCH(int, groupLine);
        QFETCH(bool, expected);
        CommandInput in = select(groupLine, 0);
        in.LastMovePosition = lastMove;
        QCOMPARE(RefreshCommands(in, notebook())[Cmd::mnuGoToLastMove], std::optional<bool>(expected));
    }
};

QTEST_GUILESS_MAIN(TestCommandState)
#include "tst_commandstate.moc"
