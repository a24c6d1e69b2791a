#pragma once

#include "editing/listkeys.h"

#include <QList>
#include <QObject>
#include <functional>

struct MainContext;
struct MainState;
struct MainWidgets;
class EditModes;
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

    // lstEntry_KeyDown: each subsystem adds the list keys it owns; the entry
    // list's key presses go there (the group list's too, but for Up and Down).
    ListKeys &listKeys() { return keys_; }

    // Enter in the group list and a double-click on an entry start the text edit.
    void setEditModes(EditModes *editModes) { editModes_ = editModes; }
    // Enter in the lists.
    void addKeys(ListKeys &keys);

    // Fills lstEntry with the selected group's titles and the closing " " line,
    // loads the mask, selects the first line.
    void lstGroup_Click();
    // Loads the selected entry's date line and text, or shows "File not present!".
    void lstEntry_Click();

    // Selects a line as the user would, so its click handler runs (also when the
    // line was selected already).
    void selectGroupLine(int line);
    void selectEntryLine(int line);

    // The entry list's lines become the selected group's titles; then idx.dat.
    // False when idx.dat could not be written (reported).
    bool SyncEntryColumn();
    // Removes the selected line, writes the index, deletes the entry's file when
    // asked (only once idx.dat no longer names it) and selects the same line again.
    void RemoveSelectedEntry(bool deleteFile);

    // Group slot of the selected group line, -1 for none.
    int selectedGroup() const;
    // The selected line's text, "" for none.
    QString selectedTitle() const;
    // The blank " " line (or nothing) is selected: no entry.
    bool onBlankLine() const;

    void lstGroup_KeyPress(int character);
    void lstEntry_DblClick();
    // A press of the right button: the line under the pointer is selected, then
    // the list's menu pops up without its window-wide items.
    void lstGroup_MouseDown(const QPoint &pos);
    void lstEntry_MouseDown(const QPoint &pos);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void startTextEditFromList();
    void popUp(QListWidget *list, const QPoint &pos, QMenu *menu, const QList<QAction *> &hidden,
               const std::function<void(int)> &select);
    bool locked() const;
    void RefreshCommands();

    const MainWidgets &w_;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
    ListKeys keys_;
    EditModes *editModes_ = nullptr;
};
