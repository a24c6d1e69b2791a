#pragma once

#include <QObject>
#include <QString>
#include <array>

struct MainContext;
struct MainState;
class EntryCommands;
class EntryList;
class GroupList;
class KeyHandlers;
class QAction;
class QMenu;
class TitleListView;
class Words;

// The Go/Move menu: go to, save to and move to the four memories, go to the
// last position before a move, clear them all.
struct PositionMemoryMenus
{
    QMenu *goMove = nullptr;
    QMenu *moveTo = nullptr;
    QMenu *saveTo = nullptr;
    std::array<QAction *, 4> goToMemory = {};
    std::array<QAction *, 4> saveMemory = {};
    std::array<QAction *, 4> moveToMemory = {};
    QAction *goToLastMove = nullptr;
    QAction *clear = nullptr;
};

// What the position memories use of the window.
struct PositionMemoryControls
{
    PositionMemoryMenus menus;
    TitleListView *groupList = nullptr;
    TitleListView *entryList = nullptr;
    QAction *lock = nullptr;
};

// ShowPosMemories: the twelve memory items show their prefix and what memories
// 1..4 hold.
void ShowPosMemories(const PositionMemoryMenus &menus, const Words &words,
                     const std::array<QString, 4> &PositionMemory);

// The four position memories and the last position before a move: their
// menu items and the keys F5 to F8 (go to, with Shift save, with Ctrl move
// the entry there) and F9 in the lists. Memories 1..4 are written to
// pref.dat the moment they change.
class PositionMemories : public QObject
{
    Q_OBJECT
public:
    PositionMemories(const PositionMemoryControls &controls, MainState &main, MainContext &ctx,
                     GroupList &groups, EntryCommands &entryCommands, KeyHandlers &keys,
                     QObject *parent);

    // k = 0..3 the user's memories, 4 the group the last moved entry left.
    void goToMemory(int k);
    void goToLastMove() { goToMemory(4); }
    void saveMemory(int k);
    void moveToMemory(int k);
    void clearMemories();
    // Explains why Ctrl+F(n + 5) moved nothing.
    void ShowMoveRefusal(int n);

Q_SIGNALS:
    // A memory was set or the memories cleared (and stored).
    void changed();

private:
    void connectMenus();
    void bindKeys(KeyHandlers &keys);
    bool memoryKey(int key, Qt::KeyboardModifiers modifiers);
    QString memory(int k) const;
    // After a change of memories 1..4: captions, pref.dat, the command state.
    void memoriesChanged();

    const PositionMemoryControls controls_;
    const PositionMemoryMenus &menus_ = controls_.menus;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
    EntryCommands &entryCommands_;
};
