// Finding the program folder: beside the executable, or the per-user folder
// filled from the installed defaults on the first start.

#include "app/programfolder.h"
#include "support/testsupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class tst_ProgramFolder : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> root_;
    ProgramFolderPlaces places_;

private Q_SLOTS:
    void init()
    {
        root_.reset(new QTemporaryDir);
        places_ = {root_->filePath(u"bin"_s), root_->filePath(u"home/Plimsa"_s),
                   root_->filePath(u"share/plimsa/defaults"_s)};
        QVERIFY(writeFile(places_.defaultsFolder + u"/pref.dat"_s, "pref"));
        QVERIFY(writeFile(places_.defaultsFolder + u"/Language.dat"_s, "lang"));
        QVERIFY(writeFile(places_.defaultsFolder + u"/FileStore/idx.dat"_s, "idx"));
        QVERIFY(writeFile(places_.defaultsFolder + u"/FileStore/Notes/a b.txt"_s, "entry"));
    }

    // Without pref.dat beside the executable, everything the user folder lacks
    // comes from the defaults on the first start; nothing that is there already
    // is overwritten, and once pref.dat is there nothing is copied. (Beside the
    // executable: tst_commandline runs the program in such a folder.)
    void locations()
    {
        QVERIFY(writeFile(places_.userFolder + u"/FileStore/idx.dat"_s, "mine"));
        const ProgramFolder located = locateProgramFolder(places_);
        QVERIFY(!located.failure);
        const QString folder = located.folder;
        QCOMPARE(folder, places_.userFolder + u'/');
        QCOMPARE(readFile(folder + u"pref.dat"_s), QByteArray("pref"));
        QCOMPARE(readFile(folder + u"FileStore/idx.dat"_s), QByteArray("mine"));
        QCOMPARE(readFile(folder + u"FileStore/Notes/a b.txt"_s), QByteArray("entry"));
        QVERIFY(QFile::remove(folder + u"Language.dat"_s));
        QVERIFY(!locateProgramFolder(places_).failure);
        QVERIFY(!QFileInfo::exists(folder + u"Language.dat"_s));
    }

    // A copy that fails is reported with both paths, and pref.dat is left out,
    // so the next start copies again what is still missing.
    void failedCopyIsReportedAndCompletedLater_data()
    {
        QTest::addColumn<QString>("blocked"); // relative to both folders
        QTest::addColumn<bool>("inDefaults"); // else in the user folder
        QTest::addColumn<QString>("failed");
        QTest::newRow("a file where a group folder goes")
            << u"FileStore/Notes"_s << false << u"FileStore/Notes/a b.txt"_s;
        QTest::newRow("the defaults' pref.dat unreadable")
            << u"pref.dat"_s << true << u"pref.dat"_s;
    }
    void failedCopyIsReportedAndCompletedLater()
    {
        QFETCH(QString, blocked);
        QFETCH(bool, inDefaults);
        QFETCH(QString, failed);
        const QString root = (inDefaults ? places_.defaultsFolder : places_.userFolder) + u'/';
        const QString aside = root + blocked + u".aside"_s;
        if (inDefaults)
            QVERIFY(QFile::rename(root + blocked, aside));
        else
            QVERIFY(writeFile(root + blocked, "in the way"));

        const ProgramFolder located = locateProgramFolder(places_);
        QVERIFY(located.failure);
        QCOMPARE(located.failure->file, places_.defaultsFolder + u'/' + failed);
        QCOMPARE(located.failure->targetFile, places_.userFolder + u'/' + failed);
        QVERIFY(located.failure->number != 0);
        QVERIFY(!QFileInfo::exists(places_.userFolder + u"/pref.dat"_s));

        if (inDefaults)
            QVERIFY(QFile::rename(aside, root + blocked));
        else
            QVERIFY(QFile::remove(root + blocked));
        QVERIFY(!locateProgramFolder(places_).failure);
        QCOMPARE(readFile(places_.userFolder + u"/FileStore/Notes/a b.txt"_s), QByteArray("entry"));
        QCOMPARE(readFile(places_.userFolder + u"/pref.dat"_s), QByteArray("pref"));
    }
};

QTEST_GUILESS_MAIN(tst_ProgramFolder)
#include "tst_programfolder.moc"
