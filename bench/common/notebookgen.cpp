#include "common/notebookgen.h"

#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/indexfile.h"
#include "store/storepaths.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace NotebookGen {

namespace {

const QStringList kWords = {
    u"meeting"_s, u"notes"_s,  u"call"_s,      u"invoice"_s, u"project"_s,  u"review"_s,
    u"draft"_s,   u"budget"_s, u"Müller"_s,    u"café"_s,    u"plan"_s,     u"idea"_s,
    u"server"_s,  u"backup"_s, u"address"_s,   u"phone"_s,   u"password"_s, u"recipe"_s,
    u"garden"_s,  u"car"_s,    u"insurance"_s, u"tax"_s,     u"holiday"_s,  u"école"_s,
    u"Größe"_s,   u"naïve"_s,  u"version"_s,   u"release"_s, u"todo"_s,     u"week"_s,
    u"and"_s,     u"the"_s,    u"for"_s,       u"with"_s,    u"from"_s,     u"to"_s,
};

// Characters users type in names that are stored as their substitutes.
const QStringList kPunctuated = {u"12:30"_s, u"A/B"_s,     u"why?"_s,   u"x*y"_s, u"a+b"_s,
                                 u"1,5"_s,   u"\"q\""_s,   u"<tag>"_s,  u"a=b"_s, u"C:\\dir"_s,
                                 u"x|y"_s,   u"one;two"_s, u"5\u20ac"_s};

class Generator
{
public:
    explicit Generator(quint32 seed) : random_(seed) {}

    int below(int n) { return int(random_.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    const QString &word() { return kWords.at(below(int(kWords.size()))); }

    QString words(int count)
    {
        QString out;
        for (int i = 0; i < count; ++i) {
            if (i)
                out += u' ';
            out += chance(6) ? kPunctuated.at(below(int(kPunctuated.size()))) : word();
        }
        return out;
    }

    QString title()
    {
        const int kind = below(100);
        if (kind < 3)
            return QString(20 + below(30), kind == 0 ? u'=' : u'-');
        QString shown;
        if (kind < 25)
            shown = QString(1 + below(3), u'_'); // indented under the entry above
        shown += words(1 + below(6));
        if (chance(15))
            shown += u' ' + QString::number(2000 + below(30));
        return OutDOS(shown);
    }

    // Sizes as notes have them: many short ones, some pages, a few long lists.
    QString text()
    {
        const int kind = below(100);
        const int bytes = kind < 80   ? 40 + below(860)
                          : kind < 98 ? 900 + below(3100)
                                      : 6000 + below(24000);
        QString out;
        out.reserve(bytes + 80);
        while (out.size() < bytes) {
            out += words(1 + below(14));
            out += chance(8) ? u"\r\n\r\n"_s : u"\r\n"_s;
        }
        return out;
    }

    QString date()
    {
        return u"%1.%2.%3 - %4:%5:%6"_s.arg(1 + below(28), 2, 10, QChar(u'0'))
            .arg(1 + below(12), 2, 10, QChar(u'0'))
            .arg(2005 + below(20))
            .arg(below(24), 2, 10, QChar(u'0'))
            .arg(below(60), 2, 10, QChar(u'0'))
            .arg(below(60), 2, 10, QChar(u'0'));
    }

private:
    QRandomGenerator random_;
};

// Appends "_" until the stored name is free, as the program does.
QString unique(QString name, QSet<QString> &taken)
{
    while (taken.contains(name.toLower()))
        name += u'_';
    taken.insert(name.toLower());
    return name;
}

bool writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace

NoteTable generateTable(int groups, int entries, quint32 seed)
{
    groups = std::clamp(groups, 0, NoteTable::kGroups);
    entries = std::clamp(entries, 0, NoteTable::kMaxEntries);
    Generator gen(seed);
    QSet<QString> takenNames;
    QStringList names;
    if (groups > 0)
        names.append(unique(u"Trash"_s, takenNames));
    while (names.size() < groups) {
        QString shown = gen.words(1 + gen.below(3));
        if (gen.chance(5))
            shown.prepend(u'\u00ff');
        names.append(unique(OutDOS(shown), takenNames));
    }
    // Slots follow the sorted group list: alphabetical ignoring case, with the
    // ÿ-groups after every other group.
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
        return InDOS(a).compare(InDOS(b), Qt::CaseInsensitive) < 0;
    });

    NoteTable table;
    for (int g = 0; g < groups; ++g) {
        table.cell(g, 0) = names.at(g);
        QSet<QString> takenTitles;
        for (int e = 1; e <= entries; ++e)
            table.cell(g, e) = unique(gen.title(), takenTitles);
    }
    return table;
}

Summary generateNotebook(const QString &storeFolder, int groups, int entries, quint32 seed,
                         bool entryFiles)
{
    const NoteTable table = generateTable(groups, entries, seed);
    Generator gen(seed ^ 0x5eed);
    Summary summary;
    if (!QDir().mkpath(storeFolder))
        return {};
    const QByteArray index = IndexFile::serialize(table, u"1.3.02"_s).bytes;
    if (!writeBytes(StorePaths::indexFile(storeFolder), index))
        return {};
    summary.indexBytes = index.size();

    for (int g = 0; g < table.groupCount(); ++g) {
        const QString group = table.name(g);
        if (!QDir().mkpath(StorePaths::groupFolder(storeFolder, group)))
            return {};
        const QByteArray mask =
            EntryFile::formatMask(gen.chance(60) ? gen.text() : QString()).bytes;
        if (!writeBytes(StorePaths::maskFile(storeFolder, group), mask))
            return {};
        summary.textBytes += mask.size();
        ++summary.files;
        ++summary.groups;
        const int count = table.entryCount(g);
        for (int e = 1; e <= count; ++e) {
            ++summary.entries;
            // Separator lines have no file, as in the program.
            if (!entryFiles || table.cell(g, e).startsWith(u"--"_s) ||
                table.cell(g, e).startsWith(u"=="_s))
                continue;
            const QByteArray bytes = EntryFile::formatEntry(gen.date(), gen.text()).bytes;
            if (!writeBytes(StorePaths::entryFile(storeFolder, group, table.cell(g, e)), bytes))
                return {};
            summary.textBytes += bytes.size();
            ++summary.files;
        }
    }
    return summary;
}

} // namespace NotebookGen
