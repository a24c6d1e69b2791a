#pragma once

#include <QString>

// Text the files cannot hold is refused where it enters, never replaced: the
// message names the first character the code page has no byte for.
namespace CodePageRefusal {

// The first character of `text` that the code page cannot hold (both halves
// of a surrogate pair), or "" when every character can be stored.
QString firstRefused(const QString &text);

// The message that tells why `character` was not taken.
QString message(const QString &character);

} // namespace CodePageRefusal
