#include "editing/editrules.h"

#include "store/codepage.h"

using namespace Qt::StringLiterals;

namespace EditRules {

QString newEntryTitle()
{
    return u"* NEW *"_s;
}

QString proposedTitle(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            return text.left(i);
    }
    return text;
}

QString timeWithSecondsFormat(const QLocale &locale)
{
    // The long form has the seconds; only its time zone ("t" outside quotes) goes.
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.trimmed();
}

QString dateLine(const QDateTime &now, const QLocale &locale)
{
    const QString line = locale.toString(now.date(), QLocale::ShortFormat) + u" - "_s +
                         locale.toString(now.time(), timeWithSecondsFormat(locale));
    if (CodePage::firstUnencodable(line) < 0)
        return line;
    return dateLine(now, QLocale::c());
}

} // namespace EditRules
