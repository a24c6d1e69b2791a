// The search dialog's search on a full-size notebook with its entry files
// (100 x 999 entries), against ripgrep and grep looking for the same text over
// the same store folder, interleaved in the same run:
//   no hit, without case    vs  rg -j2 -liF NOHIT store/   (goal: within 1.0x)
//   no hit, case sensitive  vs  rg -j2 -lF NOHIT store/
//   the first hit near the end of the notebook, and grep -rliF, for comparison
// Each search takes its copy of the group list and titles as Start does.
// Usage: bench_search [--reps N] [--dir FOLDER] [--threads T]
// With --dir the generated notebook is kept there and used again by later runs.

#include "common/benchprogram.h"
#include "common/benchstats.h"
#include "notebook/grouplist.h"
#include "ui/notebookmodel.h"
#include "ui/titlelistmodel.h"
#include "search/searchengine.h"
#include "store/appstate.h"
#include "store/indexfile.h"
#include "store/notetable.h"
#include "store/safewrite.h"
#include "store/storepaths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace BenchStats;

namespace {

const QString kMarker = u"Quokkafirsthit"_s;

struct Notebook
{
    QString store;
    NoteTable table;
    AppState state;
    NotebookModel model{table, state};
    GroupLinesModel groupLines;
    GroupList lines;
};

// Milliseconds of one run of `program`; its exit status must be `expected`.
double timeProgram(const QString &program, const QStringList &arguments, int expected)
{
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != expected)
        qFatal("%s failed (%d)", qPrintable(program), process.exitCode());
    return double(clock.nsecsElapsed()) / 1e6;
}

SearchOutcome search(const Notebook &nb, const QString &text, bool caseSensitive, int threads)
{
    SearchRequest request;
    request.storeFolder = nb.store;
    request.groups = searchGroups(nb.table, nb.lines);
    request.text = text;
    request.options.caseSensitive = caseSensitive;
    return SearchEngine::run(std::move(request), threads);
}

// Every entry file read once, one after the other: the floor of a search.
qsizetype readEveryFile(const Notebook &nb)
{
    qsizetype bytes = 0;
    for (int line = 0; line < nb.lines.count(); ++line) {
        const int g = nb.lines.slotOfLine(line);
        for (int c = 1; c <= nb.table.entryCount(g); ++c)
            bytes += readWholeFile(
                         StorePaths::entryFile(nb.store, nb.table.name(g), nb.table.cell(g, c)))
                         .bytes.size();
    }
    return bytes;
}

// Puts the marker into the text of an entry near the end of the walk (once;
// a folder used again already holds it). Returns the group line.
int placeMarker(const Notebook &nb)
{
    for (int line = nb.lines.count() - 2; line >= 0; --line) {
        const int g = nb.lines.slotOfLine(line);
        for (int c = std::min(900, nb.table.entryCount(g)); c >= 1; --c) {
            const QString path =
                StorePaths::entryFile(nb.store, nb.table.name(g), nb.table.cell(g, c));
            QFile file(path);
            if (!file.exists())
                continue;
            if (!file.open(QIODevice::ReadWrite))
                qFatal("cannot open %s", qPrintable(path));
            if (!file.readAll().contains(kMarker.toLatin1())) {
                file.seek(file.size());
                file.write(kMarker.toLatin1() + " end\r\n");
            }
            return line;
        }
    }
    qFatal("no entry file for the marker");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int reps = 9;
    int threads = 0;
    QString dirArg;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dirArg = args[++i];
        else if (args[i] == u"--threads"_s && i + 1 < args.size())
            threads = std::max(1, args[++i].toInt());
    }
    QTemporaryDir scratch(dirArg.isEmpty() ? QDir::tempPath() + u"/bench_search-XXXXXX"_s
                                           : dirArg + u"/bench_search-XXXXXX"_s);
    if (!scratch.isValid())
        qFatal("no scratch folder");
    QString folder;
    const NotebookGen::Summary made = BenchProgram::reusableProgramFolder(
        dirArg.isEmpty() ? scratch.path() : dirArg, 100, 999, true, &folder);
    if (made.groups == 0)
        qFatal("generating the notebook failed");

    Notebook nb;
    nb.store = folder + u"FileStore/"_s;
    const ReadResult index = readWholeFile(StorePaths::indexFile(nb.store));
    if (!index.ok || !IndexFile::parse(index.bytes, nb.table))
        qFatal("cannot read the index");
    GroupList::orderRows(nb.table);
    nb.groupLines.setSourceModel(&nb.model);
    nb.lines.attach(nb.model, nb.groupLines);
    nb.lines.fill(false);
    const int markerLine = placeMarker(nb);
    std::printf("notebook: %d groups, %d entries, %d files, %lld bytes of text in %s\n"
                "marker in group line %d of %d; %d rounds, medians\n\n",
                made.groups, made.entries, made.files, static_cast<long long>(made.textBytes),
                qPrintable(nb.store), markerLine, nb.lines.count(), reps);

    const QString rg = QStandardPaths::findExecutable(u"rg"_s);
    const QString grep = QStandardPaths::findExecutable(u"grep"_s);
    if (rg.isEmpty())
        std::printf("rg (ripgrep) is not installed: the ratios against it are left out "
                    "(apt-get install ripgrep)\n\n");

    std::vector<double> tRg, tRgCase, tGrep, tNoHit, tNoHitCase, tFirstHit, tRead;
    qsizetype sink = 0;
    for (int r = 0; r < reps + 1; ++r) {
        // The first round fills the page cache and is not counted.
        const bool counted = r > 0;
        const double noHit = timeMs([&] {
            if (search(nb, u"NOHIT"_s, false, threads).hit.kind != SearchWalk::HitKind::None)
                qFatal("NOHIT was found");
        });
        const double noHitCase = timeMs([&] {
            if (search(nb, u"NOHIT"_s, true, threads).hit.kind != SearchWalk::HitKind::None)
                qFatal("NOHIT was found");
        });
        const double firstHit = timeMs([&] {
            const SearchOutcome out = search(nb, kMarker.toLower(), false, threads);
            if (out.hit.kind != SearchWalk::HitKind::Text || out.hit.group != markerLine)
                qFatal("the marker was not found where it is");
        });
        const double read = timeMs([&] { sink += readEveryFile(nb); });
        if (!rg.isEmpty()) {
            const double a = timeProgram(rg, {u"-j2"_s, u"-liF"_s, u"NOHIT"_s, nb.store}, 1);
            const double b = timeProgram(rg, {u"-j2"_s, u"-lF"_s, u"NOHIT"_s, nb.store}, 1);
            if (counted) {
                tRg.push_back(a);
                tRgCase.push_back(b);
            }
        }
        const double g = timeProgram(grep, {u"-rliF"_s, u"NOHIT"_s, nb.store}, 1);
        if (counted) {
            tNoHit.push_back(noHit);
            tNoHitCase.push_back(noHitCase);
            tFirstHit.push_back(firstHit);
            tRead.push_back(read);
            tGrep.push_back(g);
        }
    }

    if (!rg.isEmpty()) {
        report("search without a hit, without case, vs rg -j2 -liF", "rg", tNoHit, tRg, 1.0);
        report("search without a hit, case sensitive, vs rg -j2 -lF", "rg", tNoHitCase, tRgCase,
               1.0);
        report("first hit near the end of the notebook vs rg -j2 -liF (no hit)", "rg", tFirstHit,
               tRg, 1.0);
    }
    report("search without a hit, without case, vs grep -rliF", "grep", tNoHit, tGrep, 1.0);
    std::printf("every entry file read once, one thread: median %.1f ms\n", median(tRead));
    return sink > 0 ? 0 : 1;
}
