#include "app/application_w.h"

#include "app/mainwindow_w.h"
#include "platform/messageboxes_w.h"
#include "platform/systemdesktop_w.h"

#include <QApplication>
#include <QSessionManager>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

Application::Application(const ProgramFolder &programFolder, Messages &messages, EndHook endProgram,
                         DesktopServices *desktop)
    : words_(wordTable_, state_.prefs.language), messages_(messages), reports_(words_, messages_),
      store_(state_, table_), ownDesktop_(desktop ? nullptr : std::make_unique<SystemDesktop>()),
      desktop_(desktop ? *desktop : *ownDesktop_), copyFailure_(programFolder.failure),
      endProgram_(std::move(endProgram))
{
    state_.programFolder = withSlash(programFolder.folder);
}

Application::~Application() = default;

void Application::Main()
{
    state_.ProgramVersion = QStringLiteral(PLIMSA_VERSION);
    // A user folder left half-filled would start on whatever it holds.
    if (copyFailure_) {
        reports_.ShowErrorCancel(*copyFailure_);
        endProgram(1);
        return;
    }
    if (!FillWordTable()) {
        endProgram(1);
        return;
    }

    MainContext context{state_,     table_,    words_,
                        wordTable_, messages_, reports_,
                        store_,     desktop_,  [this](int status) { endProgram(status); },
                        {}};
    mainWindow_ = std::make_unique<MainWindow>(std::move(context));
    if (!mainWindow_->load()) {
        mainWindow_.reset();
        endProgram(1);
        return;
    }
    // A file that ends early is no damage unless it takes words of the
    // language in force, known only once pref.dat is read. Those show in
    // English: said once, and the start goes on.
    if (const auto damage = wordTable_.cutShort(state_.prefs.language))
        reports_.ShowErrorContinue(*damage);
    mainWindow_->show();
}

bool Application::FillWordTable()
{
    const QString path = state_.programFolder + u"Language.dat"_s;
    if (const auto error = wordTable_.loadLanguageFile(path)) {
        reports_.ShowErrorCancel(error->at(path));
        return false;
    }
    return true;
}

void Application::endBySignal()
{
    if (mainWindow_)
        mainWindow_->endKeepingEdit();
    else
        endProgram(0);
}

void Application::endProgram(int status)
{
    if (ended_)
        return;
    ended_ = true;
    endProgram_(status);
}

namespace {

int signalPipe[2] = {-1, -1};

void endSignalCaught(int)
{
    const char byte = 1;
    // Nothing else is safe in a signal handler; the event loop does the rest.
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

// SIGTERM and SIGHUP (a logout, a shutdown, a closed terminal) end the
// program through its event loop, and a logout through the session manager
// makes the recovery copy current first: neither asks anything.
void endOnSignals(Application &app)
{
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &app, [&app](QSessionManager &) {
        if (MainWindow *window = app.mainWindow())
            window->sessionEnding();
    });
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, [&app] {
        char byte;
        while (::read(signalPipe[0], &byte, 1) > 0) {
        }
        app.endBySignal();
    });
    struct sigaction action = {};
    action.sa_handler = endSignalCaught;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGHUP, &action, nullptr);
}

} // namespace

int runPlimsa()
{
    QApplication::setQuitOnLastWindowClosed(false);
    MessageBoxes boxes;
    // Queued, so that an end during Main (before the event loop runs) still
    // reaches the loop and sets its status.
    Application app(locateProgramFolder(standardProgramFolderPlaces()), boxes, [](int status) {
        QMetaObject::invokeMethod(
            qApp, [status] { QCoreApplication::exit(status); }, Qt::QueuedConnection);
    });
    endOnSignals(app);
    app.Main();
    return QApplication::exec();
}
