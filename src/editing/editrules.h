#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The small rules of the edit modes that need no window.
namespace EditRules {

// The placeholder title of an entry that has no title and no file yet.
QString newEntryTitle();

// Text up to its first line break (CR, LF, or a text box's paragraph or
// line separator).
QString firstLine(const QString &text);

// The title proposed for a new entry: its first line.
QString proposedTitle(const QString &text);

// The creation stamp of a new entry: the date in the locale's short form and
// the time with seconds (without a time zone), joined by " - ". A locale whose
// form holds characters the files cannot store gives the C locale's form.
QString dateLine(const QDateTime &now, const QLocale &locale);

// The two halves of the stamp, as F11 and F12 type them into the text; each
// falls back to the C locale's form alone.
QString dateText(const QDate &date, const QLocale &locale);
QString timeText(const QTime &time, const QLocale &locale);

// The locale's time format with seconds and without a time zone.
QString timeWithSecondsFormat(const QLocale &locale);

} // namespace EditRules
