#pragma once

#include <QList>
#include <QRect>

// Where a stored window rectangle (outer, frame included, in pixels) is put
// at start, given the screens' available areas, the window's own screen first.
// A rectangle whose title bar can be reached on a screen that holds its size
// stays where it is. Any other (stored on a screen that is gone, or at a size
// this screen cannot show) is moved, and shrunk where need be, onto the
// screen it overlaps most, or onto the first screen when it overlaps none.
QRect placeOnScreens(const QRect &window, const QList<QRect> &screens);
