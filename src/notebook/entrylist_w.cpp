#include "notebook/entrylist_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/grouplist.h"
#include "notebook/notebookedit.h"
#include "notebook/undohistory_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/entrystore.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "ui/codepagetextedit_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

EntryList::EntryList(const EntryListControls &controls, MainState &main, MainContext &ctx,
                     GroupList &groups, QObject *parent)
    : QObject(parent), controls_(controls), main_(main), ctx_(ctx), groups_(groups),
      model_(new NotebookModel(ctx.table, ctx.state, this)), groupLines_(new GroupLinesModel(this)),
      entryLines_(new EntryLinesModel(this))
{
    // One model of the notebook; each list shows its own lines of it.
    groupLines_->setSourceModel(model_);
    entryLines_->setSourceModel(model_);
    views_.groupList->setModel(groupLines_);
    views_.entryList->setModel(entryLines_);
    groups_.attach(*model_, *groupLines_);
    ctx_.tableChanged = [this] { model_->refresh(); };
    history_ = new UndoHistory(
        {.undo = controls_.undo, .redo = controls_.redo, .lock = controls_.lock}, main_, ctx_,
        [this](const Place &place) { showPlace(place); }, this);
    connect(model_, &NotebookModel::tableReread, history_, &UndoHistory::tableReread);

    // A date line is whatever the file's first line holds; it is never markup.
    controls_.date->setTextFormat(Qt::PlainText);
    // Every title is one line in one font. Without this, selecting the first
    // line after a fill measures all 999 titles, shaping each one's text.
    views_.entryList->setUniformItemSizes(true);

    connect(views_.entryList, &TitleListView::currentRowChanged, this,
            &EntryList::showSelectedEntry);
    for (TitleListView *list : {views_.groupList, views_.entryList})
        list->viewport()->installEventFilter(this);
}

EntryList::~EntryList()
{
    // The context outlives the lists; a change committed later has no lists to follow.
    ctx_.tableChanged = {};
}

int EntryList::selectedGroup() const
{
    return groups_.slotOfLine(views_.groupList->currentRow());
}

int EntryList::selectedLine() const
{
    return views_.entryList->currentRow();
}

int EntryList::lineCount() const
{
    return views_.entryList->count();
}

QString EntryList::selectedTitle() const
{
    return views_.entryList->currentText();
}

QString EntryList::selectedStoredTitle() const
{
    return views_.entryList->titles().storedName(views_.entryList->currentRow());
}

bool EntryList::onBlankLine() const
{
    return !selectedEntryItem().isValid();
}

int EntryList::entryCount() const
{
    return entryLines_->entryCount();
}

QModelIndex EntryList::selectedGroupItem() const
{
    return model_->groupIndex(selectedGroup());
}

QModelIndex EntryList::selectedEntryItem() const
{
    return views_.entryList->currentItem();
}

bool EntryList::locked() const
{
    return controls_.lock->isChecked();
}

void EntryList::showSelectedGroup()
{
    const int g = selectedGroup();
    {
        const QSignalBlocker quiet(views_.entryList);
        entryLines_->setGroup(model_->groupIndex(g));
        views_.entryList->setCurrentRow(-1);
    }
    views_.entryList->scrollToTop();
    selectEntryLine(0);

    // A missing or unreadable mask is an empty one, without a message.
    QString mask;
    if (g >= 0) {
        const EntryFile::MaskRead read = EntryStore::readMask(ctx_.state, ctx_.table, g);
        if (read.ok)
            mask = EntryStore::toTextBox(read.text);
    }
    {
        const QSignalBlocker quiet(controls_.mask); // filled by the program: no edit starts
        controls_.mask->setPlainText(mask);
    }
    main_.LoadedMask = boxText(controls_.mask);
}

void EntryList::showSelectedEntry()
{
    main_.FileMissing = false;
    const int g = selectedGroup();
    const int column = views_.entryList->currentRow() + 1;
    QPlainTextEdit *box = views_.text;
    if (g >= 0 && !onBlankLine() && column <= NoteTable::kMaxEntries &&
        refusedAsTooLarge(g, column))
        return;
    if (g >= 0 && !onBlankLine() && column <= NoteTable::kMaxEntries) {
        EntryFile::EntryRead read;
        {
            const QSignalBlocker quiet(box); // filled by the program: no edit starts
            BoxFill fill(box);
            read = EntryStore::readEntryForBox(ctx_.state, ctx_.table, g, column,
                                               [&fill](const QString &text) { fill.append(text); });
        }
        if (read.ok) {
            main_.ShownEntryFile = read.identity;
            controls_.date->setText(read.entry.date);
            Q_EMIT entryShown();
            return;
        }
    }
    main_.ShownEntryFile = {};
    controls_.date->setText(u"File not present!"_s);
    {
        const QSignalBlocker quiet(box);
        box->clear();
    }
    main_.FileMissing = true;
    Q_EMIT entryShown();
}

bool EntryList::refusedAsTooLarge(int g, int column)
{
    const QString path = StorePaths::entryFile(ctx_.state.storeFolder, ctx_.table.name(g),
                                               ctx_.table.cell(g, column));
    const qint64 size = QFileInfo(path).size();
    if (size <= EntryStore::kLargestShownEntry)
        return false;
    // Shown as no text, so that no edit can write over the file.
    main_.ShownEntryFile = {};
    main_.FileMissing = true;
    controls_.date->setText(u"File too large to show!"_s);
    {
        const QSignalBlocker quiet(views_.text);
        views_.text->clear();
    }
    Q_EMIT entryShown();
    ctx_.messages.message(
        Messages::Icon::Information, ctx_.words(Word::Caution),
        u"This entry's file is too large to show here: %1 MB; Plimsa shows entries of up to "
        "%2 MB. Open it in a text editor.\n\n%3"_s.arg(size >> 20)
            .arg(EntryStore::kLargestShownEntry >> 20)
            .arg(path));
    return true;
}

void EntryList::selectGroupLine(int line)
{
    if (views_.groupList->currentRow() == line)
        showSelectedGroup();
    else
        views_.groupList->setCurrentRow(line);
}

void EntryList::selectEntryLine(int line)
{
    TitleListView *list = views_.entryList;
    if (line >= list->count())
        line = list->count() - 1;
    if (list->currentRow() == line)
        showSelectedEntry();
    else
        list->setCurrentRow(line);
}

QStringList EntryList::storedTitles() const
{
    return views_.entryList->titles().storedNames();
}

QStringList EntryList::shownLines() const
{
    return views_.entryList->titles().shownNames();
}

void EntryList::setEntryColumn(NotebookChange &change, const QStringList &storedTitles)
{
    const int g = selectedGroup();
    if (g >= 0)
        NotebookEdit::setEntryColumn(change.table(), g, storedTitles);
}

void EntryList::showTitles(const QStringList &storedTitles, int select, bool keepLoaded)
{
    Q_UNUSED(storedTitles); // the table holds them: the lists follow it
    model_->refresh();
    {
        const QSignalBlocker quiet(views_.entryList);
        entryLines_->setGroup(selectedGroupItem());
    }
    showLine(select, keepLoaded);
}

void EntryList::showLine(int line, bool keepLoaded)
{
    if (!keepLoaded) {
        selectEntryLine(line);
        return;
    }
    // The same entry stays selected: its text stays loaded (an edit may be
    // open in it), and so does whether its file is missing.
    {
        const QSignalBlocker quiet(views_.entryList);
        views_.entryList->setCurrentRow(qMin(line, views_.entryList->count() - 1));
    }
    Q_EMIT entryShown();
}

bool EntryList::removeSelectedEntry(bool deleteFile)
{
    const int g = selectedGroup();
    const int s = views_.entryList->currentRow();
    if (g < 0 || onBlankLine())
        return false;
    QStringList titles = storedTitles();
    const QString storedTitle = titles.takeAt(s);
    NotebookChange change = ctx_.change();
    setEntryColumn(change, titles);
    // The file goes only once idx.dat no longer names it, so that a crash or a
    // failed index write never leaves an entry without its text.
    if (!change.commit())
        return false;
    if (deleteFile)
        change.removeEntryFile(ctx_.table.name(g), storedTitle);
    selectEntryLine(s);
    return true;
}

bool EntryList::insertNewEntry(int line, const QString &title)
{
    QStringList titles = storedTitles();
    titles.insert(line, NotebookModel::storedForm(title));
    {
        NotebookChange change = ctx_.change();
        setEntryColumn(change, titles);
        if (!change.commit())
            return false;
    }
    // It takes the selected line's place; it has no file to load.
    {
        const QSignalBlocker quiet(views_.entryList);
        views_.entryList->setCurrentRow(line);
    }
    markSelectedNew();
    return true;
}

bool EntryList::saveNewEntry(int line, const QString &title, const QString &date,
                             const QString &text)
{
    const int g = selectedGroup();
    if (g < 0)
        return false;
    const QString group = ctx_.table.name(g);
    const QString stored = NotebookModel::storedForm(title);
    QStringList titles = storedTitles();
    // Undone, the entry goes as a whole: the placeholder's line with it.
    NoteTable without = ctx_.table;
    QStringList others = titles;
    others.removeAt(line);
    NotebookEdit::setEntryColumn(without, g, others);
    titles[line] = stored;
    {
        NotebookChange change = ctx_.change();
        if (!change.writeNewEntry(group, stored, date, text))
            return false;
        setEntryColumn(change, titles);
        if (!change.commit())
            return false;
        // The next save compares the file this one wrote.
        main_.ShownEntryFile = change.writtenEntry();
    }
    model_->setNew(model_->entryIndex(g, line), false);
    Revision revision(without, ctx_.table);
    revision.entryAdded(group, stored);
    history_->record(u"New Entry"_s, std::move(revision), {group, line}, {group, line});
    return true;
}

bool EntryList::selectedIsNew() const
{
    return model_->isNew(selectedEntryItem());
}

void EntryList::markSelectedNew()
{
    model_->setNew(selectedEntryItem(), true);
}

void EntryList::insertSeparator(int line, const QString &title)
{
    const int g = selectedGroup();
    if (g < 0)
        return;
    const QString group = ctx_.table.name(g);
    QStringList titles = storedTitles();
    titles.insert(line, NotebookModel::storedForm(title));
    NoteTable after = ctx_.table;
    NotebookEdit::setEntryColumn(after, g, titles);
    const Place here{group, line};
    // Having no file, the line shows "File not present!".
    if (history_->run(u"Separator"_s, Revision(ctx_.table, after), here, here))
        showPlace(here);
}

void EntryList::showPlace(const Place &place)
{
    const int slot = place.group.isEmpty() ? -1 : ctx_.table.findGroup(place.group);
    int line = slot < 0 ? -1 : groups_.lineOfSlot(slot);
    if (line < 0)
        line = groups_.count() > 0 ? 0 : -1;
    const bool sameGroup = line >= 0 && views_.groupList->currentRow() == line &&
                           entryLines_->group() == model_->groupIndex(groups_.slotOfLine(line));
    if (!sameGroup || place.line < 0) {
        selectGroupLine(line);
        if (place.line < 0)
            return;
    }
    showLine(place.line,
             place.keepLoaded && sameGroup && views_.entryList->currentRow() == place.line);
}

void EntryList::popUpGroupMenu(const QPoint &pos)
{
    popUp(views_.groupList, pos, controls_.groupMenu, [this](int line) { selectGroupLine(line); });
}

void EntryList::popUpEntryMenu(const QPoint &pos)
{
    popUp(views_.entryList, pos, controls_.entryMenu, [this](int line) { selectEntryLine(line); });
}

void EntryList::popUp(TitleListView *list, const QPoint &pos, const ListMenu &menu,
                      const std::function<void(int)> &select)
{
    if (locked())
        return;
    if (const int line = list->lineAt(pos); line >= 0)
        select(line);
    // The pop-up acts on the line under the pointer; the window-wide items
    // stay in the menu bar only.
    const QList<QAction *> &hidden = menu.windowWide;
    QList<bool> wasVisible;
    for (QAction *action : hidden) {
        wasVisible.append(action->isVisible());
        action->setVisible(false);
    }
    menu.menu->exec(list->viewport()->mapToGlobal(pos));
    for (qsizetype i = 0; i < hidden.size(); ++i)
        hidden[i]->setVisible(wasVisible[i]);
}

bool EntryList::eventFilter(QObject *watched, QEvent *event)
{
    const bool groupList = watched == views_.groupList->viewport();
    if (!groupList && watched != views_.entryList->viewport())
        return false;
    TitleListView *list = groupList ? views_.groupList : views_.entryList;
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
                popUpGroupMenu(pos);
            else
                popUpEntryMenu(pos);
        }
        return true;
    }
    if (event->type() == QEvent::ContextMenu)
        return static_cast<QContextMenuEvent *>(event)->reason() == QContextMenuEvent::Mouse;
    return false;
}
