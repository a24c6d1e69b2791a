#pragma once

#include <QStringList>
#include <optional>

// The command line: --help and --version print and end the program, --import
// and --export move notes in or out without opening a window, anything
// unknown is refused.

// Exit statuses of --import and --export.
enum TransferStatus {
    kAllDone = 0,
    kSomeSkipped = 1, // some files were skipped (import) or entries unreadable (export)
    kBadArguments = 2,
    kNothingDone = 3, // refused before writing, or stopped by a failure or a cancel
};

struct TransferRequest
{
    enum class Kind { Import, Export };
    Kind kind = Kind::Import;
    QString folder;
    std::optional<QString> group; // --into for an import, --group for an export
    // --unencodable: "replace", "skip", or empty (ask: refuse and list them)
    QString unencodable;
    bool overwrite = false;
};

struct CommandLineAnswer
{
    std::optional<int> exitStatus; // set: end at once with this status
    QString out;                   // for standard output
    QString err;                   // for standard error
    std::optional<TransferRequest> transfer; // set: run it, then end
};

// `arguments` as QCoreApplication::arguments() gives them, the program first.
CommandLineAnswer readCommandLine(const QStringList &arguments);

// Runs an import or export on the notebook of `programFolder` (pref.dat
// names its store). Reports on `out` (one line) and `err`; returns the status.
int runTransfer(const TransferRequest &request, const QString &programFolder, QString &out,
                QString &err);
