#include "support/filefaults.h"

#include <cerrno>

using Sys::Op;

std::unique_ptr<FileFaults> FileFaults::failing(Op op, int error, int nth, bool forGood)
{
    std::unique_ptr<FileFaults> faults(new FileFaults);
    faults->install();
    faults->state_->op = op;
    faults->state_->error = error;
    faults->state_->nth = nth;
    faults->state_->forGood = forGood;
    return faults;
}

std::unique_ptr<FileFaults> FileFaults::syncFailingAfterRename(const QByteArray &name)
{
    std::unique_ptr<FileFaults> faults(new FileFaults);
    faults->install();
    faults->state_->renamed = name;
    return faults;
}

FileFaults::~FileFaults()
{
    Sys::setHook(nullptr);
}

void FileFaults::install()
{
    Sys::setHook([state = state_](Op op, const char *name) {
        Sys::Fault fault;
        if (!state->renamed.isEmpty()) {
            if (op == Op::FolderSync && state->syncArmed)
                fault.error = EIO;
            state->syncArmed = op == Op::Rename && name && state->renamed == name;
        }
        if (state->nth >= 0 && op == state->op) {
            if (state->seen == state->nth || (state->forGood && state->seen > state->nth))
                fault.error = state->error;
            ++state->seen;
        }
        if (fault.error)
            ++state->failed;
        return fault;
    });
}
