#pragma once

#include "platform/syscalls.h"

#include <QByteArray>
#include <QString>
#include <optional>

// One planned fault: the nth call of `op` (0-based) fails with `error`, or
// with error 0 writes only half of its bytes; once, or from then on for good.
struct CallFault
{
    Sys::Op op = Sys::Op::Open;
    int nth = 0;
    int error = 0;
    bool forGood = false;
    QByteArray name = {}; // what the call names in a clean run, for the messages
    // When set, only the calls of `op` right after a rename onto this name
    // count: the folder sync that makes that rename last, say.
    QByteArray afterRename = {};
    // "rename #2 idx.dat ENOSPC for good"
    QString describe() const;
    bool operator==(const CallFault &) const = default;
};

// Watches the program's file calls through its seam while it lives and fails
// them as planned, on any machine and without root: a full disk, a read-only
// folder, a lost lock.
class CallFaults
{
public:
    // With `noHardLinks` every link is answered EPERM, as on a file system
    // without hard links (FAT, many network shares), where copies are made.
    explicit CallFaults(std::optional<CallFault> fault = std::nullopt, bool noHardLinks = false);
    ~CallFaults();
    CallFaults(const CallFaults &) = delete;
    CallFaults &operator=(const CallFaults &) = delete;

    // How many calls failed as planned (0: the fault was not reached).
    int failed() const { return failed_; }

private:
    Sys::Fault call(Sys::Op op, const char *name);

    std::optional<CallFault> fault_;
    bool noHardLinks_ = false;
    int seen_ = 0; // calls of the fault's op so far
    int failed_ = 0;
    QByteArray renamed_; // the new name of the call before, when it was a rename
};
