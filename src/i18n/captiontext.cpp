#include "i18n/captiontext.h"

using namespace Qt::StringLiterals;

QString captionWithText(const QString &prefix, const QString &text)
{
    QString shown = text;
    shown.replace(u'&', u"&&"_s);
    return prefix + shown;
}
