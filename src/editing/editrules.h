#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// The small rules of the edit modes that need no window.
namespace EditRules {

// The placeholder title of an entry that has no title and no file yet.
QString newEntryTitle();

// The title proposed for a new entry: its text up to the first line break.
QString proposedTitle(const QString &text);

// The creation stamp of a new entry: the date in the locale's short form and
// the time with seconds (without a time zone), joined by " - ". A locale whose
// forms hold characters the files cannot store gives the C locale's forms.
QString dateLine(const QDateTime &now, const QLocale &locale);

// The locale's time format with seconds and without a time zone.
QString timeWithSecondsFormat(const QLocale &locale);

} // namespace EditRules
