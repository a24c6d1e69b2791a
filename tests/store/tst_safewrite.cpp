// The file steps on a real disk: the whole-file writer on a full disk, a
// read-only folder, under a file-size limit and killed while it writes; the
// group and entry files that never overwrite, never follow a link out of the
// store, and copy across file systems. Mounts need root and skip without it.

#include "store/notebookfiles.h"
#include "store/safewrite.h"
#include "support/helperprocess.h"
#include "support/scratchmount.h"

#include <QDir>
#include <QDirIterator>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;
namespace NF = NotebookFiles;
using L = QStringList;

namespace {

// New files of the writer in `folder`.
QStringList newFiles(const QString &folder)
{
    return QDir(folder).entryList({u".plimsa-new-*"_s}, QDir::Files | QDir::Hidden);
}

// Lays out "path=content" files and "path/" folders under `root`.
void make(const QString &root, const L &items)
{
    for (const QString &item : items) {
        const qsizetype eq = item.indexOf(u'=');
        const QString path = root + item.left(eq);
        QVERIFY(QDir().mkpath(eq < 0 ? path : path.left(path.lastIndexOf(u'/'))));
        QFile f(path);
        if (eq >= 0)
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(item.mid(eq + 1).toUtf8()) >= 0);
    }
}

// Everything under `root` in the same form, hidden files included, so a test
// sees any file an operation left behind.
L tree(const QString &root)
{
    L out;
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

} // namespace

class TestSafeWrite : public QObject
{
    Q_OBJECT
    QTemporaryDir dir_;
    QString store_; // a fresh store folder for each test, ending in "/"
    int count_ = 0;

private Q_SLOTS:
    void init()
    {
        store_ = dir_.path() + u"/store%1/"_s.arg(++count_);
        QVERIFY(QDir().mkpath(store_));
    }

    // Mounted in a private mount namespace of this test; root ignores permission
    // bits, so the read-only folder is a read-only bind mount.
    void diskFullOrReadOnly_data()
    {
        QTest::addColumn<QByteArray>("tmpfsOptions"); // empty: a read-only bind mount
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("expectedErrno");
        QTest::newRow("disk full while writing") << "size=64k"_ba << 256 * 1024 << ENOSPC;
        QTest::newRow("no file can be created") << "size=64k,nr_inodes=2"_ba << 10 << ENOSPC;
        QTest::newRow("read-only folder") << QByteArray() << 10 << EROFS;
    }
    void diskFullOrReadOnly()
    {
        QFETCH(QByteArray, tmpfsOptions);
        QFETCH(int, size);
        QFETCH(int, expectedErrno);
        const QString path = store_ + u"idx.dat"_s;
        const QByteArray old(8 * 1024, 'o');
        const bool readOnly = tmpfsOptions.isEmpty();
        if (readOnly)
            QVERIFY(writeWholeFile(path, old, store_));
        QString why;
        const auto mounted = readOnly ? ScratchMount::readOnly(store_, &why)
                                      : ScratchMount::tmpfs(store_, tmpfsOptions, &why);
        if (!mounted)
            QSKIP(qPrintable(why));
        if (!readOnly)
            QVERIFY(writeWholeFile(path, old, store_));
        QCOMPARE(writeWholeFile(path, QByteArray(size, 'n'), store_).error.number, expectedErrno);
        QCOMPARE(readWholeFile(path).bytes, old);
        QCOMPARE(newFiles(store_), QStringList());
    }

    // Without care the limit's signal ends the process instead of failing the write.
    void fileSizeLimit()
    {
        const QString path = store_ + u"pref.dat"_s;
        QVERIFY(writeWholeFile(path, "old", store_));
        HelperProcess helper;
        QVERIFY(helper.start({u"write-once"_s, path, store_, QString::number(64 * 1024)}, [] {
            const rlimit limit{16 * 1024, 16 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }));
        QCOMPARE(helper.readLine(), "error 27"_ba);
        QCOMPARE(readWholeFile(path).bytes, "old"_ba);
        QCOMPARE(newFiles(store_), QStringList());
    }

    // The writer is killed at random moments; the file is always the old or the
    // new content, and a left-over new file is removed by the next clean-up.
    void crashLoop()
    {
        make(store_, {u"G/"_s});
        const QString target = store_ + u"G/entry.txt"_s;
        const QByteArray contentA(96 * 1024, 'a');
        const QByteArray contentB(160 * 1024 + 17, 'B');
        QVERIFY(writeWholeFile(dir_.filePath(u"A"_s), contentA, dir_.path()));
        QVERIFY(writeWholeFile(dir_.filePath(u"B"_s), contentB, dir_.path()));
        QVERIFY(writeWholeFile(target, contentA, store_));
        const QStringList arguments{u"write-loop"_s, target, store_, dir_.filePath(u"A"_s),
                                    dir_.filePath(u"B"_s)};
        QRandomGenerator random(QRandomGenerator::global()->generate());
        int seenA = 0;
        int seenB = 0;
        for (int i = 0; i < 300; ++i) {
            HelperProcess writer;
            QVERIFY(writer.start(arguments));
            if (random.bounded(2))
                QCOMPARE(writer.readLine(), "ready"_ba);
            QThread::usleep(random.bounded(8000));
            writer.kill();
            const QByteArray now = readWholeFile(target).bytes;
            QVERIFY2(now == contentA || now == contentB,
                     qPrintable(u"kill %1: %2 bytes"_s.arg(i).arg(now.size())));
            (now == contentA ? seenA : seenB)++;
            QVERIFY(newFiles(store_ + u"G"_s).size() <= 1);
            removeLeftoverNewFiles(store_, true);
            QCOMPARE(newFiles(store_ + u"G"_s), QStringList());
        }
        QVERIFY(seenA > 0 && seenB > 0);
    }

    // Creates, renames and copies never replace what is in the way, and a
    // group's folder goes only once it is empty: both sides stay.
    void neverOverwrite_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<L>("files");
        QTest::newRow("rename of an entry without a file") << 0 << L{u"A/y.txt=y"_s};
        QTest::newRow("group rename onto an empty folder") << 1 << L{u"A/x.txt=x"_s, u"B/"_s};
        QTest::newRow("group folder with a stray file") << 2 << L{u"A/_mask.dat=m"_s, u"A/s=s"_s};
    }
    void neverOverwrite()
    {
        QFETCH(int, op);
        QFETCH(L, files);
        make(store_, files);
        const L before = tree(store_);
        QStringList names;
        bool kept = false;
        const std::function<bool()> ops[] = {
            [&] {
                return NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"A"_s, u"y"_s, true)
                           .error.number == EEXIST;
            },
            [&] {
                return NF::copyGroupFolder(store_, u"A"_s, u"B"_s, &names).error.number == EEXIST;
            },
            [&] { return NF::removeGroupFolder(store_, u"A"_s, &kept) && kept; }};
        QVERIFY(ops[op]());
        QCOMPARE(tree(store_), op == 2 ? (L{u"A/"_s, u"A/s=s"_s}) : before);
    }

    // Nothing is written, renamed or deleted through a group folder or an
    // entry file that links out of the store; nor through a whole-file write.
    void symlinksOutOfTheStore()
    {
        const QString outside = dir_.path() + u"/outside%1/"_s.arg(count_);
        make(outside, {u"x.txt=outside"_s, u"_mask.dat=outside mask"_s});
        make(store_, {u"A/y.txt=y"_s, u"B/"_s});
        QVERIFY(QFile::link(outside, store_ + u"L"_s));
        QVERIFY(QFile::link(outside + u"x.txt"_s, store_ + u"A/x.txt"_s));
        QVERIFY(QFile::link(outside + u"planted"_s, store_ + u"A/z.txt"_s));
        const L before = tree(store_);
        QStringList names;
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"y"_s, u"L"_s, u"y"_s).error.number, ELOOP);
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x"_s).error.number, ELOOP);
        QCOMPARE(NF::deleteEntryFile(store_, u"L"_s, u"x"_s).error.number, ELOOP);
        QVERIFY(!NF::removeGroupFolder(store_, u"L"_s));
        QCOMPARE(NF::copyGroupFolder(store_, u"L"_s, u"M"_s, &names).error.number, ELOOP);
        for (const QString &file : {u"A/x.txt"_s, u"A/z.txt"_s, u"L/x.txt"_s})
            QVERIFY(!writeWholeFile(store_ + file, "new", store_));
        QCOMPARE(tree(outside), (L{u"_mask.dat=outside mask"_s, u"x.txt=outside"_s}));
        QCOMPARE(tree(store_), before);
    }

    // A renamed group's files under the new folder, linked: the same bytes
    // under both names until the old folder's names go. Files the notebook
    // does not name travel with the group.
    void copiesAreLinks()
    {
        make(store_, {u"A/_mask.dat=m"_s, u"A/x.txt=x"_s, u"A/stray=s"_s, u"A/sub/"_s});
        QStringList names;
        QVERIFY(NF::copyGroupFolder(store_, u"A"_s, u"B"_s, &names));
        names.sort();
        QCOMPARE(names, (L{u"_mask.dat"_s, u"stray"_s, u"x.txt"_s}));
        struct stat a = {}, b = {};
        ::stat(QFile::encodeName(store_ + u"A/x.txt"_s).constData(), &a);
        ::stat(QFile::encodeName(store_ + u"B/x.txt"_s).constData(), &b);
        QCOMPARE(a.st_ino, b.st_ino);
        QVERIFY(NF::removeGroupFiles(store_, u"A"_s, names));
        QCOMPARE(tree(store_), (L{u"A/"_s, u"A/sub/"_s, u"B/"_s, u"B/_mask.dat=m"_s, u"B/stray=s"_s,
                                  u"B/x.txt=x"_s}));
    }

    // A fifo in place of an entry's file is refused, not waited on. Should the
    // copy hang, a writer opened after two seconds lets it go, and the test fails.
    void copyRefusesAFifo()
    {
        make(store_, {u"A/"_s, u"B/"_s});
        const QByteArray fifo = QFile::encodeName(store_ + u"A/x.txt"_s);
        QCOMPARE(::mkfifo(fifo.constData(), 0600), 0);
        std::atomic<bool> done = false;
        std::atomic<bool> released = false;
        std::thread watchdog([&] {
            for (int i = 0; i < 200 && !done; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const int fd = done ? -1 : ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            released = fd >= 0;
            if (fd >= 0)
                ::close(fd);
        });
        const FileResult copied = NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x"_s);
        done = true;
        watchdog.join();
        QVERIFY(!released);
        QCOMPARE(copied.error.number, EINVAL);
        QCOMPARE(tree(store_ + u"B/"_s), L{});
    }

    // Within one file system a copy is a link. Across file systems the bytes are
    // copied: all of them, over more than one read, unchanged; a copy cut short
    // by a full disk leaves nothing under the entry's name.
    void copyAcrossFileSystems()
    {
        const QString text = u"\u20AC\r\n"_s.repeated(30000);
        make(store_, {u"A/x.txt="_s + text, u"B/"_s, u"C/"_s});
        QString why;
        const auto small = ScratchMount::tmpfs(store_ + u"B"_s, "size=64k", &why);
        const auto large = ScratchMount::tmpfs(store_ + u"C"_s, "size=1m", &why);
        if (!small || !large)
            QSKIP(qPrintable(why));
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x"_s).error.number, ENOSPC);
        QCOMPARE(tree(store_ + u"B/"_s), L{});
        QVERIFY(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"C"_s, u"x"_s));
        QCOMPARE(tree(store_ + u"C/"_s), L{u"x.txt="_s + text});
    }
};

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_safewrite.moc"
