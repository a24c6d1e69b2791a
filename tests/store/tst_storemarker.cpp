#include "support/helperprocess.h"
#include "support/scratchmount.h"
#include "store/storemarker.h"
#include "store/storepaths.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::Literals::StringLiterals;

class tst_StoreMarker : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void heldBySecondProcess_data();
    void heldBySecondProcess();
    void heldTwiceInOneProcess();
    void readOnlyStore_data();
    void readOnlyStore();
    void unusableMarker_data();
    void unusableMarker();

private:
    static QByteArray helperAnswer(HelperProcess &helper, const QString &store,
                                   const QStringList &options = {});
};

QByteArray tst_StoreMarker::helperAnswer(HelperProcess &helper, const QString &store,
                                         const QStringList &options)
{
    if (!helper.start(QStringList{u"hold-marker"_s, store} + options))
        return "not started";
    return helper.readLine();
}

void tst_StoreMarker::heldBySecondProcess_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::newRow("holding") << QStringList();
    // A classic record lock would be dropped by closing the other descriptor.
    QTest::newRow("other descriptor closed") << QStringList{u"close-other"_s};
    // A program the holder started (the editor) must not keep the store.
    QTest::newRow("child outlives holder") << QStringList{u"spawn-child"_s};
}

void tst_StoreMarker::heldBySecondProcess()
{
    QFETCH(QStringList, options);
    QTemporaryDir dir;
    const QString store = dir.path() + u'/';

    HelperProcess holder;
    QVERIFY(holder.start(QStringList{u"hold-marker"_s, store} + options));
    QByteArray line = holder.readLine();
    pid_t child = 0;
    auto killChild = qScopeGuard([&] {
        if (child > 0)
            ::kill(child, SIGKILL);
    });
    if (line.startsWith("child ")) {
        child = line.mid(6).toInt();
        line = holder.readLine();
    }
    QCOMPARE(line, QByteArray("held"));

    StoreMarker marker;
    IoError error;
    QVERIFY(!marker.take(store, &error));
    QVERIFY(!marker.held());
    QVERIFY2(error.number == EAGAIN || error.number == EACCES, qPrintable(error.description));

    holder.kill();
    QVERIFY2(marker.take(store, &error), qPrintable(error.description));

    HelperProcess latecomer;
    QVERIFY(helperAnswer(latecomer, store).startsWith("refused "));
}

void tst_StoreMarker::heldTwiceInOneProcess()
{
    QTemporaryDir dir;
    const QString store = dir.path() + u'/';
    StoreMarker first;
    QVERIFY(first.take(store));

    const QByteArray markerPath = QFile::encodeName(StorePaths::markerFile(store));
    const int other = ::open(markerPath.constData(), O_RDONLY);
    QVERIFY(other >= 0);
    ::close(other);

    StoreMarker second;
    QVERIFY(!second.take(store));
    HelperProcess helper;
    QVERIFY(helperAnswer(helper, store).startsWith("refused "));

    first.release();
    QVERIFY(QFile::exists(StorePaths::markerFile(store)));
    QVERIFY(second.take(store));
}

void tst_StoreMarker::readOnlyStore_data()
{
    QTest::addColumn<bool>("markerPresent");
    QTest::newRow("marker left by an earlier run") << true;
    QTest::newRow("no marker yet") << false;
}

// Root ignores permission bits, so the folder is bound read-only onto itself.
void tst_StoreMarker::readOnlyStore()
{
    QFETCH(bool, markerPresent);
    QTemporaryDir dir;
    const QString store = dir.path() + u'/';
    if (markerPresent) {
        QFile marker(StorePaths::markerFile(store));
        QVERIFY(marker.open(QIODevice::WriteOnly));
    }
    QString why;
    const auto mount = ScratchMount::readOnly(dir.path(), &why);
    if (!mount)
        QSKIP(qPrintable(why));

    StoreMarker marker;
    IoError error;
    QVERIFY(!marker.take(store, &error));
    QCOMPARE(error.number, EROFS);
    QCOMPARE(QFile::exists(StorePaths::markerFile(store)), markerPresent);
}

void tst_StoreMarker::unusableMarker_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("link to a missing file outside") << u"link"_s;
    QTest::newRow("folder in its place") << u"folder"_s;
    QTest::newRow("fifo in its place") << u"fifo"_s;
    QTest::newRow("store folder missing") << u"missing"_s;
}

void tst_StoreMarker::unusableMarker()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QTemporaryDir outside;
    QString store = dir.path() + u'/';
    const QString markerPath = StorePaths::markerFile(store);
    const QString outsideFile = outside.filePath(u"planted"_s);
    if (kind == u"link"_s)
        QVERIFY(QFile::link(outsideFile, markerPath));
    else if (kind == u"folder"_s)
        QVERIFY(QDir(dir.path()).mkdir(u"InUse.dat"_s));
    else if (kind == u"fifo"_s)
        QCOMPARE(::mkfifo(QFile::encodeName(markerPath).constData(), 0600), 0);
    else
        store = dir.filePath(u"nowhere/"_s);

    StoreMarker marker;
    QVERIFY(!marker.take(store));
    QVERIFY(!marker.held());
    QVERIFY(!QFile::exists(outsideFile));
}

QTEST_GUILESS_MAIN(tst_StoreMarker)
#include "tst_storemarker.moc"
