#pragma once

#include "ui/mainlayout.h"

#include <QObject>
#include <QSize>

struct MainWidgets;
class QMouseEvent;
class QWidget;

// Lays the main window's controls out on every resize and splitter drag, from
// the layout procedures in twips, and places the widgets in pixels of the
// screen's logical DPI.
class WindowLayout : public QObject
{
public:
    explicit WindowLayout(MainWidgets &widgets);

    // The start settings' splitters; laid out at the next relayout.
    void setSplitters(int frameTop, int frameLeft1, int frameLeft2);
    // Where the splitters stand (twips), as the window position command keeps them.
    int frameTop() const { return layout_.rowSplitter.top; }
    int frameLeft1() const { return layout_.columnSplitters[0].left; }
    int frameLeft2() const { return layout_.columnSplitters[1].left; }
    const MainLayout &layout() const { return layout_; }

    // Lays the window out for its client size now; when the floors or the
    // room rule ask for another size, the window is asked to take it once
    // the resize under way is done. The floors are the window's minimum size,
    // so that a window manager stops a drag on them.
    void relayout();
    // The mask column follows viewMaskItem's check mark.
    void toggleMask();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool splitterDrag(int index, const QMouseEvent *event);
    ListLines groupLines() const;
    TwipsSize clientSize() const;
    void place(QWidget *widget, const TwipsRect &rect) const;
    void placePanels() const;
    void placeControls();
    int frameWidth() const;
    void askForSize(const TwipsSize &wanted, const TwipsSize &client);
    void applySize();

    MainWidgets &w_;
    QWidget *client_;
    MainLayout layout_;
    bool sizeAsked_ = false;
    QSize minimumSize_; // the window's, menu bar and client floor together
    QSize clientWanted_;
};
