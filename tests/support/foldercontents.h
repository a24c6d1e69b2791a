#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The files of a program folder (pref.dat, Language.dat, the store under
// FileStore/), each by its path relative to the folder, with its bytes.
using Files = QMap<QString, QByteArray>;

// A new file of the whole-file writer that a crash or a failed clean-up left
// behind; the next start removes it.
bool isLeftover(const QString &path);

// Every regular file under `root` but the store's marker InUse.dat (no part of
// the notebook: it holds the note of a clean end); left-over new files go to `leftovers`.
Files readFolder(const QString &root, QStringList *leftovers = nullptr);
// Everything under `root`, hidden files included, as "path/" for a folder and
// "path=content" for a file, sorted: a test sees any file an operation left.
QStringList tree(const QString &root);
// Makes the files under `root` exactly `files` again (InUse.dat is left alone:
// a running copy holds it).
void restoreFolder(const QString &root, const Files &files);

// The notebook a start would show: idx.dat, pref.dat, Language.dat and
// LstPrnt.txt, the mask of each group idx.dat names and the file of each of
// its titles; a file that is missing is there with the bytes of kMissing.
// Files nothing names (a copy left behind, say) are not part of it, nor is
// the recovery copy of an edit unless `withRecovery`.
Files notebookOf(const Files &files, bool withRecovery = false);
inline const QByteArray kMissing = QByteArrayLiteral("\0missing");

// The titles of idx.dat without a file, as "group/title" in stored form, and
// its groups without a mask, as "group/".
QStringList namesWithoutFile(const Files &files);
// The texts of the entries idx.dat names and of its groups' masks that are not empty.
QStringList textsOf(const Files &files);

// Each entry file's date line as "date": a new entry's date changes from run to run.
Files withoutDates(Files files);

// The paths whose bytes differ between `a` and `b`, for a failure's message.
QStringList differences(const Files &a, const Files &b);

// What the start would find wrong in the program folder `root`: pref.dat,
// Language.dat and idx.dat loaded as the start loads them, and every entry
// file idx.dat names read; "" when all load.
QString loadProblem(const QString &root);
