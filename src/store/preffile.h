#pragma once

#include "store/ioerror.h"
#include "store/textlines.h"

#include <QByteArrayView>
#include <QString>

struct Preferences;

// pref.dat: 43 lines, one value each. Numbers are 16-bit, written " 0" / "-1".
namespace PrefFile {

constexpr int kLines = 43;
constexpr int kRequiredLines = 30; // lines 31..43 may be missing

struct ParseResult
{
    int line = 0; // 1-based damaged or missing line; 0 when the file was read
    QString what;
    explicit operator bool() const { return line == 0; }
    IoError error() const;
};

QString header(const QString &programVersion);

// Reads the file into `prefs` with the read conversions of each line applied
// in line order; StorePath "-1" becomes "preset" and is left to be completed by
// the store-folder resolution. `prefs` is left as it was when lines 1..30 are
// missing or damaged.
ParseResult parse(QByteArrayView bytes, Preferences &prefs);

// The 43 lines as they are written; SortDescending is always " 0".
TextLines::Encoded serialize(const Preferences &prefs, const QString &programVersion);

} // namespace PrefFile
