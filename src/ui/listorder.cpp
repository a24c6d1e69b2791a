#include "ui/listorder.h"

int listCompare(const QString &a, const QString &b)
{
    // Case folding maps letters to lower case, which puts "_" (0x5F) before
    // every letter; "ÿ" (0xFF) stays after the Latin letters, so ÿ-groups
    // gather at the end as their users intend.
    const int folded = QString::compare(a, b, Qt::CaseInsensitive);
    if (folded != 0)
        return folded;
    return QString::compare(a, b, Qt::CaseSensitive);
}

bool isYGroup(const QString &name)
{
    return name.startsWith(QChar(0xFF));
}
