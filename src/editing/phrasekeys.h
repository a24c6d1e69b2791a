#pragma once

#include "platform/keystring.h"

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <array>
#include <optional>

// The keys that F5 to F8, F11 and F12 type into the entry text.
namespace PhraseKeys {

// F11's and F12's keys: the date and the time as they stand, whatever the
// locale's forms hold.
QString dateKeys(const QDate &date, const QLocale &locale);
QString timeKeys(const QTime &time, const QLocale &locale);

// What `stroke` types in turn where the entry text takes it: F5 to F8 their
// phrase, F11 and F12 the date and the time. Asked of a key wherever it
// lands, so that a count of the keys one press types never falls short.
std::optional<QString> keysTypedBy(const KeyStroke &stroke, const std::array<QString, 4> &phrases,
                                   const QDateTime &now, const QLocale &locale);

} // namespace PhraseKeys
