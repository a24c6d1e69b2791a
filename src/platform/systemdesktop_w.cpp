#include "platform/systemdesktop_w.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>

bool SystemDesktop::openFile(const QString &path)
{
    // A local-file address keeps blanks and any other character as they are.
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool SystemDesktop::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

bool SystemDesktop::startAgain()
{
    // By full path: the folder it was started from or the search path may
    // hold another program of that name, or none.
    return QProcess::startDetached(QCoreApplication::applicationFilePath(), {});
}
