#include "notebook/organizing_w.h"

#include "notebook/dragdrop_w.h"
#include "notebook/entrycommands_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/groupcommands_w.h"
#include "notebook/notebookview_w.h"
#include "notebook/ordering_w.h"
#include "notebook/undohistory_w.h"
#include "ui/keyhandlers_w.h"

namespace {

// Owns the view the commands share, for as long as the window lives.
class NotebookViewHolder : public QObject
{
public:
    NotebookViewHolder(const NotebookControls &controls, MainState &main, MainContext &ctx,
                       GroupList &groups, EntryList &entries, QObject *parent)
        : QObject(parent), view(controls, main, ctx, groups, entries)
    {}
    NotebookView view;
};

} // namespace

Organizing installOrganizing(const NotebookControls &controls, MainState &main, MainContext &ctx,
                             GroupList &groups, EntryList &entries, KeyHandlers &keys,
                             QObject *window)
{
    NotebookView &view =
        (new NotebookViewHolder(controls, main, ctx, groups, entries, window))->view;
    auto *entryCommands = new EntryCommands(view, window);
    auto *ordering = new Ordering(view, *entryCommands, keys, window);
    new GroupCommands(view, window);
    new DragDrop(view, *entryCommands, *ordering, window);
    // Ctrl+Z, Ctrl+Shift+Z and Ctrl+Y in the lists; the text boxes keep
    // theirs for the editing of a text.
    UndoHistory &history = entries.history();
    keys.bind(KeyMap::Command::Undo, [&history](int, Qt::KeyboardModifiers) {
        history.undo();
        return true;
    });
    keys.bind(KeyMap::Command::Redo, [&history](int, Qt::KeyboardModifiers) {
        history.redo();
        return true;
    });
    return {view, *entryCommands};
}
