#include "store/dostext.h"
#include "store/storepaths.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class tst_StorePaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paths_data();
    void paths();
    void safeNames_data();
    void safeNames();
};

void tst_StorePaths::paths_data()
{
    QTest::addColumn<QString>("built");
    QTest::addColumn<QString>("expected");

    const QString store = u"/home/u/My Notes/FileStore/"_s;
    QTest::newRow("group folder") << StorePaths::groupFolder(store, u"Notes"_s)
                                  << store + u"Notes/"_s;
    QTest::newRow("mask") << StorePaths::maskFile(store, u"Notes"_s)
                          << store + u"Notes/_mask.dat"_s;
    // A typed a/b is stored as a, Ï, b: one file in the group folder.
    QTest::newRow("stored title") << StorePaths::entryFile(store, u"Notes"_s, OutDOS(u"a/b"_s))
                                  << store + u"Notes/aÏb.txt"_s;
    QTest::newRow("entry named _mask stays apart from the mask")
        << StorePaths::entryFile(store, u"G"_s, u"_mask"_s) << store + u"G/_mask.txt"_s;
    QTest::newRow("blanks and dots kept") << StorePaths::entryFile(store, u"a b"_s, u"x. y"_s)
                                          << store + u"a b/x. y.txt"_s;
}

void tst_StorePaths::paths()
{
    QFETCH(QString, built);
    QFETCH(QString, expected);
    QCOMPARE(built, expected);
}

void tst_StorePaths::safeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("safe");

    QTest::newRow("plain") << u"Notes"_s << true;
    QTest::newRow("stored slash") << OutDOS(u"a/b\\c"_s) << true;
    QTest::newRow("three dots") << u"..."_s << true;
    QTest::newRow("leading dot") << u".hidden"_s << true;
    QTest::newRow("dot dot inside") << u"a..b"_s << true;
    QTest::newRow("euro and y diaeresis") << u"€ ÿ"_s << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("dot") << u"."_s << false;
    QTest::newRow("dot dot") << u".."_s << false;
    QTest::newRow("slash") << u"a/b"_s << false;
    QTest::newRow("leading slash") << u"/etc"_s << false;
    QTest::newRow("climbing") << u"../x"_s << false;
    QTest::newRow("backslash") << u"a\\b"_s << false;
    QTest::newRow("nul") << u"a\0b"_s << false;
}

void tst_StorePaths::safeNames()
{
    QFETCH(QString, name);
    QFETCH(bool, safe);
    QCOMPARE(StorePaths::isSafeStoredName(name), safe);
}

QTEST_GUILESS_MAIN(tst_StorePaths)
#include "tst_storepaths.moc"
