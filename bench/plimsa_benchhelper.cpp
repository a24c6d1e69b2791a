// Second process for the bench scripts. Every mode prints one line when it has
// done its part and flushes:
//
//   clean <folder>
//       removes left-over new files in <folder> and its subfolders, prints
//       "clean" and ends (bench/soak_crash.sh, and timed in bench/README.md).
//   store-writer <storeFolder>
//       the program's store without its window: loads idx.dat, takes the
//       marker and prints "held" or "in use <errno>"; then, for every line
//       "write <word>" on its standard input, adds the title <word> (no file)
//       to the first group through a NotebookChange and prints "written", or
//       "lost <why>" and "refused" when the store is no longer held, or
//       "report <text>" for any other failure (bench/shared_store_glusterfs.sh).

#include "helper/say.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/notebookchange.h"
#include "store/safewrite.h"
#include "store/store.h"

#include <QString>

#include <cstdio>
#include <cstring>

namespace {

class PrintedReports : public ErrorReports
{
public:
    void ShowErrorCancel(const IoError &error) override { print(error); }
    void ShowErrorContinue(const IoError &error) override { print(error); }

private:
    static void print(const IoError &error)
    {
        say("report %s %s\n", qPrintable(error.description), qPrintable(error.file));
    }
};

int storeWriter(const QString &folder)
{
    AppState state;
    NoteTable table;
    state.storeFolder = folder;
    if (!state.storeFolder.endsWith(u'/'))
        state.storeFolder += u'/';
    Store store(state, table);
    PrintedReports reports;
    bool lost = false;
    store.setStoreLost([&lost](const IoError &why) {
        say("lost %s\n", qPrintable(why.description));
        lost = true;
    });
    if (const auto error = store.LoadIndex()) {
        say("error %d %s\n", error->number, qPrintable(error->description));
        return 1;
    }
    if (!store.TakeStoreMarker())
        say("in use %d\n", store.markerRefusal().number);
    else
        say("held\n");
    char line[256];
    while (std::fgets(line, sizeof line, stdin)) {
        const QString word = QString::fromLocal8Bit(line).trimmed().section(u' ', 1);
        if (word.isEmpty())
            continue;
        lost = false;
        NotebookChange change(store, table, reports);
        const int column = table.entryCount(0) + 1;
        change.table().cell(0, column) = word;
        if (change.commit())
            say("written\n");
        else if (lost)
            say("refused\n");
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::strcmp(argv[1], "clean") == 0) {
        removeLeftoverNewFiles(QString::fromLocal8Bit(argv[2]), true);
        say("clean\n");
        return 0;
    }
    if (argc == 3 && std::strcmp(argv[1], "store-writer") == 0)
        return storeWriter(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: see the comment at the top of plimsa_benchhelper.cpp\n");
    return 2;
}
