#pragma once

#include <QString>

// A caption prefix followed by a text that is shown as it is: an "&" in a name
// or phrase stays visible instead of marking an access key.
QString captionWithText(const QString &prefix, const QString &text);
