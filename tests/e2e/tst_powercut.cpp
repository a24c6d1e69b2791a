// Every state of the disk a power cut could leave during or after each
// command that writes (see PowerCut below): after each, the next start
// loads, no file is torn, every title of idx.dat has its file (apart from
// those the design lists without one, which have none before the command or
// none after it: the new entry's placeholder, separator lines),
// every text is still there, and what the command saved once it returned
// without a report is there for good.

#include "support/appfixture.h"
#include "support/foldercontents.h"
#include "support/writingcommands.h"

#include "platform/syscalls.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

enum class Links { Hard, UnnamedOnly, None };

struct Node
{
    bool folder = false;
    quint64 inode = 0;
    bool operator==(const Node &) const = default;
};
using Names = QMap<QString, Node>; // path relative to the root

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

// Everything a call may change that a later call or a power cut can tell apart.
struct Step
{
    enum class Kind { Names, Content, FileSync, FolderSync, FileSystemSync } kind;
    Sys::Op op;
    QList<std::pair<QString, std::optional<Node>>> names; // Names: nullopt where one went
    QSet<QString> folders; // Names: whose entries changed; FolderSync: the one synced
    quint64 inode = 0;     // Content, FileSync
    QByteArray bytes;      // Content
};

QString procPath(int fd)
{
    return u"/proc/self/fd/"_s + QString::number(fd);
}

// Records what a command does to the files under one folder, call by call,
// through the file-call seam, and builds from it every state of the disk a
// power cut could leave.
//
// The disk keeps a write only once its file is fsynced, and a new, renamed,
// linked or removed name only once its folder is synced; a sync of the whole
// file system makes every step before it lasting. A power cut after
// the first `cut` steps leaves every step that was synced by then, and each
// step that was not either kept or lost (a rename whole or not at all; a
// write lost leaves the file as its last kept write, a new file empty); the
// steps are taken in their order. What the calls change is read from the
// disk between calls; the descriptor of an fsync or folder sync tells which
// file or folder it makes lasting.
class PowerCut
{
public:
    PowerCut(const QString &folder, Links links)
    {
        root = QFileInfo(folder).canonicalFilePath() + u'/';
        // What is there at the start, as a step that found it all new.
        noteNames(Sys::Op::Open);
        steps.clear();
        startNames = names;
        startContents = contents;
        // A file system without hard links answers a link with EPERM. Every
        // copy first tries to link its source, then links its unnamed file:
        // refusing every other link leaves the second.
        Sys::setHook([this, links, count = 0](Sys::Op op, const char *) mutable {
            begin(op, Sys::hookedFd());
            Sys::Fault fault;
            if (op == Sys::Op::Link && links != Links::Hard &&
                (links == Links::None || count++ % 2 == 0))
                fault.error = EPERM;
            return fault;
        });
    }
    ~PowerCut() { Sys::setHook(nullptr); }
    PowerCut(const PowerCut &) = delete;
    PowerCut &operator=(const PowerCut &) = delete;

    // Ends the recording; call it once the command has returned.
    void finish()
    {
        Sys::setHook(nullptr);
        complete();
    }

    // The files after the first `cut` steps, nothing lost.
    Files truthAt(int cut) const { return build(cut, QList<bool>(cut, true)); }

    // Every distinct state a power cut after the first `cut` steps can leave.
    // Up to 2^12 combinations of the steps not yet lasting are built, all of
    // them when there are no more; beyond that a fixed sample.
    QList<Files> statesAt(int cut) const
    {
        QList<bool> kept(cut, true);
        QList<int> open;
        for (int i = 0; i < cut; ++i) {
            const auto kind = steps[i].kind;
            if ((kind == Step::Kind::Names || kind == Step::Kind::Content) && !lasting(i, cut))
                open.append(i);
        }
        constexpr int kAll = 12;
        const bool sample = open.size() > kAll;
        QRandomGenerator random{quint32(cut)};
        const quint64 combinations = sample ? (quint64(1) << kAll) : (quint64(1) << open.size());
        QList<Files> states;
        QSet<QByteArray> seen;
        for (quint64 m = 0; m < combinations; ++m) {
            for (qsizetype b = 0; b < open.size(); ++b) {
                const bool bit = sample ? (m == 0   ? false
                                           : m == 1 ? true
                                                    : random.bounded(2) == 1)
                                        : ((m >> b) & 1) != 0;
                kept[open[b]] = bit;
            }
            const Files state = build(cut, kept);
            QByteArray key;
            for (auto it = state.begin(); it != state.end(); ++it)
                key += it.key().toUtf8() + '\0' + it.value() + '\0';
            if (!seen.contains(key)) {
                seen.insert(key);
                states.append(state);
            }
        }
        return states;
    }

    // The steps that changed or synced something.
    QList<Step> steps;

private:
    QString root; // real path, ending in "/"
    Names startNames;
    QHash<quint64, QByteArray> startContents;
    Names names;
    QHash<quint64, QByteArray> contents;

    // The call the seam is running, completed at the next call or at the end.
    struct Pending
    {
        Sys::Op op;
        quint64 inode = 0;
        int reader = -1;
        QString folder;
    };
    std::optional<Pending> pending;

    Names scan() const
    {
        Names found;
        QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat st;
            if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
                continue;
            if (S_ISDIR(st.st_mode) || S_ISREG(st.st_mode))
                found.insert(path.mid(root.size()), Node{S_ISDIR(st.st_mode), st.st_ino});
        }
        return found;
    }

    QString relative(int fd) const
    {
        const QString path = QDir(root).relativeFilePath(QFile::symLinkTarget(procPath(fd)));
        return path == u"."_s ? QString() : path;
    }

    void begin(Sys::Op op, int fd)
    {
        complete();
        Pending call{op, 0, -1, {}};
        struct stat st;
        if ((op == Sys::Op::Write || op == Sys::Op::Fsync) && ::fstat(fd, &st) == 0)
            call.inode = st.st_ino;
        if (op == Sys::Op::Write)
            call.reader = ::open(QFile::encodeName(procPath(fd)).constData(), O_RDONLY | O_CLOEXEC);
        if (op == Sys::Op::FolderSync)
            call.folder = relative(fd);
        pending = call;
    }

    void complete()
    {
        if (!pending)
            return;
        const Pending call = *std::exchange(pending, std::nullopt);
        switch (call.op) {
        case Sys::Op::Write: {
            QFile reader;
            const QByteArray bytes =
                reader.open(call.reader, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
                    ? reader.readAll()
                    : QByteArray();
            if (bytes != contents.value(call.inode)) {
                contents.insert(call.inode, bytes);
                steps.append(Step{Step::Kind::Content, call.op, {}, {}, call.inode, bytes});
            }
            break;
        }
        case Sys::Op::Fsync:
            steps.append(Step{Step::Kind::FileSync, call.op, {}, {}, call.inode, {}});
            break;
        case Sys::Op::FolderSync:
            steps.append(Step{Step::Kind::FolderSync, call.op, {}, {call.folder}, 0, {}});
            break;
        // The recorded folder lies on one file system: its sync makes everything lasting.
        case Sys::Op::FileSystemSync:
            steps.append(Step{Step::Kind::FileSystemSync, call.op, {}, {}, 0, {}});
            break;
        case Sys::Op::Open:
        case Sys::Op::Rename:
        case Sys::Op::Link:
        case Sys::Op::Unlink:
        case Sys::Op::Mkdir:
            noteNames(call.op);
            break;
        default:
            break;
        }
    }

    void noteNames(Sys::Op op)
    {
        const Names now = scan();
        Step step{Step::Kind::Names, op, {}, {}, 0, {}};
        for (auto it = names.begin(); it != names.end(); ++it) {
            if (!now.contains(it.key())) {
                step.names.append({it.key(), std::nullopt});
                step.folders.insert(parentOf(it.key()));
            }
        }
        for (auto it = now.begin(); it != now.end(); ++it) {
            if (names.value(it.key()) == it.value() && names.contains(it.key()))
                continue;
            step.names.append({it.key(), it.value()});
            step.folders.insert(parentOf(it.key()));
            // A file that was never written holds what it holds now: nothing,
            // for a new file.
            if (!it->folder && !contents.contains(it->inode)) {
                QFile file(root + it.key());
                contents.insert(it->inode,
                                file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
            }
        }
        names = now;
        if (!step.names.isEmpty())
            steps.append(step);
    }

    // Whether step i is lasting once the first `cut` steps have run.
    bool lasting(int i, int cut) const
    {
        const Step &step = steps[i];
        QSet<QString> unsynced = step.folders;
        for (int j = i + 1; j < cut; ++j) {
            const Step &later = steps[j];
            if (later.kind == Step::Kind::FileSystemSync)
                return true;
            if (step.kind == Step::Kind::Content && later.kind == Step::Kind::FileSync &&
                later.inode == step.inode)
                return true;
            if (step.kind == Step::Kind::Names && later.kind == Step::Kind::FolderSync)
                unsynced -= later.folders;
        }
        return step.kind == Step::Kind::Names && unsynced.isEmpty();
    }

    Files build(int cut, const QList<bool> &kept) const
    {
        Names n = startNames;
        QHash<quint64, QByteArray> c = startContents;
        for (int i = 0; i < cut; ++i) {
            if (!kept[i])
                continue;
            const Step &step = steps[i];
            if (step.kind == Step::Kind::Content)
                c.insert(step.inode, step.bytes);
            for (const auto &[path, node] : step.names) {
                if (node)
                    n.insert(path, *node);
                else
                    n.remove(path);
            }
        }
        Files files;
        for (auto it = n.begin(); it != n.end(); ++it) {
            if (it->folder)
                continue;
            // A name in a folder that is gone is gone with it.
            bool reachable = true;
            for (QString up = parentOf(it.key()); reachable && !up.isEmpty(); up = parentOf(up))
                reachable = n.value(up).folder;
            if (reachable)
                files.insert(it.key(), c.value(it->inode));
        }
        return files;
    }
};

// What every state of one command is held to.
struct Expected
{
    QHash<QString, QSet<QByteArray>> versions; // every content each file had, whole
    QStringList withoutFile;                   // names without a file before or after
    QStringList texts;                         // texts that must stay
    Files end;                                 // what the command left
    WritingCommand::Saved saved;
};

// `scratch` is a folder to load the state from.
QString problemOf(const Files &state, bool atEnd, const Expected &expected, const QString &scratch)
{
    for (auto it = state.begin(); it != state.end(); ++it) {
        if (!isLeftover(it.key()) && !expected.versions.value(it.key()).contains(it.value()))
            return u"torn: "_s + it.key();
    }
    for (const QString &name : namesWithoutFile(state)) {
        if (!expected.withoutFile.contains(name))
            return u"no file for "_s + name;
    }
    const QStringList held = textsOf(state);
    for (const QString &text : expected.texts) {
        if (!held.contains(text))
            return u"text lost: "_s + text;
    }
    if (atEnd) {
        const WritingCommand::Saved &saved = expected.saved;
        if (!saved.text.isEmpty() &&
            !(saved.in.isEmpty() ? held.contains(saved.text)
                                 : state.value(saved.in).contains(saved.text.toLatin1())))
            return u"a save confirmed to the user is gone: "_s + saved.text;
        Files withoutLeftovers = state;
        withoutLeftovers.removeIf([](const auto &file) { return isLeftover(file.key()); });
        if (withoutLeftovers != expected.end)
            return u"the command returned before its change was on disk for good: "_s +
                   differences(withoutLeftovers, expected.end).join(u", "_s);
    }
    restoreFolder(scratch, state);
    return loadProblem(scratch);
}

} // namespace

class tst_PowerCut : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        if (QFileInfo(u"/dev/shm"_s).isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }

    // Each command also as on file systems without hard links (FAT, many
    // network shares), where a second name for an entry's text is a copy:
    // an unnamed file linked in once written, or, without those either, a
    // new file created under its name.
    void everyState_data()
    {
        addCommandRows({u""_s, u", copied through an unnamed file"_s, u", copied"_s});
    }
    void everyState()
    {
        QFETCH(int, row);
        QFETCH(int, variant);
        const auto links = Links(variant);
        const WritingCommand command = writingCommands().at(row);
        AppFixture nb;
        QVERIFY(startFor(nb, command));

        PowerCut recording(nb.path({}), links);
        command.action(nb);
        recording.finish();
        QVERIFY(!QTest::currentTestFailed());
        // A command that ends with a report of its own shows that alone.
        QVERIFY2(nb.messages.shown.size() == (command.report.isEmpty() ? 0 : 1),
                 qPrintable(nb.messages.shown.value(0).text));

        const int steps = int(recording.steps.size());
        Expected expected;
        for (int cut = 0; cut <= steps; ++cut) {
            const Files truth = recording.truthAt(cut);
            for (auto it = truth.begin(); it != truth.end(); ++it)
                expected.versions[it.key()].insert(it.value());
        }
        const Files start = recording.truthAt(0);
        expected.end = recording.truthAt(steps);
        expected.end.removeIf([](const auto &file) { return isLeftover(file.key()); });
        expected.withoutFile = namesWithoutFile(start) + namesWithoutFile(expected.end);
        for (const QString &text : textsOf(start)) {
            if (!command.mayGo.contains(text))
                expected.texts.append(text);
        }
        expected.saved = command.saved;

        QStringList failures;
        QList<Files> distinct;
        const QTemporaryDir scratch;
        for (int cut = 0; cut <= steps; ++cut) {
            for (const Files &state : recording.statesAt(cut)) {
                if (!distinct.contains(state))
                    distinct.append(state);
                const QString problem = problemOf(state, cut == steps, expected, scratch.path());
                if (!problem.isEmpty() && failures.size() < 20)
                    failures << u"cut after %1 of %2 steps (%3): %4"_s.arg(cut).arg(steps).arg(
                        cut ? QString::fromLatin1(Sys::name(recording.steps[cut - 1].op))
                            : u"none"_s,
                        problem);
            }
        }
        // The real program started on each state the plain file system can
        // leave: it shows no message and removes what a write left behind.
        if (links == Links::Hard) {
            AppFixture next;
            next.quickStart = true;
            for (const Files &state : std::as_const(distinct)) {
                restoreFolder(next.path({}), state);
                QStringList leftovers;
                if (!next.restart() || !next.messages.shown.isEmpty())
                    failures << u"the next start failed: "_s + next.messages.shown.value(0).text;
                else if (readFolder(next.path({}), &leftovers), !leftovers.isEmpty())
                    failures << u"the next start left new files: "_s + leftovers.join(u' ');
            }
        }
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
    }
};

QTEST_MAIN(tst_PowerCut)
#include "tst_powercut.moc"
