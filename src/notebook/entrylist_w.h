#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <functional>

struct MainContext;
struct MainState;
struct MainWidgets;
class NotebookChange;
class QAction;
class GroupList;
class QListWidget;
class QMenu;
class QPoint;

// The group and entry lists as the window shows them: the loads that run when a
// line becomes selected, the write-back of the entry list into the notebook,
// and the user events of the lists that are not keys of the key map.
class EntryList : public QObject
{
    Q_OBJECT
public:
    EntryList(const MainWidgets &w, MainState &main, MainContext &ctx, GroupList &groups,
              QObject *parent = nullptr);

    // Fills lstEntry with the selected group's titles and the closing " " line,
    // loads the mask, selects the first line.
    void lstGroup_Click();
    // Loads the selected entry's date line and text, or shows "File not present!".
    void lstEntry_Click();

    // Selects a line as the user would, so its click handler runs (also when the
    // line was selected already).
    void selectGroupLine(int line);
    void selectEntryLine(int line);

    // The entry list's lines, the closing blank line included.
    QStringList lines() const;
    // SyncEntryColumn: `lines` (shown titles, in list order) become the selected
    // group's titles in the change's table. The list itself changes only once
    // the change is committed (showLines).
    void SyncEntryColumn(NotebookChange &change, const QStringList &lines);
    // The list shows `lines` (its closing blank line included) in place of
    // what it showed, and `select` becomes the selected line, loaded unless
    // the entry stays the same one (`keepLoaded`).
    void showLines(const QStringList &lines, int select, bool keepLoaded);
    // Removes the selected line, writes the index, deletes the entry's file when
    // asked (only once idx.dat no longer names it) and selects the same line
    // again. False, with the list as it was, when idx.dat could not be written
    // (reported).
    bool RemoveSelectedEntry(bool deleteFile);

    // Group slot of the selected group line, -1 for none.
    int selectedGroup() const;
    // The selected line's text, "" for none.
    QString selectedTitle() const;
    // The blank " " line (or nothing) is selected: no entry.
    bool onBlankLine() const;

    // A press of the right button: the line under the pointer is selected, then
    // the list's menu pops up without its window-wide items.
    void lstGroup_MouseDown(const QPoint &pos);
    void lstEntry_MouseDown(const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void popUp(QListWidget *list, const QPoint &pos, QMenu *menu, const QList<QAction *> &hidden,
               const std::function<void(int)> &select);
    bool locked() const;

    const MainWidgets &w_;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
};
