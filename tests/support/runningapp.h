#pragma once

#include "support/testsupport.h"

#include "app/application_w.h"
#include "app/frmmain.h"

#include <QString>
#include <optional>

// The real program started on a program folder (usually a ScratchProgram):
// Main, the load, the first paint and the start-up work, with the message
// boxes recorded and the end of the program recorded instead of done.
class RunningApp
{
public:
    explicit RunningApp(const QString &programFolder);
    ~RunningApp();

    // Runs Main and waits for the end of the start-up work. False when the
    // program ended instead (see exitStatus) or the work did not finish.
    bool start(int timeoutMs = 10000);

    RecordingMessages messages;
    std::optional<int> exitStatus;
    bool startupDone = false;

    Application &app() { return *app_; }
    FrmMain *window() const { return app_->mainWindow(); }
    const MainWidgets &w() const { return window()->widgets(); }

    template <typename T> T *find(const QString &name) const
    {
        return window() ? window()->findChild<T *>(name) : nullptr;
    }

private:
    std::unique_ptr<Application> app_;
};
