#include "app/mainwindow_w.h"

#include "app/recoveryoffer_w.h"
#include "store/appstate.h"
#include "ui/layout_w.h"
#include "ui/refreshcommands_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"
#include "ui/twips.h"
#include "ui/windowplacement.h"

#include <QAction>
#include <QCheckBox>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTimer>

// The start settings, once, about 100 ms after the first paint.
void MainWindow::applyStartSettings()
{
    w_.startSettingsTimer->stop();
    const Preferences &prefs = ctx_.state.prefs;

    // Laid out with the placement below, once the fonts are set: the group
    // list snaps to whole lines of its own font.
    layout_->setSplitters(prefs.FrameTop, prefs.FrameLeft1, prefs.FrameLeft2);

    const bool locked = prefs.StartLocked != 0;
    w_.lockAction->setChecked(locked);
    commands_->refresh();
    w_.entryList->setFocus();

    if (prefs.StartWordwrap != 0)
        w_.wordWrapItem->trigger();
    selectStartGroup();
    applyFonts();
    applyGroupListColour();
    placeWindow();
    layout_->relayout();
    if (prefs.StartViewMask != 0) {
        w_.viewMaskItem->setChecked(false);
        w_.viewMaskItem->trigger();
    }
    applyWindowState();

    if (ctx_.state.StoreInUse)
        lockWhileStoreInUse();
    if (ctx_.state.StoreFallback)
        w_.settingsItems[1]->trigger(); // the start settings, to name another store

    showMemoryCaptions();
    // An edit the last run ended without is offered back before anything
    // else can change the notebook.
    recoveryOffer_->offer();
    Q_EMIT startupWorkDone();
}

void MainWindow::selectStartGroup()
{
    TitleListView *list = w_.groupList;
    int line = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->titles().shownName(i) == ctx_.state.prefs.StartGroup)
            line = i;
    }
    if (line < 0 && list->count() > 0)
        line = 0;
    if (line >= 0)
        list->setCurrentRow(line);
}

void MainWindow::applyFonts()
{
    const Preferences &prefs = ctx_.state.prefs;
    QFont font(prefs.FontName);
    // A size of 0 or below (a hand-edited pref.dat) keeps the default size.
    if (prefs.FontSize > 0)
        font.setPointSize(prefs.FontSize);
    font.setBold(prefs.FontBold != 0);
    for (QWidget *widget :
         {static_cast<QWidget *>(w_.groupList), static_cast<QWidget *>(w_.entryList),
          static_cast<QWidget *>(w_.maskText), static_cast<QWidget *>(w_.entryText)})
        widget->setFont(font);
}

// The grey of the group list is fixed, so its text is too: the palette's own
// text colour would be white on it under a dark theme.
void MainWindow::applyGroupListColour()
{
    const bool white = ctx_.state.prefs.GroupListWhite != 0;
    const QPalette list = w_.entryList->palette();
    QPalette palette = w_.groupList->palette();
    palette.setColor(QPalette::Base, white ? list.color(QPalette::Base) : QColor(224, 224, 224));
    palette.setColor(QPalette::Text, white ? list.color(QPalette::Text) : QColor(Qt::black));
    w_.groupList->setPalette(palette);
}

void MainWindow::placeWindow()
{
    const Preferences &prefs = ctx_.state.prefs;
    // The stored rectangle is the outer one, frame included, as the window
    // manager draws it. One stored on a screen that is gone comes back on this one.
    QList<QRect> screens{screen()->availableGeometry()};
    for (const QScreen *other : QGuiApplication::screens()) {
        if (other != screen())
            screens << other->availableGeometry();
    }
    const QRect placed = placeOnScreens(twipsToPixels(QRect(prefs.WindowLeft, prefs.WindowTop,
                                                            prefs.WindowWidth, prefs.WindowHeight),
                                                      logicalDpiX(), logicalDpiY()),
                                        screens);
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(placed.size() - frame);
    move(placed.topLeft());
}

void MainWindow::applyWindowState()
{
    switch (ctx_.state.prefs.StartWindowState) {
    case 1:
        showMinimized();
        break;
    case 2:
        showMaximized();
        break;
    case 3:
        hideMainWindow();
        break;
    default:
        break;
    }
}
