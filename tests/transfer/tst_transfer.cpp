// Import and export apart from the window: the rules (decoding, stand-ins,
// names, date lines), odd files in an imported folder, the limits, and the
// round trip of random notebooks through an export and an import.

#include "support/callfaults.h"
#include "support/foldercontents.h"
#include "support/testsupport.h"

#include "notebook/grouplist.h"
#include "notebook/uniquename.h"
#include "platform/syscalls.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/errorreports.h"
#include "store/notebookfiles.h"
#include "store/notetable.h"
#include "store/store.h"
#include "store/storepaths.h"
#include "transfer/notebookexport.h"
#include "transfer/notebookimport.h"
#include "transfer/transferrules.h"

#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace NotebookImport;

namespace {

class NoReports : public ErrorReports
{
public:
    void ShowErrorCancel(const IoError &) override {}
    void ShowErrorContinue(const IoError &) override {}
};

// A store of its own in a scratch folder, held by this process.
struct Notebook
{
    QTemporaryDir dir;
    AppState state;
    NoteTable table;
    Store store{state, table};
    NoReports reports;

    Notebook()
    {
        state.storeFolder = dir.path() + u"/FileStore/"_s;
        if (!writeFile(StorePaths::indexFile(state.storeFolder), "idx Plimsa 1.3.02\r\n") ||
            store.LoadIndex() || !store.TakeStoreMarker())
            qFatal("no notebook of its own");
    }
    const QString &folder() const { return state.storeFolder; }
};

// The plan of importing `folder`, with no choice made for what the code page cannot hold.
Plan planFor(Notebook &nb, const QString &folder, const std::optional<QString> &into = {},
             const QLocale &locale = QLocale::c())
{
    return makePlan(scanFolder(folder, nb.folder()), nb.table, nb.folder(), into, Unencodable::Ask,
                    locale);
}

// `folder` imported as its plan says.
Outcome importInto(Notebook &nb, const QString &folder, Plan &plan,
                   const std::optional<QString> &into = {}, const QLocale &locale = QLocale::c())
{
    plan = planFor(nb, folder, into, locale);
    return run(nb.store, nb.table, nb.reports, plan);
}

// The plan of exporting the whole notebook, or the group in slot `only`, to `out`.
NotebookExport::Plan exportPlan(const Notebook &nb, const QString &out,
                                std::optional<int> only = std::nullopt)
{
    return NotebookExport::makePlan(nb.table, nb.folder(), only, out, QLocale::c());
}

// A notebook of groups "G" and "H" with their titles, each title with a file
// holding "text of <title>"; idx.dat written.
void fill(Notebook &nb, const QMap<QString, QStringList> &groups)
{
    int g = 0;
    for (auto it = groups.begin(); it != groups.end(); ++it, ++g) {
        nb.table.cell(g, 0) = it.key();
        QVERIFY(NotebookFiles::createGroupFolder(nb.folder(), it.key()));
        for (int c = 1; c <= it->size(); ++c) {
            const QString title = nb.table.cell(g, c) = it->at(c - 1);
            QVERIFY(EntryFile::writeEntry(StorePaths::entryFile(nb.folder(), it.key(), title),
                                          u"1 Jan 2020 - 10:00:00"_s, u"text of "_s + title,
                                          nb.folder()));
        }
    }
    QVERIFY(nb.store.Save_idx());
}

// `command` run in a child process that is killed at its file call number
// `at` (0-based); true when the child got that far.
bool killedAt(int at, const std::function<void()> &command)
{
    const pid_t child = ::fork();
    if (child == 0) {
        Sys::setHook([at, calls = 0](Sys::Op, const char *) mutable {
            if (calls++ == at)
                ::_exit(9);
            return Sys::Fault{};
        });
        command();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 9;
}

// How many file calls `command` makes.
int callsOf(const std::function<void()> &command)
{
    int calls = 0;
    Sys::setHook([&calls](Sys::Op, const char *) {
        ++calls;
        return Sys::Fault{};
    });
    command();
    Sys::setHook(nullptr);
    return calls;
}

} // namespace

class tst_Transfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("encoding");
        using E = TransferRules::Encoding;
        QTest::newRow("utf-8 bom") << "\xEF\xBB\xBF\xE2\x82\xAC"_ba << u"€"_s << int(E::Utf8Bom);
        QTest::newRow("utf-16le bom")
            << QByteArray::fromHex("fffe6100ac20") << u"a€"_s << int(E::Utf16Le);
        QTest::newRow("utf-16be bom")
            << QByteArray::fromHex("feff006120ac") << u"a€"_s << int(E::Utf16Be);
        // Not UTF-8: every byte is a letter of the code page.
        QTest::newRow("1252") << "gr\xFC\xDF \x80 \x81"_ba << u"grüß € \u0081"_s
                              << int(E::Windows1252);
        QTest::newRow("utf-8 cut short") << "caf\xC3"_ba << u"cafÃ"_s << int(E::Windows1252);
        QTest::newRow("combining accent composed")
            << "e\xCC\x81t\xC3\xA9"_ba << u"été"_s << int(E::Utf8);
        // Read straight into the code page where it can be.
        QTest::newRow("line ends of every kind")
            << "Gr\xC3\xBC\xC3\x9F\xE2\x82\xAC\r\nb\nc\rd\r\r\n\n"_ba
            << u"Grüß€\r\nb\nc\rd\r\r\n\n"_s << int(E::Utf8);
        QTest::newRow("long ASCII runs") << "0123456789abcdef\n0123456789abcd"_ba
                                         << u"0123456789abcdef\n0123456789abcd"_s << int(E::Utf8);
        QTest::newRow("breaks alone") << QByteArray(40, '\n') << QString(40, u'\n') << int(E::Utf8);
        QTest::newRow("a break every other byte, no last break")
            << QByteArray("x\n").repeated(20).chopped(1)
            << QString(u"x\n"_s).repeated(20).chopped(1) << int(E::Utf8);
        QTest::newRow("runs of sixteen and more")
            << "0123456789abcdef0123456789abcdef\xC3\xA9\r\n0123456789abcdefg\xE2\x80\x9C"_ba
            << u"0123456789abcdef0123456789abcdefé\r\n0123456789abcdefg“"_s << int(E::Utf8);
        QTest::newRow("NUL after a long run") << "0123456789abcdef0123456789\0"_ba
                                              << u"0123456789abcdef0123456789\0"_s << int(E::Utf8);
        QTest::newRow("empty") << QByteArray() << QString() << int(E::Utf8);
        QTest::newRow("bom and a C1 control")
            << "\xEF\xBB\xBFx\xC2\x81"_ba << u"x\u0081"_s << int(E::Utf8Bom);
        QTest::newRow("NUL") << "abcdefgh\0ij"_ba << u"abcdefgh\0ij"_s << int(E::Utf8);
        QTest::newRow("overlong") << "\xC0\xAF"_ba << u"\u00C0\u00AF"_s << int(E::Windows1252);
        QTest::newRow("surrogate") << "\xED\xA0\x80"_ba << u"\u00ED\u00A0\u20AC"_s
                                   << int(E::Windows1252);
    }
    // decodeText, and storedFromUtf8 where it reads the bytes, which must
    // give what the text gives stored.
    void decoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(int, encoding);
        const TransferRules::Decoded decoded = TransferRules::decodeText(bytes);
        QCOMPARE(decoded.text, text);
        QCOMPARE(int(decoded.encoding), encoding);
        QString stored = TransferRules::toStoredText(decoded.text);
        if (!stored.isEmpty() && !stored.endsWith(u"\r\n"_s))
            stored += u"\r\n"_s;
        const auto encoded = CodePage::encode(stored);
        // Straight from UTF-8 whose every character has its byte (before composing).
        using E = TransferRules::Encoding;
        const QString raw = QString::fromUtf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);
        const bool direct = (encoding == int(E::Utf8) || encoding == int(E::Utf8Bom)) &&
                            CodePage::firstUnencodable(raw) < 0 && !text.contains(u'\0');
        QCOMPARE(TransferRules::storedFromUtf8(bytes), direct ? encoded : std::nullopt);
    }

    void standIns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("replaced");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("all held") << u"Grüße € „x“ – …"_s << u"Grüße € „x“ – …"_s << QStringList{};
        QTest::newRow("signs") << u"a→b ≤ c ≠ d − e"_s << u"a->b <= c != d - e"_s
                               << QStringList{u"→"_s, u"≤"_s, u"≠"_s, u"−"_s};
        QTest::newRow("invisible")
            << u"a\u200Bb\uFEFF"_s << u"ab"_s << QStringList{u"\u200B"_s, u"\uFEFF"_s};
        QTest::newRow("no equivalent")
            << u"Ωmega 😀"_s << u"?mega ?"_s << QStringList{u"Ω"_s, u"😀"_s};
        QTest::newRow("fullwidth and ligature")
            << u"ＡＢ ﬁx"_s << u"AB fix"_s << QStringList{u"Ａ"_s, u"Ｂ"_s, u"ﬁ"_s};
    }
    void standIns()
    {
        QFETCH(QString, text);
        QFETCH(QString, replaced);
        QFETCH(QStringList, listed);
        QCOMPARE(TransferRules::closeEquivalent(text), replaced);
        QCOMPARE(TransferRules::unencodableCharacters(text), listed);
        QCOMPARE(CodePage::firstUnencodable(replaced), -1);
    }

    void names_data()
    {
        QTest::addColumn<QString>("fileBase");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("exported"); // the safe file name of that title
        QTest::newRow("forbidden signs") << u"a:b?c"_s << u"a:b?c"_s << u"a_b_c.txt"_s;
        QTest::newRow("blanks trimmed") << u"  x  "_s << u"x"_s << u"x.txt"_s;
        QTest::newRow("empty") << u"   "_s << u"Untitled"_s << u"Untitled.txt"_s;
        QTest::newRow("dots") << u".."_s << u"Untitled"_s << u"Untitled.txt"_s;
        QTest::newRow("line break") << u"a\nb"_s << u"a b"_s << u"a b.txt"_s;
        QTest::newRow("tab kept") << u"a\tb"_s << u"a\tb"_s << u"a_b.txt"_s;
        QTest::newRow("placeholder") << u"* NEW *"_s << u"* NEW *_"_s << u"_ NEW __.txt"_s;
        QTest::newRow("device name") << u"con"_s << u"con"_s << u"_con.txt"_s;
        QTest::newRow("trailing dot") << u"end."_s << u"end."_s << u"end.txt"_s;
        const QString longName(300, u'é');
        QTest::newRow("too long") << longName << QString(125, u'é')
                                  << QString(100, u'é') + u".txt"_s;
    }
    void names()
    {
        QFETCH(QString, fileBase);
        QFETCH(QString, title);
        QFETCH(QString, exported);
        const QString made = TransferRules::titleFromName(fileBase);
        QCOMPARE(made, title);
        QCOMPARE(UniqueName::checkEntryTitle(made), UniqueName::Refusal::None);
        QCOMPARE(TransferRules::safeFileName(made, u".txt"_s), exported);
        // A valid title comes back unchanged.
        QCOMPARE(TransferRules::titleFromName(made), made);
    }

    void uniqueFileNames()
    {
        QStringList taken{u"_titles.lst"_s};
        QCOMPARE(TransferRules::uniqueFileName(u"a.txt"_s, u".txt"_s, taken), u"a.txt"_s);
        QCOMPARE(TransferRules::uniqueFileName(u"A.txt"_s, u".txt"_s, taken), u"A (2).txt"_s);
        QCOMPARE(TransferRules::uniqueFileName(u"a.txt"_s, u".txt"_s, taken), u"a (3).txt"_s);
    }

    // The new entry's date line, as an import reads it back: "" where the form
    // is the locale's own business; always storable, always with the seconds,
    // never with a time zone.
    void dateLines_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("expected"); // of 2 Jan 2003, 04:05:06
        QTest::newRow("C") << QLocale::c() << u"2 Jan 2003 - 04:05:06"_s;
        QTest::newRow("German, two-digit year")
            << QLocale(QLocale::German, QLocale::Germany) << u"02.01.03 - 04:05:06"_s;
        QTest::newRow("US, AM/PM") << QLocale(QLocale::English, QLocale::UnitedStates) << QString();
        QTest::newRow("Japanese") << QLocale(QLocale::Japanese, QLocale::Japan) << QString();
        QTest::newRow("Arabic digits") << QLocale(QLocale::Arabic, QLocale::Egypt) << QString();
    }
    void dateLines()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, expected);
        const QString line =
            TransferRules::dateLine(QDateTime(QDate(2003, 1, 2), QTime(4, 5, 6)), locale);
        if (!expected.isEmpty())
            QCOMPARE(line, expected);
        QCOMPARE(CodePage::firstUnencodable(line), -1);
        QVERIFY2(!line.contains(u"UTC"_s) && !line.contains(u"GMT"_s), qPrintable(line));
        for (const QDateTime &moment : {QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58)),
                                        QDateTime(QDate(1999, 12, 31), QTime(0, 0, 1)),
                                        QDateTime(QDate(2031, 7, 4), QTime(12, 30, 0))}) {
            const QString line = TransferRules::dateLine(moment, locale);
            const auto parsed = TransferRules::parseDateLine(line, locale);
            QVERIFY2(parsed, qPrintable(line));
            QCOMPARE(*parsed, moment);
        }
        QVERIFY(!TransferRules::parseDateLine(u"File not present!"_s, locale));
    }

    // Each kind of odd file is named in the plan with why; the rest goes in.
    void oddFiles()
    {
        QTemporaryDir source;
        const QString root = source.path() + u"/Notes"_s;
        QVERIFY(writeFile(root + u"/good.txt"_s, "fine\n"));
        QVERIFY(writeFile(root + u"/image.png"_s, "\x89PNG"));
        QVERIFY(writeFile(root + u"/.hidden.txt"_s, "x"));
        QVERIFY(writeFile(root + u"/binary.txt"_s, QByteArray("a\0b", 3)));
        QVERIFY(writeFile(root + u"/big.md"_s, QByteArray(kMaxFileBytes + 1, 'x')));
        QVERIFY(writeFile(root + u"/locked.text"_s, "secret"));
        QVERIFY(writeFile(source.path() + u"/outside.txt"_s, "out"));
        QVERIFY(QFile::link(source.path() + u"/outside.txt"_s, root + u"/out.txt"_s));
        QVERIFY(QFile::link(root + u"/nowhere.txt"_s + u"x"_s, root + u"/dangling.txt"_s));
        QVERIFY(QFile::link(root + u"/good.txt"_s, root + u"/alias.txt"_s));
        QVERIFY(QDir().mkpath(root + u"/sub/deeper"_s));
        QVERIFY(writeFile(root + u"/sub/deeper/note.md"_s, "deep"));
        QVERIFY(QFile::link(root, root + u"/sub/loop"_s));
        QVERIFY(QFile::link(root + u"/sub/deeper"_s, root + u"/shortcut"_s));
        // Read as text when it is text; named when it is not.
        QVERIFY(writeFile(root + u"/LICENSE"_s, "Free to use.\n"));
        QVERIFY(writeFile(root + u"/tool"_s, QByteArray("\x7F" "ELF\0\1", 6)));
        QVERIFY(writeFile(root + u"/.git/config"_s, "[core]"));
        // Names the system holds that are not UTF-8: a file and a folder,
        // which Qt cannot remove by their names.
        const QList<QByteArray> badNames{"/bad\xFF.txt"_ba, "/caf\xC3\xA9\xE9/"_ba};
        const auto removeBad = qScopeGuard([&] {
            for (const QByteArray &bad : badNames)
                ::remove((QFile::encodeName(root) + bad).constData());
        });
        for (const QByteArray &bad : badNames) {
            const QByteArray path = QFile::encodeName(root) + bad;
            if (path.endsWith('/'))
                QCOMPARE(::mkdir(path.constData(), 0777), 0);
            else
                QVERIFY(::close(::open(path.constData(), O_CREAT | O_WRONLY, 0666)) == 0);
        }

        const auto hookOff = qScopeGuard([] { Sys::setHook(nullptr); });
        Sys::setHook([](Sys::Op op, const char *name) {
            if (op == Sys::Op::OpenRead && name && std::strstr(name, "locked.text"))
                return Sys::Fault{EACCES};
            return Sys::Fault{};
        });
        const Scan scan = scanFolder(root, QString());

        QMap<QString, QString> skipped;
        for (const Skipped &s : scan.skipped)
            skipped.insert(s.path, s.why);
        const QString notText =
            u"not a text file by its name (only .txt, .md, .text and names without an "
            "extension are imported)"_s;
        QMap<QString, QString> expected{
            {u"binary.txt"_s, u"not a text file (it holds a NUL byte)"_s},
            {u"tool"_s, u"not a text file (it holds a NUL byte)"_s},
            {u"image.png"_s, notText},
            {u".hidden.txt"_s, u"a hidden file"_s},
            {u".git"_s, u"a hidden folder, left out with everything in it"_s},
            {u"bad\\xFF.txt"_s, u"its name is not valid UTF-8"_s},
            {u"caf\u00e9\\xE9"_s,
             u"a folder whose name is not valid UTF-8, left out with everything in it"_s},
            {u"big.md"_s, u"larger than 1 MiB, so not taken for a note"_s},
            {u"locked.text"_s, u"cannot be read: "_s + QString::fromLocal8Bit(strerror(EACCES))},
            {u"out.txt"_s, u"a link that leads out of the imported folder"_s},
            {u"dangling.txt"_s, u"a link that leads nowhere"_s},
            {u"sub/loop"_s, u"a link that leads in a circle"_s},
            {u"shortcut"_s, u"a link to a folder that is imported under its own path"_s},
        };
        QCOMPARE(skipped, expected);

        Notebook nb;
        Plan plan;
        const Outcome outcome = importInto(nb, root, plan);
        QCOMPARE(outcome.groupsMade, 2);
        QCOMPARE(outcome.entriesMade, 4);
        QCOMPARE(nb.table.cell(0, 3), u"LICENSE"_s);
        QVERIFY(summary(plan, outcome).contains(u", 13 files skipped,"_s));
        QCOMPARE(nb.table.name(1), OutDOS(u"sub/deeper"_s));
        const auto read = EntryFile::readEntry(
            StorePaths::entryFile(nb.folder(), nb.table.name(0), u"good"_s), nb.folder());
        QVERIFY(read.ok);
        QCOMPARE(read.entry.text, u"fine\r\n"_s);
        QCOMPARE(
            read.entry.date,
            TransferRules::dateLine(QFileInfo(root + u"/good.txt"_s).lastModified(), QLocale::c()));
        // Again: nothing new, no duplicates.
        const Outcome again = importInto(nb, root, plan);
        QCOMPARE(again.entriesMade, 0);
        QCOMPARE(plan.duplicates, 4);
        QCOMPARE(nb.table.entryCount(0), 3);
    }

    // What cannot fit is refused before a file is written, with the counts;
    // what fits exactly goes in.
    void limits_data()
    {
        QTest::addColumn<int>("groups");    // in the notebook
        QTest::addColumn<int>("entries");   // in its first group, G000
        QTest::addColumn<QString>("into");  // or a group per folder
        QTest::addColumn<QString>("refusal");
        QTest::newRow("101 groups") << 98 << 0 << QString()
                                    << u"The import needs 3 new groups; the notebook has 98 and "
                                       "holds 100 at most."_s;
        QTest::newRow("exactly 100 groups") << 97 << 0 << QString() << QString();
        QTest::newRow("1002 entries")
            << 98 << 999 << u"G000"_s
            << u"Group \"G000\" would get 1002 entries (999 there, 3 to import); a group "
               "holds 999 at most."_s;
        QTest::newRow("1000 entries")
            << 98 << 997 << u"G000"_s
            << u"Group \"G000\" would get 1000 entries (997 there, 3 to import); a group "
               "holds 999 at most."_s;
        QTest::newRow("exactly 999 entries") << 98 << 996 << u"G000"_s << QString();
    }
    void limits()
    {
        QFETCH(int, groups);
        QFETCH(int, entries);
        QFETCH(QString, into);
        QFETCH(QString, refusal);
        QTemporaryDir source;
        for (int i = 0; i < 3; ++i)
            QVERIFY(writeFile(source.path() + u"/g%1/a.txt"_s.arg(i), QByteArray::number(i)));
        Notebook nb;
        for (int g = 0; g < groups; ++g)
            nb.table.cell(g, 0) = u"G%1"_s.arg(g, 3, 10, QChar(u'0'));
        for (int c = 1; c <= entries; ++c)
            nb.table.cell(0, c) = u"t%1"_s.arg(c);
        QVERIFY(NotebookFiles::createGroupFolder(nb.folder(), u"G000"_s));
        QVERIFY(nb.store.Save_idx());
        const QStringList before = tree(nb.dir.path());
        Plan plan;
        const Outcome outcome =
            importInto(nb, source.path(), plan, into.isEmpty() ? std::nullopt : std::optional(into));
        QCOMPARE(plan.wontFit, refusal.isEmpty() ? QStringList() : QStringList{refusal});
        if (!refusal.isEmpty()) {
            QCOMPARE(tree(nb.dir.path()), before);
            QCOMPARE(outcome.entriesMade, 0);
        } else {
            QCOMPARE(outcome.entriesMade, 3);
            QCOMPARE(into.isEmpty() ? nb.table.groupCount() : nb.table.entryCount(0),
                     into.isEmpty() ? 100 : 999);
        }
    }

    // Export, then import into an empty notebook: the same groups, titles in
    // their order (titles without files too), texts and date lines.
    void roundTrip()
    {
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator random(seed);
        const QString names = u"abcxyzABC 019ÄéÿßØ€„“…–—:/?*\"<>|+,;=\\.\t_\u0081"_s;
        const QString letters = names + u"\r\n\r\n    "_s;
        const auto pick = [&random](const QString &from, int n) {
            QString s;
            for (int i = 0; i < n; ++i)
                s += from.at(random.bounded(int(from.size())));
            return s;
        };
        // A stored name of up to `longest` letters that the notebook takes
        // and `taken` does not hold yet (a group's in any case); it is added there.
        const auto freshName = [&](int longest, QStringList &taken, bool group) {
            QString name;
            while (name.isEmpty() ||
                   taken.contains(OutDOS(name), group ? Qt::CaseInsensitive : Qt::CaseSensitive) ||
                   (group ? UniqueName::checkGroupName(name) : UniqueName::checkEntryTitle(name)) !=
                       UniqueName::Refusal::None ||
                   name == u"* NEW *"_s)
                name = pick(names, random.bounded(1, longest));
            taken << OutDOS(name);
            return OutDOS(name);
        };
        const QLocale locale(QLocale::German, QLocale::Germany);
        for (int round = 0; round < 20; ++round) {
            const QString context = u"seed %1 round %2: "_s.arg(seed).arg(round);
            Notebook from;
            QStringList groups;
            for (int g = 0, count = random.bounded(1, 6); g < count; ++g) {
                const QString group = from.table.cell(g, 0) = freshName(12, groups, true);
                QVERIFY(NotebookFiles::createGroupFolder(from.folder(), group));
                QStringList titles;
                for (int c = 1, count = random.bounded(0, 12); c <= count; ++c) {
                    const QString title = from.table.cell(g, c) = freshName(20, titles, false);
                    if (random.bounded(5) == 0)
                        continue; // a title without a file
                    const QDateTime when =
                        QDateTime::fromSecsSinceEpoch(random.bounded(946684800, 1900000000));
                    const QString text =
                        random.bounded(4) == 0 ? QString() : pick(letters, random.bounded(60));
                    QVERIFY(EntryFile::writeEntry(
                        StorePaths::entryFile(from.folder(), group, title),
                        TransferRules::dateLine(when, locale), text, from.folder()));
                }
            }
            GroupList::orderRows(from.table);
            QVERIFY(from.store.Save_idx());

            QTemporaryDir out;
            const NotebookExport::Plan exportPlan = NotebookExport::makePlan(
                from.table, from.folder(), std::nullopt, out.path(), locale);
            QVERIFY(!NotebookExport::run(exportPlan, out.path()).failure);
            Notebook to;
            Plan plan;
            const Outcome imported = importInto(to, out.path(), plan, std::nullopt, locale);
            QVERIFY(!plan.needsChoice && !imported.failed);
            QVERIFY2(plan.skipped.isEmpty(), qPrintable(plan.skipped.value(0).why));

            // On disk the same notebook, byte for byte: idx.dat, and each entry's
            // date line and text (or no file).
            const Files made = notebookOf(readFolder(to.dir.path()));
            const Files wanted = notebookOf(readFolder(from.dir.path()));
            QVERIFY2(made == wanted, qPrintable(context + differences(made, wanted).join(u' ')));
            // The same folder again adds nothing.
            importInto(to, out.path(), plan, std::nullopt, locale);
            QCOMPARE(plan.entryCount(), 0);
            QCOMPARE(plan.newGroupCount(), 0);
        }
    }

    // A full disk in the middle: the file that failed is named, no half file.
    // The files are made lasting together at the end: a failure there fails
    // the export too.
    void exportFailure_data()
    {
        QTest::addColumn<CallFault>("fault");
        QTest::addColumn<QString>("failed");
        QTest::addColumn<QStringList>("left");
        QTest::newRow("second write")
            << CallFault{Sys::Op::Write, 1, ENOSPC} << u"/G/e2.txt"_s << QStringList{u"e1.txt"_s};
        QTest::newRow("the sync at the end")
            << CallFault{Sys::Op::FileSystemSync, 0, EIO} << u"/G"_s
            << QStringList{u"_titles.lst"_s, u"e1.txt"_s, u"e2.txt"_s, u"e3.txt"_s};
    }
    void exportFailure()
    {
        QFETCH(CallFault, fault);
        QFETCH(QString, failed);
        QFETCH(QStringList, left);
        Notebook nb;
        fill(nb, {{u"G"_s, {u"e1"_s, u"e2"_s, u"e3"_s}}});
        QTemporaryDir out;
        const auto plan = exportPlan(nb, out.path());
        const auto outcome = [&] {
            const CallFaults faults(fault);
            return NotebookExport::run(plan, out.path());
        }();
        QVERIFY(outcome.failure);
        QCOMPARE(outcome.failure->file, out.path() + failed);
        QCOMPARE(outcome.failure->number, fault.error);
        QCOMPARE(QDir(out.path() + u"/G"_s).entryList(QDir::Files | QDir::Hidden), left);
        // The summary counts what was written; the failure is told apart.
        const QString summary = NotebookExport::summary(plan, outcome);
        QVERIFY2(summary.startsWith(u"%1 groups and %2 entries exported (0 titles without "
                                    "files), %3 files written; stopped, %4 files not written."_s
                                        .arg(left.contains(u"_titles.lst"_s) ? 1 : 0)
                                        .arg(left.size() - (left.contains(u"_titles.lst"_s) ? 1 : 0))
                                        .arg(left.size())
                                        .arg(plan.files.size() - left.size())),
                 qPrintable(summary));
    }

    // Files in the store that idx.dat does not name are never written over,
    // and the store is never imported into itself.
    void storeFilesKept()
    {
        Notebook nb;
        fill(nb, {{u"Notes"_s, {u"a"_s}}});
        const QString stray = StorePaths::entryFile(nb.folder(), u"Notes"_s, u"report"_s);
        QVERIFY(writeFile(stray, "1 Jan 2020 - 10:00:00\r\nkept\r\n"));
        QTemporaryDir source;
        QVERIFY(writeFile(source.path() + u"/report.txt"_s, "new\n"));
        QVERIFY(writeFile(source.path() + u"/late.txt"_s, "late\n"));
        Plan plan = planFor(nb, source.path(), u"Notes"_s);
        // A file that comes after the plan was made is not written over either:
        // the import stops there.
        const QString late = StorePaths::entryFile(nb.folder(), u"Notes"_s, u"late"_s);
        QVERIFY(writeFile(late, "came meanwhile"));
        const Outcome outcome = run(nb.store, nb.table, nb.reports, plan);
        QVERIFY(outcome.failed);
        QCOMPARE(readFile(late), "came meanwhile");
        QCOMPARE(readFile(stray), "1 Jan 2020 - 10:00:00\r\nkept\r\n");
        QVERIFY(QFile::remove(late));
        importInto(nb, source.path(), plan, u"Notes"_s);
        QCOMPARE(readFile(stray), "1 Jan 2020 - 10:00:00\r\nkept\r\n");
        QCOMPARE(nb.table.cell(0, 2), u"late"_s);
        QCOMPARE(nb.table.cell(0, 3), u"report_"_s);

        // The store, a group folder in it, and a folder that holds the store.
        QCOMPARE(scanFolder(nb.folder(), nb.folder()).failure.section(u';', 0, 0),
                 u"lies within the notebook's store "_s + QDir(nb.folder()).canonicalPath());
        QVERIFY(!scanFolder(nb.folder() + u"Notes"_s, nb.folder()).failure.isEmpty());
        const Scan around = scanFolder(nb.dir.path(), nb.folder());
        QVERIFY(around.failure.isEmpty());
        QCOMPARE(around.skipped.size(), 1);
        QCOMPARE(around.skipped[0].path, u"FileStore"_s);
        QCOMPARE(around.skipped[0].why, u"the notebook's own store"_s);
        QVERIFY(around.groups.isEmpty());
    }

    // An export into a folder that holds an earlier one removes what the
    // earlier one wrote for entries and groups that are gone, and nothing else:
    // importing the folder never brings a deleted entry back.
    void exportOverEarlier()
    {
        Notebook nb;
        fill(nb, {{u"A"_s, {u"alpha"_s, u"beta"_s}}, {u"B"_s, {u"b1"_s}}, {u"C"_s, {u"c1"_s}}});
        QTemporaryDir out;
        const auto exported = [&](std::optional<int> only) {
            const auto plan = exportPlan(nb, out.path(), only);
            return std::pair{plan, NotebookExport::run(plan, out.path())};
        };
        QVERIFY(!exported(std::nullopt).second.failure);
        QVERIFY(writeFile(out.path() + u"/A/mine.txt"_s, "the user's own"));
        QVERIFY(writeFile(out.path() + u"/elsewhere.txt"_s, "outside every group folder"));
        // A listing edited by hand names a file outside its folder.
        QVERIFY(writeFile(out.path() + u"/C/_titles.lst"_s,
                          "Plimsa titles 1\nC\n../elsewhere.txt\t\tx\nc1.txt\t\tc1\n"));

        // beta deleted, C deleted: a group's export leaves the other groups alone.
        nb.table.cell(0, 2).clear();
        nb.table.closeRow(2);
        auto [groupPlan, groupOutcome] = exported(0);
        QCOMPARE(groupPlan.stale, QStringList{u"A/beta.txt"_s});
        QVERIFY(!groupOutcome.failure);
        QCOMPARE(groupOutcome.removed, 1);
        QVERIFY(QFile::exists(out.path() + u"/C/c1.txt"_s));

        nb.table.closeRow(1);
        auto [plan, outcome] = exported(std::nullopt);
        plan.stale.sort();
        QCOMPARE(plan.stale, (QStringList{u"B/_titles.lst"_s, u"B/b1.txt"_s, u"C/_titles.lst"_s,
                                          u"C/c1.txt"_s}));
        QVERIFY(plan.touchesExisting());
        QVERIFY(!outcome.failure);
        QVERIFY(NotebookExport::summary(plan, outcome)
                    .contains(u", 4 files of an earlier export removed"_s));
        QCOMPARE(readFolder(out.path()).keys(),
                 (QStringList{u"A/_titles.lst"_s, u"A/alpha.txt"_s, u"A/mine.txt"_s,
                              u"elsewhere.txt"_s}));

        Notebook back;
        Plan imported;
        importInto(back, out.path(), imported);
        QVERIFY(back.table.findGroup(u"B"_s) < 0 && back.table.findGroup(u"C"_s) < 0);
        const int a = back.table.findGroup(u"A"_s);
        QCOMPARE(back.table.entryCount(a), 2);
        QCOMPARE(back.table.cell(a, 1), u"alpha"_s);
        QCOMPARE(back.table.cell(a, 2), u"mine"_s);
    }

    // A command killed at any of its file calls: an export leaves no file
    // under its name that is not whole, and the next export removes its new
    // files; an import leaves nothing in the store that idx.dat does not name
    // once the next start has cleared what it left, and the same import run
    // again gives what one clean run gives.
    void killedAtEveryCall_data()
    {
        QTest::addColumn<bool>("importing");
        QTest::addColumn<QString>("into"); // for an import
        QTest::newRow("export over an earlier one") << false << QString();
        QTest::newRow("import of new groups") << true << QString();
        QTest::newRow("import into a group") << true << u"A"_s;
    }
    void killedAtEveryCall()
    {
        QFETCH(bool, importing);
        QFETCH(QString, into);
        QTemporaryDir source;
        for (const char *file : {"/N/one.txt", "/N/two.md", "/N/sub/three.txt"})
            QVERIFY(writeFile(source.path() + QString::fromLatin1(file), file));
        const QMap<QString, QStringList> groups{{u"A"_s, {u"alpha"_s, u"beta"_s}},
                                                {u"B"_s, {u"b1"_s}}};
        const std::optional<QString> group = into.isEmpty() ? std::nullopt : std::optional(into);
        if (importing) {
            // One clean run, its file calls counted.
            Files clean;
            int calls = 0;
            {
                Notebook nb;
                fill(nb, groups);
                const Plan plan = planFor(nb, source.path(), group);
                calls = callsOf([&] { QVERIFY(!run(nb.store, nb.table, nb.reports, plan).failed); });
                clean = withoutDates(readFolder(nb.dir.path()));
            }
            for (int at = 0; at < calls; ++at) {
                Notebook nb;
                fill(nb, groups);
                const Plan plan = planFor(nb, source.path(), group);
                QVERIFY(killedAt(at, [&] { run(nb.store, nb.table, nb.reports, plan); }));
                // As the next start finds it.
                QVERIFY(!nb.store.LoadIndex());
                nb.store.removeLeftovers();
                QStringList leftovers;
                const Files files = readFolder(nb.dir.path(), &leftovers);
                QVERIFY2(leftovers.isEmpty(), qPrintable(u"call %1: "_s.arg(at) + leftovers.join(u' ')));
                const QStringList unnamed = differences(files, notebookOf(files));
                QVERIFY2(unnamed.isEmpty(), qPrintable(u"call %1: "_s.arg(at) + unnamed.join(u' ')));
                for (const QString &folder : tree(nb.folder()).filter(QRegularExpression(u"/$"_s)))
                    QVERIFY2(nb.table.findGroup(folder.chopped(1)) >= 0, qPrintable(folder));
                Plan again;
                QVERIFY(!importInto(nb, source.path(), again, group).failed);
                const Files rerun = withoutDates(readFolder(nb.dir.path()));
                QVERIFY2(rerun == clean, qPrintable(u"call %1: "_s.arg(at) +
                                                    differences(rerun, clean).join(u' ')));
            }
            return;
        }
        Notebook nb;
        fill(nb, groups);
        QTemporaryDir out;
        QVERIFY(!NotebookExport::run(exportPlan(nb, out.path()), out.path()).failure);
        const Files earlier = readFolder(out.path());
        nb.table.cell(0, 2).clear(); // beta
        QVERIFY(EntryFile::writeEntry(StorePaths::entryFile(nb.folder(), u"A"_s, u"alpha"_s),
                                      u"2 Jan 2020 - 10:00:00"_s, u"longer text of alpha"_s,
                                      nb.folder()));
        const auto plan = exportPlan(nb, out.path());
        QSet<QByteArray> whole;
        for (const QByteArray &bytes : earlier)
            whole.insert(bytes);
        for (const NotebookExport::OutFile &file : plan.files)
            whole.insert(file.bytes);
        const int calls = callsOf([&] { (void)NotebookExport::run(plan, out.path()); });
        for (int at = 0; at < calls; ++at) {
            QVERIFY(QDir(out.path()).removeRecursively());
            restoreFolder(out.path(), earlier);
            QVERIFY(killedAt(at, [&] { (void)NotebookExport::run(plan, out.path()); }));
            const Files left = readFolder(out.path());
            for (auto it = left.begin(); it != left.end(); ++it)
                QVERIFY2(whole.contains(*it), qPrintable(u"call %1: %2 is not whole"_s.arg(at).arg(it.key())));
            QVERIFY(!NotebookExport::run(plan, out.path()).failure);
            QStringList leftovers;
            readFolder(out.path(), &leftovers);
            QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(u' ')));
        }
    }
};

QTEST_GUILESS_MAIN(tst_Transfer)
#include "tst_transfer.moc"
