#include "support/callfaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <unistd.h>

using namespace Qt::StringLiterals;

QString CallFault::describe() const
{
    return u"%1 #%2%3 %4%5"_s.arg(QString::fromLatin1(Sys::name(op)))
        .arg(nth)
        .arg(name.isEmpty() ? QString() : u' ' + QFile::decodeName(name),
             error ? QString::fromLatin1(strerrorname_np(error)) : u"short write"_s,
             forGood ? u" for good"_s : u" once"_s);
}

struct CallFaults::Plan
{
    QList<QByteArray> prefixes; // the folder as given and its real path, each ending in "/"
    std::optional<CallFault> fault;
    bool noHardLinks = false;
    QList<Call> calls;
    int seen = 0; // calls of the fault's op so far
    int failed = 0;
};

struct CallFaults::State
{
    std::deque<Plan> plans; // a deque keeps `current` valid as plans are added
    Plan *current = nullptr;

    Plan *find(const QString &folder)
    {
        const QByteArray prefix = QFile::encodeName(QDir(folder).absolutePath()) + '/';
        for (Plan &plan : plans) {
            if (plan.prefixes.contains(prefix))
                return &plan;
        }
        return nullptr;
    }

    // The path a call reaches: its own, or the file or folder of the
    // descriptor it acts on (a lock, a read, a name within an open folder).
    static QByteArray reached(const char *name)
    {
        if (name && name[0] == '/')
            return name;
        const int fd = Sys::hookedFd();
        if (fd < 0)
            return {};
        char link[64];
        char target[4096];
        std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
        const ssize_t n = ::readlink(link, target, sizeof target);
        return n > 0 ? QByteArray(target, n) : QByteArray();
    }
    Sys::Fault call(Sys::Op op, const char *name)
    {
        // Windows whose waits overlap may interleave their calls, so each
        // call is given to the folder it reaches where that can be told.
        if (const QByteArray path = reached(name); !path.isEmpty()) {
            for (Plan &plan : plans) {
                for (const QByteArray &prefix : std::as_const(plan.prefixes)) {
                    if (path.startsWith(prefix) || prefix.chopped(1) == path)
                        current = &plan;
                }
            }
        }
        Sys::Fault fault;
        if (!current)
            return fault;
        Plan &plan = *current;
        Call call{op, name ? QByteArray(name) : QByteArray(), false};
        if (plan.fault && plan.fault->op == op) {
            const CallFault &f = *plan.fault;
            if (plan.seen == f.nth || (f.forGood && plan.seen > f.nth)) {
                fault.error = f.error;
                fault.shortWrite = f.error == 0;
                call.failed = true;
                ++plan.failed;
            }
            ++plan.seen;
        }
        if (plan.noHardLinks && op == Sys::Op::Link && !fault.error)
            fault.error = EPERM;
        plan.calls.append(call);
        return fault;
    }
};

CallFaults::CallFaults() : state_(std::make_shared<State>())
{
    Sys::setHook([state = state_](Sys::Op op, const char *name) { return state->call(op, name); });
}

CallFaults::~CallFaults()
{
    Sys::setHook(nullptr);
}

void CallFaults::plan(const QString &folder, std::optional<CallFault> fault, bool noHardLinks)
{
    Plan plan;
    plan.prefixes << QFile::encodeName(QDir(folder).absolutePath()) + '/'
                  << QFile::encodeName(QFileInfo(folder).canonicalFilePath()) + '/';
    plan.fault = fault;
    plan.noHardLinks = noHardLinks;
    state_->plans.push_back(plan);
}

QList<CallFaults::Call> CallFaults::calls(const QString &folder) const
{
    const Plan *plan = state_->find(folder);
    return plan ? plan->calls : QList<Call>();
}

int CallFaults::failed(const QString &folder) const
{
    const Plan *plan = state_->find(folder);
    return plan ? plan->failed : 0;
}
