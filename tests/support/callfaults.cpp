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

Sys::Fault CallFaults::call(Sys::Op op, const char *name)
{
    Sys::Fault fault;
    Call call{op, name ? QByteArray(name) : QByteArray(), false};
    if (fault_ && fault_->op == op &&
        (fault_->afterRename.isEmpty() || fault_->afterRename == renamed_)) {
        if (seen_ == fault_->nth || (fault_->forGood && seen_ > fault_->nth)) {
            fault.error = fault_->error;
            fault.shortWrite = fault_->error == 0;
            call.failed = true;
            ++failed_;
        }
        ++seen_;
    }
    if (noHardLinks_ && op == Sys::Op::Link && !fault.error)
        fault.error = EPERM;
    renamed_ = op == Sys::Op::Rename ? call.name : QByteArray();
    calls_.append(call);
    return fault;
}

CallFaults::CallFaults(std::optional<CallFault> fault, bool noHardLinks)
    : fault_(std::move(fault)), noHardLinks_(noHardLinks)
{
    Sys::setHook([this](Sys::Op op, const char *name) { return call(op, name); });
}

std::unique_ptr<CallFaults> CallFaults::failing(Sys::Op op, int error, int nth, bool forGood)
{
    return std::make_unique<CallFaults>(CallFault{op, nth, error, forGood});
}

CallFaults::~CallFaults()
{
    Sys::setHook(nullptr);
}
