#include "app/frmmain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
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

void FrmMain::exitProgram()
{
    w_.timExit->start();
}

void FrmMain::timExit_Timer()
{
    w_.timExit->stop();
    for (const QString &name : {u"frmChange"_s, u"frmEditLanguage"_s, u"frmInfo"_s, u"frmInput"_s,
                                u"frmSearch"_s, u"frmSetGlobal"_s, u"frmSetStart"_s})
        unloadWindows(name);
    close();
}

void FrmMain::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (unloaded_)
        return;
    Form_QueryUnload();
    Form_Unload();
}

void FrmMain::Form_QueryUnload()
{
    unloadWindows(u"frmSearch"_s);
}

void FrmMain::Form_Unload()
{
    unloaded_ = true;
    TrayRemove();
    ctx_.endProgram(0);
}
