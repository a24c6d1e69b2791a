#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The individual buttons: each types a key combination of the user's choice
// into the entry list. A button is three fields as pref.dat keeps them: the
// modifier ("NORMAL", "SHIFT", "CTRL", "ALT", or any other text, which is
// sent as it is), the key ("free" for none) and further keys, all in
// key-string syntax.
namespace IndivButtons {

using Button = std::array<QString, 3>;

// The key string button `b` sends: the modifier's prefix, then the key, or
// the key and the further keys in parentheses so that the modifier holds for
// all of them ("SHIFT", "{F5}", "{F6}" sends "+({F5}{F6})"). "" for a button
// whose key is "free": it sends nothing.
QString keysOf(const Button &b);

// The choices of the settings dialog, in the order it lists them.
QStringList modifierItems();
QStringList keyItems(); // sorted, without F1

} // namespace IndivButtons
