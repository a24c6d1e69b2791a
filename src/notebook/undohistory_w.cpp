#include "notebook/undohistory_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"

#include <QAction>
#include <QUndoCommand>
#include <QUndoStack>

using namespace Qt::StringLiterals;

namespace {

// Commands are kept as long as a user goes back in one sitting; each holds
// two copies of the table that share the rows it did not change.
constexpr int kUndoLimit = 100;

} // namespace

// One command of the history: its revision and where the lists go after it.
class NotebookCommand : public QUndoCommand
{
public:
    NotebookCommand(UndoHistory &history, const QString &text, Revision revision, const Place &done,
                    const Place &undone)
        : QUndoCommand(text), history_(history), revision_(std::move(revision)), done_(done),
          undone_(undone)
    {}

    // Carried out before it is pushed, so a command that fails never reaches
    // the stack (nor takes the redo steps from it): the push's redo is skipped.
    Revision::Outcome firstRun()
    {
        skipRedo_ = true;
        return history_.apply(revision_, true);
    }
    void pushedDone() { skipRedo_ = true; }

    void redo() override
    {
        if (skipRedo_) {
            skipRedo_ = false;
            return;
        }
        go(true);
    }
    void undo() override { go(false); }
    const Revision &revision() const { return revision_; }

private:
    void go(bool forward)
    {
        if (history_.passing_)
            return;
        history_.outcome_ = history_.apply(revision_, forward);
        if (history_.outcome_ == Revision::Outcome::Done)
            history_.show(forward ? done_ : undone_);
    }

    UndoHistory &history_;
    Revision revision_;
    const Place done_, undone_;
    bool skipRedo_ = false;
};

UndoHistory::UndoHistory(const Controls &controls, MainState &main, MainContext &ctx,
                         std::function<void(const Place &)> show, QObject *parent)
    : QObject(parent), controls_(controls), main_(main), ctx_(ctx), show_(std::move(show)),
      stack_(new QUndoStack(this))
{
    setObjectName(u"undoHistory"_s);
    stack_->setUndoLimit(kUndoLimit);
    connect(controls_.undo, &QAction::triggered, this, &UndoHistory::undo);
    connect(controls_.redo, &QAction::triggered, this, &UndoHistory::redo);
    connect(stack_, &QUndoStack::indexChanged, this, &UndoHistory::updateActions);
    connect(stack_, &QUndoStack::undoTextChanged, this, &UndoHistory::updateActions);
    connect(stack_, &QUndoStack::redoTextChanged, this, &UndoHistory::updateActions);
    connect(controls_.lock, &QAction::toggled, this, &UndoHistory::updateActions);
    updateActions();
}

Revision::Outcome UndoHistory::apply(Revision &revision, bool forward)
{
    NotebookChange change = ctx_.change();
    return revision.apply(change, forward);
}

void UndoHistory::show(const Place &place)
{
    if (show_)
        show_(place);
}

bool UndoHistory::run(const QString &text, Revision revision, const Place &done,
                      const Place &undone)
{
    auto *command = new NotebookCommand(*this, text, std::move(revision), done, undone);
    if (command->firstRun() != Revision::Outcome::Done) {
        delete command;
        return false;
    }
    stack_->push(command);
    return true;
}

void UndoHistory::record(const QString &text, Revision revision, const Place &done,
                         const Place &undone)
{
    auto *command = new NotebookCommand(*this, text, std::move(revision), done, undone);
    command->pushedDone();
    stack_->push(command);
}

bool UndoHistory::allowed() const
{
    return !controls_.lock->isChecked() && !main_.edit.editing();
}

void UndoHistory::undo()
{
    step(true);
}

void UndoHistory::redo()
{
    step(false);
}

void UndoHistory::step(bool back)
{
    if (!allowed() || !(back ? stack_->canUndo() : stack_->canRedo()))
        return;
    outcome_ = Revision::Outcome::Done;
    if (back)
        stack_->undo();
    else
        stack_->redo();
    switch (outcome_) {
    case Revision::Outcome::Done:
        break;
    case Revision::Outcome::Failed:
        // Reported; nothing changed. The step stays where it was, for
        // another try once the cause is mended.
        passing_ = true;
        if (back)
            stack_->redo();
        else
            stack_->undo();
        passing_ = false;
        break;
    case Revision::Outcome::Stale:
        clear();
        ctx_.messages.message(
            Messages::Icon::Information, ctx_.words(Word::Caution),
            u"The notebook has changed since this step was done (a save beside the history, "
            "or another program or computer), so it can no longer be taken back or done again. "
            "Undo and Redo begin afresh from here."_s);
        break;
    }
}

void UndoHistory::clear()
{
    stack_->clear();
}

void UndoHistory::tableReread()
{
    if (stack_->count() == 0)
        return;
    // The next step back (or forward) starts from the table read, or none can.
    const int index = stack_->index();
    const auto *command =
        static_cast<const NotebookCommand *>(stack_->command(index > 0 ? index - 1 : 0));
    const NoteTable &expected =
        index > 0 ? command->revision().after() : command->revision().before();
    if (!(ctx_.table == expected))
        clear();
}

void UndoHistory::updateActions()
{
    const bool allowedNow = !controls_.lock->isChecked();
    const auto caption = [](const QString &verb, const QString &what, const QString &key) {
        return (what.isEmpty() ? verb : verb + u' ' + what) + u"  ["_s + key + u']';
    };
    controls_.undo->setText(caption(u"&Undo"_s, stack_->undoText(), u"Ctrl+Z"_s));
    controls_.redo->setText(caption(u"&Redo"_s, stack_->redoText(), u"Ctrl+Shift+Z"_s));
    controls_.undo->setEnabled(allowedNow && stack_->canUndo());
    controls_.redo->setEnabled(allowedNow && stack_->canRedo());
}
