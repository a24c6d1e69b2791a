#include "ui/windowplacement.h"

#include <algorithm>

namespace {

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return common.isEmpty() ? 0 : qint64(common.width()) * common.height();
}

} // namespace

QRect placeOnScreens(const QRect &window, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return window;
    QRect best = screens.first();
    for (const QRect &screen : screens) {
        if (screen.contains(window))
            return window;
        if (overlap(window, screen) > overlap(window, best))
            best = screen;
    }
    const QSize size = window.size().boundedTo(best.size());
    const int left = std::clamp(window.left(), best.left(), best.right() + 1 - size.width());
    const int top = std::clamp(window.top(), best.top(), best.bottom() + 1 - size.height());
    return QRect(QPoint(left, top), size);
}
