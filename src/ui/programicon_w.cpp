#include "ui/programicon_w.h"

using namespace Qt::StringLiterals;

QIcon programIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(u":/icons/%1x%1/apps/%2.png"_s.arg(size).arg(kDesktopId), QSize(size, size));
    return icon;
}
