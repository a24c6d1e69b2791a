// Second process for the tests and the crash soak (bench/soak_crash.sh). Every mode prints one line
// when it has done its part, flushes, and then waits or loops until it is
// killed (or its standard input is closed):
//
//   hold-marker <storeFolder> [close-other] [spawn-child]
//       takes the store marker and prints "held" or "refused <errno>".
//       close-other: opens and closes InUse.dat once more after taking it.
//       spawn-child: starts a child that sleeps for a minute, outliving its
//       parent until the test kills it, and prints "child <pid>".
//   write-loop <file> <root> <contentA> <contentB>
//       rewrites <file> with writeWholeFile, alternating the contents of the
//       files contentB and contentA, for ever; prints "ready" after the first
//       write, or "error <errno> <text>" and ends.
// The modes only the bench scripts use are in bench/plimsa_benchhelper.cpp.

#include "say.h"
#include "store/safewrite.h"
#include "store/storemarker.h"
#include "store/storepaths.h"

#include <QFile>
#include <QString>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

extern char **environ;

namespace {

QString arg(char **argv, int i)
{
    return QString::fromLocal8Bit(argv[i]);
}

void waitForStdinClosed()
{
    char buffer[64];
    for (;;) {
        const ssize_t n = ::read(0, buffer, sizeof buffer);
        if (n == 0 || (n < 0 && errno != EINTR))
            return;
    }
}

int holdMarker(int argc, char **argv)
{
    const QString store = arg(argv, 2);
    QByteArrayList options;
    for (int i = 3; i < argc; ++i)
        options << argv[i];
    StoreMarker marker;
    IoError error;
    if (!marker.take(store, &error)) {
        say("refused %d\n", error.number);
        waitForStdinClosed();
        return 0;
    }
    if (options.contains("close-other")) {
        const QByteArray path = QFile::encodeName(StorePaths::markerFile(store));
        const int other = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (other >= 0)
            ::close(other);
    }
    if (options.contains("spawn-child")) {
        char program[] = "sleep", minute[] = "60";
        char *childArgv[] = {program, minute, nullptr};
        pid_t child = 0;
        if (posix_spawnp(&child, "sleep", nullptr, nullptr, childArgv, environ) == 0)
            say("child %d\n", int(child));
    }
    say("held\n");
    waitForStdinClosed();
    return 0;
}

int writeLoop(char **argv)
{
    const QString target = arg(argv, 2);
    const QString root = arg(argv, 3);
    const ReadResult a = readWholeFile(arg(argv, 4));
    const ReadResult b = readWholeFile(arg(argv, 5));
    IoError error = (a.ok ? b : a).error;
    for (long round = 0; a.ok && b.ok; ++round) {
        const FileResult written = writeWholeFile(target, round % 2 ? a.bytes : b.bytes, root);
        if (!written) {
            error = written.error;
            break;
        }
        if (round == 0)
            say("ready\n");
    }
    say("error %d %s\n", error.number, qPrintable(error.description));
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    const auto mode = [&](const char *name, int args) {
        return argc >= args + 2 && std::strcmp(argv[1], name) == 0;
    };
    if (mode("hold-marker", 1))
        return holdMarker(argc, argv);
    if (mode("write-loop", 4))
        return writeLoop(argv);
    std::fprintf(stderr, "usage: see the comment at the top of testhelper.cpp\n");
    return 2;
}
