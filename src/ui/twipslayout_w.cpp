#include "ui/twipslayout_w.h"

#include "ui/twips.h"

#include <QWidget>

#include <algorithm>

TwipsLayout::TwipsLayout(QWidget *parent) : QLayout(parent)
{
    setContentsMargins(0, 0, 0, 0);
    // A frame's design positions count from its outer corner, not from inside its border.
    if (parent)
        parent->setAttribute(Qt::WA_LayoutOnEntireRect);
}

TwipsLayout::~TwipsLayout()
{
    for (const Item &i : items_)
        delete i.item;
}

void TwipsLayout::addWidget(QWidget *widget, Place place)
{
    addChildWidget(widget);
    items_.push_back({new QWidgetItem(widget), std::move(place)});
    // Placed at once: a hidden frame is not laid out until it shows, and its
    // buttons would stand on one another meanwhile.
    placeItem(items_.back(), geometry());
    invalidate();
}

void TwipsLayout::addWidget(QWidget *widget, const TwipsRect &rect)
{
    addWidget(widget, [rect] { return rect; });
}

// Every widget needs its place: an item given without one takes none.
void TwipsLayout::addItem(QLayoutItem *item)
{
    items_.push_back({item, [] { return TwipsRect{}; }});
}

QLayoutItem *TwipsLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? items_[size_t(index)].item : nullptr;
}

QLayoutItem *TwipsLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem *item = items_[size_t(index)].item;
    items_.erase(items_.begin() + index);
    return item;
}

int TwipsLayout::count() const
{
    return int(items_.size());
}

// As large as the rectangles reach.
QSize TwipsLayout::sizeHint() const
{
    int right = 0;
    int bottom = 0;
    for (const Item &i : items_) {
        const TwipsRect r = i.place();
        right = std::max(right, r.right());
        bottom = std::max(bottom, r.bottom());
    }
    return QSize(twipsToPixels(right, dpiX()), twipsToPixels(bottom, dpiY()));
}

QSize TwipsLayout::minimumSize() const
{
    return sizeHint();
}

void TwipsLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect);
    placeItems(rect);
}

void TwipsLayout::arrange(const QRect &) {}

void TwipsLayout::placeItems(const QRect &rect) const
{
    for (const Item &i : items_)
        placeItem(i, rect);
}

void TwipsLayout::placeItem(const Item &i, const QRect &rect) const
{
    const TwipsRect r = i.place();
    const QRect pixels = twipsToPixels(
        QRect(r.left, r.top, std::max(r.width, 0), std::max(r.height, 0)), dpiX(), dpiY());
    // A hidden widget is placed too, so that it shows where it belongs.
    if (QWidget *widget = i.item->widget())
        widget->setGeometry(pixels.translated(rect.topLeft()));
    else
        i.item->setGeometry(pixels.translated(rect.topLeft()));
}

qreal TwipsLayout::dpiX() const
{
    return parentWidget() ? parentWidget()->logicalDpiX() : 96.0;
}

qreal TwipsLayout::dpiY() const
{
    return parentWidget() ? parentWidget()->logicalDpiY() : 96.0;
}
