#include "platform/keyinjector_w.h"

#include "platform/keystring.h"
#include "platform/messages.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

#include <utility>

KeyInjector::KeyInjector(Messages &messages, std::function<QString()> refusalTitle, QObject *parent)
    : QObject(parent), messages_(messages), refusalTitle_(std::move(refusalTitle))
{
    // The user's Esc reaches the window before any key handler sees it.
    QCoreApplication::instance()->installEventFilter(this);
}

bool KeyInjector::send(const QString &keys, std::chrono::milliseconds delay)
{
    const KeyString parsed = parseKeyString(keys);
    const bool inTurn = delivering_ > 0;
    const int nesting = inTurn ? nesting_ + 1 : 0;
    const QString nothingTyped =
        QStringLiteral("Nothing was typed: these keys would press more than %1 keys, and Plimsa "
                       "types at most %1 at a time.");
    if (parsed.tooLong) {
        refuse(nothingTyped);
        return false;
    }
    if (!parsed.isValid() || nesting > MaxNesting) {
        messages_.beep();
        return false;
    }
    // Counted before the first key: a phrase pressing phrase keys a thousand
    // times each would otherwise queue keys until the memory runs out.
    if (!inTurn && countKeysPressed(keys, keysTypedBy_) > MaxStrokes) {
        refuse(nothingTyped);
        return false;
    }
    const quint64 press = inTurn ? press_ : ++lastPress_;
    if (presses_[press].keys + parsed.strokes.size() > MaxStrokes) {
        // Keys sent in turn by a command the count does not know.
        dropQueued(press);
        settle(press, 0);
        refuse(QStringLiteral("Typing stopped: with what they type in turn, these keys would "
                              "press more than %1 keys, and Plimsa types at most %1 at a time."));
        return false;
    }
    presses_[press].keys += parsed.strokes.size();
    const QList<KeyEvent> events = eventsFor(parsed.strokes, nesting, press);
    if (delay.count() > 0) {
        ++waiting_;
        ++presses_[press].pending;
        QTimer::singleShot(delay, this, [this, events, press] {
            --waiting_;
            enqueue(events);
            settle(press, 1);
        });
    } else {
        enqueue(events);
        settle(press, 0); // an empty string leaves nothing behind
    }
    return true;
}

void KeyInjector::refuse(const QString &text)
{
    messages_.message(Messages::Icon::Information, refusalTitle_(), text.arg(MaxStrokes));
}

bool KeyInjector::eventFilter(QObject *watched, QEvent *event)
{
    // Esc from the keyboard (not one of ours) while keys are still queued
    // stops them, and does nothing else: the edit it types into goes on.
    if (queue_.isEmpty() || event->type() != QEvent::KeyPress || !event->spontaneous() ||
        static_cast<QKeyEvent *>(event)->key() != Qt::Key_Escape)
        return QObject::eventFilter(watched, event);
    dropQueued();
    noOwnerSince_.invalidate();
    return true;
}

QWidget *KeyInjector::keyboardOwner()
{
    if (QWidget *grabber = QWidget::keyboardGrabber())
        return grabber;
    if (QWidget *popup = QApplication::activePopupWidget())
        return popup->focusWidget() ? popup->focusWidget() : popup;
    QWidget *focus = QApplication::focusWidget();
    if (!focus)
        focus = QApplication::activeWindow();
    // A window under a modal dialog takes no keys; the dialog is about to.
    QWidget *modal = QApplication::activeModalWidget();
    if (focus && modal && focus->window() != modal)
        return nullptr;
    return focus;
}

QList<KeyInjector::KeyEvent> KeyInjector::eventsFor(const QList<KeyStroke> &strokes, int nesting,
                                                    quint64 press)
{
    static constexpr std::pair<Qt::KeyboardModifier, Qt::Key> modifierKeys[] = {
        {Qt::ShiftModifier, Qt::Key_Shift},
        {Qt::ControlModifier, Qt::Key_Control},
        {Qt::AltModifier, Qt::Key_Alt},
    };
    QList<KeyEvent> events;
    Qt::KeyboardModifiers held;
    // A modifier stays down while consecutive keys need it, as "+({F5}{F6})"
    // holds Shift over both keys. The event of a modifier key itself carries
    // the state before it, as X11 reports it; QKeyEvent::modifiers() then
    // gives the state after.
    auto holdOnly = [&](Qt::KeyboardModifiers wanted) {
        for (const auto &[modifier, key] : modifierKeys) {
            if ((held & modifier) && !(wanted & modifier)) {
                events.append({QEvent::KeyRelease, key, held, {}, nesting, press});
                held &= ~modifier;
            }
        }
        for (const auto &[modifier, key] : modifierKeys) {
            if (!(held & modifier) && (wanted & modifier)) {
                events.append({QEvent::KeyPress, key, held, {}, nesting, press});
                held |= modifier;
            }
        }
    };
    for (const KeyStroke &stroke : strokes) {
        holdOnly(stroke.modifiers & ~Qt::KeypadModifier);
        events.append(
            {QEvent::KeyPress, stroke.key, stroke.modifiers, stroke.text, nesting, press});
        events.append(
            {QEvent::KeyRelease, stroke.key, stroke.modifiers, stroke.text, nesting, press});
    }
    holdOnly({});
    return events;
}

void KeyInjector::enqueue(const QList<KeyEvent> &events)
{
    for (const KeyEvent &event : events)
        ++presses_[event.press].pending;
    queue_.append(events);
    schedule();
}

void KeyInjector::settle(quint64 press, qsizetype events)
{
    const auto it = presses_.find(press);
    if (it == presses_.end())
        return;
    it->pending -= events;
    if (it->pending <= 0)
        presses_.erase(it);
}

void KeyInjector::dropQueued(std::optional<quint64> press)
{
    queue_.removeIf([this, press](const KeyEvent &event) {
        if (press && event.press != *press)
            return false;
        settle(event.press, 1);
        return true;
    });
}

void KeyInjector::schedule()
{
    if (scheduled_ || queue_.isEmpty())
        return;
    scheduled_ = true;
    QMetaObject::invokeMethod(this, &KeyInjector::deliverNext, Qt::QueuedConnection);
}

void KeyInjector::deliverNext()
{
    scheduled_ = false;
    if (queue_.isEmpty())
        return;
    QWidget *owner = keyboardOwner();
    if (!owner) {
        waitForOwner();
        return;
    }
    noOwnerSince_.invalidate();
    const KeyEvent next = queue_.takeFirst();
    // Normally the next key is scheduled once this one's handler has returned,
    // behind whatever that handler posted. A handler that does not return
    // (a modal dialog, a wait loop) runs an event loop of its own; this call
    // then comes back while the key is still being delivered and lets the
    // following keys go on into that loop, as typed keys would.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (delivering_ > 0)
                schedule();
        },
        Qt::QueuedConnection);
    ++delivering_;
    const int outerNesting = std::exchange(nesting_, next.nesting);
    const quint64 outerPress = std::exchange(press_, next.press);
    // Sent rather than posted: for a key press Qt then offers the key to the
    // shortcuts first (ShortcutOverride), as it does with real keys.
    QKeyEvent event(next.type, next.key, next.modifiers, next.text);
    QCoreApplication::sendEvent(owner, &event);
    nesting_ = outerNesting;
    press_ = outerPress;
    --delivering_;
    settle(next.press, 1);
    schedule();
}

void KeyInjector::waitForOwner()
{
    // While one window closes and the next becomes active nothing has the
    // keyboard for a moment. If nothing takes it, the user has gone to another
    // program: the keys are dropped rather than typed at some later moment.
    if (!noOwnerSince_.isValid())
        noOwnerSince_.start();
    if (noOwnerSince_.hasExpired(OwnerWait.count())) {
        dropQueued();
        noOwnerSince_.invalidate();
        return;
    }
    scheduled_ = true;
    QTimer::singleShot(OwnerPoll, this, &KeyInjector::deliverNext);
}
