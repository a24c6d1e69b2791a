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
    return firstLine(text);
}

QString firstLine(const QString &text)
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
    return dateText(now.date(), locale) + u" - "_s + timeText(now.time(), locale);
}

QString dateText(const QDate &date, const QLocale &locale)
{
    const QString text = locale.toString(date, QLocale::ShortFormat);
    if (CodePage::firstUnencodable(text) < 0)
        return text;
    return QLocale::c().toString(date, QLocale::ShortFormat);
}

QString timeText(const QTime &time, const QLocale &locale)
{
    const QString text = locale.toString(time, timeWithSecondsFormat(locale));
    if (CodePage::firstUnencodable(text) < 0)
        return text;
    return QLocale::c().toString(time, timeWithSecondsFormat(QLocale::c()));
}

} // namespace EditRules
