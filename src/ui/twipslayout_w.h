#pragma once

#include "ui/mainlayout.h"

#include <QLayout>

#include <functional>
#include <vector>

// A layout that puts each of its widgets on a rectangle in twips of the area
// it lays out, converted with the screen's logical DPI. The rectangles come
// from functions, so a subclass can work them out anew for every size.
class TwipsLayout : public QLayout
{
public:
    using Place = std::function<TwipsRect()>;

    explicit TwipsLayout(QWidget *parent);
    ~TwipsLayout() override;

    void addWidget(QWidget *widget, Place place);
    // A widget at a fixed design rectangle.
    void addWidget(QWidget *widget, const TwipsRect &rect);

    void addItem(QLayoutItem *item) override;
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    int count() const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

protected:
    // Works the rectangles out for an area of `area` twips, before they are
    // applied; `rect` is that area in pixels.
    virtual void arrange(const QRect &rect);
    void placeItems(const QRect &rect) const;
    qreal dpiX() const;
    qreal dpiY() const;

private:
    struct Item
    {
        QLayoutItem *item;
        Place place;
    };
    void placeItem(const Item &item, const QRect &rect) const;

    std::vector<Item> items_;
};
