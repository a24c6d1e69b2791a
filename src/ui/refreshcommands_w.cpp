#include "ui/refreshcommands_w.h"

#include "store/appstate.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QWidget>

using namespace Qt::StringLiterals;

CommandRefresh::CommandRefresh(const Inputs &inputs, const CommandControls &controls,
                               const MainState &main, AppState &state, const NoteTable &table,
                               QObject *parent)
    : QObject(parent), inputs_(inputs), controls_(controls), main_(main), state_(state),
      table_(table)
{
    setObjectName(u"commandRefresh"_s);
    connect(inputs.lock, &QAction::toggled, this, &CommandRefresh::refresh);
    connect(&main.edit, &EditState::modeChanged, this, &CommandRefresh::refresh);
    for (const TitleListView *list : {inputs.entryList, inputs.groupList}) {
        connect(list, &TitleListView::currentRowChanged, this, &CommandRefresh::refresh);
        followModel(list->model());
    }
}

void CommandRefresh::followModel(const QObject *model)
{
    const auto *m = qobject_cast<const QAbstractItemModel *>(model);
    connect(m, &QAbstractItemModel::modelReset, this, &CommandRefresh::refresh);
    connect(m, &QAbstractItemModel::layoutChanged, this, &CommandRefresh::refresh);
    connect(m, &QAbstractItemModel::rowsInserted, this, &CommandRefresh::refresh);
    connect(m, &QAbstractItemModel::rowsRemoved, this, &CommandRefresh::refresh);
    connect(m, &QAbstractItemModel::rowsMoved, this, &CommandRefresh::refresh);
    connect(m, &QAbstractItemModel::dataChanged, this, &CommandRefresh::refresh);
}

CommandInput CommandRefresh::input() const
{
    const TitleListView *entries = inputs_.entryList;
    const TitleListView *groups = inputs_.groupList;
    CommandInput in;
    in.editing = main_.edit.editing();
    in.locked = inputs_.lock->isChecked();
    in.fileMissing = main_.FileMissing;
    in.entryLine = entries->currentRow();
    in.entryCount = entries->titles().itemCount();
    in.entryText = entries->currentItem().isValid() ? entries->currentText() : QString();
    in.groupLine = groups->currentRow();
    in.groupLineCount = groups->count();
    in.groupTitle = groups->currentText();
    in.inTrash = in.groupTitle == u"Trash"_s;
    in.emptyTrashExists = emptyTrashExists(table_);
    in.hideYGroups = state_.hideYGroups();
    in.phraseMemory = state_.prefs.PhraseMemory;
    in.positionMemory = state_.prefs.PositionMemory;
    in.lastMovePosition = main_.LastMovePosition;
    return in;
}

void CommandRefresh::refresh()
{
    const CommandState result = commandStates(input(), table_);
    for (int k = 0; k < kCmdCount; ++k) {
        const std::optional<bool> on = result[Cmd(k)];
        QObject *control = controls_[std::size_t(k)];
        if (!on || !control)
            continue;
        if (auto *action = qobject_cast<QAction *>(control))
            action->setEnabled(*on);
        else if (auto *widget = qobject_cast<QWidget *>(control))
            widget->setEnabled(*on);
    }
    if (result.memoriesRepaired) {
        state_.prefs.PositionMemory = result.positionMemory;
        Q_EMIT memoriesRepaired();
    }
}
