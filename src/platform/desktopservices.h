#pragma once

#include <QString>
#include <QUrl>

// What the program asks of the desktop: a file opened in the program the
// desktop opens it with (the text editor for a .txt file), a web page or mail
// opened in the default programs, and this program started again. The window
// layer hands out the real ones; tests put in a recorder that only remembers.
// Each returns false when the desktop could not be asked (no program found to
// start); whether the program then opened anything is not known.
class DesktopServices
{
public:
    virtual ~DesktopServices() = default;
    virtual bool openFile(const QString &path) = 0;
    virtual bool openUrl(const QUrl &url) = 0;
    // Starts the running executable again by its full path, detached.
    virtual bool startAgain() = 0;
};
