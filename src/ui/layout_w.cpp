#include "ui/layout_w.h"

#include "ui/mainwidgets_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>

WindowLayout::WindowLayout(MainWidgets &widgets)
    : QObject(widgets.frmMain), w_(widgets), client_(widgets.frmMain->centralWidget())
{
    client_->installEventFilter(this);
    placePanels();
}

bool WindowLayout::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == client_ && event->type() == QEvent::Resize)
        apply();
    return false;
}

void WindowLayout::place(QWidget *widget, const TwipsRect &r) const
{
    widget->setGeometry(twipsToPixels(QRect(r.left, r.top, r.width, r.height),
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

void WindowLayout::apply()
{
    LayoutInput in;
    in.clientWidth = pixelsToTwips(client_->width(), client_->logicalDpiX());
    in.clientHeight = pixelsToTwips(client_->height(), client_->logicalDpiY());
    in.frameTop = frameTop;
    in.frameLeft1 = frameLeft1;
    in.frameLeft2 = frameLeft2;
    in.maskChecked = w_.mnuViewMask->isChecked();
    const MainLayout l = computeMainLayout(in);

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
    place(w_.lblSizeV[0], l.lblSizeV[0]);
    place(w_.lblSizeV[1], l.lblSizeV[1]);

    if (l.maskShown && !w_.mnuViewMask->isChecked())
        w_.mnuViewMask->setChecked(true);
    w_.mnuViewMask->setEnabled(l.maskItemEnabled);
    w_.txtMask->setVisible(l.maskShown);
    // Without the mask the second bar would lie on the entry text.
    w_.lblSizeV[1]->setVisible(l.maskShown);
}
