#include "ui/dialogplacement_w.h"

#include "ui/twips.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

// The dialog's outer size. It is not shown yet, so its frame is taken to be as
// wide as the main window's: both are decorated by the same window manager.
QSize outerSize(const QWidget *dialog, const QWidget *mainWindow)
{
    const QSize frame = mainWindow->frameGeometry().size() - mainWindow->geometry().size();
    return dialog->size() + frame;
}

} // namespace

int twipsX(const QWidget *widget, int twips)
{
    return twipsToPixels(twips, widget->logicalDpiX());
}

int twipsY(const QWidget *widget, int twips)
{
    return twipsToPixels(twips, widget->logicalDpiY());
}

void placeCentred(QWidget *dialog, const QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    const QRect main = mainWindow->frameGeometry();
    const QSize size = outerSize(dialog, mainWindow);
    dialog->move(main.x() + main.width() / 2 - size.width() / 2,
                 main.y() + main.height() / 2 - size.height() / 2);
}

void placeLowerLeft(QWidget *dialog, const QWidget *mainWindow, int marginTwips)
{
    if (!mainWindow)
        return;
    const QRect main = mainWindow->frameGeometry();
    const QSize size = outerSize(dialog, mainWindow);
    dialog->move(main.x() + twipsX(dialog, marginTwips),
                 main.y() + main.height() - size.height() - twipsY(dialog, marginTwips));
}

void placeBeside(QWidget *dialog, const QWidget *mainWindow)
{
    if (!mainWindow)
        return;
    const QRect main = mainWindow->frameGeometry();
    const QSize size = outerSize(dialog, mainWindow);
    const QRect screen = mainWindow->screen()->geometry();
    const int left = std::max(std::min(main.x() + main.width(), screen.right() + 1 - size.width()),
                              screen.left());
    const int top = std::max(std::min(main.y(), screen.bottom() + 1 - size.height()), screen.top());
    dialog->move(left, top);
}
