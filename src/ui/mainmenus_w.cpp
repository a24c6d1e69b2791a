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

    w.mnuFile = menu(bar, u"mnuFile"_s);
    w.mnuEditPermission = item(w.mnuFile, u"mnuEditPermission"_s, true);
    w.mnuFile->addSeparator();
    w.mnuHide = item(w.mnuFile, u"mnuHide"_s);
    w.mnuExit = item(w.mnuFile, u"mnuExit"_s);

    w.mnuGroup = menu(bar, u"mnuGroup"_s);
    w.mnuGroupNew = item(w.mnuGroup, u"mnuGroupNew"_s);
    w.mnuGroupDelete = item(w.mnuGroup, u"mnuGroupDelete"_s);
    w.mnuGroupRename = item(w.mnuGroup, u"mnuGroupRename"_s);
    items(w.mnuGroup, w.mnuIndent, u"mnuIndent"_s);
    w.mnuClearTrash = item(w.mnuGroup, u"mnuClearTrash"_s);
    w.mnuViewMask = item(w.mnuGroup, u"mnuViewMask"_s, true);

    w.mnuEntry = menu(bar, u"mnuEntry"_s);
    items(w.mnuEntry, w.mnuEntryCall, u"mnuEntryCall"_s);
    w.mnuEntryRename = item(w.mnuEntry, u"mnuEntryRename"_s);
    w.mnuEntryChange = item(w.mnuEntry, u"mnuEntryChange"_s);
    w.mnuInsert = submenu(w.mnuEntry, u"mnuInsert"_s);
    items(w.mnuInsert, w.mnuInsertCall, u"mnuInsertCall"_s);
    // Design captions; the word table has none for these two.
    w.mnuInsertCall[1]->setText(u"&- - - - - - -  [F11]"_s);
    w.mnuInsertCall[2]->setText(u"&======="_s);
    w.mnuSearch = item(w.mnuEntry, u"mnuSearch"_s);
    w.mnuEditor = submenu(w.mnuEntry, u"mnuEditor"_s);
    items(w.mnuEditor, w.mnuEditorCall, u"mnuEditorCall"_s);
    w.mnuSortAll = item(w.mnuEntry, u"mnuSortAll"_s);
    items(w.mnuEntry, w.mnuSort, u"mnuSort"_s);

    w.mnuGo_Move = menu(bar, u"mnuGo_Move"_s);
    w.mnuGoTo = submenu(w.mnuGo_Move, u"mnuGoTo"_s);
    items(w.mnuGoTo, w.mnuGoToMemo, u"mnuGoToMemo"_s);
    w.mnuGoTo->addSeparator();
    w.mnuGoToLastMove = item(w.mnuGoTo, u"mnuGoToLastMove"_s);
    w.mnuMoveTo = submenu(w.mnuGo_Move, u"mnuMoveTo"_s);
    items(w.mnuMoveTo, w.mnuMoveToMemo, u"mnuMoveToMemo"_s);
    w.mnuSetMem = submenu(w.mnuGo_Move, u"mnuSetMem"_s);
    items(w.mnuSetMem, w.mnuSetMemo, u"mnuSetMemo"_s);
    w.mnuGo_Move->addSeparator();
    w.mnuClearMemos = item(w.mnuGo_Move, u"mnuClearMemos"_s);

    w.mnuOptions = menu(bar, u"mnuOptions"_s);
    items(w.mnuOptions, w.mnuSettings, u"mnuSettings"_s);
    w.mnuSettings[3]->setCheckable(true); // sort mode Z --> A

    w.mnuWrap = menu(bar, u"mnuWrap"_s);
    w.mnuWordwrap = item(w.mnuWrap, u"mnuWordwrap"_s, true);

    w.mnuInfo = menu(bar, u"mnuInfo"_s);
    w.mnuAbout = item(w.mnuInfo, u"mnuAbout"_s);

    w.mnuPhrases = menu(bar, u"mnuPhrases"_s);
    w.mnuCallTxtMem = submenu(w.mnuPhrases, u"mnuCallTxtMem"_s);
    items(w.mnuCallTxtMem, w.mnuCallTxtMemoCall, u"mnuCallTxtMemoCall"_s);
    w.mnuSetTxtMem = submenu(w.mnuPhrases, u"mnuSetTxtMem"_s);
    items(w.mnuSetTxtMem, w.mnuSetTxtMemoSet, u"mnuSetTxtMemoSet"_s);
    w.mnuPhrases->addSeparator();
    w.mnuHowTo = item(w.mnuPhrases, u"mnuHowTo"_s);
    w.mnuPhrases->addSeparator();
    w.mnuClearTxtMemos = item(w.mnuPhrases, u"mnuClearTxtMemos"_s);
    w.mnuPhrases->addSeparator();
    items(w.mnuPhrases, w.mnuCallDate, u"mnuCallDate"_s);

    w.mnuSystray = new QMenu(&window);
    w.mnuSystray->setObjectName(u"mnuSystray"_s);
    items(w.mnuSystray, w.mnuSystrayCall, u"mnuSystrayCall"_s);
}
