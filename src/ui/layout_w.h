#pragma once

#include "ui/mainlayout.h"
#include "ui/twipslayout_w.h"

#include <QSize>

struct MainWidgets;

// The main window's layout: the client area's controls placed by the twips
// rules of mainlayout.h on every resize, splitter move and mask switch. Its
// minimum size is the floors' (the width floor, the height floor, the room
// under the entry list), so the window takes it as its own minimum and a
// window manager stops a drag there. The splitters move by mouse and by key.
class WindowLayout : public TwipsLayout
{
public:
    explicit WindowLayout(MainWidgets &widgets);

    // The start settings' splitters; laid out at the next relayout.
    void setSplitters(int frameTop, int frameLeft1, int frameLeft2);
    // Where the splitters stand (twips), as the window position command keeps them,
    // and where the rules have put everything.
    int frameTop() const { return layout_.rowSplitter.top; }
    int frameLeft1() const { return layout_.columnSplitters[0].left; }
    int frameLeft2() const { return layout_.columnSplitters[1].left; }
    const MainLayout &placement() const { return layout_; }

    // Lays the window out for its client size now. When the floors or the
    // room rule ask for another size, the window is asked to take it once
    // the resize under way is done.
    void relayout();
    // The mask column follows viewMaskItem's check mark.
    void toggleMask();

    QSize sizeHint() const override;
    QSize minimumSize() const override;

protected:
    void arrange(const QRect &rect) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addControls();
    // -1 the row splitter, else a column splitter's index.
    void moveSplitter(int index, int offsetPixels);
    void stepSplitter(int index, int direction);
    void splitterMoved();
    void tellFloor();
    void applyMenuStates() const;
    ListLines groupLines() const;
    TwipsSize clientSize() const;
    int frameWidth() const;
    void askForSize(const TwipsSize &wanted, const TwipsSize &client);
    void applySize();

    MainWidgets &w_;
    QWidget *client_;
    MainLayout layout_;
    QSize toldFloor_;
    bool sizeAsked_ = false;
    QSize clientWanted_;
};
