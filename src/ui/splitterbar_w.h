#pragma once

#include <QWidget>

// A splitter between the main window's rows or columns. It is dragged with
// the left mouse button, or moved with the arrow keys once Tab has brought
// the focus to it; the layout decides how far it may go. A screen reader
// reads it as a separator named by SetAccessibleNames, its value the bar's
// place in the window.
class SplitterBar : public QWidget
{
    Q_OBJECT
public:
    // Qt::Vertical: a bar across the window that moves up and down.
    SplitterBar(Qt::Orientation moves, QWidget *parent);

    Qt::Orientation moves() const { return moves_; }
    // The bar's place along the way it moves, in pixels of its parent.
    int place() const;

Q_SIGNALS:
    // The pointer's offset from the bar while the left button is held, in pixels.
    void dragged(int offset);
    // An arrow key: -1 up or left, 1 down or right.
    void stepped(int direction);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    Qt::Orientation moves_;
};
