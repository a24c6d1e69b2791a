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
    TitleListView probe(new TitleListModel(TitleListModel::ClosingLine::Blank));
    probe.setFont(list->font());
    return probe.sizeHintForRow(0);
}

} // namespace

WindowLayout::WindowLayout(MainWidgets &widgets)
    : QObject(widgets.frmMain), w_(widgets), client_(widgets.frmMain->centralWidget())
{
    client_->installEventFilter(this);
    w_.frmMain->installEventFilter(this);
    for (QLabel *bar : {w_.lblSizeH, w_.lblSizeV[0], w_.lblSizeV[1]})
        bar->installEventFilter(this);
    placePanels();
}

void WindowLayout::setSplitters(int frameTop, int frameLeft1, int frameLeft2)
{
    layout_.lblSizeH.top = frameTop;
    layout_.lblSizeV[0].left = frameLeft1;
    layout_.lblSizeV[1].left = frameLeft2;
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        Form_Resize();
    else if (watched == w_.frmMain && event->type() == QEvent::WindowStateChange)
        Form_Resize();
    else if (event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<const QMouseEvent *>(event);
        if (watched == w_.lblSizeH)
            return splitterDrag(-1, move);
        for (int i = 0; i < 2; ++i) {
            if (watched == w_.lblSizeV[i])
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
            ? lblSizeH_MouseMove(layout_, pixelsToTwips(at.y(), client_->logicalDpiY()),
                                 client.height, groupLines())
            : lblSizeV_MouseMove(layout_, index, pixelsToTwips(at.x(), client_->logicalDpiX()),
                                 client.width, client.height);
    if (moved) {
        placeControls();
        // The floors follow the splitters: the entry list's width and top.
        askForSize(client, client);
    }
    return true;
}

void WindowLayout::Form_Resize()
{
    QMainWindow *window = w_.frmMain;
    const Qt::WindowStates state = window->windowState();
    WindowFrame frame;
    frame.client = clientSize();
    frame.frameWidth = frameWidth();
    frame.minimized = state & Qt::WindowMinimized;
    frame.maximized = state & (Qt::WindowMaximized | Qt::WindowFullScreen);
    layout_.maskChecked = w_.mnuViewMask->isChecked();

    const TwipsSize wanted = ::Form_Resize(layout_, frame, groupLines());
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
    const QSize menus = w_.frmMain->size() - client_->size();
    minimumSize_ =
        QSize(pixelsHolding(floor.width, dpiX), pixelsHolding(floor.height, dpiY)) + menus;
    clientWanted_ = QSize(
        wanted.width == client.width ? client_->width() : pixelsHolding(wanted.width, dpiX),
        wanted.height == client.height ? client_->height() : pixelsHolding(wanted.height, dpiY));
    if (sizeAsked_ ||
        (minimumSize_ == w_.frmMain->minimumSize() && clientWanted_ == client_->size()))
        return;
    sizeAsked_ = true;
    QMetaObject::invokeMethod(
        this, [this] { applySize(); }, Qt::QueuedConnection);
}

void WindowLayout::applySize()
{
    sizeAsked_ = false;
    QMainWindow *window = w_.frmMain;
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
    return pixelsToTwips(w_.frmMain->frameGeometry().width() - client_->width(),
                         client_->logicalDpiX());
}

void WindowLayout::toggleMask()
{
    const TwipsSize client = clientSize();
    layout_.maskChecked = w_.mnuViewMask->isChecked();
    LayoutColumns(layout_, client.width, client.height);
    placeControls();
}

ListLines WindowLayout::groupLines() const
{
    const qreal dpi = client_->logicalDpiY();
    return ListLines{pixelsToTwips(lineHeightOf(w_.lstGroup), dpi),
                     pixelsToTwips(2 * w_.lstGroup->frameWidth(), dpi)};
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
    for (std::size_t i = 0; i < w_.cmdIndiv.size(); ++i)
        place(w_.cmdIndiv[i], p.cmdIndiv[i]);
    place(w_.chckEdit, p.chckEdit);
    for (std::size_t i = 0; i < w_.cmdEntry.size(); ++i)
        place(w_.cmdEntry[i], p.cmdEntry[i]);
    place(w_.cmdSort[0], p.cmdSort0);
    place(w_.cmdMain, p.cmdMain);
    place(w_.lblMode, p.lblMode);
    for (std::size_t i = 0; i < w_.cmdEdit.size(); ++i)
        place(w_.cmdEdit[i], p.cmdEdit[i]);
}

void WindowLayout::placeControls()
{
    const MainLayout &l = layout_;
    place(w_.lstGroup, l.lstGroup);
    place(w_.lblSizeH, l.lblSizeH);
    place(w_.lstEntry, l.lstEntry);
    for (std::size_t i = 0; i < w_.cmdCRSR.size(); ++i)
        place(w_.cmdCRSR[i], l.cmdCRSR[i]);
    for (std::size_t i = 0; i < w_.cmdH.size(); ++i)
        place(w_.cmdH[i], l.cmdH[i]);
    for (std::size_t i = 0; i < w_.fraMain.size(); ++i)
        place(w_.fraMain[i], l.fraMain[i]);
    place(w_.fraEdit, l.fraEdit);
    place(w_.txtMask, l.txtMask);
    for (QPlainTextEdit *text : w_.txtText)
        place(text, l.txtText);
    place(w_.lblDate, l.lblDate);
    for (std::size_t i = 0; i < w_.lblSizeV.size(); ++i)
        place(w_.lblSizeV[i], l.lblSizeV[i]);

    w_.mnuViewMask->setChecked(l.maskChecked);
    w_.mnuViewMask->setEnabled(l.maskItemEnabled);
    w_.txtMask->setVisible(l.maskChecked);
    // Without the mask the second bar would lie on the entry text.
    w_.lblSizeV[1]->setVisible(l.maskChecked);
    w_.mnuSettings[4]->setEnabled(l.saveWindowItemEnabled);
}
