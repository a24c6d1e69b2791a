#include "support/powercut.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString parentOf(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash);
}

QString procPath(int fd)
{
    return u"/proc/self/fd/"_s + QString::number(fd);
}

} // namespace

PowerCut::PowerCut(const QString &folder, Links links)
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
    Sys::setHook([this, links, count = 0](Sys::Op op, const char *name) mutable {
        begin(op, Sys::hookedFd());
        calls.append({op, name ? QByteArray(name) : QByteArray()});
        Sys::Fault fault;
        if (op == Sys::Op::Link && links != Links::Hard &&
            (links == Links::None || count++ % 2 == 0))
            fault.error = EPERM;
        return fault;
    });
}

QList<Files> PowerCut::statesAt(int cut) const
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

Names PowerCut::scan() const
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

QString PowerCut::relative(int fd) const
{
    const QString path = QDir(root).relativeFilePath(QFile::symLinkTarget(procPath(fd)));
    return path == u"."_s ? QString() : path;
}

void PowerCut::begin(Sys::Op op, int fd)
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

void PowerCut::complete()
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

void PowerCut::noteNames(Sys::Op op)
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

bool PowerCut::lasting(int i, int cut) const
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

Files PowerCut::build(int cut, const QList<bool> &kept) const
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
