#pragma once

#include <QString>

// The separator lines of the Insert menu: titles without a text file that
// structure a long entry list, in the order of the Insert menu.
namespace Separators {

enum Kind : int {
    Blanks,        // no-break blanks
    Dashes,        // "- - - -"
    EqualSigns,    // "======="
    CharacterLine, // a line of the user's character
    OwnText,       // the user's text
};

// Index 3 and 4 ask the user first.
bool asksForText(int k);

// The line to insert; "" when nothing is to be inserted (an unknown index, or
// an answer that is empty or, for the text, a single blank). A cancelled
// question inserts nothing and never gets here.
QString separatorText(int k, const QString &answer = {});

} // namespace Separators
