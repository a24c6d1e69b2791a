#pragma once

#include "support/foldercontents.h"

#include <QHash>
#include <QString>
#include <QStringList>

// The record the crash soak keeps beside its notebook: what each command was
// about to let go of before it ran, and what it stored once it had returned
// without a report. A kill can come at any moment; the next start checks the
// store against the record.
//
// Records are lines of tab-separated, percent-encoded fields ended by a ";"
// field. Each is appended with one write, but a kill can still cut a long
// one short (the kernel stops a write at a page boundary), so each starts on
// a line of its own and a line without its ";" is left out:
//   base  <text>...          every text the notebook holds at a start
//   begin <command> <typed> <text>...  the text it is to store ("" for none)
//                              and the texts it may let go of
//   done  <text added>...     it returned without a report: what its begin
//                              named is gone, these texts are added
//   refused <report>          a copy refused by a file a killed command left:
//                              nothing changed
//   recovering <text>         the recovery copy of an open edit about to be
//                              written with this text
//   recovered                 and written
//   cancelling                the edit about to be cancelled (its copy removed)
namespace SoakJournal {

using Texts = QHash<QString, int>; // a text and how many entries or masks hold it

void append(const QString &journal, const QStringList &fields);

// The texts of the entries and masks idx.dat names, as SoakCommands::normal gives them.
Texts heldTexts(const Files &files);

// A title idx.dat may name without a file ("group/title"): the new entry's
// placeholder and a separator line of dashes or equal signs.
bool withoutFileByDesign(const QString &name);

// What the start of the program on `root` would find wrong, and every text of
// the last confirmed command's notebook that is gone (apart from those the
// command under way when the program was killed may let go of), every text
// that was never typed (a torn file) and every title without its file
// (apart from the new entry's placeholder and separator lines).
QStringList check(const QString &root, const QString &journal);

// The edit the start gave back, as texts it may be: the last recovery copy
// written in the command under way when the program was killed, the one
// being written then, and none where no copy was left or it was being
// removed. An empty list: nothing may be offered.
struct Recoverable
{
    QStringList texts;
    bool noneAllowed = true;
};
Recoverable recoverable(const QString &journal);

} // namespace SoakJournal
