#include "editing/separators.h"

using namespace Qt::StringLiterals;

namespace Separators {

namespace {

constexpr int kLength = 99;

} // namespace

bool asksForText(int k)
{
    return k == 3 || k == 4;
}

QString separatorText(int k, const QString &answer)
{
    // The closing "." keeps a line of blanks from being trimmed away at its end.
    switch (k) {
    case 0:
        return QString(kLength, u' ') + u'.';
    case 1:
        return QString(kLength, u'-');
    case 2:
        return QString(kLength, u'=');
    case 3:
        if (answer.isEmpty() || answer == u"CANCEL"_s)
            return {};
        return QString(kLength, answer.front()) + u'.';
    case 4:
        if (answer.isEmpty() || answer == u"CANCEL"_s || answer == u" "_s)
            return {};
        return answer;
    default:
        return {};
    }
}

} // namespace Separators
