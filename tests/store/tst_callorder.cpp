// The order of the file calls that makes a write survive a power cut: the new
// bytes are synced before the file gets its name (rename or link), and the
// folder is synced after every name it gained or lost, before the step
// returns. A kill keeps the page cache, so only the order shows a missing sync.

#include "platform/syscalls.h"
#include "store/entrystore.h"
#include "store/notebookfiles.h"
#include "store/safewrite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cerrno>
#include <functional>

using namespace Qt::StringLiterals;
using Sys::Op;

namespace {

struct Call
{
    Op op;
    QByteArray name;
    bool failed;
};

// Records every call through the seam; `fail` may refuse one.
class Recorder
{
public:
    using Fail = std::function<int(Op op, const QByteArray &name, int nthOfOp)>;
    explicit Recorder(Fail fail = {})
    {
        Sys::setHook([this, fail](Op op, const char *name) {
            const QByteArray n(name ? name : "");
            const int nth = int(std::count_if(calls.cbegin(), calls.cend(),
                                              [op](const Call &c) { return c.op == op; }));
            const int error = fail ? fail(op, n, nth) : 0;
            calls.append({op, n, error != 0});
            return Sys::Fault{error, false};
        });
    }
    ~Recorder() { Sys::setHook(nullptr); }
    Recorder(const Recorder &) = delete;
    Recorder &operator=(const Recorder &) = delete;

    QList<Call> calls;

    QString trace() const
    {
        QStringList out;
        for (const Call &c : calls)
            out << QString::fromLatin1(Sys::name(c.op)) + (c.name.isEmpty() ? u""_s : u" "_s) +
                       QString::fromUtf8(c.name) + (c.failed ? u" (failed)"_s : u""_s);
        return out.join(u", "_s);
    }
};

bool givesName(Op op)
{
    return op == Op::Rename || op == Op::Link;
}

// A call that adds or removes a name in a folder: only a sync of the folder
// makes it last.
bool changesFolder(Op op)
{
    return op == Op::Open || op == Op::Rename || op == Op::Link || op == Op::Unlink ||
           op == Op::Mkdir;
}

// The rules, checked on the calls that went through. Returns the first
// breach, or an empty string.
QString breach(const QList<Call> &calls)
{
    bool unsyncedWrite = false;
    bool unsyncedFolder = false;
    for (const Call &c : calls) {
        if (c.failed)
            continue;
        if (c.op == Op::Write)
            unsyncedWrite = true;
        else if (c.op == Op::Fsync)
            unsyncedWrite = false;
        else if (c.op == Op::FileSystemSync)
            unsyncedWrite = unsyncedFolder = false;
        if (givesName(c.op) && unsyncedWrite)
            return u"a file got its name before its bytes were synced"_s;
        if (changesFolder(c.op))
            unsyncedFolder = true;
        else if (c.op == Op::FolderSync)
            unsyncedFolder = false;
    }
    if (unsyncedWrite)
        return u"written bytes were never synced"_s;
    if (unsyncedFolder)
        return u"a folder was changed and not synced afterwards"_s;
    return {};
}

using Step = std::function<FileResult(const QString &store)>;
using Fail = Recorder::Fail;

} // namespace

Q_DECLARE_METATYPE(Step)
Q_DECLARE_METATYPE(Fail)

class tst_CallOrder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void durableOrder_data()
    {
        QTest::addColumn<Step>("step");
        QTest::addColumn<Fail>("fail");
        QTest::addColumn<QList<Op>>("naming"); // the calls that gave or took names, in order

        const Fail none;
        // A file system without hard links: the first link is refused.
        const Fail noHardLinks = [](Op op, const QByteArray &, int nth) {
            return op == Op::Link && nth == 0 ? EXDEV : 0;
        };
        // Nor unnamed files: the copy is made under its name, exclusively.
        const Fail noUnnamedFiles = [noHardLinks](Op op, const QByteArray &name, int nth) {
            if (op == Op::Open && name == ".")
                return EOPNOTSUPP;
            return noHardLinks(op, name, nth);
        };

        QTest::newRow("whole file, new")
            << Step([](const QString &s) { return writeWholeFile(s + u"new.dat"_s, "x\r\n", s); })
            << none << QList<Op>{Op::Open, Op::Rename};
        QTest::newRow("whole file, replacing")
            << Step([](const QString &s) { return writeWholeFile(s + u"idx.dat"_s, "y\r\n", s); })
            << none << QList<Op>{Op::Open, Op::Rename};
        QTest::newRow("entry text")
            << Step([](const QString &s) {
                   return EntryStore::writeEntry(s, u"A"_s, u"a"_s, u"date"_s, u"text"_s);
               })
            << none << QList<Op>{Op::Open, Op::Rename};
        QTest::newRow("entry texts in a batch")
            << Step([](const QString &s) {
                   FileBatch batch(s, FileBatch::Naming::AfterSync);
                   for (const QString &title : {u"b"_s, u"c"_s}) {
                       if (FileResult r = EntryStore::writeEntry(batch, s, u"A"_s, title,
                                                                 u"date"_s, u"text"_s);
                           !r)
                           return r;
                   }
                   return batch.finish();
               })
            << none << QList<Op>{Op::Open, Op::Open, Op::Rename, Op::Rename};
        const Step copyEntry = [](const QString &s) {
            return NotebookFiles::copyEntryFile(s, u"A"_s, u"a"_s, u"B"_s, u"b"_s);
        };
        QTest::newRow("entry, second name by link") << copyEntry << none << QList<Op>{Op::Link};
        QTest::newRow("entry, copied then linked in")
            << copyEntry << noHardLinks << QList<Op>{Op::Open, Op::Link};
        QTest::newRow("entry, copied under its name")
            << copyEntry << noUnnamedFiles << QList<Op>{Op::Open};
        QTest::newRow("new group folder")
            << Step([](const QString &s) { return NotebookFiles::createGroupFolder(s, u"C"_s); })
            << none << QList<Op>{Op::Mkdir, Op::Open, Op::Rename};
        const Step copyGroup = [](const QString &s) {
            QStringList names;
            return NotebookFiles::copyGroupFolder(s, u"A"_s, u"Z"_s, &names);
        };
        QTest::newRow("group folder copied by links")
            << copyGroup << none << QList<Op>{Op::Mkdir, Op::Link, Op::Link};
        QTest::newRow("group folder copied without hard links")
            << copyGroup << noHardLinks << QList<Op>{Op::Mkdir, Op::Open, Op::Link, Op::Link};
        QTest::newRow("entry file removed")
            << Step([](const QString &s) {
                   return NotebookFiles::deleteEntryFile(s, u"A"_s, u"a"_s);
               })
            << none << QList<Op>{Op::Unlink};
        QTest::newRow("group folder removed")
            << Step([](const QString &s) {
                   return NotebookFiles::removeGroupFiles(s, u"B"_s, {u"_mask.dat"_s});
               })
            << none << QList<Op>{Op::Unlink, Op::Unlink};
    }
    void durableOrder()
    {
        QFETCH(Step, step);
        QFETCH(Fail, fail);
        QFETCH(QList<Op>, naming);
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        for (const QString &file : {u"idx.dat"_s, u"A/a.txt"_s, u"A/_mask.dat"_s, u"B/_mask.dat"_s}) {
            QDir().mkpath(QFileInfo(store + file).path());
            QFile f(store + file);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("date\r\ntext\r\n") > 0);
        }

        Recorder recorder(fail);
        const FileResult result = step(store);
        const QList<Call> calls = recorder.calls;
        Sys::setHook(nullptr);

        QVERIFY2(result && !result.unsynced, qPrintable(result.error.description));
        QList<Op> named;
        for (const Call &c : calls) {
            if (!c.failed && changesFolder(c.op))
                named << c.op;
        }
        QVERIFY2(named == naming, qPrintable(recorder.trace()));
        const QString broken = breach(calls);
        QVERIFY2(broken.isEmpty(), qPrintable(broken + u": "_s + recorder.trace()));
    }
};

QTEST_GUILESS_MAIN(tst_CallOrder)
#include "tst_callorder.moc"
