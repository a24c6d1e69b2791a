// Every way the start can fail: what the user is shown and how the program ends.

#include "support/appfixture.h"
#include "support/helperprocess.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kIndexMissing = u"Can not find \"idx.dat\"! - Try it again with preset."_s;

} // namespace

class tst_StartFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void programEnds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("linesKept"); // -1: the file is removed
        QTest::newRow("pref.dat missing") << u"pref.dat"_s << -1;
        QTest::newRow("pref.dat cut short") << u"pref.dat"_s << 20;
        QTest::newRow("Language.dat missing") << u"Language.dat"_s << -1;
    }
    void programEnds()
    {
        QFETCH(QString, file);
        QFETCH(int, linesKept);
        AppFixture run;
        if (linesKept < 0)
            QFile::remove(run.path(file));
        else
            run.write(file, run.readLines(file).mid(0, linesKept));
        QVERIFY(!run.start());
        QCOMPARE(run.exitStatus, std::optional<int>(1));
        QVERIFY(!run.window());
        QCOMPARE(run.messages.shown.size(), 1);
        QCOMPARE(run.messages.shown[0].icon, Messages::Icon::Critical);
        QCOMPARE(run.messages.shown[0].title, u"Caution!"_s);
        const QString text = run.messages.shown[0].text;
        QVERIFY2(text.startsWith(u"An error has happend - procedure canceled!\n\n"_s),
                 qPrintable(text));
        QVERIFY2(text.contains(run.path(file)), qPrintable(text));
    }

    void configuredStoreWithoutIndexFallsBack()
    {
        AppFixture run;
        QDir().mkpath(run.path(u"Elsewhere/FileStore"_s));
        run.setPref(22, run.path(u"Elsewhere"_s));
        QVERIFY(run.start());
        QCOMPARE(run.messages.shown.size(), 1);
        QCOMPARE(run.messages.shown[0].icon, Messages::Icon::Critical);
        QCOMPARE(run.messages.shown[0].text, kIndexMissing);
        QVERIFY(run.app().state().StoreFallback);
        QCOMPARE(run.app().state().storeFolder, run.path(u"FileStore/"_s));
        QCOMPARE(AppFixture::lines(run.w().lstGroup), (QStringList{u"Notes"_s, u"Trash"_s}));
    }

    // The fallback is the preset store: when it cannot be read either, the
    // report names it and the program ends.
    void fallbackUnreadableEndsProgram_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::addColumn<QStringList>("index"); // empty: no idx.dat
        QTest::newRow("configured store elsewhere") << true << QStringList{};
        QTest::newRow("preset store") << false << QStringList{};
        // A blank line stops the read.
        QTest::newRow("preset store damaged")
            << false << QStringList{u"idx Plimsa 1.3.02"_s, u"Notes"_s, QString(), u"Trash"_s};
    }
    void fallbackUnreadableEndsProgram()
    {
        QFETCH(bool, elsewhere);
        QFETCH(QStringList, index);
        AppFixture run;
        if (elsewhere) {
            QDir().mkpath(run.path(u"Elsewhere/FileStore"_s));
            run.setPref(22, run.path(u"Elsewhere"_s));
        }
        QFile::remove(run.path(u"FileStore/idx.dat"_s));
        if (!index.isEmpty())
            run.write(u"FileStore/idx.dat"_s, index);
        QVERIFY(!run.start());
        QCOMPARE(run.exitStatus, std::optional<int>(1));
        QCOMPARE(run.messages.shown.size(), 2);
        QCOMPARE(run.messages.shown[0].text, kIndexMissing);
        QCOMPARE(run.messages.shown[1].icon, Messages::Icon::Critical);
        QVERIFY2(run.messages.shown[1].text.contains(run.path(u"FileStore/idx.dat"_s)),
                 qPrintable(run.messages.shown[1].text));
    }

    void storeInUseRunsLocked_data()
    {
        QTest::addColumn<int>("startLocked");
        QTest::newRow("start unlocked") << 0;
        QTest::newRow("start locked") << 1;
    }
    void storeInUseRunsLocked()
    {
        QFETCH(int, startLocked);
        AppFixture run;
        run.setPref(4, u" "_s + QString::number(startLocked));
        HelperProcess other;
        QVERIFY(other.start({u"hold-marker"_s, run.path(u"FileStore/"_s)}));
        QCOMPARE(other.readLine(), QByteArray("held"));

        QVERIFY(run.start());
        QCOMPARE(run.messages.shown.size(), 1);
        QCOMPARE(run.messages.shown[0].icon, Messages::Icon::Information);
        QCOMPARE(run.messages.shown[0].text,
                 u"Store index seems to be in use!\n\nStarting without edit permission!"_s);
        const MainWidgets &w = run.w();
        QVERIFY(w.chckEdit->isChecked());
        QVERIFY(!w.chckEdit->isEnabled());
        QVERIFY(w.mnuEditPermission->isChecked());
        QVERIFY(!w.mnuEditPermission->isEnabled());
        QVERIFY(!w.mnuGroup->menuAction()->isEnabled());
        // The lock cannot be released in this run.
        w.mnuEditPermission->trigger();
        w.chckEdit->click();
        QVERIFY(w.chckEdit->isChecked());
    }
};

QTEST_MAIN(tst_StartFailures)
#include "tst_startfailures.moc"
