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
    if (fault_ && fault_->op == op &&
        (fault_->afterRename.isEmpty() || fault_->afterRename == renamed_)) {
        if (seen_ == fault_->nth || (fault_->forGood && seen_ > fault_->nth)) {
            fault.error = fault_->error;
            fault.shortWrite = fault_->error == 0;
            ++failed_;
        }
        ++seen_;
    }
    if (noHardLinks_ && op == Sys::Op::Link && !fault.error)
        fault.error = EPERM;
    renamed_ = op == Sys::Op::Rename && name ? QByteArray(name) : QByteArray();
    return fault;
}

CallFaults::CallFaults(std::optional<CallFault> fault, bool noHardLinks)
    : fault_(std::move(fault)), noHardLinks_(noHardLinks)
{
    Sys::setHook([this](Sys::Op op, const char *name) { return call(op, name); });
}

CallFaults::~CallFaults()
{
    Sys::setHook(nullptr);
}
