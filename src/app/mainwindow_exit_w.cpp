#include "app/mainwindow_w.h"

#include "editing/editmodes_w.h"
#include "editing/recoverycopy_w.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "platform/messages.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QPlainTextEdit>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Unloads every shown window of that name: a dialog is rejected, so that an
// exec() waiting on it returns as after Cancel and its caller changes nothing.
void unloadWindows(const QString &name)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->objectName() != name || window->isHidden())
            continue;
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        window->close();
    }
}

} // namespace

void MainWindow::exitProgram()
{
    w_.exitTimer->start();
}

void MainWindow::finishExit()
{
    w_.exitTimer->stop();
    for (const QString &name : {u"frmChange"_s, u"frmEditLanguage"_s, u"frmInfo"_s, u"frmInput"_s,
                                u"frmSearch"_s, u"frmSetGlobal"_s, u"frmSetStart"_s})
        unloadWindows(name);
    close();
}

// Every way the window closes comes here (the close box, Alt+F4, File > Exit
// and the tray's Exit through finishExit, the restart after the global
// settings), and none drops an open edit unasked.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!unloaded_ && !mayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    if (unloaded_)
        return;
    closeSearchFirst();
    unload();
}

bool MainWindow::mayClose()
{
    if (!main_.edit.editing() || sessionEnding_)
        return true;
    QString what;
    if (main_.edit.maskEdit())
        what = u"the mask of group \"%1\""_s.arg(w_.groupList->currentText());
    else if (entryList_->selectedIsNew())
        what = u"a new entry"_s;
    else
        what = u"the entry \"%1\""_s.arg(entryList_->selectedTitle());
    enum { Save, Discard, Back };
    const int answer = ctx_.messages.ask(
        Messages::Icon::Information, ctx_.words(Word::Caution),
        u"Plimsa is about to close while %1 is being edited.\n\nSave: the text is saved as OK "
        "saves it (a new entry is asked for its title first), then Plimsa closes.\nDiscard: "
        "the changes are dropped, then Plimsa closes.\nBack to the edit: Plimsa stays open."_s.arg(
            what),
        {{u"cmdCloseSave"_s, u"&Save"_s},
         {u"cmdCloseDiscard"_s, u"&Discard"_s},
         {u"cmdCloseBack"_s, u"&Back to the edit"_s}},
        Save, Back);
    switch (answer) {
    case Save:
        // A refused title or a failed write keeps the edit, and the window.
        return editModes_->ok();
    case Discard:
        editModes_->cancel();
        return true;
    default:
        editModes_->textBox()->window()->activateWindow();
        (main_.edit.maskEdit() ? w_.maskText : w_.entryText)->setFocus();
        return false;
    }
}

void MainWindow::endKeepingEdit()
{
    if (unloaded_)
        return;
    sessionEnding();
    closeSearchFirst();
    unload();
}

void MainWindow::sessionEnding()
{
    sessionEnding_ = true;
    if (main_.edit.editing())
        (void)recovery_->writeNow(true);
}

void MainWindow::closeSearchFirst()
{
    unloadWindows(u"frmSearch"_s);
}

void MainWindow::unload()
{
    unloaded_ = true;
    TrayRemove();
    ctx_.endProgram(0);
}
