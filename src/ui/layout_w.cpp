#include "ui/layout_w.h"

#include "ui/mainwidgets_w.h"
#include "ui/splitterbar_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cmath>

namespace {

// Pixels that hold at least `twips`, so that a size asked for by a floor does
// not come back a twip short and ask again.
int pixelsHolding(int twips, qreal dpi)
{
    return int(std::ceil(twips * dpi / kTwipsPerInch - 1e-9));
}

// The height of one line of `list` in pixels, also while it has no line.
int lineHeightOf(const TitleListView *list)
{
    if (list->count() > 0)
        return list->sizeHintForRow(0);
    EntryLinesModel blank; // no group: the closing line alone
    TitleListView probe;
    probe.setModel(&blank);
    probe.setFont(list->font());
    return probe.sizeHintForRow(0);
}

} // namespace

WindowLayout::WindowLayout(MainWidgets &widgets)
    : TwipsLayout(widgets.window->centralWidget()), w_(widgets),
      client_(widgets.window->centralWidget())
{
    addControls();
    w_.window->installEventFilter(this);
    connect(w_.rowSplitter, &SplitterBar::dragged, this,
            [this](int offset) { moveSplitter(-1, offset); });
    connect(w_.rowSplitter, &SplitterBar::stepped, this,
            [this](int direction) { stepSplitter(-1, direction); });
    for (int i = 0; i < 2; ++i) {
        connect(w_.columnSplitters[size_t(i)], &SplitterBar::dragged, this,
                [this, i](int offset) { moveSplitter(i, offset); });
        connect(w_.columnSplitters[size_t(i)], &SplitterBar::stepped, this,
                [this, i](int direction) { stepSplitter(i, direction); });
    }
}

void WindowLayout::addControls()
{
    const MainLayout &l = layout_;
    addWidget(w_.groupList, [&l] { return l.groupList; });
    addWidget(w_.rowSplitter, [&l] { return l.rowSplitter; });
    addWidget(w_.entryList, [&l] { return l.entryList; });
    for (size_t i = 0; i < w_.cursorButtons.size(); ++i)
        addWidget(w_.cursorButtons[i], [&l, i] { return l.cursorButtons[i]; });
    for (size_t i = 0; i < w_.orderButtons.size(); ++i)
        addWidget(w_.orderButtons[i], [&l, i] { return l.orderButtons[i]; });
    for (size_t i = 0; i < w_.normalPanels.size(); ++i)
        addWidget(w_.normalPanels[i], [&l, i] { return l.normalPanels[i]; });
    addWidget(w_.editPanel, [&l] { return l.editPanel; });
    addWidget(w_.maskText, [&l] { return l.maskText; });
    addWidget(w_.entryText, [&l] { return l.entryText; });
    addWidget(w_.dateLabel, [&l] { return l.dateLabel; });
    for (size_t i = 0; i < w_.columnSplitters.size(); ++i)
        addWidget(w_.columnSplitters[i], [&l, i] { return l.columnSplitters[i]; });
}

void WindowLayout::setSplitters(int frameTop, int frameLeft1, int frameLeft2)
{
    layout_.rowSplitter.top = frameTop;
    layout_.columnSplitters[0].left = frameLeft1;
    layout_.columnSplitters[1].left = frameLeft2;
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    // Maximized or back, the save item follows even where the size does not change.
    if (watched == w_.window && event->type() == QEvent::WindowStateChange)
        relayout();
    return false;
}

void WindowLayout::relayout()
{
    invalidate();
    activate();
}

void WindowLayout::arrange(const QRect &)
{
    const Qt::WindowStates state = w_.window->windowState();
    WindowFrame frame;
    frame.client = clientSize();
    frame.frameWidth = frameWidth();
    frame.minimized = state & Qt::WindowMinimized;
    frame.maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    layout_.maskChecked = w_.viewMaskItem->isChecked();

    const TwipsSize wanted = ::layoutForClient(layout_, frame, groupLines());
    if (!frame.minimized)
        applyMenuStates();
    // A font that changed the group list's lines, or a frame the window
    // manager has just put round the window, moves a floor.
    tellFloor();
    askForSize(wanted, frame.client);
}

QSize WindowLayout::minimumSize() const
{
    const TwipsSize floor = clientFloor(layout_, frameWidth());
    return QSize(pixelsHolding(floor.width, dpiX()), pixelsHolding(floor.height, dpiY()));
}

// The window's size comes from pref.dat; what the layout would like is no more
// than what it needs.
QSize WindowLayout::sizeHint() const
{
    return minimumSize();
}

void WindowLayout::moveSplitter(int index, int offsetPixels)
{
    const TwipsSize client = clientSize();
    const bool moved = index < 0
                           ? dragRowSplitter(layout_, pixelsToTwips(offsetPixels, dpiY()),
                                             client.height, groupLines())
                           : dragColumnSplitter(layout_, index, pixelsToTwips(offsetPixels, dpiX()),
                                                client.width, client.height);
    if (moved)
        splitterMoved();
}

void WindowLayout::stepSplitter(int index, int direction)
{
    const TwipsSize client = clientSize();
    const bool moved =
        index < 0 ? stepRowSplitter(layout_, direction, client.height, groupLines())
                  : stepColumnSplitter(layout_, index, direction, client.width, client.height);
    if (moved)
        splitterMoved();
}

void WindowLayout::splitterMoved()
{
    placeItems(geometry());
    applyMenuStates();
    // The floors follow the splitters (the entry list's width and top).
    tellFloor();
}

// The main window takes the client area's minimum as part of its own once
// the client area says its size has changed; the window manager is told.
void WindowLayout::tellFloor()
{
    const QSize floor = minimumSize();
    if (floor == toldFloor_)
        return;
    toldFloor_ = floor;
    client_->updateGeometry();
}

// Asked from inside a resize, the window's new size would come back here at
// once, and the main window's layout would then go on to give the client area
// the size that resize began with: the controls would no longer fill the
// window. So the window is resized once the resize under way is done.
void WindowLayout::askForSize(const TwipsSize &wanted, const TwipsSize &client)
{
    clientWanted_ = QSize(
        wanted.width == client.width ? client_->width() : pixelsHolding(wanted.width, dpiX()),
        wanted.height == client.height ? client_->height() : pixelsHolding(wanted.height, dpiY()));
    if (sizeAsked_ || clientWanted_ == client_->size())
        return;
    sizeAsked_ = true;
    QMetaObject::invokeMethod(
        this, [this] { applySize(); }, Qt::QueuedConnection);
}

void WindowLayout::applySize()
{
    sizeAsked_ = false;
    QMainWindow *window = w_.window;
    // The window manager holds a minimized or maximized window's size.
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    window->resize(window->size() + clientWanted_ - client_->size());
}

// The window manager's frame beside the client area. Measured against the
// window, not the client area: while a resize is under way the window has its
// new width and the client area still the old one.
int WindowLayout::frameWidth() const
{
    return pixelsToTwips(w_.window->frameGeometry().width() - w_.window->width(), dpiX());
}

void WindowLayout::toggleMask()
{
    const TwipsSize client = clientSize();
    layout_.maskChecked = w_.viewMaskItem->isChecked();
    LayoutColumns(layout_, client.width, client.height);
    placeItems(geometry());
    applyMenuStates();
}

void WindowLayout::applyMenuStates() const
{
    w_.viewMaskItem->setChecked(layout_.maskChecked);
    w_.viewMaskItem->setEnabled(layout_.maskItemEnabled);
    w_.maskText->setVisible(layout_.maskChecked);
    // Without the mask the second bar would lie on the entry text.
    w_.columnSplitters[1]->setVisible(layout_.maskChecked);
    w_.settingsItems[4]->setEnabled(layout_.saveWindowItemEnabled);
}

ListLines WindowLayout::groupLines() const
{
    return ListLines{pixelsToTwips(lineHeightOf(w_.groupList), dpiY()),
                     pixelsToTwips(2 * w_.groupList->frameWidth(), dpiY())};
}

TwipsSize WindowLayout::clientSize() const
{
    return {pixelsToTwips(client_->width(), dpiX()), pixelsToTwips(client_->height(), dpiY())};
}
