#pragma once

#include <QList>
#include <QString>

class WordTable;

// The decisions of the settings dialogs that need no window.
namespace SettingsRules {

// The language slots the global settings offer, in slot order: every slot but
// the free ones. A slot without a name (Language.dat ended before it) is
// offered with its empty name.
QList<int> listedLanguages(const WordTable &table);

// The font size typed into the field, or `old` when the field holds no
// positive 16-bit number (empty, 0, or too large for pref.dat).
int fontSizeFrom(const QString &typed, int old);

// What OK in the start settings makes of the typed store path.
struct StorePathCheck
{
    QString path; // what the field shows and, when valid, what is stored
    bool valid = true;
};
// An empty field means "preset". "preset" (any case) and the current path are
// taken as they are; any other path is completed to its FileStore/ folder and
// is valid only when it is absolute and that folder holds idx.dat.
StorePathCheck checkStorePath(const QString &typed, const QString &current);

} // namespace SettingsRules
