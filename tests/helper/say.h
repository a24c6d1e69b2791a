#pragma once

#include <cstdarg>
#include <cstdio>

// One line to the test or script that started this helper, at once: it waits
// for the line before it goes on.
[[gnu::format(printf, 1, 2)]] inline void say(const char *format, ...)
{
    va_list values;
    va_start(values, format);
    std::vprintf(format, values);
    va_end(values);
    std::fflush(stdout);
}
