#pragma once

#include <QStringList>
#include <optional>

// The command line: --help and --version print and end the program, anything
// unknown is refused. Nothing on it changes how the program runs.
struct CommandLineAnswer
{
    std::optional<int> exitStatus; // set: end at once with this status
    QString out;                   // for standard output
    QString err;                   // for standard error
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
CommandLineAnswer readCommandLine(const QStringList &arguments);
