#include "support/callfaults.h"

#include <QFile>

#include <cerrno>
#include <cstring>

using namespace Qt::StringLiterals;

QString CallFault::describe() const
{
    return u"%1 #%2%3 %4%5"_s.arg(QString::fromLatin1(Sys::name(op)))
        .arg(nth)
        .arg(name.isEmpty() ? QString() : u' ' + QFile::decodeName(name),
             error ? QString::fromLatin1(strerrorname_np(error)) : u"short write"_s,
             forGood ? u" for good"_s : u" once"_s);
}

struct CallFaults::State
{
    std::optional<CallFault> fault;
    bool noHardLinks = false;
    QList<Call> calls;
    int seen = 0; // calls of the fault's op so far
    int failed = 0;
    QByteArray renamed; // the new name of the call before, when it was a rename

    Sys::Fault call(Sys::Op op, const char *name)
    {
        Sys::Fault fault;
        Call call{op, name ? QByteArray(name) : QByteArray(), false};
        if (this->fault && this->fault->op == op &&
            (this->fault->afterRename.isEmpty() || this->fault->afterRename == renamed)) {
            const CallFault &f = *this->fault;
            if (seen == f.nth || (f.forGood && seen > f.nth)) {
                fault.error = f.error;
                fault.shortWrite = f.error == 0;
                call.failed = true;
                ++failed;
            }
            ++seen;
        }
        if (noHardLinks && op == Sys::Op::Link && !fault.error)
            fault.error = EPERM;
        renamed = op == Sys::Op::Rename ? call.name : QByteArray();
        calls.append(call);
        return fault;
    }
};

CallFaults::CallFaults(std::optional<CallFault> fault, bool noHardLinks)
    : state_(std::make_shared<State>())
{
    state_->fault = std::move(fault);
    state_->noHardLinks = noHardLinks;
    Sys::setHook([state = state_](Sys::Op op, const char *name) { return state->call(op, name); });
}

std::unique_ptr<CallFaults> CallFaults::failing(Sys::Op op, int error, int nth, bool forGood)
{
    return std::make_unique<CallFaults>(CallFault{op, nth, error, forGood});
}

CallFaults::~CallFaults()
{
    Sys::setHook(nullptr);
}

QList<CallFaults::Call> CallFaults::calls() const
{
    return state_->calls;
}

int CallFaults::failed() const
{
    return state_->failed;
}
