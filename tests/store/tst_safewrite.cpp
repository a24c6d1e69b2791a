#include "store/safewrite.h"
#include "support/helperprocess.h"
#include "support/scratchmount.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

namespace {

QByteArray pattern(qsizetype size, char seed)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = (i % 64 == 63) ? '\n' : char(seed + i % 23);
    return bytes;
}

QByteArray fileContent(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool putFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// New files of the writer anywhere below `folder`.
QStringList newFiles(const QString &folder)
{
    QStringList found;
    QDirIterator it(folder, {u".plimsa-new-*"_s}, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found << it.next();
    return found;
}

// Every name below `folder` with its content (links by their target), to see
// that nothing in it changed.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> seen;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        seen[info.filePath()] = info.isSymLink() ? "link " + QFile::encodeName(info.symLinkTarget())
                                : info.isDir()   ? QByteArray("folder")
                                : info.isFile()  ? fileContent(info.filePath())
                                                 : QByteArray("special");
    }
    return seen;
}

mode_t modeOf(const QString &path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

class tst_SafeWrite : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void modeOfFile_data();
    void modeOfFile();
    void diskFullOrReadOnly_data();
    void diskFullOrReadOnly();
    void refusedInSecondProcess_data();
    void refusedInSecondProcess();
    void neverLeavesTheStore_data();
    void neverLeavesTheStore();
    void readRefusals_data();
    void readRefusals();
    void leftoversRemoved_data();
    void leftoversRemoved();
    void crashLoop();
};

void tst_SafeWrite::roundTrip_data()
{
    QTest::addColumn<QByteArray>("old");
    QTest::addColumn<QByteArray>("bytes");

    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all += char(b);
    QByteArray random(1 << 20, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(random.data()), random.size() / 4);

    QTest::newRow("new empty file") << QByteArray() << QByteArray("");
    QTest::newRow("new file, every byte value") << QByteArray() << all;
    QTest::newRow("CR LF text over a longer file")
        << pattern(5000, 'a') << QByteArray("first\r\nsecond\r\n\r\n");
    QTest::newRow("emptied") << QByteArray("old text\r\n") << QByteArray("");
    QTest::newRow("1 MiB over a short file") << QByteArray("x") << random;
}

void tst_SafeWrite::roundTrip()
{
    QFETCH(QByteArray, old);
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"idx.dat"_s);
    if (!old.isNull())
        QVERIFY(putFile(path, old));

    const WriteResult written = writeWholeFile(path, bytes, dir.path());
    QVERIFY2(written.ok, qPrintable(written.error.description));
    QCOMPARE(fileContent(path), bytes);
    const ReadResult read = readWholeFile(path);
    QVERIFY(read.ok);
    QCOMPARE(read.bytes, bytes);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{u"idx.dat"_s});
}

void tst_SafeWrite::modeOfFile_data()
{
    QTest::addColumn<int>("umask");
    QTest::addColumn<int>("oldMode"); // -1: no old file
    QTest::addColumn<int>("expected");
    QTest::newRow("new file, umask 022") << 022 << -1 << 0644;
    QTest::newRow("new file, umask 077") << 077 << -1 << 0600;
    QTest::newRow("replaced file keeps its mode") << 022 << 0604 << 0604;
}

void tst_SafeWrite::modeOfFile()
{
    QFETCH(int, umask);
    QFETCH(int, oldMode);
    QFETCH(int, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.txt"_s);
    if (oldMode >= 0) {
        QVERIFY(putFile(path, "old"));
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode_t(oldMode)), 0);
    }
    const mode_t previous = ::umask(mode_t(umask));
    const auto restore = qScopeGuard([previous] { ::umask(previous); });
    QVERIFY(writeWholeFile(path, "new", dir.path()).ok);
    QCOMPARE(int(modeOf(path)), expected);
}

void tst_SafeWrite::diskFullOrReadOnly_data()
{
    QTest::addColumn<QString>("mount");
    QTest::addColumn<QByteArray>("options");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("expectedErrno");
    QTest::newRow("disk full while writing") << u"tmpfs"_s << QByteArray("size=64k") << 256 * 1024
                                             << ENOSPC;
    QTest::newRow("disk full, just past the free space")
        << u"tmpfs"_s << QByteArray("size=64k") << 62 * 1024 << ENOSPC;
    QTest::newRow("no file can be created") << u"tmpfs"_s << QByteArray("size=64k,nr_inodes=2")
                                            << 10 << ENOSPC;
    QTest::newRow("read-only folder (bind mount)") << u"ro"_s << QByteArray() << 10 << EROFS;
}

// Mounted in a private mount namespace of this test; root ignores permission
// bits, so the read-only folder is a read-only bind mount.
void tst_SafeWrite::diskFullOrReadOnly()
{
    QFETCH(QString, mount);
    QFETCH(QByteArray, options);
    QFETCH(int, size);
    QFETCH(int, expectedErrno);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"idx.dat"_s);
    const QByteArray old = pattern(8 * 1024, 'o');

    QString why;
    std::unique_ptr<ScratchMount> mounted;
    if (mount == u"tmpfs"_s) {
        mounted = ScratchMount::tmpfs(dir.path(), options, &why);
        if (mounted)
            QVERIFY(putFile(path, old));
    } else {
        QVERIFY(putFile(path, old));
        mounted = ScratchMount::readOnly(dir.path(), &why);
    }
    if (!mounted)
        QSKIP(qPrintable(why));

    const WriteResult written = writeWholeFile(path, pattern(size, 'n'), dir.path());
    QVERIFY(!written.ok);
    QCOMPARE(written.error.number, expectedErrno);
    QVERIFY(!written.error.description.isEmpty());
    QCOMPARE(fileContent(path), old);
    QCOMPARE(newFiles(dir.path()), QStringList());
}

void tst_SafeWrite::refusedInSecondProcess_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("answer");
    // Without care the limit's signal ends the process instead of failing the write.
    QTest::newRow("file-size limit (ulimit -f)") << u"limit"_s << QByteArray("error 27");
    QTest::newRow("file made read-only by its owner") << u"readonly"_s << QByteArray("error 13");
}

void tst_SafeWrite::refusedInSecondProcess()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, answer);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"pref.dat"_s);
    const QByteArray old = pattern(4000, 'o');
    QVERIFY(putFile(path, old));

    std::function<void()> setup;
    if (kind == u"limit"_s) {
        setup = [] {
            const rlimit limit{16 * 1024, 16 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        };
    } else {
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0444), 0);
        // Root may write anything: the helper runs as nobody, in a folder of its own.
        if (::geteuid() == 0) {
            constexpr uid_t nobody = 65534;
            QCOMPARE(::chown(QFile::encodeName(dir.path()).constData(), nobody, nobody), 0);
            QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody, nobody), 0);
            setup = [] {
                if (::setgid(nobody) != 0 || ::setuid(nobody) != 0)
                    ::_exit(3);
            };
        }
    }
    HelperProcess helper;
    QVERIFY(helper.start({u"write-once"_s, path, dir.path(), QString::number(64 * 1024)}, setup));
    QCOMPARE(helper.readLine(), answer);
    QVERIFY(helper.waitForExit());
    QCOMPARE(helper.process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(fileContent(path), old);
    QCOMPARE(newFiles(dir.path()), QStringList());
}

void tst_SafeWrite::neverLeavesTheStore_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("target"); // relative to the store
    QTest::addColumn<int>("expectedErrno");
    QTest::newRow("entry file links to a file outside") << u"link G/a.txt ../../outside/victim"_s
                                                        << u"G/a.txt"_s << ELOOP;
    QTest::newRow("entry file links to a missing file outside")
        << u"link G/a.txt ../../outside/planted"_s << u"G/a.txt"_s << ELOOP;
    QTest::newRow("entry file links inside the store") << u"link G/a.txt b.txt"_s << u"G/a.txt"_s
                                                       << ELOOP;
    QTest::newRow("group folder links outside") << u"link L ../outside"_s << u"L/victim"_s
                                                << EPERM;
    QTest::newRow("path climbs out") << QString() << u"G/../../outside/victim"_s << EPERM;
    QTest::newRow("folder in place of the file") << u"folder G/a.txt"_s << u"G/a.txt"_s
                                                 << EISDIR;
    QTest::newRow("fifo in place of the file") << u"fifo G/a.txt"_s << u"G/a.txt"_s << EINVAL;
    QTest::newRow("group folder missing") << QString() << u"H/a.txt"_s << ENOENT;
    QTest::newRow("path ends in a slash") << QString() << u"G/"_s << EISDIR;
    QTest::newRow("NUL in the path") << QString() << u"G\0/H/b.txt"_s << EINVAL;
}

void tst_SafeWrite::neverLeavesTheStore()
{
    QFETCH(QString, setup);
    QFETCH(QString, target);
    QFETCH(int, expectedErrno);
    QTemporaryDir base;
    QDir(base.path()).mkpath(u"store/G"_s);
    QDir(base.path()).mkpath(u"outside"_s);
    const QString store = base.filePath(u"store"_s);
    QVERIFY(putFile(base.filePath(u"outside/victim"_s), "outside"));
    QVERIFY(putFile(store + u"/G/b.txt"_s, "b"));
    const QStringList step = setup.split(u' ');
    const QString at = store + u'/' + step.value(1);
    if (step[0] == u"link"_s)
        QVERIFY(QFile::link(step[2], at));
    else if (step[0] == u"folder"_s)
        QVERIFY(QDir().mkdir(at));
    else if (step[0] == u"fifo"_s)
        QCOMPARE(::mkfifo(QFile::encodeName(at).constData(), 0600), 0);
    const auto before = snapshot(base.path());

    const WriteResult written = writeWholeFile(store + u'/' + target, "new", store);
    QVERIFY(!written.ok);
    QCOMPARE(written.error.number, expectedErrno);
    QCOMPARE(snapshot(base.path()), before);
}

void tst_SafeWrite::readRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("expectedErrno");
    QTest::newRow("symbolic link") << u"link"_s << ELOOP;
    QTest::newRow("folder") << u"folder"_s << EISDIR;
    QTest::newRow("fifo (must not hang)") << u"fifo"_s << EINVAL;
    QTest::newRow("missing") << u"missing"_s << ENOENT;
    QTest::newRow("NUL in the path") << u"nul"_s << EINVAL;
}

void tst_SafeWrite::readRefusals()
{
    QFETCH(QString, kind);
    QFETCH(int, expectedErrno);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"_mask.dat"_s);
    QVERIFY(putFile(dir.filePath(u"real"_s), "text"));
    if (kind == u"link"_s)
        QVERIFY(QFile::link(u"real"_s, path));
    else if (kind == u"folder"_s)
        QVERIFY(QDir().mkdir(path));
    else if (kind == u"fifo"_s)
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);

    // With the NUL cut off, "real" would be read.
    const ReadResult read =
        readWholeFile(kind == u"nul"_s ? dir.filePath(u"real"_s) + u"\0/x"_s : path);
    QVERIFY(!read.ok);
    QVERIFY(read.bytes.isEmpty());
    QCOMPARE(read.error.number, expectedErrno);
}

void tst_SafeWrite::leftoversRemoved_data()
{
    QTest::addColumn<bool>("recursive");
    QTest::newRow("store and its group folders") << true;
    QTest::newRow("one folder") << false;
}

void tst_SafeWrite::leftoversRemoved()
{
    QFETCH(bool, recursive);
    QTemporaryDir base;
    QDir(base.path()).mkpath(u"store/G"_s);
    QDir(base.path()).mkpath(u"outside"_s);
    const QString store = base.filePath(u"store/"_s);
    const QString outside = base.filePath(u"outside/"_s);
    const QStringList kept = {
        store + u"idx.dat"_s,
        store + u".plimsa-new-ab12.txt"_s, // an entry titled like a new file
        store + u".plimsa-new-ABC"_s,
        store + u"G/.plimsa-new-abcdefg"_s,
        store + u"G/x.plimsa-new-abcdef"_s,
        outside + u".plimsa-new-Qq0Zz9"_s,
    };
    for (const QString &path : kept)
        QVERIFY(putFile(path, "keep"));
    QVERIFY(QDir().mkdir(store + u".plimsa-new-Folder"_s));
    QVERIFY(QFile::link(outside + u".plimsa-new-Qq0Zz9"_s, store + u".plimsa-new-Link01"_s));
    QVERIFY(QFile::link(outside, store + u"L"_s));
    const QString top = store + u".plimsa-new-aZ09xy"_s;
    const QString inGroup = store + u"G/.plimsa-new-Q1w2E3"_s;
    QVERIFY(putFile(top, "left"));
    QVERIFY(putFile(inGroup, "left"));

    removeLeftoverNewFiles(store, recursive);
    QVERIFY(!QFile::exists(top));
    QCOMPARE(QFile::exists(inGroup), !recursive);
    for (const QString &path : kept)
        QVERIFY2(fileContent(path) == "keep", qPrintable(path));
    QVERIFY(QFileInfo(store + u".plimsa-new-Folder"_s).isDir());
    QVERIFY(QFileInfo(store + u".plimsa-new-Link01"_s).isSymLink());
}

// The writer is killed at random moments; the file is always the old or the
// new content, and a left-over new file is removed by the next clean-up.
void tst_SafeWrite::crashLoop()
{
    constexpr int kIterations = 300;
    QTemporaryDir base;
    QDir(base.path()).mkpath(u"store/G"_s);
    const QString store = base.filePath(u"store"_s);
    const QString target = store + u"/G/entry.txt"_s;
    const QByteArray contentA = pattern(96 * 1024, 'a');
    const QByteArray contentB = pattern(160 * 1024 + 17, 'B');
    QVERIFY(putFile(base.filePath(u"A"_s), contentA));
    QVERIFY(putFile(base.filePath(u"B"_s), contentB));
    QVERIFY(writeWholeFile(target, contentA, store).ok);
    const QStringList arguments = {u"write-loop"_s, target, store, base.filePath(u"A"_s),
                                   base.filePath(u"B"_s)};

    QRandomGenerator random(QRandomGenerator::global()->generate());
    int seenA = 0;
    int seenB = 0;
    int leftovers = 0;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kIterations && clock.elapsed() < 40000; ++i) {
        HelperProcess writer;
        QVERIFY(writer.start(arguments));
        if (random.bounded(2))
            QCOMPARE(writer.readLine(), QByteArray("ready"));
        QThread::usleep(random.bounded(8000));
        writer.kill();

        const QByteArray now = fileContent(target);
        QVERIFY2(now == contentA || now == contentB,
                 qPrintable(u"iteration %1: %2 bytes"_s.arg(i).arg(now.size())));
        (now == contentA ? seenA : seenB)++;
        const int left = int(newFiles(store).size());
        QVERIFY(left <= 1);
        leftovers += left;
        removeLeftoverNewFiles(store, true);
        QCOMPARE(newFiles(store), QStringList());
        QCOMPARE(fileContent(target), now);
    }
    qInfo("%d kills: %d old, %d new, %d left-over new files removed", seenA + seenB, seenA, seenB,
          leftovers);
    QVERIFY(seenA > 0 && seenB > 0);
}

QTEST_GUILESS_MAIN(tst_SafeWrite)
#include "tst_safewrite.moc"
