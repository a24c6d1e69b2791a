#include "ui/mainwidgets_w.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace {

QAction *item(QMenu *menu, const QString &name, bool checkable = false)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(name);
    action->setCheckable(checkable);
    return action;
}

template <std::size_t N>
void items(QMenu *menu, std::array<QAction *, N> &array, const QString &name)
{
    for (std::size_t i = 0; i < N; ++i)
        array[i] = item(menu, name + QString::number(i));
}

QMenu *menu(QMenuBar *bar, const QString &name)
{
    QMenu *m = bar->addMenu(QString());
    m->setObjectName(name);
    return m;
}

QMenu *submenu(QMenu *parent, const QString &name)
{
    QMenu *m = parent->addMenu(QString());
    m->setObjectName(name);
    return m;
}

} // namespace

void buildMainMenus(QMainWindow &window, MainWidgets &w)
{
    QMenuBar *bar = window.menuBar();

    w.fileMenu = menu(bar, u"mnuFile"_s);
    w.lockAction = item(w.fileMenu, u"mnuEditPermission"_s, true);
    w.fileMenu->addSeparator();
    w.hideItem = item(w.fileMenu, u"mnuHide"_s);
    w.exitItem = item(w.fileMenu, u"mnuExit"_s);

    w.groupMenu = menu(bar, u"mnuGroup"_s);
    w.newGroupItem = item(w.groupMenu, u"mnuGroupNew"_s);
    w.deleteGroupItem = item(w.groupMenu, u"mnuGroupDelete"_s);
    w.renameGroupItem = item(w.groupMenu, u"mnuGroupRename"_s);
    items(w.groupMenu, w.indentItems, u"mnuIndent"_s);
    w.clearTrashItem = item(w.groupMenu, u"mnuClearTrash"_s);
    w.viewMaskItem = item(w.groupMenu, u"mnuViewMask"_s, true);

    w.entryMenu = menu(bar, u"mnuEntry"_s);
    items(w.entryMenu, w.newTrashItems, u"mnuEntryCall"_s);
    w.renameEntryItem = item(w.entryMenu, u"mnuEntryRename"_s);
    w.changeGroupItem = item(w.entryMenu, u"mnuEntryChange"_s);
    w.insertMenu = submenu(w.entryMenu, u"mnuInsert"_s);
    items(w.insertMenu, w.insertItems, u"mnuInsertCall"_s);
    // Design captions; the word table has none for these two.
    w.insertItems[1]->setText(u"&- - - - - - -  [F11]"_s);
    w.insertItems[2]->setText(u"&======="_s);
    w.searchItem = item(w.entryMenu, u"mnuSearch"_s);
    w.editorMenu = submenu(w.entryMenu, u"mnuEditor"_s);
    items(w.editorMenu, w.editorItems, u"mnuEditorCall"_s);
    w.sortItem = item(w.entryMenu, u"mnuSortAll"_s);
    items(w.entryMenu, w.upDownItems, u"mnuSort"_s);
    // Undo and Redo of the notebook's commands, after the described items.
    w.entryMenu->addSeparator();
    w.undoItem = item(w.entryMenu, u"mnuUndo"_s);
    w.redoItem = item(w.entryMenu, u"mnuRedo"_s);

    w.goMoveMenu = menu(bar, u"mnuGo_Move"_s);
    w.goToMenu = submenu(w.goMoveMenu, u"mnuGoTo"_s);
    items(w.goToMenu, w.goToMemoryItems, u"mnuGoToMemo"_s);
    w.goToMenu->addSeparator();
    w.goToLastMoveItem = item(w.goToMenu, u"mnuGoToLastMove"_s);
    w.moveToMenu = submenu(w.goMoveMenu, u"mnuMoveTo"_s);
    items(w.moveToMenu, w.moveToMemoryItems, u"mnuMoveToMemo"_s);
    w.setMemoryMenu = submenu(w.goMoveMenu, u"mnuSetMem"_s);
    items(w.setMemoryMenu, w.setMemoryItems, u"mnuSetMemo"_s);
    w.goMoveMenu->addSeparator();
    w.clearMemoriesItem = item(w.goMoveMenu, u"mnuClearMemos"_s);

    w.optionsMenu = menu(bar, u"mnuOptions"_s);
    items(w.optionsMenu, w.settingsItems, u"mnuSettings"_s);
    w.settingsItems[3]->setCheckable(true); // sort mode Z --> A

    w.textMenu = menu(bar, u"mnuWrap"_s);
    w.wordWrapItem = item(w.textMenu, u"mnuWordwrap"_s, true);

    w.infoMenu = menu(bar, u"mnuInfo"_s);
    w.aboutItem = item(w.infoMenu, u"mnuAbout"_s);

    w.phrasesMenu = menu(bar, u"mnuPhrases"_s);
    w.callPhraseMenu = submenu(w.phrasesMenu, u"mnuCallTxtMem"_s);
    items(w.callPhraseMenu, w.callPhraseItems, u"mnuCallTxtMemoCall"_s);
    w.setPhraseMenu = submenu(w.phrasesMenu, u"mnuSetTxtMem"_s);
    items(w.setPhraseMenu, w.setPhraseItems, u"mnuSetTxtMemoSet"_s);
    w.phrasesMenu->addSeparator();
    w.howToItem = item(w.phrasesMenu, u"mnuHowTo"_s);
    w.phrasesMenu->addSeparator();
    w.clearPhrasesItem = item(w.phrasesMenu, u"mnuClearTxtMemos"_s);
    w.phrasesMenu->addSeparator();
    items(w.phrasesMenu, w.signDateTimeItems, u"mnuCallDate"_s);

    w.trayMenu = new QMenu(&window);
    w.trayMenu->setObjectName(u"mnuSystray"_s);
    items(w.trayMenu, w.trayItems, u"mnuSystrayCall"_s);
}
