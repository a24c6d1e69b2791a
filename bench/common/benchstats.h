#pragma once

#include "platform/messages.h"

#include <functional>
#include <vector>

// Measuring helpers every benchmark shares.
namespace BenchStats {

double median(std::vector<double> values);
double best(const std::vector<double> &values);
// Milliseconds taken by `run`. The allocator first merges what earlier rounds
// freed, so that work is not charged to whichever step happens to allocate next.
double timeMs(const std::function<void()> &run);

// Prints the medians and best rounds of a measurement against its baseline and
// whether the ratio of the medians meets `goal`. The goal is judged on the
// medians; the best rounds show the cost when the machine is otherwise idle.
void report(const char *what, const char *baselineName, const std::vector<double> &measured,
            const std::vector<double> &baseline, double goal);

// Message boxes during a measured step mean the step failed: print and remember.
class FlaggingMessages : public Messages
{
public:
    void message(Icon icon, const QString &title, const QString &text) override;
    void beep() override {}
    bool failed = false;
};

} // namespace BenchStats
