#pragma once

#include <QString>

// The separator lines of the Insert menu: titles without a text file that
// structure a long entry list. k is the mnuInsertCall index: 0 blanks (no-break), 1
// dashes, 2 equal signs, 3 a line of the user's character, 4 the user's text.
namespace Separators {

// Index 3 and 4 ask the user first.
bool asksForText(int k);

// The line to insert; "" when nothing is to be inserted (an unknown index, or
// an answer that is empty or, for the text, a single blank). A cancelled
// question inserts nothing and never gets here.
QString separatorText(int k, const QString &answer = {});

} // namespace Separators
