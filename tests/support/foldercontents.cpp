#include "support/foldercontents.h"
#include "support/testsupport.h"

#include "i18n/wordtable.h"
#include "store/appstate.h"
#include "store/entryfile.h"
#include "store/indexfile.h"
#include "store/notetable.h"
#include "store/store.h"
#include "store/storepaths.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString kStore = u"FileStore/"_s;

// Calls `visit(relative, path)` for each regular file under `root` but the
// store's marker.
template <typename Visit> void forEachFile(const QString &root, Visit visit)
{
    const QDir dir(QDir(root).absolutePath());
    QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = dir.relativeFilePath(it.next());
        if (!relative.endsWith(u"InUse.dat"_s))
            visit(relative, it.filePath());
    }
}

// Calls `visit(group, title)` for each title of idx.dat (an empty title for
// the group itself); nothing when idx.dat does not read.
template <typename Visit> void forEachName(const Files &files, Visit visit)
{
    NoteTable table;
    if (!IndexFile::parse(files.value(kStore + u"idx.dat"_s), table))
        return;
    for (int g = 0; g < table.groupCount(); ++g) {
        visit(table.name(g), QString());
        for (int c = 1; c <= table.entryCount(g); ++c)
            visit(table.name(g), table.cell(g, c));
    }
}

QString pathOf(const QString &group, const QString &title)
{
    return kStore + group + u'/' + (title.isEmpty() ? u"_mask.dat"_s : title + u".txt"_s);
}

} // namespace

bool isLeftover(const QString &path)
{
    return QFileInfo(path).fileName().startsWith(u".plimsa-new-"_s);
}

Files readFolder(const QString &root, QStringList *leftovers)
{
    Files files;
    forEachFile(root, [&](const QString &relative, const QString &path) {
        if (!isLeftover(relative))
            files.insert(relative, readFile(path));
        else if (leftovers)
            leftovers->append(relative);
    });
    return files;
}

QStringList tree(const QString &root)
{
    QStringList out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        QFile f(info.filePath());
        if (info.isDir())
            out << info.filePath().mid(root.size()) + u"/"_s;
        else if (f.open(QIODevice::ReadOnly))
            out << info.filePath().mid(root.size()) + u"="_s + QString::fromUtf8(f.readAll());
    }
    out.sort();
    return out;
}

void restoreFolder(const QString &root, const Files &files)
{
    forEachFile(root, [&](const QString &relative, const QString &path) {
        if (!files.contains(relative))
            QFile::remove(path);
    });
    const QDir dir(QDir(root).absolutePath());
    QDirIterator folders(dir.path(), QDir::Dirs | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    QStringList empty;
    while (folders.hasNext())
        empty.prepend(folders.next());
    for (const QString &folder : std::as_const(empty))
        dir.rmdir(folder); // only if nothing is left in it
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = dir.filePath(it.key());
        if (!it.key().endsWith(u"InUse.dat"_s) &&
            (!QFileInfo::exists(path) || readFile(path) != it.value()))
            writeFile(path, it.value());
    }
}

Files notebookOf(const Files &files, bool withRecovery)
{
    Files notebook;
    for (auto it = files.begin(); withRecovery && it != files.end(); ++it) {
        if (it.key().startsWith(u"local/"_s))
            notebook.insert(it.key(), it.value());
    }
    for (const QString &name :
         {u"pref.dat"_s, u"Language.dat"_s, kStore + u"idx.dat"_s, kStore + u"LstPrnt.txt"_s}) {
        if (files.contains(name))
            notebook.insert(name, files.value(name));
    }
    forEachName(files, [&](const QString &group, const QString &title) {
        const QString path = pathOf(group, title);
        notebook.insert(path, files.value(path, kMissing));
    });
    return notebook;
}

QStringList namesWithoutFile(const Files &files)
{
    QStringList missing;
    forEachName(files, [&](const QString &group, const QString &title) {
        if (!files.contains(pathOf(group, title)))
            missing.append(group + u'/' + title);
    });
    return missing;
}

QStringList textsOf(const Files &files)
{
    QStringList texts;
    forEachName(files, [&](const QString &group, const QString &title) {
        const QString path = pathOf(group, title);
        if (!files.contains(path))
            return;
        const QByteArray bytes = files.value(path);
        QString text =
            title.isEmpty() ? EntryFile::parseMask(bytes) : EntryFile::parseEntry(bytes).text;
        if (text.endsWith(u"\r\n"_s))
            text.chop(2);
        if (!text.isEmpty())
            texts.append(text);
    });
    return texts;
}

Files withoutDates(Files files)
{
    for (auto it = files.begin(); it != files.end(); ++it) {
        if (it.key().startsWith(kStore) && it.key().count(u'/') == 2 &&
            it.key().endsWith(u".txt"_s)) {
            const qsizetype end = it.value().indexOf('\n');
            it.value() = "date" + (end < 0 ? QByteArray() : it.value().mid(end));
        }
    }
    return files;
}

QStringList differences(const Files &a, const Files &b)
{
    QStringList paths;
    for (const QString &path : a.keys() + b.keys()) {
        const bool differs = a.contains(path) != b.contains(path) || a.value(path) != b.value(path);
        if (differs && !paths.contains(path))
            paths.append(path);
    }
    return paths;
}

QString loadProblem(const QString &root)
{
    AppState state;
    state.programFolder = QDir(root).absolutePath() + u'/';
    NoteTable table;
    Store store(state, table);
    if (const auto error = store.LoadPreferences())
        return u"pref.dat does not load: "_s + error->description;
    WordTable words;
    if (const auto error = words.loadLanguageFile(state.programFolder + u"Language.dat"_s))
        return u"Language.dat does not load: "_s + error->description;
    if (const auto error = store.LoadIndex())
        return u"idx.dat does not load: "_s + error->description;
    for (int g = 0; g < table.groupCount(); ++g) {
        for (int c = 1; c <= table.entryCount(g); ++c) {
            const QString path =
                StorePaths::entryFile(state.storeFolder, table.name(g), table.cell(g, c));
            if (QFileInfo::exists(path) && !EntryFile::readEntry(path, state.storeFolder).ok)
                return u"an entry file does not read: "_s + path;
        }
    }
    return {};
}
