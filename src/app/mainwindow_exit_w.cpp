#include "app/mainwindow_w.h"

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

void MainWindow::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (unloaded_)
        return;
    closeSearchFirst();
    unload();
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
