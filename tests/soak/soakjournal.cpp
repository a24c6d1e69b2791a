#include "soak/soakjournal.h"

#include "soak/soakcommands.h"
#include "store/dostext.h"

#include <QFile>
#include <QSet>

#include <optional>

#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace SoakJournal {

namespace {

// The journal's whole records, each as its fields; nullopt when it cannot be read.
std::optional<QList<QStringList>> records(const QString &journal)
{
    QFile file(journal);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QList<QStringList> records;
    for (const QByteArray &line : file.readAll().split('\n')) {
        // Empty, or cut short by a kill while it was written.
        if (!line.endsWith("\t;"))
            continue;
        QStringList &fields = records.emplace_back();
        for (const QByteArray &field : line.chopped(2).split('\t'))
            fields.append(QString::fromUtf8(QByteArray::fromPercentEncoding(field)));
    }
    return records;
}

void remove(Texts &texts, const QString &text)
{
    if (--texts[text] <= 0)
        texts.remove(text);
}

} // namespace

bool withoutFileByDesign(const QString &name)
{
    QString title = name.section(u'/', 1);
    // A suffix that made the title unique in its group
    while (title.size() > 1 && title.endsWith(u'_'))
        title.chop(1);
    if (title == OutDOS(u"* NEW *"_s))
        return true;
    // Separator lines: a run of one character, as the Insert menu and hand-made notebooks have
    // them.
    const QString line = InDOS(title);
    return line.size() > 1 && (line[0] == u'-' || line[0] == u'=') &&
           line == QString(line.size(), line[0]);
}

void append(const QString &journal, const QStringList &fields)
{
    // ";" is never a field: the encoding writes it as %3B.
    QByteArray line("\n");
    for (const QString &field : fields)
        line += field.toUtf8().toPercentEncoding() + '\t';
    line += ";\n";
    const int fd = ::open(QFile::encodeName(journal).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0 || ::write(fd, line.constData(), size_t(line.size())) != line.size())
        qFatal("the journal %s cannot be written", qPrintable(journal));
    ::close(fd);
}

Texts heldTexts(const Files &files)
{
    Texts texts;
    for (const QString &text : ::textsOf(files)) {
        const QString normal = SoakCommands::normal(text);
        if (!normal.isEmpty())
            ++texts[normal];
    }
    return texts;
}

QStringList check(const QString &root, const QString &journal)
{
    QStringList problems;
    if (const QString problem = loadProblem(root); !problem.isEmpty())
        problems << problem;

    const auto journalRecords = records(journal);
    if (!journalRecords)
        return problems << u"no journal"_s;
    Texts required;       // the last confirmed notebook's texts
    QSet<QString> known;  // every text that was ever in a file or typed
    QStringList underWay; // what the command begun last may let go of
    for (const QStringList &fields : *journalRecords) {
        const QString &kind = fields.first();
        if (kind == u"recovering"_s || kind == u"recovered"_s || kind == u"cancelling"_s) {
            known.insert(SoakCommands::normal(fields.value(1)));
            continue;
        }
        if (kind == u"begin"_s) {
            known.insert(fields.value(2));
            underWay = fields.mid(3);
            continue;
        }
        // A start's base names every text held; a command's end lets go of
        // what its begin named and names what it added. A refusal changed nothing.
        if (kind == u"base"_s)
            required.clear();
        if (kind == u"done"_s) {
            for (const QString &text : std::as_const(underWay))
                remove(required, text);
        }
        if (kind == u"base"_s || kind == u"done"_s) {
            for (const QString &text : fields.mid(1)) {
                ++required[text];
                known.insert(text);
            }
        }
        underWay.clear();
    }
    for (const QString &text : std::as_const(underWay))
        remove(required, text);

    const Files files = readFolder(root);
    const Texts held = heldTexts(files);
    for (auto it = held.begin(); it != held.end(); ++it) {
        if (!known.contains(it.key()))
            problems << u"a text nobody typed (a torn file?): "_s + it.key().left(80);
    }
    for (auto it = required.begin(); it != required.end(); ++it) {
        if (held.value(it.key()) < it.value())
            problems << u"a confirmed text is gone: "_s + it.key().left(80);
    }
    for (const QString &name : namesWithoutFile(files)) {
        if (!withoutFileByDesign(name))
            problems << u"no file for "_s + name;
    }
    return problems;
}

Recoverable recoverable(const QString &journal)
{
    const auto journalRecords = records(journal);
    if (!journalRecords)
        return {};
    std::optional<QString> written, writing;
    bool cancelling = false;
    for (const QStringList &fields : *journalRecords) {
        const QString &kind = fields.first();
        if (kind == u"recovering"_s) {
            writing = fields.value(1);
        } else if (kind == u"recovered"_s) {
            written = writing;
            writing.reset();
        } else if (kind == u"cancelling"_s) {
            cancelling = true;
        } else if (kind == u"begin"_s || kind == u"done"_s || kind == u"refused"_s) {
            // A command that ended removed its copy; the next has none yet.
            written.reset();
            writing.reset();
            cancelling = false;
        }
    }
    Recoverable result;
    for (const std::optional<QString> &text : {written, writing}) {
        if (text)
            result.texts << *text;
    }
    result.noneAllowed = !written || cancelling;
    return result;
}

} // namespace SoakJournal
