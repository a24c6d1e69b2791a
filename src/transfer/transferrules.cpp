#include "transfer/transferrules.h"

#include "editing/editrules.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "store/storepaths.h"
#include "store/textlines.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>

using namespace Qt::StringLiterals;

namespace TransferRules {
namespace {

// Stand-ins the Unicode decompositions do not give.
const QHash<char32_t, QString> &standIns()
{
    static const QHash<char32_t, QString> table{
        {U'\u0110', u"D"_s},      {U'\u0111', u"d"_s},  {U'\u0126', u"H"_s},
        {U'\u0127', u"h"_s},      {U'\u0131', u"i"_s},  {U'\u0141', u"L"_s},
        {U'\u0142', u"l"_s},      {U'\u0166', u"T"_s},  {U'\u0167', u"t"_s},
        {U'\u014A', u"N"_s},      {U'\u014B', u"n"_s},  {U'\u1E9E', u"SS"_s},
        {U'\u2010', u"-"_s},      {U'\u2011', u"-"_s},  {U'\u2012', u"-"_s},
        {U'\u2015', u"\u2014"_s}, {U'\u2212', u"-"_s},  {U'\u201B', u"'"_s},
        {U'\u201F', u"\""_s},     {U'\u2032', u"'"_s},  {U'\u2033', u"\""_s},
        {U'\u2190', u"<-"_s},     {U'\u2192', u"->"_s}, {U'\u2194', u"<->"_s},
        {U'\u21D0', u"<="_s},     {U'\u21D2', u"=>"_s}, {U'\u2264', u"<="_s},
        {U'\u2265', u">="_s},     {U'\u2260', u"!="_s}, {U'\u2248', u"~"_s},
        {U'\u2217', u"*"_s},      {U'\u2215', u"/"_s},  {U'\u25CF', u"\u2022"_s},
        {U'\u25E6', u"o"_s},      {U'\u2043', u"-"_s},  {U'\u2028', u"\r\n"_s},
        {U'\u2029', u"\r\n"_s},
    };
    return table;
}

bool encodable(char32_t c)
{
    return c < 0x10000 && CodePage::canEncode(QChar(char16_t(c)));
}

// The code points of `text`; a lone surrogate stands for itself.
template <typename F> void forEachCodePoint(const QString &text, F f)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            f(QChar::surrogateToUcs4(c, text.at(i + 1)), text.mid(i, 2));
            ++i;
        } else {
            f(char32_t(c.unicode()), QString(c));
        }
    }
}

QString standIn(char32_t c)
{
    if (const auto it = standIns().constFind(c); it != standIns().cend())
        return *it;
    const QChar::Category category = QChar::category(c);
    // Invisible: joiners, marks left without a letter, a stray byte order mark.
    if (category == QChar::Other_Format || category == QChar::Mark_NonSpacing ||
        category == QChar::Mark_Enclosing || category == QChar::Mark_SpacingCombining)
        return QString();
    const QString decomposed = QString::fromUcs4(&c, 1).normalized(QString::NormalizationForm_KD);
    QString kept;
    forEachCodePoint(decomposed, [&kept](char32_t d, const QString &s) {
        const QChar::Category cat = QChar::category(d);
        if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_Enclosing ||
            cat == QChar::Mark_SpacingCombining)
            return;
        if (encodable(d))
            kept += s;
        else if (const auto it = standIns().constFind(d); it != standIns().cend())
            kept += *it;
        else
            kept += u'\uFFFD';
    });
    if (kept.isEmpty() || kept.contains(u'\uFFFD'))
        return u"?"_s;
    return kept;
}

QString withoutControls(const QString &name)
{
    QString out = name;
    for (QChar &c : out) {
        if ((c.unicode() < 0x20 && c != u'\t') || c.unicode() == 0x7F)
            c = u' ';
    }
    return out;
}

// Cut `shown` until its stored form, with `reserve` suffixes and `extension`,
// fits one file name.
QString fitted(QString shown, int reserve, const QString &extension)
{
    while (!shown.isEmpty() &&
           !StorePaths::fitsFileName(OutDOS(shown) + QString(reserve, u'_') + extension))
        shown.chop(1);
    return shown;
}

QString validName(const QString &name, int reserve, const QString &extension)
{
    QString shown = closeEquivalent(withoutControls(name));
    shown.remove(u'\r');
    shown.remove(u'\n');
    shown = fitted(shown, reserve, extension);
    const QString stored = OutDOS(shown);
    if (stored.isEmpty() || stored == u"."_s || stored == u".."_s)
        return u"Untitled"_s;
    return InDOS(stored);
}

bool isReservedDeviceName(const QString &name)
{
    const QString base = name.section(u'.', 0, 0).trimmed().toUpper();
    static const QSet<QString> fixed{u"CON"_s, u"PRN"_s, u"AUX"_s, u"NUL"_s};
    if (fixed.contains(base))
        return true;
    return base.size() == 4 && (base.startsWith(u"COM"_s) || base.startsWith(u"LPT"_s)) &&
           base.at(3) >= u'1' && base.at(3) <= u'9';
}

} // namespace

Decoded decodeText(QByteArrayView bytes)
{
    Decoded out;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        out.encoding = Encoding::Utf8Bom;
        out.text = QString::fromUtf8(bytes.sliced(3));
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = bytes.startsWith("\xFF\xFE");
        out.encoding = little ? Encoding::Utf16Le : Encoding::Utf16Be;
        QStringDecoder decoder(little ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::Stateless);
        out.text = decoder(bytes.sliced(2));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        out.text = utf8(bytes);
        if (utf8.hasError()) {
            out.encoding = Encoding::Windows1252;
            out.text = CodePage::decode(bytes.toByteArray());
            return out;
        }
    }
    out.text = out.text.normalized(QString::NormalizationForm_C);
    return out;
}

QStringList unencodableCharacters(const QString &text)
{
    QStringList found;
    if (CodePage::firstUnencodable(text) < 0)
        return found;
    forEachCodePoint(text, [&found](char32_t c, const QString &s) {
        if (!encodable(c) && !found.contains(s))
            found.append(s);
    });
    return found;
}

QString closeEquivalent(const QString &text)
{
    if (CodePage::firstUnencodable(text) < 0)
        return text;
    QString out;
    out.reserve(text.size());
    forEachCodePoint(
        text, [&out](char32_t c, const QString &s) { out += encodable(c) ? s : standIn(c); });
    return out;
}

QString titleFromName(const QString &baseName, int reserve)
{
    QString title = validName(baseName, reserve, u".txt"_s);
    // The placeholder of an entry that has no title yet is no title to take.
    if (title == EditRules::newEntryTitle())
        title += u'_';
    return title;
}

QString groupNameFromPath(const QString &path, int reserve)
{
    return validName(path, reserve, QString());
}

QString safeFileName(const QString &shownName, const QString &extension)
{
    QString name;
    forEachCodePoint(shownName, [&name](char32_t c, const QString &s) {
        if (c < 0x20 || c == 0x7F || QStringView(u"/\\:*?\"<>|").contains(QChar(char16_t(c))))
            name += u'_';
        else
            name += s;
    });
    while (!name.isEmpty() && (name.endsWith(u'.') || name.endsWith(u' ')))
        name.chop(1);
    while (name.startsWith(u' '))
        name.remove(0, 1);
    // Hidden on Unix, and left out by an import.
    if (name.startsWith(u'.'))
        name[0] = u'_';
    if (name.isEmpty() || isReservedDeviceName(name))
        name.prepend(u'_');
    while (name.toUtf8().size() > 200) {
        name.chop(1);
        if (!name.isEmpty() && name.back().isHighSurrogate())
            name.chop(1);
    }
    while (name.endsWith(u'.') || name.endsWith(u' '))
        name.chop(1);
    if (name.isEmpty())
        name = u"_"_s;
    return name + extension;
}

QString uniqueFileName(const QString &name, const QString &extension, QStringList &taken)
{
    const QString base = name.endsWith(extension) ? name.chopped(extension.size()) : name;
    QString candidate = base + extension;
    for (int n = 2; taken.contains(candidate, Qt::CaseInsensitive); ++n)
        candidate = u"%1 (%2)%3"_s.arg(base).arg(n).arg(extension);
    taken.append(candidate);
    return candidate;
}

QString dateLine(const QDateTime &time, const QLocale &locale)
{
    return EditRules::dateLine(time, locale);
}

std::optional<QDateTime> parseDateLine(const QString &line, const QLocale &locale)
{
    const qsizetype dash = line.indexOf(u" - "_s);
    if (dash < 0)
        return std::nullopt;
    const QString datePart = line.left(dash).trimmed();
    const QString timePart = line.mid(dash + 3).trimmed();
    for (const QLocale &loc : {locale, QLocale::c()}) {
        const QString dateFormat = loc.dateFormat(QLocale::ShortFormat);
        QDate date = loc.toDate(datePart, dateFormat);
        const QTime time = loc.toTime(timePart, EditRules::timeWithSecondsFormat(loc));
        if (!date.isValid() || !time.isValid())
            continue;
        // A two-digit year is read as 19xx; take the century that puts it
        // nearest to now, no more than twenty years ahead.
        if (!dateFormat.contains(u"yyyy"_s)) {
            const int current = QDate::currentDate().year();
            int year = date.year();
            while (year + 100 <= current + 20)
                year += 100;
            date = QDate(year, date.month(), date.day());
        }
        const QDateTime moment(date, time);
        if (moment.isValid())
            return moment;
    }
    return std::nullopt;
}

QString toExportedText(const QString &stored)
{
    QString out = stored;
    out.replace(u"\r\n"_s, u"\n"_s);
    return out;
}

QString toStoredText(const QString &plain)
{
    return TextLines::toCrLf(plain);
}

} // namespace TransferRules
