#pragma once

#include "platform/syscalls.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

// One fault of the fault matrix: the nth call of `op` (0-based, counted within
// one program folder) fails with `error`, or with error 0 writes only half of
// its bytes; once, or from then on for good.
struct CallFault
{
    Sys::Op op = Sys::Op::Open;
    int nth = 0;
    int error = 0;
    bool forGood = false;
    QByteArray name = {}; // what the call names in a clean run, for the messages
    // "rename #2 idx.dat ENOSPC for good"
    QString describe() const;
    bool operator==(const CallFault &) const = default;
};

// Records the file calls the program makes in each program folder given, and
// fails one of them as planned. Calls are told apart by folder so that
// several windows can run a command at once, each with a fault of its own:
// a call belongs to the folder its path, or the file or folder of its
// descriptor, lies under; a call that cannot be told (a descriptor already
// closed) belongs with the call before it.
class CallFaults
{
public:
    CallFaults();
    ~CallFaults();
    CallFaults(const CallFaults &) = delete;
    CallFaults &operator=(const CallFaults &) = delete;

    // The calls under `folder` follow `fault` (none: they are only recorded).
    // With `noHardLinks` every link is answered EPERM, as on a file system
    // without hard links (FAT, many network shares), where copies are made.
    void plan(const QString &folder, std::optional<CallFault> fault, bool noHardLinks = false);

    struct Call
    {
        Sys::Op op;
        QByteArray name; // empty for a call on a descriptor
        bool failed = false;
    };
    QList<Call> calls(const QString &folder) const;
    // How many calls failed as planned (0: the fault was not reached).
    int failed(const QString &folder) const;

private:
    struct Plan;
    struct State;
    std::shared_ptr<State> state_;
};
