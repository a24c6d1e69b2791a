// Export and import of a 10 x 999 notebook, each against `cp -r` of the
// exported folder in the same run (and, to show what the syncs cost, `cp -r`
// followed by `sync` of the copy's file system):
//   export  vs  cp -r of the export            goal 2x
//   import  vs  cp -r of the same folder       goal 2x
// Usage: bench_transfer [--reps N] [--dir FOLDER]

#include "common/benchstats.h"
#include "common/notebookgen.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/notetable.h"
#include "store/store.h"
#include "store/storepaths.h"
#include "transfer/notebookexport.h"
#include "transfer/notebookimport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

using namespace Qt::StringLiterals;
using namespace BenchStats;

namespace {

class FailingReports : public ErrorReports
{
public:
    void ShowErrorCancel(const IoError &e) override { qFatal("%s", qPrintable(e.file)); }
    void ShowErrorContinue(const IoError &e) override { qFatal("%s", qPrintable(e.file)); }
};

// Processor time (user and system) so far of this process, or of its ended children.
double cpuMs(int who)
{
    rusage usage{};
    ::getrusage(who, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// `run` timed, and its processor time added to `cpu` (RUSAGE_SELF or RUSAGE_CHILDREN).
double timeMsAndCpu(const std::function<void()> &run, int who, double &cpu)
{
    const double before = cpuMs(who);
    const double ms = timeMs(run);
    cpu = cpuMs(who) - before;
    return ms;
}

void shell(const QStringList &arguments)
{
    if (QProcess::execute(arguments.first(), arguments.mid(1)) != 0)
        qFatal("%s failed", qPrintable(arguments.join(u' ')));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int reps = 5;
    QString dirArg;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dirArg = args[++i];
    }
    QTemporaryDir scratch(dirArg.isEmpty() ? QString() : dirArg + u"/bench_transfer-XXXXXX"_s);
    if (!scratch.isValid())
        qFatal("no scratch folder");
    const QString root = scratch.path() + u'/';
    AppState state;
    state.storeFolder = root + u"FileStore/"_s;
    const NotebookGen::Summary made = NotebookGen::generateNotebook(state.storeFolder, 10, 999, 7);
    if (made.groups == 0)
        qFatal("generating the notebook failed");
    NoteTable table;
    Store store(state, table);
    if (store.LoadIndex())
        qFatal("LoadIndex failed");
    // The generated date lines have this locale's form (dd.MM.yyyy - HH:mm:ss), as a
    // user's store has the user's own; in another an export reads no date and sets no
    // file time, and measures less than it does for that user.
    const QLocale locale(QLocale::Russian, QLocale::Russia);
    std::printf("notebook: %d groups, %d entries, texts %lld bytes; %d repetitions, medians\n\n",
                made.groups, made.entries, made.textBytes, reps);

    // Untimed, between the timed steps: what one step left unwritten (the last
    // round's removals, a copy without sync) is not paid for by the next.
    const auto settle = [&root] { shell({u"sync"_s, u"-f"_s, root}); };
    std::vector<double> exported, imported, copied, copiedSynced;
    // On a loaded machine the processor time swings less than the wall clock.
    std::vector<double> exportedCpu, importedCpu, copiedCpu;
    double cpuExport = 0, cpuImport = 0, cpuCopy = 0;
    for (int r = 0; r < reps + 1; ++r) {
        // The first round warms the page cache and is not counted.
        const bool counted = r > 0;
        const QString out = root + u"export%1"_s.arg(r);
        settle();
        const double tExport = timeMsAndCpu(
            [&] {
                const auto plan =
                    NotebookExport::makePlan(table, state.storeFolder, std::nullopt, out, locale);
                if (std::count_if(plan.files.cbegin(), plan.files.cend(),
                                  [](const NotebookExport::OutFile &f) {
                                      return bool(f.modified);
                                  }) != plan.entries)
                    qFatal("the date lines were not read");
                const NotebookExport::Outcome outcome = NotebookExport::run(plan, out);
                if (outcome.failure || outcome.timesNotSet > 0)
                    qFatal("export failed");
            },
            RUSAGE_SELF, cpuExport);
        const double tCopy = timeMsAndCpu(
            [&] {
                shell({u"cp"_s, u"-r"_s, out, out + u"-copy"_s});
            },
            RUSAGE_CHILDREN, cpuCopy);
        settle();
        const double tCopySync = timeMs([&] {
            shell({u"cp"_s, u"-r"_s, out, out + u"-copy2"_s});
            shell({u"sync"_s, u"-f"_s, out + u"-copy2"_s});
        });

        AppState into;
        into.storeFolder = root + u"Into%1/"_s.arg(r);
        QDir().mkpath(into.storeFolder);
        QFile idx(StorePaths::indexFile(into.storeFolder));
        if (!idx.open(QIODevice::WriteOnly) || idx.write("idx Plimsa 1.3.02\r\n") != 19)
            qFatal("no empty store");
        idx.close();
        NoteTable intoTable;
        Store intoStore(into, intoTable);
        // Loaded as the program loads its store: a commit checks that idx.dat
        // is still the file this copy last read.
        if (intoStore.LoadIndex() || !intoStore.TakeStoreMarker())
            qFatal("no store");
        FailingReports reports;
        qint64 entries = 0;
        const double tImport = timeMsAndCpu(
            [&] {
                using namespace NotebookImport;
                const Scan scan = scanFolder(out, into.storeFolder);
                const Plan plan = makePlan(scan, intoTable, into.storeFolder, std::nullopt,
                                           Unencodable::Replace, locale);
                const Outcome outcome = run(intoStore, intoTable, reports, plan);
                if (outcome.failed)
                    qFatal("import failed");
                entries = outcome.entriesMade;
            },
            RUSAGE_SELF, cpuImport);
        if (entries != made.entries)
            qFatal("imported %lld entries of %d", entries, made.entries);
        intoStore.releaseStoreMarker();
        for (const QString &folder : {out, out + u"-copy"_s, out + u"-copy2"_s, into.storeFolder})
            QDir(folder).removeRecursively();
        if (counted) {
            exported.push_back(tExport);
            imported.push_back(tImport);
            copied.push_back(tCopy);
            copiedSynced.push_back(tCopySync);
            exportedCpu.push_back(cpuExport);
            importedCpu.push_back(cpuImport);
            copiedCpu.push_back(cpuCopy);
        }
    }
    report("export", "cp -r", exported, copied, 2.0);
    report("import", "cp -r", imported, copied, 2.0);
    report("export", "cp -r + sync", exported, copiedSynced, 2.0);
    report("import", "cp -r + sync", imported, copiedSynced, 2.0);
    report("export, processor time", "cp -r's", exportedCpu, copiedCpu, 2.0);
    report("import, processor time", "cp -r's", importedCpu, copiedCpu, 2.0);
    return 0;
}
