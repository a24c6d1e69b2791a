#include "store/safewrite.h"
#include "support/helperprocess.h"
#include "support/scratchmount.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

// New files of the writer in `folder`.
QStringList newFiles(const QString &folder)
{
    return QDir(folder).entryList({u".plimsa-new-*"_s}, QDir::Files | QDir::Hidden);
}

} // namespace

class TestSafeWrite : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void diskFullOrReadOnly_data()
    {
        QTest::addColumn<QByteArray>("tmpfsOptions"); // empty: a read-only bind mount
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("expectedErrno");
        QTest::newRow("disk full while writing") << "size=64k"_ba << 256 * 1024 << ENOSPC;
        QTest::newRow("no file can be created") << "size=64k,nr_inodes=2"_ba << 10 << ENOSPC;
        QTest::newRow("read-only folder") << QByteArray() << 10 << EROFS;
    }
    // Mounted in a private mount namespace of this test; root ignores permission
    // bits, so the read-only folder is a read-only bind mount.
    void diskFullOrReadOnly()
    {
        QFETCH(QByteArray, tmpfsOptions);
        QFETCH(int, size);
        QFETCH(int, expectedErrno);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"idx.dat"_s);
        const QByteArray old(8 * 1024, 'o');
        const bool readOnly = tmpfsOptions.isEmpty();
        if (readOnly)
            QVERIFY(writeWholeFile(path, old, dir.path()));
        QString why;
        const auto mounted = readOnly ? ScratchMount::readOnly(dir.path(), &why)
                                      : ScratchMount::tmpfs(dir.path(), tmpfsOptions, &why);
        if (!mounted)
            QSKIP(qPrintable(why));
        if (!readOnly)
            QVERIFY(writeWholeFile(path, old, dir.path()));

        const FileResult written = writeWholeFile(path, QByteArray(size, 'n'), dir.path());
        QCOMPARE(written.error.number, expectedErrno);
        QCOMPARE(readWholeFile(path).bytes, old);
        QCOMPARE(newFiles(dir.path()), QStringList());
    }

    // Without care the limit's signal ends the process instead of failing the write.
    void fileSizeLimit()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"pref.dat"_s);
        QVERIFY(writeWholeFile(path, "old", dir.path()));
        HelperProcess helper;
        QVERIFY(helper.start({u"write-once"_s, path, dir.path(), QString::number(64 * 1024)}, [] {
            const rlimit limit{16 * 1024, 16 * 1024};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }));
        QCOMPARE(helper.readLine(), "error 27"_ba);
        QCOMPARE(readWholeFile(path).bytes, "old"_ba);
        QCOMPARE(newFiles(dir.path()), QStringList());
    }

    void neverWritesThroughALinkOutside_data()
    {
        QTest::addColumn<QString>("link"); // in the store
        QTest::addColumn<QString>("linkTarget");
        QTest::addColumn<QString>("target");
        QTest::newRow("entry file links to a file outside")
            << u"G/a.txt"_s << u"../../outside/victim"_s << u"G/a.txt"_s;
        QTest::newRow("entry file links to a missing file outside")
            << u"G/a.txt"_s << u"../../outside/planted"_s << u"G/a.txt"_s;
        QTest::newRow("group folder links outside") << u"L"_s << u"../outside"_s << u"L/victim"_s;
    }
    void neverWritesThroughALinkOutside()
    {
        QFETCH(QString, link);
        QFETCH(QString, linkTarget);
        QFETCH(QString, target);
        QTemporaryDir base;
        QVERIFY(QDir(base.path()).mkpath(u"store/G"_s));
        QVERIFY(QDir(base.path()).mkpath(u"outside"_s));
        const QString store = base.filePath(u"store"_s);
        const QString victim = base.filePath(u"outside/victim"_s);
        QVERIFY(writeWholeFile(victim, "outside", base.path()));
        QVERIFY(QFile::link(linkTarget, store + u'/' + link));

        QVERIFY(!writeWholeFile(store + u'/' + target, "new", store));
        QCOMPARE(readWholeFile(victim).bytes, "outside"_ba);
        QCOMPARE(QDir(base.filePath(u"outside"_s)).entryList(QDir::Files | QDir::Hidden),
                 QStringList{u"victim"_s});
    }

    // The writer is killed at random moments; the file is always the old or the
    // new content, and a left-over new file is removed by the next clean-up.
    void crashLoop()
    {
        QTemporaryDir base;
        QVERIFY(QDir(base.path()).mkpath(u"store/G"_s));
        const QString folder = base.filePath(u"store/G"_s);
        const QString target = folder + u"/entry.txt"_s;
        const QByteArray contentA(96 * 1024, 'a');
        const QByteArray contentB(160 * 1024 + 17, 'B');
        QVERIFY(writeWholeFile(base.filePath(u"A"_s), contentA, base.path()));
        QVERIFY(writeWholeFile(base.filePath(u"B"_s), contentB, base.path()));
        QVERIFY(writeWholeFile(target, contentA, base.path()));
        const QStringList arguments{u"write-loop"_s, target, base.filePath(u"store"_s),
                                    base.filePath(u"A"_s), base.filePath(u"B"_s)};
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
            QVERIFY(newFiles(folder).size() <= 1);
            removeLeftoverNewFiles(base.filePath(u"store"_s), true);
            QCOMPARE(newFiles(folder), QStringList());
        }
        QVERIFY(seenA > 0 && seenB > 0);
    }
};

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_safewrite.moc"
