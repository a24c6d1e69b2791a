#include "support/runningapp.h"

#include <QTest>

RunningApp::RunningApp(const QString &programFolder)
    : app_(std::make_unique<Application>(programFolder, messages,
                                         [this](int status) { exitStatus = status; }))
{
}

RunningApp::~RunningApp() = default;

bool RunningApp::start(int timeoutMs)
{
    app_->Main();
    if (exitStatus)
        return false;
    QObject::connect(window(), &FrmMain::startupWorkDone, window(), [this] { startupDone = true; });
    return QTest::qWaitFor([this] { return startupDone || exitStatus.has_value(); }, timeoutMs) &&
           startupDone;
}
