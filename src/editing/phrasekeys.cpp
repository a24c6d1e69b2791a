#include "editing/phrasekeys.h"

#include "editing/editrules.h"
#include "ui/keymap.h"

namespace PhraseKeys {

QString dateKeys(const QDate &date, const QLocale &locale)
{
    return escapeKeyString(EditRules::dateText(date, locale));
}

QString timeKeys(const QTime &time, const QLocale &locale)
{
    return escapeKeyString(EditRules::timeText(time, locale));
}

std::optional<QString> keysTypedBy(const KeyStroke &stroke, const std::array<QString, 4> &phrases,
                                   const QDateTime &now, const QLocale &locale)
{
    const KeyMap::Row *row = KeyMap::find(KeyMap::Place::Text, stroke.key, stroke.modifiers);
    if (!row)
        return std::nullopt;
    switch (row->command) {
    case KeyMap::Command::CallPhrase:
        return phrases[size_t(stroke.key - Qt::Key_F5)];
    case KeyMap::Command::InsertDate:
        return dateKeys(now.date(), locale);
    case KeyMap::Command::InsertTime:
        return timeKeys(now.time(), locale);
    default:
        return std::nullopt;
    }
}

} // namespace PhraseKeys
