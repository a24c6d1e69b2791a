#include "common/benchprogram.h"

#include "i18n/wordtable.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "store/store.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace BenchProgram {

void FailingMessages::message(Icon, const QString &title, const QString &text)
{
    std::fprintf(stderr, "message: %s: %s\n", qPrintable(title), qPrintable(text));
    std::fputs("failed\n", stdout);
    std::fflush(stdout);
    std::exit(2);
}

NotebookGen::Summary makeProgramFolder(const QString &folder, int groups, int entries,
                                       bool entryFiles)
{
    QDir().mkpath(folder);
    AppState state;
    state.programFolder = folder;
    Preferences &p = state.prefs;
    p.StartGroup = u"Always First"_s;
    p.FontName = u"DejaVu Sans"_s;
    p.WindowTop = 1200;
    p.WindowLeft = 1200;
    p.WindowHeight = 8000;
    p.WindowWidth = 12000;
    p.FrameTop = 2740;
    p.FrameLeft1 = 2975;
    p.FrameLeft2 = 5400;
    p.StorePath = u"preset"_s;
    NoteTable table;
    Store store(state, table);
    if (!store.Save_pref())
        return {};

    const QByteArray language = freeLanguageFile();
    QFile file(folder + u"Language.dat"_s);
    if (!file.open(QIODevice::WriteOnly) || file.write(language) != language.size())
        return {};
    file.close();

    return NotebookGen::generateNotebook(folder + u"FileStore/"_s, groups, entries, 1, entryFiles);
}

QByteArray freeLanguageFile()
{
    QByteArray language;
    for (int l = 1; l <= 9; ++l) {
        language += "(free)\r\n";
        for (int k = 1; k < WordTable::kWords; ++k)
            language += "\r\n";
    }
    return language;
}

NotebookGen::Summary reusableProgramFolder(const QString &parent, int groups, int entries,
                                           bool entryFiles, QString *folder)
{
    *folder = u"%1/plimsa-notebook-%2x%3-%4/"_s.arg(parent).arg(groups).arg(entries).arg(
        entryFiles ? u"files"_s : u"index"_s);
    QFile stamp(*folder + u"complete.stamp"_s);
    NotebookGen::Summary summary;
    if (stamp.open(QIODevice::ReadOnly)) {
        const QList<QByteArray> numbers = stamp.readAll().trimmed().split(' ');
        if (numbers.size() == 5) {
            summary.groups = numbers[0].toInt();
            summary.entries = numbers[1].toInt();
            summary.files = numbers[2].toInt();
            summary.indexBytes = numbers[3].toLongLong();
            summary.textBytes = numbers[4].toLongLong();
            return summary;
        }
    }
    std::fprintf(stderr, "generating %s ...\n", qPrintable(*folder));
    QDir(*folder).removeRecursively();
    summary = makeProgramFolder(*folder, groups, entries, entryFiles);
    if (summary.groups == 0 || !stamp.open(QIODevice::WriteOnly))
        return {};
    stamp.write(QByteArray::number(summary.groups) + ' ' + QByteArray::number(summary.entries) +
                ' ' + QByteArray::number(summary.files) + ' ' +
                QByteArray::number(summary.indexBytes) + ' ' +
                QByteArray::number(summary.textBytes));
    return summary;
}

} // namespace BenchProgram
