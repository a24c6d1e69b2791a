#include "settings/settingsrules.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestSettingsRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fontSize_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("expected");
        QTest::newRow("leading zeros") << u"0012"_s << 12;
        QTest::newRow("largest") << u"32767"_s << 32767;
        QTest::newRow("one past the largest") << u"32768"_s << 10;
        QTest::newRow("zero") << u"0"_s << 10;
        QTest::newRow("empty") << QString() << 10;
    }
    void fontSize()
    {
        QFETCH(QString, typed);
        QFETCH(int, expected);
        QCOMPARE(SettingsRules::fontSizeFrom(typed, 10), expected);
    }

    // The cases the window's tests leave out. "@" stands for a scratch folder
    // holding Notes/FileStore/idx.dat and Linked/FileStore/idx.dat, a link to it.
    void storePath_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("current");
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("valid");
        QTest::newRow("unchanged, not checked")
            << u"@/Gone/FileStore/"_s << u"@/Gone/FileStore/"_s << u"@/Gone/FileStore/"_s << true;
        QTest::newRow("index through a link")
            << u"@/Linked"_s << u"preset"_s << u"@/Linked/FileStore/"_s << false;
        QTest::newRow("relative") << u"Notes"_s << u"preset"_s << u"Notes/FileStore/"_s << false;
    }
    void storePath()
    {
        QFETCH(QString, typed);
        QFETCH(QString, current);
        QFETCH(QString, path);
        QFETCH(bool, valid);
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath(u"Notes/FileStore"_s));
        QDir().mkpath(dir.filePath(u"Linked/FileStore"_s));
        QFile index(dir.filePath(u"Notes/FileStore/idx.dat"_s));
        QVERIFY(index.open(QIODevice::WriteOnly));
        index.close();
        QVERIFY(QFile::link(index.fileName(), dir.filePath(u"Linked/FileStore/idx.dat"_s)));
        // Run from the scratch folder, where a relative Notes/ would be found.
        const QString here = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const auto at = [&dir](QString text) { return text.replace(u'@', dir.path()); };

        const SettingsRules::StorePathCheck check =
            SettingsRules::checkStorePath(at(typed), at(current));
        QDir::setCurrent(here);
        QCOMPARE(check.path, at(path));
        QCOMPARE(check.valid, valid);
    }
};

QTEST_GUILESS_MAIN(TestSettingsRules)
#include "tst_settingsrules.moc"
