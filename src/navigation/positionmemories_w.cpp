#include "navigation/positionmemories_w.h"

#include "i18n/captiontext.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "navigation/memorycaptions.h"
#include "navigation/moverefusal.h"
#include "notebook/entrycommands_w.h"
#include "notebook/grouplist.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/memoryplace.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QMenu>

void ShowPosMemories(const PositionMemoryMenus &menus, const Words &words,
                     const std::array<QString, 4> &PositionMemory)
{
    using namespace MemoryCaptions;
    for (int n = 0; n < 4; ++n) {
        const QString &memory = PositionMemory[n];
        menus.goToMemory[n]->setText(captionWithText(goToPrefix(words, n), shownMemory(memory)));
        menus.saveMemory[n]->setText(captionWithText(setPrefix(words, n), shownMemory(memory)));
        menus.moveToMemory[n]->setText(
            captionWithText(moveToPrefix(words, n), shownGroupPart(memory)));
    }
}

PositionMemories::PositionMemories(const PositionMemoryControls &controls, MainState &main,
                                   MainContext &ctx, GroupList &groups,
                                   EntryCommands &entryCommands, KeyHandlers &keys, QObject *parent)
    : QObject(parent), controls_(controls), main_(main), ctx_(ctx), groups_(groups),
      entryCommands_(entryCommands)
{
    setObjectName(QStringLiteral("positionMemories"));
    connectMenus();
    bindKeys(keys);
}

void PositionMemories::connectMenus()
{
    for (int n = 0; n < 4; ++n) {
        connect(menus_.goToMemory[n], &QAction::triggered, this, [this, n] { goToMemory(n); });
        connect(menus_.saveMemory[n], &QAction::triggered, this, [this, n] { saveMemory(n); });
        connect(menus_.moveToMemory[n], &QAction::triggered, this, [this, n] { moveToMemory(n); });
    }
    connect(menus_.goToLastMove, &QAction::triggered, this, &PositionMemories::goToLastMove);
    connect(menus_.clear, &QAction::triggered, this, &PositionMemories::clearMemories);
}

void PositionMemories::bindKeys(KeyHandlers &keys)
{
    keys.bind(KeyMap::Command::PositionMemory, [this](int key, Qt::KeyboardModifiers modifiers) {
        return memoryKey(key, modifiers);
    });
    keys.bind(KeyMap::Command::GoToLastMove, [this](int, Qt::KeyboardModifiers) {
        if (!main_.LastMovePosition.isEmpty())
            goToMemory(4);
        return true;
    });
}

bool PositionMemories::memoryKey(int key, Qt::KeyboardModifiers modifiers)
{
    using KeyMap::Modifiers;
    const int n = key - Qt::Key_F5;
    Messages &messages = ctx_.messages;
    if (!menus_.goMove->menuAction()->isEnabled()) {
        messages.beep();
    } else if (KeyMap::matches(Modifiers::None, modifiers)) {
        if (menus_.goToMemory[n]->isEnabled())
            menus_.goToMemory[n]->trigger();
        else
            messages.beep();
    } else if (KeyMap::matches(Modifiers::ShiftOnly, modifiers)) {
        if (menus_.saveTo->menuAction()->isEnabled() && menus_.saveMemory[n]->isEnabled())
            menus_.saveMemory[n]->trigger();
        else
            messages.beep();
    } else if (KeyMap::matches(Modifiers::CtrlOnly, modifiers)) {
        if (menus_.moveTo->menuAction()->isEnabled() && menus_.moveToMemory[n]->isEnabled())
            menus_.moveToMemory[n]->trigger();
        else
            ShowMoveRefusal(n);
    }
    return true;
}

QString PositionMemories::memory(int k) const
{
    return k == 4 ? main_.LastMovePosition : ctx_.state.prefs.PositionMemory[k];
}

void PositionMemories::goToMemory(int k)
{
    if (k < 0 || k > 4)
        return;
    const QString m = memory(k);
    if (m.isEmpty() || (k < 4 && m == MemoryPlace::freeMemory()))
        return;
    // Nothing happens where the memory names nothing the lists show; the
    // command state keeps such memories from being offered.
    const MemoryPlace::Place place = MemoryPlace::find(ctx_.table, m, ctx_.state.hideYGroups());
    const int line = groups_.lineOfSlot(place.group);
    if (place.misread || line < 0)
        return;
    // Selecting a line loads it; a line already selected stays as it is.
    if (controls_.groupList->currentRow() != line)
        controls_.groupList->setCurrentRow(line);
    if (place.column > 0 && controls_.entryList->currentRow() != place.column - 1)
        controls_.entryList->setCurrentRow(place.column - 1);
}

void PositionMemories::saveMemory(int k)
{
    if (k < 0 || k > 3 || controls_.groupList->currentRow() < 0)
        return;
    ctx_.state.prefs.PositionMemory[k] =
        controls_.groupList->currentText() + u'/' + controls_.entryList->currentText();
    memoriesChanged();
}

void PositionMemories::moveToMemory(int k)
{
    if (k < 0 || k > 3)
        return;
    const MemoryPlace::Place place =
        MemoryPlace::find(ctx_.table, memory(k), ctx_.state.hideYGroups());
    const int line = groups_.lineOfSlot(place.group);
    if (place.misread || line < 0)
        return;
    // The move's target is chosen here: no group dialog opens.
    entryCommands_.moveEntry(controls_.entryList->currentItem(),
                             groups_.model()->groupIndex(place.group));
}

void PositionMemories::clearMemories()
{
    ctx_.state.prefs.PositionMemory.fill(MemoryPlace::freeMemory());
    memoriesChanged();
}

void PositionMemories::ShowMoveRefusal(int n)
{
    MoveRefusal refusal;
    refusal.n = n;
    refusal.memory = ctx_.state.prefs.PositionMemory[n];
    refusal.selectedGroup = controls_.groupList->currentText();
    refusal.locked = controls_.lock->isChecked();
    refusal.fileMissing = main_.FileMissing;
    refusal.hideYGroups = ctx_.state.hideYGroups();
    ctx_.messages.message(Messages::Icon::None, ctx_.words(Word::Message),
                          refusal.text(ctx_.words));
}

void PositionMemories::memoriesChanged()
{
    ShowPosMemories(menus_, ctx_.words, ctx_.state.prefs.PositionMemory);
    reportWrite(ctx_.reports, ctx_.store.Save_pref());
    Q_EMIT changed();
}
