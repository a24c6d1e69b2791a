#pragma once

#include "platform/desktopservices.h"

// The desktop's own services: its opener for files and addresses, and a
// detached start of this executable.
class SystemDesktop : public DesktopServices
{
public:
    bool openFile(const QString &path) override;
    bool openUrl(const QUrl &url) override;
    bool startAgain() override;
};
