#pragma once

#include <QList>
#include <QRect>

// Where a stored window rectangle (outer, frame included, in pixels) is shown
// at start, given the screens' available areas, the window's own screen first.
// A rectangle that lies wholly on one screen stays where it is. Any other
// (stored at another scale factor or on a screen that is gone, or reaching
// under a panel) is moved, and shrunk where need be, into the screen it
// overlaps most, or into the first screen when it overlaps none. What
// pref.dat holds is not changed by this.
QRect placeOnScreens(const QRect &window, const QList<QRect> &screens);
