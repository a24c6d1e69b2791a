#pragma once

#include <QList>
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

    // A button of a question: its object name and its text.
    struct Choice
    {
        QString name;
        QString text;
    };
    // A modal question; the index of the answer. Enter gives `defaultChoice`,
    // Esc and closing the box `escapeChoice`. Where nobody can answer (a
    // benchmark's or the soak's recorder), the question is shown and the
    // default taken.
    virtual int ask(Icon icon, const QString &title, const QString &text,
                    const QList<Choice> &choices, int defaultChoice, int escapeChoice)
    {
        Q_UNUSED(choices);
        Q_UNUSED(escapeChoice);
        message(icon, title, text);
        return defaultChoice;
    }
};
