#pragma once

#include "platform/messages.h"

#include <QList>

// Records every message box and beep instead of showing them.
class RecordingMessages : public Messages
{
public:
    struct Shown
    {
        Icon icon;
        QString title;
        QString text;
    };
    void message(Icon icon, const QString &title, const QString &text) override
    {
        shown.append({icon, title, text});
    }
    void beep() override { ++beeps; }

    QList<Shown> shown;
    int beeps = 0;
};
