#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

#include "ui/mainviews_w.h"

struct MainContext;
struct MainState;
struct Place;
class EntryLinesModel;
class GroupLinesModel;
class NotebookChange;
class NotebookModel;
class UndoHistory;
class QAction;
class QLabel;
class QPlainTextEdit;
class GroupList;
class TitleListView;
class QMenu;
class QPoint;

// A list's pop-up menu: the menu bar's menu without its window-wide items.
struct ListMenu
{
    QMenu *menu = nullptr;
    QList<QAction *> windowWide;
};

// What the lists and their loads use of the window.
struct EntryListControls
{
    MainViews views;
    QLabel *date = nullptr;
    QPlainTextEdit *mask = nullptr;
    QAction *lock = nullptr;
    ListMenu groupMenu;
    ListMenu entryMenu;
    QAction *undo = nullptr;
    QAction *redo = nullptr;
};

// The group and entry lists as the window shows them: views of one model of
// the notebook, which follows every change of the table; the loads that run
// when a line becomes selected, the write-back of the entry list into the
// notebook, the history of the commands, and the user events of the lists
// that are not keys of the key map.
class EntryList : public QObject
{
    Q_OBJECT
public:
    EntryList(const EntryListControls &controls, MainState &main, MainContext &ctx,
              GroupList &groups, QObject *parent = nullptr);
    ~EntryList() override;

    NotebookModel &model() const { return *model_; }
    UndoHistory &history() const { return *history_; }
    // The lists go where a command left the notebook (see Place).
    void showPlace(const Place &place);

    // Shows the selected group: its titles and the closing " " line in the
    // entry list, its mask; selects the first line.
    void showSelectedGroup();
    // Shows the selected entry's date line and text, or "File not present!".
    void showSelectedEntry();

    // Selects a line as the user would, so that it is shown (also when the
    // line was selected already).
    void selectGroupLine(int line);
    void selectEntryLine(int line);

    // The selected group's titles as stored, in list order.
    QStringList storedTitles() const;
    // The entry list's lines as shown, the closing blank line included.
    QStringList shownLines() const;
    // `storedTitles` become the selected group's titles in the change's table.
    // The list itself changes only once the change is committed (showTitles).
    void setEntryColumn(NotebookChange &change, const QStringList &storedTitles);
    // The list shows `storedTitles` (and the closing blank line) in place of
    // what it showed, and `select` becomes the selected line, shown again
    // unless the entry stays the same one (`keepLoaded`).
    void showTitles(const QStringList &storedTitles, int select, bool keepLoaded);
    // Removes the selected line, writes the index, deletes the entry's file when
    // asked (only once idx.dat no longer names it) and selects the same line
    // again. False, with the list as it was, when idx.dat could not be written
    // (reported).
    bool removeSelectedEntry(bool deleteFile);

    // A new entry: a line `title` (the placeholder) on `line`, stored at once,
    // selected without a load, and new until its first save. False when
    // idx.dat could not be written (reported).
    bool insertNewEntry(int line, const QString &title);
    // The new entry on `line` takes the title the user gave and its text file:
    // the file first, then idx.dat. Kept in the history as the entry's
    // creation. False after a report, with everything as it was.
    bool saveNewEntry(int line, const QString &title, const QString &date, const QString &text);
    bool selectedIsNew() const;
    // The selected line is a new entry again (its placeholder put back).
    void markSelectedNew();
    // A separator line `title`, without a file, on `line`, and shown.
    void insertSeparator(int line, const QString &title);

    // Group slot of the selected group line, -1 for none.
    int selectedGroup() const;
    // The selected line of the entry list, -1 for none; its lines, the
    // closing blank line included.
    int selectedLine() const;
    int lineCount() const;
    // The selected line as shown, "" for none.
    QString selectedTitle() const;
    // The selected title as stored, "" for the closing line or none.
    QString selectedStoredTitle() const;
    // The closing blank line (or nothing) is selected: no entry.
    bool onBlankLine() const;
    // Entries of the shown group (the lines but the closing one).
    int entryCount() const;
    // The notebook items of the selection: the group; the entry (invalid on
    // the closing line).
    QModelIndex selectedGroupItem() const;
    QModelIndex selectedEntryItem() const;

    // A press of the right button: the line under the pointer is selected, then
    // the list's menu pops up without its window-wide items.
    void popUpGroupMenu(const QPoint &pos);
    void popUpEntryMenu(const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

Q_SIGNALS:
    // The selected line's entry is shown: its text, or that it has no file
    // (or one too large to show); also when the same entry stays shown.
    void entryShown();

private:
    // Line `line` selected: shown, or silently where the same entry stays.
    void showLine(int line, bool keepLoaded);
    void popUp(TitleListView *list, const QPoint &pos, const ListMenu &menu,
               const std::function<void(int)> &select);
    bool locked() const;
    // An entry file too large to show: refused by name, shown as no text.
    bool refusedAsTooLarge(int g, int column);

    const EntryListControls controls_;
    const MainViews &views_ = controls_.views;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
    NotebookModel *model_;
    GroupLinesModel *groupLines_;
    EntryLinesModel *entryLines_;
    UndoHistory *history_;
};
