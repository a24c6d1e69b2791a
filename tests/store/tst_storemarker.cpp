#include "store/storemarker.h"
#include "support/filefaults.h"
#include "support/helperprocess.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <memory>

using namespace Qt::StringLiterals;

class TestStoreMarker : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void heldBySecondProcess_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::newRow("holder alone") << QStringList();
        // A classic record lock would be dropped by closing another descriptor.
        QTest::newRow("holder closed another descriptor") << QStringList{u"close-other"_s};
        // A program the holder started (the editor) must not keep the store.
        QTest::newRow("holder started a child") << QStringList{u"spawn-child"_s};
    }
    // The store is held until the holder is killed with SIGKILL.
    void heldBySecondProcess()
    {
        QFETCH(QStringList, options);
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        HelperProcess holder;
        QVERIFY(holder.start(QStringList{u"hold-marker"_s, store} + options));
        QByteArray line = holder.readLine();
        pid_t child = 0;
        const auto killChild = qScopeGuard([&] {
            if (child > 0)
                ::kill(child, SIGKILL);
        });
        if (line.startsWith("child ")) {
            child = line.mid(6).toInt();
            line = holder.readLine();
        }
        QCOMPARE(line, "held"_ba);
        StoreMarker marker;
        QVERIFY(!marker.take(store));
        holder.kill();
        QVERIFY(marker.take(store));
    }

    // The check before every write: the lock asserted again, and the marker
    // still the file locked.
    void stillHeld_data()
    {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("held");
        QTest::newRow("nothing changed") << u""_s << true;
        QTest::newRow("marker removed") << u"remove"_s << false;
        QTest::newRow("marker removed and made again") << u"replace"_s << false;
        // Another holder has it, or the descriptor died with its connection.
        QTest::newRow("lock refused") << u"refuse"_s << false;
    }
    void stillHeld()
    {
        QFETCH(QString, change);
        QFETCH(bool, held);
        QTemporaryDir dir;
        const QString store = dir.path() + u'/';
        StoreMarker marker;
        QVERIFY(marker.take(store));
        const QString path = store + u"InUse.dat"_s;
        if (change == u"remove"_s || change == u"replace"_s)
            QVERIFY(QFile::remove(path));
        if (change == u"replace"_s) {
            QFile again(path);
            QVERIFY(again.open(QIODevice::WriteOnly));
        }
        std::unique_ptr<FileFaults> faults;
        if (change == u"refuse"_s)
            faults = FileFaults::failing(Sys::Op::Lock, EAGAIN);
        IoError why;
        QCOMPARE(marker.stillHeld(&why), held);
        if (!held)
            QCOMPARE(why.file, path);
    }
};

QTEST_GUILESS_MAIN(TestStoreMarker)
#include "tst_storemarker.moc"
