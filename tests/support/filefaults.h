#pragma once

#include "platform/syscalls.h"

#include <QByteArray>
#include <memory>

// Fails the program's file-system calls through its seam, for as long as the
// object lives, on any machine and without root: a full disk, a read-only
// folder, a lost lock.
class FileFaults
{
public:
    // The n-th call of `op` (0-based) fails with `error`; with `forGood`
    // every later call of `op` fails as well.
    static std::unique_ptr<FileFaults> failing(Sys::Op op, int error, int nth = 0,
                                               bool forGood = false);
    // The folder sync right after the rename onto `name` fails with EIO: the
    // new file is in place, its rename maybe not for good.
    static std::unique_ptr<FileFaults> syncFailingAfterRename(const QByteArray &name);
    ~FileFaults();
    FileFaults(const FileFaults &) = delete;
    FileFaults &operator=(const FileFaults &) = delete;

    int failed() const { return state_->failed; }

private:
    FileFaults() = default;
    struct State
    {
        int failed = 0;
        Sys::Op op = Sys::Op::Open;
        int error = 0;
        int nth = -1;
        int seen = 0;
        bool forGood = false;
        QByteArray renamed; // fail the folder sync after a rename onto this name
        bool syncArmed = false;
    };
    void install();
    std::shared_ptr<State> state_ = std::make_shared<State>();
};
