#include "store/preferences.h"

using namespace Qt::StringLiterals;

Preferences::Preferences()
{
    PositionMemory.fill(u"free/free"_s);
    PhraseMemory.fill(u"free"_s);
    for (auto &button : IndivButton)
        button = {u"NORMAL"_s, u"free"_s, QString()};
}
