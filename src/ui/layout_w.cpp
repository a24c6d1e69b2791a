#include "ui/layout_w.h"

#include "ui/mainwidgets_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
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
    : QObject(widgets.window), w_(widgets), client_(widgets.window->centralWidget())
{
    client_->installEventFilter(this);
    w_.window->installEventFilter(this);
    for (QLabel *bar : {w_.rowSplitter, w_.columnSplitters[0], w_.columnSplitters[1]})
        bar->installEventFilter(this);
    placePanels();
}

void WindowLayout::setSplitters(int frameTop, int frameLeft1, int frameLeft2)
{
    layout_.rowSplitter.top = frameTop;
    layout_.columnSplitters[0].left = frameLeft1;
    layout_.columnSplitters[1].left = frameLeft2;
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        relayout();
    else if (watched == w_.window && event->type() == QEvent::WindowStateChange)
        relayout();
    else if (event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<const QMouseEvent *>(event);
        if (watched == w_.rowSplitter)
            return splitterDrag(-1, move);
        for (int i = 0; i < 2; ++i) {
            if (watched == w_.columnSplitters[i])
                return splitterDrag(i, move);
        }
    }
    return false;
}

bool WindowLayout::splitterDrag(int index, const QMouseEvent *event)
{
    if (event->buttons() != Qt::LeftButton)
        return false;
    const QPoint at = event->position().toPoint();
    const TwipsSize client = clientSize();
    const bool moved =
        index < 0
            ? dragRowSplitter(layout_, pixelsToTwips(at.y(), client_->logicalDpiY()), client.height,
                              groupLines())
            : dragColumnSplitter(layout_, index, pixelsToTwips(at.x(), client_->logicalDpiX()),
                                 client.width, client.height);
    if (moved) {
        placeControls();
        // The floors follow the splitters: the entry list's width and top.
        askForSize(client, client);
    }
    return true;
}

void WindowLayout::relayout()
{
    QMainWindow *window = w_.window;
    const Qt::WindowStates state = window->windowState();
    WindowFrame frame;
    frame.client = clientSize();
    frame.frameWidth = frameWidth();
    frame.minimized = state & Qt::WindowMinimized;
    frame.maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    layout_.maskChecked = w_.viewMaskItem->isChecked();

    const TwipsSize wanted = ::layoutForClient(layout_, frame, groupLines());
    if (!frame.minimized)
        placeControls();
    askForSize(wanted, frame.client);
}

// Asked from inside a resize, the window's new size would come back here at
// once, and the main window's layout would then go on to give the client area
// the size that resize began with: the controls would no longer fill the
// window. So the window is resized once the resize under way is done.
void WindowLayout::askForSize(const TwipsSize &wanted, const TwipsSize &client)
{
    const qreal dpiX = client_->logicalDpiX();
    const qreal dpiY = client_->logicalDpiY();
    const TwipsSize floor = clientFloor(layout_, frameWidth());
    const QSize menus = w_.window->size() - client_->size();
    minimumSize_ =
        QSize(pixelsHolding(floor.width, dpiX), pixelsHolding(floor.height, dpiY)) + menus;
    clientWanted_ = QSize(
        wanted.width == client.width ? client_->width() : pixelsHolding(wanted.width, dpiX),
        wanted.height == client.height ? client_->height() : pixelsHolding(wanted.height, dpiY));
    if (sizeAsked_ ||
        (minimumSize_ == w_.window->minimumSize() && clientWanted_ == client_->size()))
        return;
    sizeAsked_ = true;
    QMetaObject::invokeMethod(
        this, [this] { applySize(); }, Qt::QueuedConnection);
}

void WindowLayout::applySize()
{
    sizeAsked_ = false;
    QMainWindow *window = w_.window;
    // The window manager holds a minimized or maximized window's size; the
    // floors follow when it gives the size back.
    if (window->windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    // A window smaller than its new minimum is resized by Qt at once, and laid
    // out again for it before the size asked for below is worked out.
    window->setMinimumSize(minimumSize_);
    window->resize(window->size() + clientWanted_ - client_->size());
}

int WindowLayout::frameWidth() const
{
    return pixelsToTwips(w_.window->frameGeometry().width() - client_->width(),
                         client_->logicalDpiX());
}

void WindowLayout::toggleMask()
{
    const TwipsSize client = clientSize();
    layout_.maskChecked = w_.viewMaskItem->isChecked();
    LayoutColumns(layout_, client.width, client.height);
    placeControls();
}

ListLines WindowLayout::groupLines() const
{
    const qreal dpi = client_->logicalDpiY();
    return ListLines{pixelsToTwips(lineHeightOf(w_.groupList), dpi),
                     pixelsToTwips(2 * w_.groupList->frameWidth(), dpi)};
}

TwipsSize WindowLayout::clientSize() const
{
    return {pixelsToTwips(client_->width(), client_->logicalDpiX()),
            pixelsToTwips(client_->height(), client_->logicalDpiY())};
}

void WindowLayout::place(QWidget *widget, const TwipsRect &r) const
{
    widget->setGeometry(
        twipsToPixels(QRect(r.left, r.top, std::max(r.width, 0), std::max(r.height, 0)),
                      client_->logicalDpiX(), client_->logicalDpiY()));
}

void WindowLayout::placePanels() const
{
    const PanelLayout &p = panelLayout();
    for (std::size_t i = 0; i < w_.individualButtons.size(); ++i)
        place(w_.individualButtons[i], p.individualButtons[i]);
    place(w_.lockBox, p.lockBox);
    for (std::size_t i = 0; i < w_.entryButtons.size(); ++i)
        place(w_.entryButtons[i], p.entryButtons[i]);
    place(w_.sortButton, p.sortButton);
    place(w_.hideButton, p.hideButton);
    place(w_.modeLabel, p.modeLabel);
    for (std::size_t i = 0; i < w_.editButtons.size(); ++i)
        place(w_.editButtons[i], p.editButtons[i]);
}

void WindowLayout::placeControls()
{
    const MainLayout &l = layout_;
    place(w_.groupList, l.groupList);
    place(w_.rowSplitter, l.rowSplitter);
    place(w_.entryList, l.entryList);
    for (std::size_t i = 0; i < w_.cursorButtons.size(); ++i)
        place(w_.cursorButtons[i], l.cursorButtons[i]);
    for (std::size_t i = 0; i < w_.orderButtons.size(); ++i)
        place(w_.orderButtons[i], l.orderButtons[i]);
    for (std::size_t i = 0; i < w_.normalPanels.size(); ++i)
        place(w_.normalPanels[i], l.normalPanels[i]);
    place(w_.editPanel, l.editPanel);
    place(w_.maskText, l.maskText);
    for (QPlainTextEdit *text : w_.entryText)
        place(text, l.entryText);
    place(w_.dateLabel, l.dateLabel);
    for (std::size_t i = 0; i < w_.columnSplitters.size(); ++i)
        place(w_.columnSplitters[i], l.columnSplitters[i]);

    w_.viewMaskItem->setChecked(l.maskChecked);
    w_.viewMaskItem->setEnabled(l.maskItemEnabled);
    w_.maskText->setVisible(l.maskChecked);
    // Without the mask the second bar would lie on the entry text.
    w_.columnSplitters[1]->setVisible(l.maskChecked);
    w_.settingsItems[4]->setEnabled(l.saveWindowItemEnabled);
}
