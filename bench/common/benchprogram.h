#pragma once

#include "common/benchstats.h"
#include "common/notebookgen.h"
#include "platform/desktopservices.h"
#include "platform/messages.h"

#include <QString>
#include <vector>

// What the window benchmarks share: a program folder around a generated store,
// and message boxes that end the run, since a message means a step failed.
namespace BenchProgram {

class FailingMessages : public Messages
{
public:
    // Prints the message, and "failed" on stdout for a parent process, then ends.
    void message(Icon icon, const QString &title, const QString &text) override;
    void beep() override {}
};

// The desktop asked for nothing: a run that opens the entry list in the
// editor a thousand times must not start a thousand editors.
class QuietDesktop : public DesktopServices
{
public:
    bool openFile(const QString &) override { return true; }
    bool openUrl(const QUrl &) override { return true; }
    bool startAgain() override { return true; }
};

// pref.dat as shipped (start group "Always First", the shipped window and
// splitter sizes), Language.dat with nine free languages, and the store
// FileStore/ from NotebookGen. Returns what was generated; groups 0 on failure.
NotebookGen::Summary makeProgramFolder(const QString &folder, int groups, int entries,
                                       bool entryFiles);

// Language.dat with nine free languages: every line there, so a start reads
// it without a report of a damaged file.
QByteArray freeLanguageFile();

// The same program folder kept under `parent` between runs, named after its
// size: made by makeProgramFolder once (a minute or more with the entry files),
// then found again by the stamp written when it was complete. Groups 0 on failure.
NotebookGen::Summary reusableProgramFolder(const QString &parent, int groups, int entries,
                                           bool entryFiles, QString *folder);

using BenchStats::median;

} // namespace BenchProgram
