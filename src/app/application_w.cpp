#include "app/application_w.h"

#include "app/frmmain.h"
#include "app/programfolder.h"
#include "platform/messageboxes_w.h"

#include <QApplication>

using namespace Qt::StringLiterals;

Application::Application(const QString &programFolder, Messages &messages, EndHook endProgram)
    : words_(wordTable_, state_.prefs.language), messages_(messages),
      reports_(state_, words_, messages_), store_(state_, table_, reports_, messages_, words_),
      endProgram_(std::move(endProgram))
{
    state_.programFolder = withSlash(programFolder);
}

Application::~Application() = default;

void Application::Main()
{
    state_.TextBoxIndex = 0;
    state_.ProgramVersion = u"1.3.02"_s;
    for (int i = 0; i < 4; ++i)
        state_.SearchOptions[i] = 1;
    if (!FillWordTable()) {
        endProgram(1);
        return;
    }

    MainContext context{state_,
                        table_,
                        words_,
                        messages_,
                        reports_,
                        store_,
                        [this](int status) { endProgram(status); }};
    frmMain_ = std::make_unique<FrmMain>(std::move(context));
    if (!frmMain_->Form_Load()) {
        frmMain_.reset();
        endProgram(1);
        return;
    }
    frmMain_->show();
}

bool Application::FillWordTable()
{
    state_.CurrentFile = state_.programFolder + u"Language.dat"_s;
    if (const auto error = wordTable_.loadLanguageFile(state_.CurrentFile)) {
        reports_.ShowErrorCancel(*error);
        return false;
    }
    state_.CurrentFile.clear();
    state_.TargetFile.clear();
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
    QCoreApplication::setApplicationName(u"Plimsa"_s);
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
