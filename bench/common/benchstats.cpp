#include "common/benchstats.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <malloc.h>

namespace BenchStats {

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double best(const std::vector<double> &values)
{
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
}

double timeMs(const std::function<void()> &run)
{
    malloc_trim(0);
    QElapsedTimer timer;
    timer.start();
    run();
    return double(timer.nsecsElapsed()) / 1e6;
}

void report(const char *what, const char *baselineName, const std::vector<double> &measured,
            const std::vector<double> &baseline, double goal)
{
    const double ratio = median(measured) / median(baseline);
    std::printf("%s\n  median %8.2f ms, %s %8.2f ms: ratio %5.2f (goal <= %.1f: %s)\n"
                "  best   %8.2f ms, %s %8.2f ms: ratio %5.2f\n",
                what, median(measured), baselineName, median(baseline), ratio, goal,
                ratio <= goal ? "met" : "missed", best(measured), baselineName, best(baseline),
                best(measured) / best(baseline));
}

void FlaggingMessages::message(Icon, const QString &title, const QString &text)
{
    std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
    failed = true;
}

} // namespace BenchStats
