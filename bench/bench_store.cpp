// LoadIndex and Save_idx on a full-size notebook, each against the plain file
// operation it cannot avoid, measured in the same run:
//   LoadIndex  vs  reading idx.dat and decoding it from the code page
//   Save_idx   vs  writing the same bytes to a file and fsync-ing it
//   the check before each write that idx.dat is still this copy's  vs  Save_idx
// Usage: bench_store [--reps N] [--dir FOLDER] [--index-only]

#include "common/benchstats.h"
#include "common/notebookgen.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/indexfile.h"
#include "store/notetable.h"
#include "store/outsidechange.h"
#include "store/safewrite.h"
#include "store/store.h"
#include "store/storepaths.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <functional>
#include <malloc.h>
#include <unistd.h>
#include <vector>

using namespace Qt::StringLiterals;

using namespace BenchStats;

namespace {

QByteArray plainRead(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void plainWriteSync(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
        ::fsync(fd) != 0 || ::close(fd) != 0)
        qFatal("plain write of %s failed", qPrintable(path));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    int reps = 15;
    QString dirArg;
    bool indexOnly = false;
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == u"--reps"_s && i + 1 < args.size())
            reps = std::max(1, args[++i].toInt());
        else if (args[i] == u"--dir"_s && i + 1 < args.size())
            dirArg = args[++i];
        else if (args[i] == u"--index-only"_s)
            indexOnly = true;
    }

    QTemporaryDir scratch(dirArg.isEmpty() ? QString() : dirArg + u"/bench_store-XXXXXX"_s);
    if (!scratch.isValid())
        qFatal("no scratch folder");
    AppState state;
    state.programFolder = scratch.path() + u'/';
    state.storeFolder = state.programFolder + u"FileStore/"_s;

    QElapsedTimer generation;
    generation.start();
    const NotebookGen::Summary made =
        NotebookGen::generateNotebook(state.storeFolder, 100, 999, 20240503, !indexOnly);
    if (made.groups == 0)
        qFatal("generating the notebook failed");
    std::printf("notebook: %d groups, %d entries, %d files, idx.dat %lld bytes, texts %lld bytes "
                "(generated in %.1f s)\n",
                made.groups, made.entries, made.files, made.indexBytes, made.textBytes,
                double(generation.elapsed()) / 1000);
    std::printf("store folder: %s, %d repetitions, medians\n\n", qPrintable(state.storeFolder),
                reps);

    NoteTable table;
    Store store(state, table);

    const QString index = StorePaths::indexFile(state.storeFolder);
    const QString plainCopy = state.storeFolder + u"plain-copy.dat"_s;
    std::vector<double> load, parse, readDecode, firstSave, save, check, serialize, wholeWrite,
        writeSync, conflictScan;
    qsizetype sink = 0;
    for (int r = 0; r < reps + 1; ++r) {
        // The first round warms the page cache and the allocator and is not counted.
        const bool counted = r > 0;
        const double tRead = timeMs([&] { sink += CodePage::decode(plainRead(index)).size(); });

        table = NoteTable();
        const double tLoad = timeMs([&] {
            if (store.LoadIndex())
                qFatal("LoadIndex failed");
        });

        const QByteArray bytes = plainRead(index);
        NoteTable fresh;
        const double tParse = timeMs([&] {
            if (!IndexFile::parse(bytes, fresh))
                qFatal("parse failed");
        });

        // The first save after the load encodes every group; a command changes
        // one entry title (or a few) and the next save encodes that group alone.
        const auto saveIdx = [&] {
            if (!store.Save_idx())
                qFatal("Save_idx failed");
        };
        const double tFirstSave = timeMs(saveIdx);
        const int g = r % table.groupCount();
        table.cell(g, 1 + r % table.entryCount(g)) += u'_';
        const double tSave = timeMs(saveIdx);
        const double tCheck = timeMs([&] {
            if (!store.indexStillOurs())
                qFatal("idx.dat taken for changed outside");
        });
        const double tWrite = timeMs([&] { plainWriteSync(plainCopy, bytes); });

        const double tSerialize =
            timeMs([&] { sink += IndexFile::serialize(table, state.ProgramVersion).bytes.size(); });
        const double tWhole = timeMs([&] {
            if (!writeWholeFile(plainCopy, bytes, state.storeFolder))
                qFatal("whole-file write failed");
        });

        // The look for sync programs' conflict copies, which the window does
        // after its start-up work, off its thread: every group folder listed.
        const double tScan =
            timeMs([&] { sink += OutsideChange::findConflictCopies(state.storeFolder).size() + 1; });

        if (counted) {
            conflictScan.push_back(tScan);
            readDecode.push_back(tRead);
            load.push_back(tLoad);
            parse.push_back(tParse);
            firstSave.push_back(tFirstSave);
            save.push_back(tSave);
            check.push_back(tCheck);
            writeSync.push_back(tWrite);
            serialize.push_back(tSerialize);
            wholeWrite.push_back(tWhole);
        }
    }
    report("LoadIndex (read idx.dat, parse into the table) vs read + decode", "baseline", load,
           readDecode, 2.0);
    std::printf("  parsing alone: median %.2f ms\n", median(parse));
    report("Save_idx after a change of one title vs write + fsync", "baseline", save, writeSync,
           1.5);
    report("the check that idx.dat is still the file last written vs Save_idx after a change",
           "Save_idx", check, save, 0.05);
    report("Save_idx, first after the load (every group encoded) vs write + fsync", "baseline",
           firstSave, writeSync, 1.5);
    std::printf(
        "  IndexFile::serialize of every group alone: median %.2f ms\n"
        "  whole-file write alone (new file, fsync, rename, folder fsync): median %.2f ms\n",
        median(serialize), median(wholeWrite));
    std::printf("  listing of the store for conflict copies (%s): median %.2f ms\n",
                indexOnly ? "no entry files" : "with the entry files", median(conflictScan));
    QFile::remove(plainCopy);
    return sink > 0 ? 0 : 1;
}
