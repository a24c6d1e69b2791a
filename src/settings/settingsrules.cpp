#include "settings/settingsrules.h"

#include "i18n/wordtable.h"
#include "store/storelocation.h"

#include <QDir>
#include <limits>

using namespace Qt::StringLiterals;

namespace SettingsRules {

QList<int> listedLanguages(const WordTable &table)
{
    QList<int> slots;
    for (int language = 0; language < WordTable::kLanguages; ++language) {
        if (!table.isFreeSlot(language))
            slots << language;
    }
    return slots;
}

int fontSizeFrom(const QString &typed, int old)
{
    bool ok = false;
    const int size = typed.toInt(&ok, 10);
    if (!ok || size < 1 || size > std::numeric_limits<qint16>::max())
        return old;
    return size;
}

StorePathCheck checkStorePath(const QString &typed, const QString &current)
{
    const QString path = typed.isEmpty() ? u"preset"_s : typed;
    if (StoreLocation::isPreset(path) || path == current)
        return {path, true};
    const QString completed = StoreLocation::completeStorePath(path);
    // A relative path would name another folder whenever the program is
    // started from somewhere else.
    return {completed, QDir::isAbsolutePath(completed) && StoreLocation::holdsIndex(completed)};
}

} // namespace SettingsRules
