#pragma once

#include "store/outsidechange.h"
#include "store/safewrite.h"

#include <QByteArray>
#include <QString>
#include <optional>

// The recovery copy of an open edit: what was typed, and where it belongs,
// written while the user types and read at the next start when the program
// ended without the edit being confirmed or cancelled. It is never an entry
// file: an edit not yet confirmed never replaces the stored text. One per
// store, in the program's own folder for that store (LocalFolder).
struct RecoveryCopy
{
    enum class Kind {
        Entry,    // an entry's text, over the stored one
        NewEntry, // a new entry, not yet titled
        Mask,     // a group's mask
    };
    Kind kind = Kind::Entry;
    QString group; // stored names
    QString title; // the entry's; "" for a new entry and a mask
    int line = 0;  // the entry's line in its group (from 0), where a new one goes back
    QString date;  // the entry's date line as shown
    // The entry's or mask's file as it was when the edit began: a file that
    // differs at the start was changed by someone else meanwhile.
    FileIdentity shown;
    QString text; // lines ended by LF, as the box holds them

    bool operator==(const RecoveryCopy &) const = default;
};

namespace RecoveryFile {

// "<program folder>local/<store's key>/recovery.dat"
QString path(const QString &programFolder, const QString &storeFolder);

QByteArray serialize(const RecoveryCopy &copy);
// Nothing for a file this program did not write whole (damaged, cut short).
std::optional<RecoveryCopy> parse(const QByteArray &bytes);

// Written whole, through the one whole-file writer, the folder made first.
FileResult write(const QString &programFolder, const QString &storeFolder,
                 const RecoveryCopy &copy);
// Removed; no file is no error.
FileResult remove(const QString &programFolder, const QString &storeFolder);

} // namespace RecoveryFile
