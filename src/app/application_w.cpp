#include "app/application_w.h"

#include "app/mainwindow_w.h"
#include "platform/messageboxes_w.h"
#include "platform/systemdesktop_w.h"

#include <QApplication>

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
                        {},         {}};
    mainWindow_ = std::make_unique<MainWindow>(std::move(context));
    if (!mainWindow_->load()) {
        mainWindow_.reset();
        endProgram(1);
        return;
    }
    mainWindow_->show();
}

bool Application::FillWordTable()
{
    const QString path = state_.programFolder + u"Language.dat"_s;
    std::optional<IoError> damage;
    if (const auto error = wordTable_.loadLanguageFile(path, &damage)) {
        reports_.ShowErrorCancel(error->at(path));
        return false;
    }
    // Missing words show in English, so the menus stay usable and another
    // language can be chosen: said once, and the start goes on.
    if (damage)
        reports_.ShowErrorContinue(*damage);
    return true;
}

void Application::endProgram(int status)
{
    if (ended_)
        return;
    ended_ = true;
    endProgram_(status);
}

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
    app.Main();
    return QApplication::exec();
}
