#include "notebook/entrylist_w.h"

#include "notebook/grouplist.h"
#include "notebook/notebookedit.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/entrystore.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "ui/codepagetextedit_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

EntryList::EntryList(const MainWidgets &w, MainState &main, MainContext &ctx, GroupList &groups,
                     QObject *parent)
    : QObject(parent), w_(w), main_(main), ctx_(ctx), groups_(groups)
{
    // A date line is whatever the file's first line holds; it is never markup.
    w_.lblDate->setTextFormat(Qt::PlainText);
    // Every title is one line in one font. Without this, selecting the first
    // line after a fill measures all 999 titles, shaping each one's text.
    w_.lstEntry->setUniformItemSizes(true);

    connect(w_.lstEntry, &QListWidget::currentRowChanged, this, &EntryList::lstEntry_Click);
    for (QListWidget *list : {w_.lstGroup, w_.lstEntry})
        list->viewport()->installEventFilter(this);
}

int EntryList::selectedGroup() const
{
    return groups_.slotOfLine(w_.lstGroup->currentRow());
}

QString EntryList::selectedTitle() const
{
    const QListWidgetItem *item = w_.lstEntry->currentItem();
    return item ? item->text() : QString();
}

bool EntryList::onBlankLine() const
{
    return w_.lstEntry->currentRow() < 0 || selectedTitle() == u" "_s;
}

bool EntryList::locked() const
{
    return w_.chckEdit->isChecked();
}

void EntryList::lstGroup_Click()
{
    const int g = selectedGroup();
    QStringList lines;
    if (g >= 0) {
        const int count = ctx_.table.entryCount(g);
        lines.reserve(count + 1);
        for (int e = 1; e <= count; ++e)
            lines.append(InDOS(ctx_.table.cell(g, e)));
    }
    lines.append(u" "_s);
    {
        const QSignalBlocker quiet(w_.lstEntry);
        w_.lstEntry->clear();
        w_.lstEntry->addItems(lines);
    }
    selectEntryLine(0);

    // A missing or unreadable mask is an empty one, without a message.
    QString mask;
    if (g >= 0) {
        const EntryFile::MaskRead read = EntryStore::readMask(ctx_.state, ctx_.table, g);
        if (read.ok)
            mask = EntryStore::toTextBox(read.text);
    }
    main_.Loading = true;
    w_.txtMask->setPlainText(mask);
    main_.Loading = false;
    main_.LoadedMask = boxText(w_.txtMask);
}

void EntryList::lstEntry_Click()
{
    main_.FileMissing = false;
    // Once the entry is loaded the refresh runs again and sets every state
    // anew; before that it matters only when no load follows.
    if (main_.SuppressEntryLoad) {
        ctx_.RefreshCommands();
        return;
    }

    const int g = selectedGroup();
    const int column = w_.lstEntry->currentRow() + 1;
    QPlainTextEdit *box = w_.txtText[std::size_t(ctx_.state.TextBoxIndex)];
    if (g >= 0 && !onBlankLine() && column <= NoteTable::kMaxEntries) {
        const EntryFile::EntryRead read = EntryStore::readEntry(ctx_.state, ctx_.table, g, column);
        if (read.ok) {
            w_.lblDate->setText(read.entry.date);
            main_.Loading = true;
            box->setPlainText(EntryStore::toTextBox(read.entry.text));
            main_.Loading = false;
            ctx_.RefreshCommands();
            return;
        }
    }
    w_.lblDate->setText(u"File not present!"_s);
    main_.Loading = true;
    box->clear();
    main_.Loading = false;
    main_.FileMissing = true;
    ctx_.RefreshCommands();
}

void EntryList::selectGroupLine(int line)
{
    if (w_.lstGroup->currentRow() == line)
        lstGroup_Click();
    else
        w_.lstGroup->setCurrentRow(line);
}

void EntryList::selectEntryLine(int line)
{
    QListWidget *list = w_.lstEntry;
    if (line >= list->count())
        line = list->count() - 1;
    if (list->currentRow() == line)
        lstEntry_Click();
    else
        list->setCurrentRow(line);
}

QStringList EntryList::lines() const
{
    QStringList lines;
    lines.reserve(w_.lstEntry->count());
    for (int i = 0; i < w_.lstEntry->count(); ++i)
        lines.append(w_.lstEntry->item(i)->text());
    return lines;
}

void EntryList::SyncEntryColumn(NotebookChange &change, const QStringList &lines)
{
    const int g = selectedGroup();
    if (g >= 0)
        NotebookEdit::syncEntryColumn(change.table(), g, lines);
}

void EntryList::showLines(const QStringList &lines, int select, bool keepLoaded)
{
    QListWidget *list = w_.lstEntry;
    {
        const QSignalBlocker quiet(list);
        // Lines change in place where they can: a list of 999 lines is not
        // rebuilt for a move of one line.
        while (list->count() > lines.size())
            delete list->takeItem(list->count() - 1);
        for (int i = 0; i < lines.size(); ++i) {
            if (i < list->count())
                list->item(i)->setText(lines.at(i));
            else
                list->addItem(lines.at(i));
        }
    }
    if (!keepLoaded) {
        selectEntryLine(select);
        return;
    }
    // The same entry stays selected: its text stays loaded, and so does
    // whether its file is missing.
    const bool missing = main_.FileMissing;
    main_.SuppressEntryLoad = true;
    selectEntryLine(select);
    main_.SuppressEntryLoad = false;
    main_.FileMissing = missing;
    ctx_.RefreshCommands();
}

bool EntryList::RemoveSelectedEntry(bool deleteFile)
{
    const int g = selectedGroup();
    const int s = w_.lstEntry->currentRow();
    if (g < 0 || onBlankLine())
        return false;
    QStringList shown = lines();
    const QString storedTitle = OutDOS(shown.takeAt(s));
    NotebookChange change = ctx_.change();
    SyncEntryColumn(change, shown);
    // The file goes only once idx.dat no longer names it, so that a crash or a
    // failed index write never leaves an entry without its text.
    if (!change.commit())
        return false;
    if (deleteFile)
        change.removeEntryFile(ctx_.table.name(g), storedTitle);
    showLines(shown, s, false);
    return true;
}

void EntryList::lstGroup_MouseDown(const QPoint &pos)
{
    popUp(w_.lstGroup, pos, w_.mnuGroup, {w_.mnuGroupNew, w_.mnuClearTrash, w_.mnuViewMask},
          [this](int line) { selectGroupLine(line); });
}

void EntryList::lstEntry_MouseDown(const QPoint &pos)
{
    popUp(w_.lstEntry, pos, w_.mnuEntry,
          {w_.mnuEntryCall[0], w_.mnuSortAll, w_.mnuSearch, w_.mnuEditorCall[1]},
          [this](int line) { selectEntryLine(line); });
}

void EntryList::popUp(QListWidget *list, const QPoint &pos, QMenu *menu,
                      const QList<QAction *> &hidden, const std::function<void(int)> &select)
{
    if (locked())
        return;
    if (QListWidgetItem *item = list->itemAt(pos))
        select(list->row(item));
    // The pop-up acts on the line under the pointer; the window-wide items
    // stay in the menu bar only.
    QList<bool> wasVisible;
    for (QAction *action : hidden) {
        wasVisible.append(action->isVisible());
        action->setVisible(false);
    }
    menu->exec(list->viewport()->mapToGlobal(pos));
    for (qsizetype i = 0; i < hidden.size(); ++i)
        hidden[i]->setVisible(wasVisible[i]);
}

bool EntryList::eventFilter(QObject *watched, QEvent *event)
{
    const bool groupList = watched == w_.lstGroup->viewport();
    if (!groupList && watched != w_.lstEntry->viewport())
        return false;
    QListWidget *list = groupList ? w_.lstGroup : w_.lstEntry;
    if (!list->isEnabled())
        return false;
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::RightButton)
            return false;
        // The list itself would select the line on a right press, also while locked.
        if (event->type() == QEvent::MouseButtonPress) {
            const QPoint pos = mouse->position().toPoint();
            if (groupList)
                lstGroup_MouseDown(pos);
            else
                lstEntry_MouseDown(pos);
        }
        return true;
    }
    if (event->type() == QEvent::ContextMenu)
        return static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse;
    return false;
}
