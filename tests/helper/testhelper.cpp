// Second process for the tests and the crash soak (bench/soak_crash.sh). Every mode prints one line
// when it has done its part, flushes, and then waits or loops until it is
// killed (or its standard input is closed):
//
//   hold-marker <storeFolder> [close-other] [spawn-child]
//       takes the store marker and prints "held" or "refused <errno>".
//       close-other: opens and closes InUse.dat once more after taking it.
//       spawn-child: starts a child (mode linger) and prints "child <pid>".
//   linger
//       sleeps for a minute: a child that outlives its parent until the test
//       kills it (standard input would close with the parent).
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
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <thread>
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

bool hasOption(int argc, char **argv, int from, const char *option)
{
    for (int i = from; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0)
            return true;
    }
    return false;
}

int holdMarker(int argc, char **argv)
{
    const QString store = arg(argv, 2);
    StoreMarker marker;
    IoError error;
    if (!marker.take(store, &error)) {
        say("refused %d\n", error.number);
        waitForStdinClosed();
        return 0;
    }
    if (hasOption(argc, argv, 3, "close-other")) {
        const QByteArray path = QFile::encodeName(StorePaths::markerFile(store));
        const int other = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
        if (other >= 0)
            ::close(other);
    }
    if (hasOption(argc, argv, 3, "spawn-child")) {
        char mode[] = "linger";
        char *childArgv[] = {argv[0], mode, nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, childArgv, environ) == 0)
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
    if (!a.ok || !b.ok) {
        const IoError &error = (a.ok ? b : a).error;
        say("error %d %s\n", error.number, qPrintable(error.description));
        return 1;
    }
    for (long round = 0;; ++round) {
        const FileResult written = writeWholeFile(target, round % 2 ? a.bytes : b.bytes, root);
        if (!written) {
            say("error %d %s\n", written.error.number, qPrintable(written.error.description));
            return 1;
        }
        if (round == 0)
            say("ready\n");
    }
}

} // namespace

int main(int argc, char **argv)
{
    const auto mode = [&](const char *name, int args) {
        return argc >= args + 2 && std::strcmp(argv[1], name) == 0;
    };
    if (mode("hold-marker", 1))
        return holdMarker(argc, argv);
    if (mode("linger", 0)) {
        std::this_thread::sleep_for(std::chrono::minutes(1));
        return 0;
    }
    if (mode("write-loop", 4))
        return writeLoop(argv);
    std::fprintf(stderr, "usage: see the comment at the top of testhelper.cpp\n");
    return 2;
}
