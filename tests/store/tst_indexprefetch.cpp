// idx.dat read ahead on a second thread: its table is taken only for the very
// file LoadIndex reads, read without damage.

#include "store/indexfile.h"
#include "store/indexprefetch.h"
#include "store/preferences.h"
#include "store/preffile.h"
#include "store/safewrite.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestIndexPrefetch : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void takenOnlyForTheFileReadWithoutDamage_data()
    {
        QTest::addColumn<QString>("storePath"); // in pref.dat
        QTest::addColumn<QByteArray>("index");  // FileStore/idx.dat; null for none
        QTest::addColumn<QString>("asked");     // the index LoadIndex reads
        QTest::addColumn<bool>("taken");
        const QByteArray good = "idx\r\nG\r\n\\one\r\n";
        QTest::newRow("the preset store") << u"preset"_s << good << u"FileStore/idx.dat"_s << true;
        QTest::newRow("another file asked") << u"preset"_s << good << u"Other/idx.dat"_s << false;
        QTest::newRow("another store in pref.dat")
            << u"/nowhere"_s << good << u"FileStore/idx.dat"_s << false;
        QTest::newRow("damaged") << u"preset"_s << "idx\r\n\\one\r\n"_ba << u"FileStore/idx.dat"_s
                                 << false;
        QTest::newRow("missing") << u"preset"_s << QByteArray() << u"FileStore/idx.dat"_s << false;
    }
    void takenOnlyForTheFileReadWithoutDamage()
    {
        QFETCH(QString, storePath);
        QFETCH(QByteArray, index);
        QFETCH(QString, asked);
        QFETCH(bool, taken);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        Preferences prefs;
        prefs.StorePath = storePath;
        QVERIFY(writeWholeFile(folder + u"pref.dat"_s,
                               PrefFile::serialize(prefs, u"1.3.02"_s).bytes, folder));
        QVERIFY(QDir().mkpath(folder + u"FileStore"_s));
        if (!index.isNull())
            QVERIFY(writeWholeFile(folder + u"FileStore/idx.dat"_s, index, folder));

        IndexPrefetch prefetch;
        prefetch.start(folder);
        NoteTable table = tableOf({{u"Before"_s}});
        QCOMPARE(prefetch.take(folder + asked, table), taken);
        QVERIFY(table == (taken ? tableOf({{u"G"_s, u"one"_s}}) : tableOf({{u"Before"_s}})));
        // Once only.
        QVERIFY(!prefetch.take(folder + asked, table));
    }
};

QTEST_GUILESS_MAIN(TestIndexPrefetch)
#include "tst_indexprefetch.moc"
