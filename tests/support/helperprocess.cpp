#include "helperprocess.h"

#include <QDeadlineTimer>

bool HelperProcess::start(const QStringList &arguments)
{
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(qEnvironmentVariable("PLIMSA_TEST_HELPER"), arguments);
    return process_.waitForStarted(10000);
}

QByteArray HelperProcess::readLine(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!process_.canReadLine() && process_.waitForReadyRead(int(deadline.remainingTime()))) {
    }
    return process_.canReadLine() ? process_.readLine().trimmed() : QByteArray();
}

void HelperProcess::kill()
{
    process_.kill();
    process_.waitForFinished(10000);
}
