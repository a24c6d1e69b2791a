// The store as a whole: Save_idx, the marker held by a second process, and
// what a crashed copy left. (LoadIndex and its fallback: the start's test.)

#include "store/appstate.h"
#include "store/store.h"
#include "store/storemarker.h"
#include "support/helperprocess.h"
#include "support/testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// A program folder in a scratch directory.
struct Program
{
    explicit Program(const QString &folder = QString())
    {
        state.programFolder = (folder.isEmpty() ? dir.path() : folder) + u'/';
        state.storeFolder = state.programFolder + u"FileStore/"_s;
    }
    QTemporaryDir dir;
    AppState state;
    NoteTable table;
    Store store{state, table};
};

} // namespace

class TestStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A title that would not read back as the same cell is refused by
    // Save_idx, also when its group's lines are kept from an earlier save;
    // the error names idx.dat and the old file stays.
    void saveIdxRefusesWhatCannotBeReadBack()
    {
        Program p;
        const QString path = p.state.storeFolder + u"idx.dat"_s;
        QVERIFY(QDir().mkpath(p.state.storeFolder));
        p.table = tableOf({{u"G"_s, u"one"_s}});
        for (const QString &name :
             {u"a/b"_s, u".."_s, u"\U0001F600"_s, QString(13, u'a') + u"\t\r"_s + QString(20, u'b'),
              QString(252, u'a')}) {
            QVERIFY(p.store.Save_idx());
            const QByteArray old = readWholeFile(path).bytes;
            p.table.cell(0, 1) = name;
            const FileResult saved = p.store.Save_idx();
            QCOMPARE(saved.error.file, path);
            QCOMPARE(readWholeFile(path).bytes, old);
            p.table.cell(0, 1) = u"one"_s;
        }
    }

    // The store is held until the holder is killed with SIGKILL.
    void markerHeldBySecondProcess_data()
    {
        QTest::addColumn<QStringList>("options");
        // A classic record lock would be dropped by closing another descriptor.
        QTest::newRow("holder closed another descriptor") << QStringList{u"close-other"_s};
        // A program the holder started (the editor) must not keep the store.
        QTest::newRow("holder started a child") << QStringList{u"spawn-child"_s};
    }
    void markerHeldBySecondProcess()
    {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        HelperProcess holder;
        QVERIFY(holder.start(QStringList{u"hold-marker"_s, store} + options));
        QByteArray line = holder.readLine();
        const pid_t child = line.startsWith("child ") ? line.mid(6).toInt() : 0;
        const auto killChild = qScopeGuard([&] {
            if (child > 0)
                ::kill(child, SIGKILL);
        });
        if (child > 0)
            line = holder.readLine();
        QCOMPARE(line, "held"_ba);
        StoreMarker marker;
        QVERIFY(!marker.take(store));
        holder.kill();
        QVERIFY(marker.take(store));
    }

    // The check before every write: the marker still the file locked, lost
    // once it is removed, made again or not. (A lock refused when asserted
    // again is the shared-store test's.)
    void stillHeld_data()
    {
        QTest::addColumn<bool>("madeAgain");
        QTest::newRow("marker removed") << false;
        QTest::newRow("marker removed and made again") << true;
    }
    void stillHeld()
    {
        QFETCH(bool, madeAgain);
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        StoreMarker marker;
        QVERIFY(marker.take(store));
        const QString path = store + u"InUse.dat"_s;
        QVERIFY(QFile::remove(path));
        if (madeAgain)
            QVERIFY(writeFile(path, {}));
        IoError why;
        QVERIFY(!marker.stillHeld(&why));
        QCOMPARE(why.file, path);
    }

    // New files of the whole-file writer left by a crash go once the store is
    // held: in the store, its group folders and the program folder itself;
    // a folder or a link of that name and deeper folders are not touched.
    void takingTheStoreClearsLeftoversOfACrash()
    {
        Program first;
        QTemporaryDir outside;
        const QString name = u".plimsa-new-Xy34Zq"_s;
        const QString store = first.state.storeFolder;
        const QStringList gone{store + name, store + u"Notes/"_s + name,
                               first.state.programFolder + name};
        const QStringList kept{first.state.programFolder + u"Other/"_s + name,
                               store + u"Notes/Deeper/"_s + name,
                               store + u"Notes/.plimsa-new-ab12.txt"_s, // an entry's file
                               outside.filePath(name)};
        for (const QString &path : gone + kept)
            QVERIFY(writeFile(path, "x"));
        QVERIFY(QFile::link(outside.path(), store + u"Linked"_s));
        QVERIFY(QDir().mkpath(store + u"Plans/"_s + name));
        QVERIFY(QFile::link(outside.filePath(name), store + u"Notes/.plimsa-new-Lnk123"_s));
        QVERIFY(first.store.TakeStoreMarker());
        first.store.removeLeftovers();
        for (const QString &path : gone)
            QVERIFY2(!QFile::exists(path), qPrintable(path));
        for (const QString &path : kept)
            QVERIFY2(QFile::exists(path), qPrintable(path));
        QVERIFY(QFileInfo(store + u"Plans/"_s + name).isDir());
        QVERIFY(QFileInfo(store + u"Notes/.plimsa-new-Lnk123"_s).isSymLink());

        // A copy without the store leaves the new files of a running save alone.
        QVERIFY(writeFile(store + name, "half"));
        Program second(first.dir.path());
        QVERIFY(!second.store.TakeStoreMarker());
        second.store.removeLeftovers();
        QVERIFY(QFile::exists(store + name));

        // A clean end notes the state of the store's folders in the marker once
        // they have settled (their times cannot repeat). The next start then reads
        // no group folder: a file of the writer's pattern put there before the end
        // is not seen. One made after the end changes its folder, and every folder
        // is read again.
        QVERIFY(QFile::remove(store + name));
        const QString before = store + u"Notes/.plimsa-new-Before"_s;
        const QString after = store + u"Plans/.plimsa-new-After1"_s;
        QVERIFY(writeFile(before, "x"));
        qint64 newest = 0;
        QVERIFY(!leftoverStamp(store, &newest).isEmpty());
        QVERIFY(QTest::qWaitFor(
            [&] { return QDateTime::currentMSecsSinceEpoch() * 1000000 > newest + 2500000000; },
            10000));
        first.store.releaseStoreMarker();
        QFile marker(store + u"InUse.dat"_s);
        QVERIFY(marker.open(QIODevice::ReadOnly));
        QVERIFY2(marker.readAll().startsWith("clean end "), "no note of the clean end");
        {
            Program third(first.dir.path());
            QVERIFY(third.store.TakeStoreMarker());
            third.store.removeLeftovers();
            QVERIFY(QFile::exists(before));
        }
        QVERIFY(writeFile(after, "x"));
        Program fourth(first.dir.path());
        QVERIFY(fourth.store.TakeStoreMarker());
        fourth.store.removeLeftovers();
        QVERIFY(!QFile::exists(before));
        QVERIFY(!QFile::exists(after));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
