#pragma once

#include "platform/messages.h"

// The real message boxes: modal, over the active window.
class MessageBoxes : public Messages
{
public:
    void message(Icon icon, const QString &title, const QString &text) override;
    void beep() override;
    int ask(Icon icon, const QString &title, const QString &text, const QList<Choice> &choices,
            int defaultChoice, int escapeChoice) override;
};
