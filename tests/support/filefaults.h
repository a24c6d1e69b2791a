#pragma once

#include "platform/syscalls.h"

#include <QByteArray>
#include <memory>

// Fails the program's file-system calls through its seam, for as long as the
// object lives, on any machine and without root: a full disk, a read-only
// folder, or a crash from some call on.
class FileFaults
{
public:
    // The calls that can leave something on disk (opens, which may create,
    // writes, renames, links, removals, new folders): the points a crash can
    // fall between.
    static bool changesDisk(Sys::Op op);

    // Counts the calls only.
    FileFaults();
    // From the k-th call that changes the disk on (0-based), that call and
    // every call after it fails with EIO: on disk, what a crash at that
    // point leaves.
    static std::unique_ptr<FileFaults> crashAt(int k);
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

    int changingCalls() const { return state_->changing; }
    int failed() const { return state_->failed; }

private:
    struct State
    {
        int changing = 0;
        int failed = 0;
        int crashAt = -1;
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
