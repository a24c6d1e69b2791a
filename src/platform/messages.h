#pragma once

#include <QString>

// Message boxes and the system beep. The window layer shows real message
// boxes; tests put in a recorder that answers and remembers what was shown.
class Messages
{
public:
    enum class Icon { None, Information, Critical };

    virtual ~Messages() = default;
    // A modal message box with an OK button.
    virtual void message(Icon icon, const QString &title, const QString &text) = 0;
    virtual void beep() = 0;
};
