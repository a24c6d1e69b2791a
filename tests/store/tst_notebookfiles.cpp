#include "store/notebookfiles.h"
#include "support/scratchmount.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;
namespace NF = NotebookFiles;
using L = QStringList;

namespace {

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
        const QString rel = info.filePath().mid(root.size());
        QFile f(info.filePath());
        if (info.isDir())
            out << rel + u"/"_s;
        else if (f.open(QIODevice::ReadOnly))
            out << rel + u"="_s + QString::fromUtf8(f.readAll());
    }
    out.sort();
    return out;
}

ino_t inode(const QString &path)
{
    struct stat st = {};
    ::stat(QFile::encodeName(path).constData(), &st);
    return st.st_ino;
}

} // namespace

class TestNotebookFiles : public QObject
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

    // Creates, renames and copies never replace what is in the way; both sides stay.
    void neverOverwrite_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<L>("files");
        QTest::newRow("entry rename") << 0 << L{u"A/x.txt=x"_s, u"A/y.txt=y"_s};
        QTest::newRow("rename of an entry without a file") << 0 << L{u"A/y.txt=y"_s};
        QTest::newRow("group rename") << 1 << L{u"A/x.txt=x"_s, u"B/x.txt=y"_s};
        QTest::newRow("group rename onto an empty folder") << 1 << L{u"A/x.txt=x"_s, u"B/"_s};
        QTest::newRow("copy") << 2 << L{u"A/x.txt=x"_s, u"B/x.txt=y"_s};
        QTest::newRow("new group") << 3 << L{u"B/_mask.dat=old mask"_s};
    }
    void neverOverwrite()
    {
        QFETCH(int, op);
        QFETCH(L, files);
        make(store_, files);
        const L before = tree(store_);
        QStringList names;
        const std::function<FileResult()> ops[] = {
            [&] { return NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"A"_s, u"y"_s, true); },
            [&] { return NF::copyGroupFolder(store_, u"A"_s, u"B"_s, &names); },
            [&] { return NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x"_s); },
            [&] { return NF::createGroupFolder(store_, u"B"_s); }};
        QCOMPARE(ops[op]().error.number, EEXIST);
        QCOMPARE(tree(store_), before);
    }

    // A group's folder goes only once it is empty: files the notebook does not
    // name stay where they are.
    void removeGroupFolderKeepsStrayFiles()
    {
        make(store_, {u"E/_mask.dat=m"_s, u"F/_mask.dat=m"_s, u"F/stray.txt=s"_s});
        bool kept = true;
        QVERIFY(NF::removeGroupFolder(store_, u"E"_s, &kept) && !kept);
        QVERIFY(NF::removeGroupFolder(store_, u"F"_s, &kept) && kept);
        QCOMPARE(tree(store_), (L{u"F/"_s, u"F/stray.txt=s"_s}));
    }

    // Nothing is written, renamed or deleted through a group folder, or read
    // through an entry file, that links out of the store.
    void symlinks()
    {
        const QString outside = dir_.path() + u"/outside%1/"_s.arg(count_);
        make(outside, {u"x.txt=outside"_s, u"_mask.dat=outside mask"_s});
        make(store_, {u"A/y.txt=y"_s, u"B/"_s});
        QVERIFY(QFile::link(outside, store_ + u"L"_s));
        QVERIFY(QFile::link(outside + u"x.txt"_s, store_ + u"A/x.txt"_s));
        const L before = tree(store_);

        QStringList names;
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"y"_s, u"L"_s, u"y"_s).error.number, ELOOP);
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x"_s).error.number, ELOOP);
        QCOMPARE(NF::deleteEntryFile(store_, u"L"_s, u"x"_s).error.number, ELOOP);
        QVERIFY(!NF::removeGroupFolder(store_, u"L"_s));
        QCOMPARE(NF::copyGroupFolder(store_, u"L"_s, u"M"_s, &names).error.number, ELOOP);

        QCOMPARE(tree(outside), (L{u"_mask.dat=outside mask"_s, u"x.txt=outside"_s}));
        QCOMPARE(tree(store_), before);
    }

    // A renamed group's files under the new folder, linked: the same bytes
    // under both names until the old folder's names go, then the old folder.
    // Files the notebook does not name travel with the group.
    void groupFolderCopy()
    {
        make(store_, {u"A/_mask.dat=m"_s, u"A/x.txt=x"_s, u"A/stray=s"_s, u"A/sub/"_s});
        QStringList names;
        QVERIFY(NF::copyGroupFolder(store_, u"A"_s, u"B"_s, &names));
        names.sort();
        QCOMPARE(names, (L{u"_mask.dat"_s, u"stray"_s, u"x.txt"_s}));
        QCOMPARE(inode(store_ + u"B/x.txt"_s), inode(store_ + u"A/x.txt"_s));
        QVERIFY(NF::removeGroupFiles(store_, u"A"_s, names));
        QCOMPARE(tree(store_), (L{u"A/"_s, u"A/sub/"_s, u"B/"_s, u"B/_mask.dat=m"_s, u"B/stray=s"_s,
                                  u"B/x.txt=x"_s}));
    }

    // A crash between the link and idx.dat leaves the entry's own file under
    // the new name: trying again takes it as done, where any other file in
    // the way is refused.
    void copyOntoItsOwnLeftover()
    {
        make(store_, {u"A/x.txt=x"_s});
        QCOMPARE(::link(QFile::encodeName(store_ + u"A/x.txt"_s).constData(),
                        QFile::encodeName(store_ + u"A/y.txt"_s).constData()),
                 0);
        QVERIFY(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"A"_s, u"y"_s));
        QCOMPARE(tree(store_), (L{u"A/"_s, u"A/x.txt=x"_s, u"A/y.txt=x"_s}));
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
            if (done)
                return;
            const int fd = ::open(fifo.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
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

QTEST_GUILESS_MAIN(TestNotebookFiles)
#include "tst_notebookfiles.moc"
