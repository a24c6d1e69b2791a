#include "editing/indivbuttons.h"

using namespace Qt::StringLiterals;

namespace IndivButtons {

QString keysOf(const Button &b)
{
    QString prefix = b[0];
    if (b[0] == u"NORMAL"_s)
        prefix.clear();
    else if (b[0] == u"SHIFT"_s)
        prefix = u"+"_s;
    else if (b[0] == u"CTRL"_s)
        prefix = u"^"_s;
    else if (b[0] == u"ALT"_s)
        prefix = u"%"_s;
    const QString keys = b[2].isEmpty() ? b[1] : u'(' + b[1] + b[2] + u')';
    if (keys == u"free"_s)
        return {};
    return prefix + keys;
}

QStringList modifierItems()
{
    return {u"NORMAL"_s, u"SHIFT"_s, u"CTRL"_s, u"ALT"_s};
}

QStringList keyItems()
{
    return {u"{DEL}"_s,  u"{DOWN}"_s, u"{END}"_s,  u"{ENTER}"_s, u"{ESC}"_s,  u"{F10}"_s,
            u"{F11}"_s,  u"{F12}"_s,  u"{F2}"_s,   u"{F3}"_s,    u"{F4}"_s,   u"{F5}"_s,
            u"{F6}"_s,   u"{F7}"_s,   u"{F8}"_s,   u"{F9}"_s,    u"{HOME}"_s, u"{INSERT}"_s,
            u"{LEFT}"_s, u"{PGDN}"_s, u"{PGUP}"_s, u"{RIGHT}"_s, u"{TAB}"_s,  u"{UP}"_s,
            u"A"_s,      u"\u00C4"_s, u"B"_s,      u"C"_s,       u"D"_s,      u"E"_s,
            u"F"_s,      u"free"_s,   u"G"_s,      u"H"_s,       u"I"_s,      u"J"_s,
            u"K"_s,      u"L"_s,      u"M"_s,      u"N"_s,       u"O"_s,      u"\u00D6"_s,
            u"P"_s,      u"Q"_s,      u"R"_s,      u"S"_s,       u"T"_s,      u"U"_s,
            u"\u00DC"_s, u"V"_s,      u"W"_s,      u"X"_s,       u"Y"_s,      u"Z"_s};
}

} // namespace IndivButtons
