#include "app/frmmain.h"

#include "editing/phrasememories_w.h"
#include "navigation/posmemories_w.h"
#include "store/appstate.h"
#include "ui/layout_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTimer>

// The start settings, once, about 100 ms after the first paint.
void FrmMain::timPreset_Timer()
{
    w_.timPreset->stop();
    const Preferences &prefs = ctx_.state.prefs;

    layout_->frameTop = prefs.FrameTop;
    layout_->frameLeft1 = prefs.FrameLeft1;
    layout_->frameLeft2 = prefs.FrameLeft2;
    layout_->apply();

    const bool locked = prefs.StartLocked != 0;
    if (w_.chckEdit->isChecked() == locked)
        chckEdit_Click();
    else
        w_.chckEdit->setChecked(locked);

    if (prefs.StartWordwrap != 0)
        w_.mnuWordwrap->trigger();
    selectStartGroup();
    applyFonts();
    if (prefs.GroupListWhite == 0) {
        QPalette grey = w_.lstGroup->palette();
        grey.setColor(QPalette::Base, QColor(224, 224, 224));
        w_.lstGroup->setPalette(grey);
    }
    placeWindow();
    if (prefs.StartViewMask != 0) {
        w_.mnuViewMask->setChecked(false);
        w_.mnuViewMask->trigger();
    }
    applyWindowState();

    if (ctx_.state.StoreInUse) {
        w_.chckEdit->setChecked(true);
        w_.chckEdit->setEnabled(false);
        w_.mnuEditPermission->setEnabled(false);
    }
    if (ctx_.state.StoreFallback)
        mnuSettings_Click(1);

    ShowPosMemories(w_, ctx_.words, prefs.PositionMemory);
    ShowPhraseMemories(w_, ctx_.words, prefs.PhraseMemory);
    Q_EMIT startupWorkDone();
}

void FrmMain::selectStartGroup()
{
    QListWidget *list = w_.lstGroup;
    int line = -1;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->text() == ctx_.state.prefs.StartGroup)
            line = i;
    }
    if (line < 0 && list->count() > 0)
        line = 0;
    if (line >= 0)
        list->setCurrentRow(line);
}

void FrmMain::applyFonts()
{
    const Preferences &prefs = ctx_.state.prefs;
    QFont font(prefs.FontName);
    // A size of 0 or below (a hand-edited pref.dat) keeps the default size.
    if (prefs.FontSize > 0)
        font.setPointSize(prefs.FontSize);
    font.setBold(prefs.FontBold != 0);
    for (QWidget *widget :
         {static_cast<QWidget *>(w_.lstGroup), static_cast<QWidget *>(w_.lstEntry),
          static_cast<QWidget *>(w_.txtMask), static_cast<QWidget *>(w_.txtText[0]),
          static_cast<QWidget *>(w_.txtText[1])})
        widget->setFont(font);
}

void FrmMain::placeWindow()
{
    const Preferences &prefs = ctx_.state.prefs;
    // The stored rectangle is the outer one, frame included, as the window
    // manager draws it.
    const QSize frame = frameGeometry().size() - geometry().size();
    resize(twipsToPixels(prefs.WindowWidth, logicalDpiX()) - frame.width(),
           twipsToPixels(prefs.WindowHeight, logicalDpiY()) - frame.height());
    move(twipsToPixels(prefs.WindowLeft, logicalDpiX()),
         twipsToPixels(prefs.WindowTop, logicalDpiY()));
}

void FrmMain::applyWindowState()
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
