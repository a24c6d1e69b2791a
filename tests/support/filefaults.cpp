#include "support/filefaults.h"

#include <cerrno>

using Sys::Op;

bool FileFaults::changesDisk(Op op)
{
    switch (op) {
    case Op::Open:
    case Op::Write:
    case Op::Rename:
    case Op::Link:
    case Op::Unlink:
    case Op::Mkdir:
        return true;
    default:
        return false;
    }
}

FileFaults::FileFaults()
{
    install();
}

std::unique_ptr<FileFaults> FileFaults::crashAt(int k)
{
    auto faults = std::make_unique<FileFaults>();
    faults->state_->crashAt = k;
    return faults;
}

std::unique_ptr<FileFaults> FileFaults::failing(Op op, int error, int nth, bool forGood)
{
    auto faults = std::make_unique<FileFaults>();
    faults->state_->op = op;
    faults->state_->error = error;
    faults->state_->nth = nth;
    faults->state_->forGood = forGood;
    return faults;
}

std::unique_ptr<FileFaults> FileFaults::syncFailingAfterRename(const QByteArray &name)
{
    auto faults = std::make_unique<FileFaults>();
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
        if (changesDisk(op)) {
            if (state->crashAt >= 0 && state->changing >= state->crashAt)
                fault.error = EIO;
            ++state->changing;
        } else if (state->crashAt >= 0 && state->changing > state->crashAt) {
            fault.error = EIO;
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
