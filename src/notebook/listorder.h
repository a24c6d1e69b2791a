#pragma once

#include <QString>

// The order of a sorted list box: alphabetical ignoring case, "_" before
// letters. Equal titles compare as not less, so a stable sort keeps their order.
bool listLess(const QString &a, const QString &b);
