#include "app/application_w.h"
#include "ui/programicon_w.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(kDesktopId);
    QApplication::setWindowIcon(programIcon());
    return runPlimsa();
}
