#pragma once

#include "platform/keystring.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

class Messages;
class QWidget;

// Types key strings (see keystring.h) into the program itself.
//
// The keys are delivered one event at a time from the event loop, after the
// handler that sent them has returned, each to whatever has the keyboard when
// its turn comes: an open pop-up menu, else the focus widget. So they pass the
// shortcuts, event filters and key handlers real typing passes, a key that
// moves the focus sends the following keys to the new place, and "{F10}{UP}"
// reaches the menu that F10 opened. A key that opens a modal dialog sends the
// following keys into that dialog.
//
// Modifier keys are pressed before and released after the keys that need
// them. Handlers read the modifiers from the key event: after the last
// injected key QGuiApplication::keyboardModifiers() may still report the
// modifiers of the last press until the next real input.
//
// One press (a string sent from outside any delivery) types at most
// MaxStrokes keys, with every key that its keys' handlers send in turn: a
// string whose keys, counted with what they type in turn (setKeysTypedBy),
// would pass that types nothing; keys sent in turn that no count foresaw
// stop the press's keys at the bound.
//
// Esc on the keyboard stops the keys still queued.
class KeyInjector : public QObject
{
    Q_OBJECT
public:
    // `refusalTitle` gives the title of the message that refuses a string of
    // too many keys, in the language in force.
    KeyInjector(Messages &messages, std::function<QString()> refusalTitle,
                QObject *parent = nullptr);

    // Queues the keys behind any already queued, to be typed after the delay,
    // if one is given, or else as soon as the event loop runs. A malformed
    // string types nothing, beeps and returns false, and so does a string
    // sent by the handler of a key that was itself typed by a string sent so,
    // MaxNesting times over. A press of more than MaxStrokes keys types
    // nothing and says so.
    bool send(const QString &keys, std::chrono::milliseconds delay = std::chrono::milliseconds(0));

    // What a key types in turn once it is typed (a phrase key, its phrase).
    void setKeysTypedBy(KeysTypedBy keysTypedBy) { keysTypedBy_ = std::move(keysTypedBy); }

    static constexpr int MaxNesting = 8;

    // Keys queued or waiting for their delay.
    bool isBusy() const { return !queue_.isEmpty() || waiting_ > 0; }

    // The widget that receives a key typed now: the open pop-up, else the
    // focus widget; nullptr when no window of the program has the keyboard.
    static QWidget *keyboardOwner();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct KeyEvent
    {
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        int nesting = 0; // sends between the user's key and this one
        quint64 press = 0;
    };
    // The keys of one press so far, and its events queued, being delivered
    // or waiting for their delay; gone when none is left.
    struct Press
    {
        qsizetype keys = 0;
        qsizetype pending = 0;
    };
    static QList<KeyEvent> eventsFor(const QList<KeyStroke> &strokes, int nesting, quint64 press);
    void refuse(const QString &text);
    void enqueue(const QList<KeyEvent> &events);
    void settle(quint64 press, qsizetype events);
    // Drops the queued keys of `press`, or all of them.
    void dropQueued(std::optional<quint64> press = std::nullopt);
    void schedule();
    void deliverNext();
    void waitForOwner();

    static constexpr std::chrono::milliseconds OwnerWait{2000};
    static constexpr std::chrono::milliseconds OwnerPoll{10};

    Messages &messages_;
    std::function<QString()> refusalTitle_;
    KeysTypedBy keysTypedBy_;
    QList<KeyEvent> queue_;
    QHash<quint64, Press> presses_;
    quint64 lastPress_ = 0;
    quint64 press_ = 0;  // of the key being delivered
    int waiting_ = 0;    // sends whose delay has not run out
    int delivering_ = 0; // deliveries on the stack (more than one in a dialog's event loop)
    int nesting_ = 0;    // of the key being delivered
    bool scheduled_ = false;
    QElapsedTimer noOwnerSince_;
};
