#pragma once

#include "editing/listkeys.h"

#include <QObject>

struct MainContext;
struct MainState;
struct MainWidgets;
class GroupList;

// Stand-in for the list loads while the viewing work is elsewhere: the group
// click fills the entry list, the entry click loads the date and text, and
// the entry list's keys go to ListKeys. Replaced by the real one on merge.
class EntryList : public QObject
{
    Q_OBJECT
public:
    EntryList(const MainWidgets &w, MainState &main, MainContext &ctx, GroupList &groups,
              QObject *parent);

    void lstGroup_Click();
    void lstEntry_Click();
    void selectGroupLine(int line);
    void selectEntryLine(int line);
    void SyncEntryColumn();
    void RemoveSelectedEntry(bool deleteFile);

    ListKeys &listKeys() { return keys_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    const MainWidgets &w_;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
    ListKeys keys_;
};
