#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStringList>

// The test helper (PLIMSA_TEST_HELPER) as a second process. It is killed with
// SIGKILL when the object ends, so a failing test leaves no process behind.
class HelperProcess
{
public:
    ~HelperProcess() { kill(); }

    // False if the helper could not be started.
    bool start(const QStringList &arguments);
    // The next line the helper prints, without its line end; empty when none
    // came within the time or the helper ended.
    QByteArray readLine(int timeoutMs = 10000);
    // SIGKILL, and wait until it is gone.
    void kill();

private:
    QProcess process_;
};
