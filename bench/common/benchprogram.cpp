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

    QByteArray language;
    for (int l = 1; l <= 9; ++l) {
        language += "(free)\r\n";
        for (int k = 1; k < WordTable::kWords; ++k)
            language += "\r\n";
    }
    QFile file(folder + u"Language.dat"_s);
    if (!file.open(QIODevice::WriteOnly) || file.write(language) != language.size())
        return {};
    file.close();

    return NotebookGen::generateNotebook(folder + u"FileStore/"_s, groups, entries, 1, entryFiles);
}

} // namespace BenchProgram
