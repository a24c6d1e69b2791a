#include "helperprocess.h"

#include <QDeadlineTimer>

QString HelperProcess::program()
{
    return qEnvironmentVariable("PLIMSA_TEST_HELPER");
}

bool HelperProcess::start(const QStringList &arguments, const std::function<void()> &setup)
{
    if (setup)
        process_.setChildProcessModifier(setup);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(program(), arguments);
    return process_.waitForStarted(10000);
}

QByteArray HelperProcess::readLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine() && process_.state() == QProcess::Running
           && !deadline.hasExpired())
        process_.waitForReadyRead(int(deadline.remainingTime()));
    return process_.canReadLine() ? process_.readLine().trimmed() : QByteArray();
}

void HelperProcess::kill()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.kill();
    process_.waitForFinished(10000);
}

bool HelperProcess::waitForExit(int timeoutMs)
{
    return process_.waitForFinished(timeoutMs);
}
