#include "notebook/notebookfiles.h"
#include "support/scratchmount.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <functional>

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

// Everything under `root` in the same form, hidden files and links included,
// so a test sees any file an operation left behind.
L tree(const QString &root)
{
    L out;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        const QString rel = info.filePath().mid(root.size());
        QFile f(info.filePath());
        if (info.isSymLink())
            out << rel + u"->"_s;
        else if (info.isDir())
            out << rel + u"/"_s;
        else if (f.open(QIODevice::ReadOnly))
            out << rel + u"="_s + QString::fromUtf8(f.readAll());
    }
    out.sort();
    return out;
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

    void createGroupFolder()
    {
        make(store_, {u"G/_mask.dat=old mask"_s});
        QVERIFY(NF::createGroupFolder(store_, u"a\u00D0b"_s));
        // A folder in the way may hold another group's files.
        const NF::Result r = NF::createGroupFolder(store_, u"G"_s);
        QCOMPARE(r.error.number, EEXIST);
        QCOMPARE(r.currentFile, store_ + u"G/"_s);
        QCOMPARE(tree(store_),
                 (L{u"G/"_s, u"G/_mask.dat=old mask"_s, u"a\u00D0b/"_s, u"a\u00D0b/_mask.dat="_s}));
    }

    // A damaged index line must not reach outside the store or onto it.
    void unsafeNamesTouchNothing()
    {
        make(store_, {u"G/e.txt=e"_s});
        for (const QString &name : {u".."_s, u"x/y"_s}) {
            QCOMPARE(NF::createGroupFolder(store_, name).error.number, EINVAL);
            QCOMPARE(NF::renameGroupFolder(store_, u"G"_s, name).error.number, EINVAL);
            QCOMPARE(NF::removeGroupFolder(store_, name).result.error.number, EINVAL);
            QCOMPARE(NF::deleteEntryFile(store_, name, u"e"_s).error.number, EINVAL);
            QCOMPARE(NF::copyEntryFile(store_, u"G"_s, name, u"e"_s).error.number, EINVAL);
        }
        QCOMPARE(tree(store_), (L{u"G/"_s, u"G/e.txt=e"_s}));
    }

    void renamesCopyAndDelete()
    {
        make(store_, {u"A/x.txt=x text"_s, u"B/"_s});
        QVERIFY(NF::renameEntryFile(store_, u"A"_s, u"x"_s, u"_x"_s));
        QVERIFY(NF::renameEntryFile(store_, u"A"_s, u"_x"_s, u"_x"_s)); // unchanged title
        QVERIFY(NF::renameGroupFolder(store_, u"A"_s, u"Z"_s));
        QVERIFY(NF::copyEntryFile(store_, u"Z"_s, u"B"_s, u"_x"_s));
        QCOMPARE(tree(store_), (L{u"B/"_s, u"B/_x.txt=x text"_s, u"Z/"_s, u"Z/_x.txt=x text"_s}));
        QVERIFY(NF::deleteEntryFile(store_, u"Z"_s, u"_x"_s));
        QCOMPARE(tree(store_), (L{u"B/"_s, u"B/_x.txt=x text"_s, u"Z/"_s}));

        const NF::Result r = NF::copyEntryFile(store_, u"Z"_s, u"B"_s, u"y"_s);
        QCOMPARE(r.error.number, ENOENT);
        QCOMPARE(r.currentFile, store_ + u"Z/y.txt"_s);
        QCOMPARE(r.targetFile, store_ + u"B/y.txt"_s);
    }

    // A move made unique in its target: the copy takes the new title, the
    // source keeps its own until it is deleted; a taken target name refuses.
    void copyUnderAnotherTitle()
    {
        make(store_, {u"A/x.txt=x text"_s, u"B/x.txt=other"_s});
        QVERIFY(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x_"_s));
        QCOMPARE(tree(store_), (L{u"A/"_s, u"A/x.txt=x text"_s, u"B/"_s, u"B/x.txt=other"_s,
                                  u"B/x_.txt=x text"_s}));
        const NF::Result r = NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u"x"_s);
        QCOMPARE(r.error.number, EEXIST);
        QCOMPARE(r.targetFile, store_ + u"B/x.txt"_s);
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"x"_s, u"B"_s, u".."_s).error.number, EINVAL);
    }

    void copyKeepsEveryByte()
    {
        QByteArray bytes;
        for (int b = 0; b < 256; ++b)
            bytes.append(char(b));
        bytes = bytes.repeated(1000); // more than one read
        make(store_, {u"A/"_s, u"B/"_s});
        QFile f(store_ + u"A/x.txt"_s);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        f.close();
        QVERIFY(NF::copyEntryFile(store_, u"A"_s, u"B"_s, u"x"_s));
        QFile copy(store_ + u"B/x.txt"_s);
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), bytes);
    }

    // Renames and copies never replace what is in the way; both sides stay.
    void neverOverwrite_data()
    {
        QTest::addColumn<int>("op");
        QTest::addColumn<L>("files");
        QTest::newRow("entry rename") << 0 << L{u"A/x.txt=x"_s, u"A/y.txt=y"_s};
        QTest::newRow("group rename") << 1 << L{u"A/x.txt=x"_s, u"B/x.txt=y"_s};
        QTest::newRow("onto empty folder") << 1 << L{u"A/x.txt=x"_s, u"B/"_s};
        QTest::newRow("copy") << 2 << L{u"A/x.txt=x"_s, u"B/x.txt=y"_s};
    }
    void neverOverwrite()
    {
        QFETCH(int, op);
        QFETCH(L, files);
        make(store_, files);
        const L before = tree(store_);
        const std::function<NF::Result()> ops[] = {
            [&] { return NF::renameEntryFile(store_, u"A"_s, u"x"_s, u"y"_s); },
            [&] { return NF::renameGroupFolder(store_, u"A"_s, u"B"_s); },
            [&] { return NF::copyEntryFile(store_, u"A"_s, u"B"_s, u"x"_s); }};
        const NF::Result r = ops[op]();
        QCOMPARE(r.error.number, EEXIST);
        QVERIFY(!r.currentFile.isEmpty() && !r.targetFile.isEmpty());
        QCOMPARE(tree(store_), before);
    }

    void entryWithoutFile()
    {
        make(store_, {u"A/orphan.txt=orphan"_s});
        QVERIFY(NF::renameEntryFile(store_, u"A"_s, u"\u00CC NEW \u00CC"_s, u"t"_s));
        QVERIFY(NF::renameEntryFile(store_, u"Gone"_s, u"a"_s, u"b"_s)); // no folder either
        QVERIFY(NF::deleteEntryFile(store_, u"A"_s, u"gone"_s));
        // A file of the new name would silently become this entry's text.
        QCOMPARE(NF::renameEntryFile(store_, u"A"_s, u"sep"_s, u"orphan"_s).error.number, EEXIST);
        QCOMPARE(tree(store_), (L{u"A/"_s, u"A/orphan.txt=orphan"_s}));
    }

    void removeGroupFolder()
    {
        make(store_, {u"E/_mask.dat=m"_s, u"F/_mask.dat=m"_s, u"F/stray.txt=s"_s});
        NF::GroupRemoval r = NF::removeGroupFolder(store_, u"E"_s);
        QVERIFY(r.result && !r.folderKept);
        r = NF::removeGroupFolder(store_, u"F"_s);
        QVERIFY(r.result && r.folderKept);
        r = NF::removeGroupFolder(store_, u"Never"_s);
        QVERIFY(r.result && !r.folderKept);
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

        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"L"_s, u"y"_s).error.number, ELOOP);
        QCOMPARE(NF::copyEntryFile(store_, u"L"_s, u"B"_s, u"x"_s).error.number, ELOOP);
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"B"_s, u"x"_s).error.number, ELOOP);
        QCOMPARE(NF::deleteEntryFile(store_, u"L"_s, u"x"_s).error.number, ELOOP);
        QCOMPARE(NF::renameEntryFile(store_, u"L"_s, u"x"_s, u"z"_s).error.number, ELOOP);
        QVERIFY(!NF::removeGroupFolder(store_, u"L"_s).result);

        QCOMPARE(tree(outside), (L{u"_mask.dat=outside mask"_s, u"x.txt=outside"_s}));
        QCOMPARE(tree(store_), before);
    }
    // Within one file system the copy is a link and needs no room; a full
    // group folder on another one refuses the bytes and keeps nothing.
    void fullDiskCopyLeavesNothing()
    {
        make(store_, {u"A/x.txt="_s + QString(40000, u'x'), u"B/"_s, u"C/"_s});
        QString why;
        const auto full = ScratchMount::tmpfs(store_ + u"B"_s, "size=64k", &why);
        if (!full)
            QSKIP(qPrintable(why));
        make(store_, {u"B/filler="_s + QString(40000, u'f')});
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"B"_s, u"x"_s).error.number, ENOSPC);
        QCOMPARE(tree(store_ + u"B/"_s), L{u"filler="_s + QString(40000, u'f')});
        QVERIFY(NF::copyEntryFile(store_, u"A"_s, u"C"_s, u"x"_s));
        QCOMPARE(tree(store_ + u"A/"_s), L{u"x.txt="_s + QString(40000, u'x')});
        QCOMPARE(tree(store_ + u"C/"_s), L{u"x.txt="_s + QString(40000, u'x')});
    }

    void readOnlyStoreReportsAndKeeps()
    {
        make(store_, {u"A/x.txt=x"_s, u"A/_mask.dat="_s, u"B/"_s});
        const L before = tree(store_);
        QString why;
        const auto mount = ScratchMount::readOnly(store_, &why);
        if (!mount)
            QSKIP(qPrintable(why));
        QCOMPARE(NF::createGroupFolder(store_, u"C"_s).error.number, EROFS);
        QCOMPARE(NF::renameGroupFolder(store_, u"A"_s, u"Z"_s).error.number, EROFS);
        QCOMPARE(NF::renameEntryFile(store_, u"A"_s, u"x"_s, u"y"_s).error.number, EROFS);
        QCOMPARE(NF::copyEntryFile(store_, u"A"_s, u"B"_s, u"x"_s).error.number, EROFS);
        QCOMPARE(NF::deleteEntryFile(store_, u"A"_s, u"x"_s).error.number, EROFS);
        QCOMPARE(NF::removeGroupFolder(store_, u"A"_s).result.error.number, EROFS);
        QCOMPARE(tree(store_), before);
    }
};

QTEST_GUILESS_MAIN(TestNotebookFiles)
#include "tst_notebookfiles.moc"
