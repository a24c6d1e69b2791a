// Every way the start can fail: what the user is shown and how the program ends.

#include "support/helperprocess.h"
#include "support/runningapp.h"
#include "support/scratchprogram.h"

#include "store/appstate.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QMenu>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kCaution = u"Caution!"_s;
const QString kIndexMissing = u"Can not find \"idx.dat\"! - Try it again with preset."_s;

} // namespace

class tst_StartFailures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void programEnds_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named");
        QTest::newRow("pref.dat missing") << u"no pref"_s << u"pref.dat"_s;
        QTest::newRow("pref.dat cut short") << u"short pref"_s << u"pref.dat"_s;
        QTest::newRow("pref.dat a folder") << u"pref folder"_s << u"pref.dat"_s;
        QTest::newRow("Language.dat missing") << u"no language"_s << u"Language.dat"_s;
        QTest::newRow("Language.dat a folder") << u"language folder"_s << u"Language.dat"_s;
    }
    void programEnds()
    {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        ScratchProgram folder;
        if (damage == u"no pref"_s) {
            folder.remove(u"pref.dat"_s);
        } else if (damage == u"short pref"_s) {
            folder.writeLines(u"pref.dat"_s, folder.readLines(u"pref.dat"_s).mid(0, 20));
        } else if (damage == u"pref folder"_s) {
            folder.remove(u"pref.dat"_s);
            QDir().mkpath(folder.path(u"pref.dat"_s));
        } else if (damage == u"no language"_s) {
            folder.remove(u"Language.dat"_s);
        } else {
            folder.remove(u"Language.dat"_s);
            QDir().mkpath(folder.path(u"Language.dat"_s));
        }
        RunningApp run(folder.folder());
        QVERIFY(!run.start());
        QCOMPARE(run.exitStatus, std::optional<int>(1));
        QVERIFY(!run.window());
        QCOMPARE(run.messages.shown.size(), 1);
        const RecordingMessages::Shown &report = run.messages.shown[0];
        QCOMPARE(report.icon, Messages::Icon::Critical);
        QCOMPARE(report.title, kCaution);
        QVERIFY2(report.text.startsWith(u"An error has happend - procedure canceled!\n\n"_s),
                 qPrintable(report.text));
        QVERIFY2(report.text.contains(folder.path(named)), qPrintable(report.text));
    }

    void configuredStoreWithoutIndexFallsBack()
    {
        ScratchProgram folder;
        QDir().mkpath(folder.path(u"Elsewhere/FileStore"_s));
        folder.setPref(22, folder.path(u"Elsewhere"_s));
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        QVERIFY(!run.exitStatus);
        QCOMPARE(run.messages.shown.size(), 1);
        QCOMPARE(run.messages.shown[0].icon, Messages::Icon::Critical);
        QCOMPARE(run.messages.shown[0].title, kCaution);
        QCOMPARE(run.messages.shown[0].text, kIndexMissing);
        QVERIFY(run.app().state().StoreFallback);
        QCOMPARE(run.app().state().storeFolder, folder.path(u"FileStore/"_s));
        QCOMPARE(run.w().lstGroup->count(), 2);
    }

    void fallbackUnreadableEndsProgram_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::newRow("configured store elsewhere") << true;
        QTest::newRow("preset store") << false;
    }
    void fallbackUnreadableEndsProgram()
    {
        QFETCH(bool, elsewhere);
        ScratchProgram folder;
        if (elsewhere) {
            QDir().mkpath(folder.path(u"Elsewhere/FileStore"_s));
            folder.setPref(22, folder.path(u"Elsewhere"_s));
        }
        folder.remove(u"FileStore/idx.dat"_s);
        RunningApp run(folder.folder());
        QVERIFY(!run.start());
        QCOMPARE(run.exitStatus, std::optional<int>(1));
        QVERIFY(!run.window());
        QCOMPARE(run.messages.shown.size(), 2);
        QCOMPARE(run.messages.shown[0].text, kIndexMissing);
        QCOMPARE(run.messages.shown[1].icon, Messages::Icon::Critical);
        QVERIFY2(run.messages.shown[1].text.contains(folder.path(u"FileStore/idx.dat"_s)),
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
        ScratchProgram folder;
        folder.setPref(4, u" "_s + QString::number(startLocked));
        HelperProcess other;
        QVERIFY(other.start({u"hold-marker"_s, folder.path(u"FileStore/"_s)}));
        QCOMPARE(other.readLine(), QByteArray("held"));

        RunningApp run(folder.folder());
        QVERIFY(run.start());
        QVERIFY(!run.exitStatus);
        QCOMPARE(run.messages.shown.size(), 1);
        QCOMPARE(run.messages.shown[0].icon, Messages::Icon::Information);
        QCOMPARE(run.messages.shown[0].title, kCaution);
        QCOMPARE(run.messages.shown[0].text,
                 u"Store index seems to be in use!\n\nStarting without edit permission!"_s);
        QVERIFY(run.app().state().StoreInUse);

        const MainWidgets &w = run.w();
        QVERIFY(w.chckEdit->isChecked());
        QVERIFY(!w.chckEdit->isEnabled());
        QVERIFY(w.mnuEditPermission->isChecked());
        QVERIFY(!w.mnuEditPermission->isEnabled());
        QVERIFY(!w.mnuGroup->menuAction()->isEnabled());
        QVERIFY(!w.mnuEntry->menuAction()->isEnabled());
        // The lock cannot be released in this run.
        w.mnuEditPermission->trigger();
        w.chckEdit->click();
        QVERIFY(w.chckEdit->isChecked());
    }

    void damagedIndexTakesFallbackPath()
    {
        // A blank line stops the read; the preset store is the fallback too,
        // so the program ends after naming it.
        ScratchProgram folder;
        folder.writeIndex({u"Notes"_s, QString(), u"Trash"_s});
        RunningApp run(folder.folder());
        QVERIFY(!run.start());
        QCOMPARE(run.exitStatus, std::optional<int>(1));
        QCOMPARE(run.messages.shown.size(), 2);
        QCOMPARE(run.messages.shown[0].text, kIndexMissing);
    }
};

QTEST_MAIN(tst_StartFailures)
#include "tst_startfailures.moc"
