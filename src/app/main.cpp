#include "app/application_w.h"
#include "app/commandline.h"
#include "app/programfolder.h"
#include "ui/programicon_w.h"

#include <QApplication>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

// --help, --version and refusals end the program here. They are read before
// the window system is reached, so they work without a display and touch no
// file. An import or export runs here too, without a window.
std::optional<int> answerCommandLine(int argc, char **argv)
{
    QCoreApplication commandLine(argc, argv);
    CommandLineAnswer answer = readCommandLine(QCoreApplication::arguments());
    if (answer.transfer) {
        const ProgramFolder folder = locateProgramFolder(standardProgramFolderPlaces());
        if (folder.failure) {
            answer.err += u"plimsa: %1: %2\n"_s.arg(folder.failure->file,
                                                    folder.failure->description);
            answer.exitStatus = kNothingDone;
        } else {
            answer.exitStatus =
                runTransfer(*answer.transfer, folder.folder, answer.out, answer.err);
        }
    }
    std::fputs(answer.out.toLocal8Bit().constData(), stdout);
    std::fputs(answer.err.toLocal8Bit().constData(), stderr);
    return answer.exitStatus;
}

} // namespace

int main(int argc, char **argv)
{
    // The name also names the per-user folder (~/.local/share/Plimsa).
    QCoreApplication::setApplicationName(u"Plimsa"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(PLIMSA_VERSION));
    if (argc > 1) {
        if (const std::optional<int> status = answerCommandLine(argc, argv))
            return *status;
    }
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(kDesktopId);
    QApplication::setWindowIcon(programIcon());
    return runPlimsa();
}
