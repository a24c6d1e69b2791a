// The file steps on a real disk: the whole-file writer under a file-size
// limit; the group and entry files that never overwrite, never follow a link
// out of the store, and copy where a link is refused.

#include "store/notebookfiles.h"
#include "store/safewrite.h"
#include "support/callfaults.h"
#include "support/foldercontents.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <future>
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
        QVERIFY(eq < 0 ? QDir().mkpath(path) : writeFile(path, item.mid(eq + 1).toUtf8()));
    }
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

    // Without care the limit's signal ends this test instead of failing the
    // write. A second thread is there for the signal to land in, should the
    // kernel send it to the whole process.
    void fileSizeLimit()
    {
        const QString path = store_ + u"pref.dat"_s;
        QVERIFY(writeWholeFile(path, "old", store_));
        std::promise<void> stop;
        std::thread bystander([done = stop.get_future()] { done.wait(); });
        rlimit before = {};
        ::getrlimit(RLIMIT_FSIZE, &before);
        const rlimit limit{16 * 1024, before.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const FileResult written = writeWholeFile(path, QByteArray(64 * 1024, 'x'), store_);
        ::setrlimit(RLIMIT_FSIZE, &before);
        stop.set_value();
        bystander.join();
        QCOMPARE(written.error.number, EFBIG);
        QCOMPARE(readWholeFile(path).bytes, "old"_ba);
        QCOMPARE(newFiles(store_), QStringList());
    }

    // A title never takes over a file in the way, not even that of an entry
    // without a file; a group's folder goes only once it is empty. (A group
    // renamed onto a folder in the way: the window's refusals.)
    void neverOverwrite()
    {
        make(store_, {u"A/y.txt=y"_s, u"B/_mask.dat=m"_s, u"B/s=s"_s});
        QCOMPARE(
            NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"A"_s, u"y"_s, true).error.number, EEXIST);
        bool kept = false;
        QVERIFY(NF::removeGroupFolder(store_, u"B"_s, &kept));
        QVERIFY(kept);
        QCOMPARE(tree(store_), (L{u"A/"_s, u"A/y.txt=y"_s, u"B/"_s, u"B/s=s"_s}));

        // Nor does a batch's new file (an import's), refused at its rename
        // whether the system refuses there or, without RENAME_NOREPLACE, only
        // a look just before it can; the batch's files go again.
        for (const bool lookOnly : {false, true}) {
            const CallFaults noNoReplace(
                lookOnly ? std::optional(CallFault{Sys::Op::Rename, 1, EINVAL}) : std::nullopt);
            FileBatch batch(store_, FileBatch::Naming::AfterSync);
            QVERIFY(batch.write(store_ + u"A/z.txt"_s, "z"));
            FileResult done = batch.write(store_ + u"A/y.txt"_s, "new");
            if (done)
                done = batch.finish();
            QCOMPARE(done.error.number, EEXIST);
            batch.removeWritten();
            QCOMPARE(tree(store_ + u"A/"_s), L{u"y.txt=y"_s});
        }
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

    // Where a link is refused (another file system, or none of hard links)
    // the bytes are copied: all of them, over more than one read, unchanged;
    // a copy cut short by a full disk leaves nothing under the entry's name.
    void copyWithoutALink()
    {
        const QString text = u"\u20AC\r\n"_s.repeated(30000);
        make(store_, {u"A/x.txt="_s + text, u"B/"_s, u"C/"_s});
        {
            const CallFaults diskFull(CallFault{Sys::Op::Write, 0, ENOSPC}, true);
            QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x"_s).error.number,
                     ENOSPC);
        }
        QCOMPARE(tree(store_ + u"B/"_s), L{});
        const CallFaults noHardLinks(std::nullopt, true);
        QVERIFY(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"C"_s, u"x"_s));
        QCOMPARE(tree(store_ + u"C/"_s), L{u"x.txt="_s + text});
    }
};

QTEST_GUILESS_MAIN(TestSafeWrite)
#include "tst_safewrite.moc"
