#include "store/storelocation.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestStoreLocation : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void resolve_data()
    {
        QTest::addColumn<QString>("storePath");
        QTest::addColumn<QString>("completed");
        QTest::addColumn<QString>("folder");
        const QString def = u"/opt/plimsa/FileStore/"_s;
        QTest::newRow("preset") << u"preset"_s << u"preset"_s << def;
        QTest::newRow("PRESET") << u"PRESET"_s << u"PRESET"_s << def;
        QTest::newRow("Preset") << u"Preset"_s << u"Preset"_s << def;
        QTest::newRow("folder") << u"/srv/Notes"_s << u"/srv/Notes/FileStore/"_s
                                << u"/srv/Notes/FileStore/"_s;
        QTest::newRow("folder with slash")
            << u"/srv/Notes/"_s << u"/srv/Notes/FileStore/"_s << u"/srv/Notes/FileStore/"_s;
        QTest::newRow("lower case store") << u"/srv/Notes/filestore"_s << u"/srv/Notes/filestore/"_s
                                          << u"/srv/Notes/filestore/"_s;
        QTest::newRow("complete already")
            << u"/srv/Notes/FileStore/"_s << u"/srv/Notes/FileStore/"_s
            << u"/srv/Notes/FileStore/"_s;
        QTest::newRow("any case") << u"/srv/FILESTORE/"_s << u"/srv/FILESTORE/"_s
                                  << u"/srv/FILESTORE/"_s;
        QTest::newRow("preset inside a path is a path")
            << u"/srv/preset"_s << u"/srv/preset/FileStore/"_s << u"/srv/preset/FileStore/"_s;
        QTest::newRow("blank around preset is a path")
            << u" preset"_s << u" preset/FileStore/"_s << u" preset/FileStore/"_s;
    }
    void resolve()
    {
        QFETCH(QString, storePath);
        QFETCH(QString, completed);
        QFETCH(QString, folder);
        QCOMPARE(StoreLocation::completeStorePath(storePath), completed);
        QCOMPARE(StoreLocation::storeFolder(u"/opt/plimsa/"_s, completed), folder);
        // Completing twice changes nothing: the saved form reads back the same.
        QCOMPARE(StoreLocation::completeStorePath(completed), completed);
    }
};

QTEST_GUILESS_MAIN(TestStoreLocation)
#include "tst_storelocation.moc"
