#include "ui/commandactions_w.h"

#include "ui/mainwidgets_w.h"

#include <QAction>
#include <QMenu>
#include <QPlainTextEdit>

CommandActions commandActions(const MainWidgets &w)
{
    return {
        .trashEntry = w.newTrashItems[1],
        .renameEntry = w.renameEntryItem,
        .moveEntryToGroup = w.changeGroupItem,
        .sort = w.sortItem,
        .moveUp = w.upDownItems[0],
        .moveDown = w.upDownItems[1],
        .indentLeft = w.indentItems[1],
        .indentRight = w.indentItems[0],
        .previousGroup = w.cursorActions[0],
        .nextGroup = w.cursorActions[1],
        .previousEntry = w.cursorActions[2],
        .nextEntry = w.cursorActions[3],
        .jump = w.cursorActions[4],
        .newGroup = w.newGroupItem,
        .renameGroup = w.renameGroupItem,
        .deleteGroup = w.deleteGroupItem,
        .clearTrash = w.clearTrashItem,
    };
}

CommandControls commandControls(const MainWidgets &w)
{
    CommandControls c{};
    const auto put = [&c](Cmd role, QObject *object) { c[std::size_t(role)] = object; };
    const auto putEach = [&put](Cmd first, const auto &actions) {
        for (std::size_t i = 0; i < actions.size(); ++i)
            put(Cmd(int(first) + int(i)), actions[i]);
    };
    put(Cmd::FileMenu, w.fileMenu->menuAction());
    put(Cmd::GroupMenu, w.groupMenu->menuAction());
    put(Cmd::EntryMenu, w.entryMenu->menuAction());
    put(Cmd::GoMoveMenu, w.goMoveMenu->menuAction());
    put(Cmd::OptionsMenu, w.optionsMenu->menuAction());
    put(Cmd::InfoMenu, w.infoMenu->menuAction());
    put(Cmd::InsertMenu, w.insertMenu->menuAction());
    put(Cmd::EditorMenu, w.editorMenu->menuAction());
    put(Cmd::MoveToMenu, w.moveToMenu->menuAction());
    put(Cmd::SetMemoryMenu, w.setMemoryMenu->menuAction());
    put(Cmd::NewEntry, w.newTrashItems[0]);
    put(Cmd::TrashEntry, w.newTrashItems[1]);
    put(Cmd::RenameEntry, w.renameEntryItem);
    put(Cmd::ChangeGroup, w.changeGroupItem);
    put(Cmd::OpenInEditor, w.editorItems[0]);
    put(Cmd::Sort, w.sortItem);
    put(Cmd::MoveUp, w.upDownItems[0]);
    put(Cmd::MoveDown, w.upDownItems[1]);
    put(Cmd::IndentLeft, w.indentItems[1]);
    put(Cmd::IndentRight, w.indentItems[0]);
    put(Cmd::RenameGroup, w.renameGroupItem);
    put(Cmd::DeleteGroup, w.deleteGroupItem);
    put(Cmd::ClearTrash, w.clearTrashItem);
    putEach(Cmd::PreviousGroup, w.cursorActions);
    putEach(Cmd::IndividualButton1, w.individualActions);
    putEach(Cmd::GoToMemory1, w.goToMemoryItems);
    put(Cmd::GoToLastMove, w.goToLastMoveItem);
    putEach(Cmd::MoveToMemory1, w.moveToMemoryItems);
    put(Cmd::ClearMemories, w.clearMemoriesItem);
    putEach(Cmd::CallPhrase1, w.callPhraseItems);
    put(Cmd::ClearPhrases, w.clearPhrasesItem);
    put(Cmd::EntryText, w.entryText);
    return c;
}
