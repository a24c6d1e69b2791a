#pragma once

#include "store/textlines.h"

#include <QStringList>

// LstPrnt.txt: every line of the entry list as shown (indent underscores and
// the closing blank line included), cut to its first 50 characters, in the
// code page with CR LF after each line.
TextLines::Encoded entryListExport(const QStringList &shownLines);
