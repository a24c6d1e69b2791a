#include "platform/menubarkeys_w.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QShortcut>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace {

// Fusion draws a menu bar item highlighted only while its menu is open; the
// item F10 makes active must show too.
class ActiveItemStyle : public QProxyStyle
{
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element == CE_MenuBarItem && (option->state & State_Selected) && widget &&
            widget->hasFocus()) {
            if (const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option)) {
                QStyleOptionMenuItem active = *item;
                active.state |= State_Sunken;
                QProxyStyle::drawControl(element, &active, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

} // namespace

MenuBarKeys::MenuBarKeys(QMenuBar *bar) : QObject(bar), bar_(bar)
{
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), bar, this, &MenuBarKeys::toggle);
    f10->setAutoRepeat(false);
    bar->installEventFilter(this);
    auto *style = new ActiveItemStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(this);
    bar->setStyle(style);
}

void MenuBarKeys::toggle()
{
    // Qt has no call that highlights a menu bar item without opening it, but
    // a tap of Alt alone does that (and a second tap leaves the bar again). So
    // F10 taps Alt for the bar: the press offered to the window, where the bar
    // listens for it, then the release, which the bar catches application-wide
    // and which goes to no widget, so no key handler of the program sees it.
    // (A modifier key's event carries the modifiers as they were before it.)
    QKeyEvent offer(QEvent::ShortcutOverride, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(bar_->window(), &offer);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(this, &release);
}

bool MenuBarKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != bar_ || event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    QAction *item = bar_->activeAction();
    // Up on a highlighted bar item whose menu is closed; Qt would open the
    // menu at its first item.
    if (key->key() != Qt::Key_Up || (key->modifiers() & ~Qt::KeypadModifier) || !item ||
        QApplication::activePopupWidget() || !item->menu() || !item->isEnabled())
        return false;
    openFromEnd(item->menu(), 0);
    return true;
}

void MenuBarKeys::openFromEnd(QMenu *menu, int stepsUp)
{
    // The bar takes the keys first, as after F10: closing the menu then
    // leaves the bar highlighted, and Esc again leaves the bar.
    if (!bar_->hasFocus())
        toggle();
    bar_->setActiveAction(menu->menuAction());
    const bool disabledSelectable =
        menu->style()->styleHint(QStyle::SH_Menu_AllowActiveAndDisabled, nullptr, menu);
    QList<QAction *> selectable;
    for (QAction *a : menu->actions()) {
        if (a->isVisible() && !a->isSeparator() && (a->isEnabled() || disabledSelectable))
            selectable.append(a);
    }
    // Up from the first item goes round to the last, as in the open menu.
    if (!selectable.isEmpty()) {
        const qsizetype n = selectable.size();
        menu->setActiveAction(selectable[((n - 1 - stepsUp) % n + n) % n]);
    }
}
