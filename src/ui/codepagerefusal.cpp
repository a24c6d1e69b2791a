#include "ui/codepagerefusal.h"

#include "store/codepage.h"

#include <QList>

using namespace Qt::StringLiterals;

namespace CodePageRefusal {

QString firstRefused(const QString &text)
{
    const qsizetype bad = CodePage::firstUnencodable(text);
    if (bad < 0)
        return {};
    const bool pair = text.at(bad).isHighSurrogate() && bad + 1 < text.size();
    return text.mid(bad, pair ? 2 : 1);
}

QString message(const QString &character)
{
    const QString code =
        QString::number(character.toUcs4().value(0), 16).toUpper().rightJustified(4, u'0');
    return u"The character \"%1\" (U+%2) cannot be stored in Plimsa's files, "
           "which hold only Windows-1252 characters. It was not taken."_s.arg(character, code);
}

} // namespace CodePageRefusal
