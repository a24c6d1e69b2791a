#include "notebook/listorder.h"

bool listLess(const QString &a, const QString &b)
{
    // Case folding maps letters to lower case, which puts "_" (0x5F) before them.
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}
