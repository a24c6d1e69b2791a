#pragma once

#include "notebook/uniquename.h"

#include <QString>

// The messages of the refusals the word table has no words for: limits, a
// missing trash group, names no folder or file can carry. English only, as a
// translation cannot supply them.
namespace RefusalTexts {

QString notebookFull();
QString groupFull(const QString &shownGroup);
// The selected group has no room for another line (a new entry, a separator).
QString noRoomForLine();
QString noTrashGroup();
QString groupStillHoldsEntry();
// The text for a refused group name or entry title; empty for Refusal::None
// and Refusal::Empty, which are taken like an empty answer without a word.
QString name(UniqueName::Refusal refusal, const QString &shownName);

} // namespace RefusalTexts
