#include "store/storemarker.h"
#include "support/helperprocess.h"

#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

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
};

QTEST_GUILESS_MAIN(TestStoreMarker)
#include "tst_storemarker.moc"
