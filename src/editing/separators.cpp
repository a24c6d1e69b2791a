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
    switch (k) {
    case 0:
        // Blanks at either end of a title are trimmed when it is stored, and
        // "." alone is no name: no-break spaces stay, so the line stays blank
        // up to its closing ".".
        return QString(kLength, QChar::Nbsp) + u'.';
    case 1:
        return QString(kLength, u'-');
    case 2:
        return QString(kLength, u'=');
    case 3:
        if (answer.isEmpty())
            return {};
        return QString(kLength, answer.front() == u' ' ? QChar(QChar::Nbsp) : answer.front()) +
               u'.';
    case 4:
        if (answer.isEmpty() || answer == u" "_s)
            return {};
        return answer;
    default:
        return {};
    }
}

} // namespace Separators
