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
    // Rounds are interleaved: round i of each was taken at the same moment.
    std::vector<double> ratios;
    for (size_t i = 0; i < std::min(measured.size(), baseline.size()); ++i)
        ratios.push_back(measured[i] / baseline[i]);
    if (!ratios.empty())
        std::printf("  range  %.2f - %.2f ms, %s %.2f - %.2f ms; ratio of a round %.2f - %.2f\n",
                    *std::min_element(measured.begin(), measured.end()),
                    *std::max_element(measured.begin(), measured.end()), baselineName,
                    *std::min_element(baseline.begin(), baseline.end()),
                    *std::max_element(baseline.begin(), baseline.end()),
                    *std::min_element(ratios.begin(), ratios.end()),
                    *std::max_element(ratios.begin(), ratios.end()));
}

void FlaggingMessages::message(Icon, const QString &title, const QString &text)
{
    std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
    failed = true;
}

} // namespace BenchStats
