#include "editing/separators.h"

using namespace Qt::StringLiterals;

namespace Separators {

namespace {

constexpr int kLength = 99;

} // namespace

bool asksForText(int k)
{
    return k == CharacterLine || k == OwnText;
}

QString separatorText(int k, const QString &answer)
{
    switch (k) {
    case Blanks:
        // Blanks at either end of a title are trimmed when it is stored, and
        // "." alone is no name: no-break spaces stay, so the line stays blank
        // up to its closing ".".
        return QString(kLength, QChar::Nbsp) + u'.';
    case Dashes:
        return QString(kLength, u'-');
    case EqualSigns:
        return QString(kLength, u'=');
    case CharacterLine:
        if (answer.isEmpty())
            return {};
        return QString(kLength, answer.front() == u' ' ? QChar(QChar::Nbsp) : answer.front()) +
               u'.';
    case OwnText:
        if (answer.isEmpty() || answer == u" "_s)
            return {};
        return answer;
    default:
        return {};
    }
}

} // namespace Separators
