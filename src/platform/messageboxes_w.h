#pragma once

#include "platform/messages.h"

// The real message boxes: modal, with an OK button, over the active window.
class MessageBoxes : public Messages
{
public:
    void message(Icon icon, const QString &title, const QString &text) override;
    void beep() override;
};
