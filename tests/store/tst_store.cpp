#include "app/errorreport.h"
#include "i18n/wordtable.h"
#include "store/appstate.h"
#include "store/indexfile.h"
#include "store/notetable.h"
#include "store/store.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using Icon = Messages::Icon;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray crlf(const QList<QByteArray> &lines)
{
    QByteArray out;
    for (const QByteArray &line : lines)
        out += line + "\r\n";
    return out;
}

QList<QByteArray> prefLines(const QByteArray &storePath)
{
    QList<QByteArray> lines{"pref Plimsa 1.3.02",
                            " 0",
                            " 0",
                            " 0",
                            "Always First",
                            "",
                            "DejaVu Sans",
                            " 10",
                            " 0",
                            " 0",
                            "",
                            " 1000",
                            " 1000",
                            " 6000",
                            " 8000",
                            " 0",
                            " 1000",
                            " 3000",
                            " 6000",
                            " 0",
                            " 0",
                            storePath};
    for (int i = 0; i < 4; ++i)
        lines.append("free/free");
    for (int i = 0; i < 4; ++i)
        lines.append("free");
    return lines;
}

QByteArray prefWithStorePath(const QByteArray &storePath)
{
    return crlf(prefLines(storePath));
}

const QByteArray kDefaultIndex = "idx Plimsa 1.3.02\r\nNotes\r\n\\Welcome\r\nTrash\r\n"_ba;

// A program folder in a scratch directory with the store and reports a
// running program has, the message boxes recorded.
struct Program
{
    explicit Program(const QString &folder = QString())
    {
        state.programFolder = (folder.isEmpty() ? dir.path() : folder) + u'/';
        state.storeFolder = state.programFolder + u"FileStore/"_s;
    }
    QString defaultStore() const { return state.programFolder + u"FileStore/"_s; }

    QTemporaryDir dir;
    AppState state;
    NoteTable table;
    WordTable wordTable;
    Words words{wordTable, state.prefs.language};
    RecordingMessages messages;
    ErrorReport reports{state, words, messages};
    Store store{state, table, reports, messages, words};
};

NoteTable defaultTable()
{
    NoteTable table;
    table.cell(0, 0) = u"Notes"_s;
    table.cell(0, 1) = u"Welcome"_s;
    table.cell(1, 0) = u"Trash"_s;
    return table;
}

} // namespace

class TestStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadPreferencesResolvesTheStore_data()
    {
        QTest::addColumn<QByteArray>("storePath");
        QTest::addColumn<QString>("completed");
        QTest::addColumn<QString>(
            "storeFolder"); // relative to the program folder when it has no "/"
        QTest::newRow("preset") << "preset"_ba << u"preset"_s << u"FileStore/"_s;
        QTest::newRow("not set") << "-1"_ba << u"preset"_s << u"FileStore/"_s;
        QTest::newRow("folder") << "/srv/Notes"_ba << u"/srv/Notes/FileStore/"_s
                                << u"/srv/Notes/FileStore/"_s;
    }
    void loadPreferencesResolvesTheStore()
    {
        QFETCH(QByteArray, storePath);
        QFETCH(QString, completed);
        QFETCH(QString, storeFolder);
        Program p;
        writeFile(p.state.programFolder + u"pref.dat"_s, prefWithStorePath(storePath));
        QVERIFY(p.store.LoadPreferences());
        QCOMPARE(p.state.prefs.StorePath, completed);
        QCOMPARE(p.state.storeFolder,
                 storeFolder.startsWith(u'/') ? storeFolder : p.state.programFolder + storeFolder);
        QCOMPARE(p.state.CurrentFile, QString());
        QVERIFY(p.messages.shown.isEmpty());
        QVERIFY(!p.state.FilesWritten);
    }

    void loadPreferencesFailureEndsTheProgram_data()
    {
        QTest::addColumn<int>("damage"); // 0 missing, 1 short, 2 bad number, 3 a folder
        QTest::newRow("missing") << 0;
        QTest::newRow("only 29 lines") << 1;
        QTest::newRow("letters in a number") << 2;
        QTest::newRow("a folder in its place") << 3;
    }
    void loadPreferencesFailureEndsTheProgram()
    {
        QFETCH(int, damage);
        Program p;
        const QString path = p.state.programFolder + u"pref.dat"_s;
        QByteArray bytes = prefWithStorePath("preset");
        if (damage == 1)
            bytes = crlf(prefLines("preset").mid(0, 29));
        if (damage == 2)
            bytes.replace("\r\n 10\r\n", "\r\nten\r\n");
        if (damage == 3)
            QVERIFY(QDir().mkpath(path));
        else if (damage != 0)
            writeFile(path, bytes);

        QVERIFY(!p.store.LoadPreferences());
        QCOMPARE(p.messages.shown.size(), 1);
        const auto &report = p.messages.shown.first();
        QCOMPARE(report.icon, Icon::Critical);
        QCOMPARE(report.title, u"Caution!"_s);
        QVERIFY(report.text.startsWith(WordTable::english(92)));
        QVERIFY2(report.text.contains(path), qPrintable(report.text));
        QVERIFY(p.state.ErrorShown);
    }

    void loadIndexReadsTheConfiguredStore()
    {
        Program p;
        p.state.storeFolder = p.state.programFolder + u"Shared/FileStore/"_s;
        writeFile(p.state.storeFolder + u"idx.dat"_s, "idx\r\nA\r\n\\one\r\n"_ba);
        writeFile(p.defaultStore() + u"idx.dat"_s, kDefaultIndex);
        QCOMPARE(p.store.LoadIndex(), Store::IndexResult::Loaded);
        QCOMPARE(p.table.name(0), u"A"_s);
        QCOMPARE(p.table.cell(0, 1), u"one"_s);
        QCOMPARE(p.table.groupCount(), 1);
        QVERIFY(!p.state.StoreFallback);
        QCOMPARE(p.state.CurrentFile, QString());
        QVERIFY(p.messages.shown.isEmpty());
    }

    void loadIndexFallsBack_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // empty: no file; "DIR": a folder in its place
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("a folder") << "DIR"_ba;
        QTest::newRow("no header") << "EMPTY"_ba;
        QTest::newRow("empty line") << "idx\r\nG\r\n\\a\r\n\r\nH\r\n"_ba;
        QTest::newRow("entry before group") << "idx\r\n\\a\r\nG\r\n"_ba;
        QTest::newRow("unsafe name") << "idx\r\nG\r\n\\..\r\n"_ba;
        QByteArray groups = "idx\r\n";
        for (int g = 0; g <= NoteTable::kGroups; ++g)
            groups += "G" + QByteArray::number(g) + "\r\n\\t\r\n";
        QTest::newRow("101st group") << groups;
        QByteArray entries = "idx\r\nG\r\n";
        for (int e = 0; e < NoteTable::kColumns; ++e)
            entries += "\\t" + QByteArray::number(e) + "\r\n";
        QTest::newRow("1000th entry") << entries;
    }
    void loadIndexFallsBack()
    {
        QFETCH(QByteArray, bytes);
        Program p;
        p.state.storeFolder = p.state.programFolder + u"Shared/FileStore/"_s;
        const QString configured = p.state.storeFolder + u"idx.dat"_s;
        QVERIFY(QDir().mkpath(p.state.storeFolder));
        if (bytes == "DIR")
            QVERIFY(QDir().mkpath(configured));
        else if (bytes == "EMPTY")
            writeFile(configured, QByteArray());
        else if (!bytes.isEmpty())
            writeFile(configured, bytes);
        writeFile(p.defaultStore() + u"idx.dat"_s, kDefaultIndex);

        QCOMPARE(p.store.LoadIndex(), Store::IndexResult::LoadedFallback);
        QCOMPARE(p.messages.shown.size(), 1);
        QCOMPARE(p.messages.shown[0].icon, Icon::Critical);
        QCOMPARE(p.messages.shown[0].title, u"Caution!"_s);
        QCOMPARE(p.messages.shown[0].text, WordTable::english(115));
        // Only the default store's index: nothing read before the damage remains.
        QVERIFY(p.table == defaultTable());
        QCOMPARE(p.state.storeFolder, p.defaultStore());
        QVERIFY(p.state.StoreFallback);
        QCOMPARE(p.state.CurrentFile, QString());
        QVERIFY(!p.state.ErrorShown);
    }

    void failingFallbackEndsTheProgram_data()
    {
        QTest::addColumn<bool>("configuredIsDefault");
        QTest::newRow("other store") << false;
        QTest::newRow("the default store itself") << true;
    }
    void failingFallbackEndsTheProgram()
    {
        QFETCH(bool, configuredIsDefault);
        Program p;
        if (!configuredIsDefault)
            p.state.storeFolder = p.state.programFolder + u"Missing/FileStore/"_s;
        const QString fallbackIndex = p.defaultStore() + u"idx.dat"_s;
        writeFile(fallbackIndex, "idx\r\nG\r\n\r\n"_ba);

        QCOMPARE(p.store.LoadIndex(), Store::IndexResult::Failed);
        QCOMPARE(p.messages.shown.size(), 2);
        QCOMPARE(p.messages.shown[0].text, WordTable::english(115));
        const auto &report = p.messages.shown[1];
        QCOMPARE(report.icon, Icon::Critical);
        QVERIFY(report.text.startsWith(WordTable::english(92)));
        QVERIFY2(report.text.contains(fallbackIndex), qPrintable(report.text));
        QVERIFY(report.text.contains(u"line 3"_s));
        QVERIFY(p.state.ErrorShown);
        QVERIFY(!p.state.StoreFallback);
        QCOMPARE(p.table.groupCount(), 0);
    }

    void saveIdxWritesWhatLoadIndexReads()
    {
        Program p;
        QVERIFY(QDir().mkpath(p.state.storeFolder));
        p.table = defaultTable();
        p.table.cell(2, 0) = u"\u00ffHidden \u20ac"_s;
        for (int e = 1; e <= NoteTable::kMaxEntries; ++e)
            p.table.cell(2, e) = u"Entry \u00d0 %1"_s.arg(e);
        QVERIFY(p.store.Save_idx());
        QVERIFY(p.state.FilesWritten);
        QCOMPARE(p.state.CurrentFile, QString());
        QVERIFY(p.messages.shown.isEmpty());
        QVERIFY(fileBytes(p.state.storeFolder + u"idx.dat"_s)
                    .startsWith("idx Plimsa 1.3.02\r\nNotes\r\n"));

        Program again(p.dir.path());
        QCOMPARE(again.store.LoadIndex(), Store::IndexResult::Loaded);
        QVERIFY(again.table == p.table);
    }

    void failedSavesAreReportedAndKeepTheOldFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>(
            "how"); // 0 a folder in its place, 1 a link out of the store, 2 text it cannot hold
        QTest::newRow("idx.dat is a folder") << u"idx.dat"_s << 0;
        QTest::newRow("idx.dat links outside") << u"idx.dat"_s << 1;
        QTest::newRow("idx.dat title outside the code page") << u"idx.dat"_s << 2;
        QTest::newRow("pref.dat is a folder") << u"pref.dat"_s << 0;
        QTest::newRow("pref.dat links outside") << u"pref.dat"_s << 1;
        QTest::newRow("pref.dat phrase outside the code page") << u"pref.dat"_s << 2;
    }
    void failedSavesAreReportedAndKeepTheOldFile()
    {
        QFETCH(QString, file);
        QFETCH(int, how);
        Program p;
        QTemporaryDir outside;
        const bool index = file == u"idx.dat"_s;
        const QString path = (index ? p.state.storeFolder : p.state.programFolder) + file;
        const QString target = outside.path() + u"/target"_s;
        QVERIFY(QDir().mkpath(p.state.storeFolder));
        p.table = defaultTable();
        if (how == 0) {
            QVERIFY(QDir().mkpath(path));
        } else if (how == 1) {
            writeFile(target, "outside\r\n");
            QVERIFY(QFile::link(target, path));
        } else {
            writeFile(path, "old\r\n");
            p.table.cell(0, 2) = u"\u0394"_s;
            p.state.prefs.PhraseMemory[0] = u"\u0394"_s;
        }
        const NoteTable tableBefore = p.table;

        QVERIFY(!(index ? p.store.Save_idx() : p.store.Save_pref()));
        QVERIFY(p.state.FilesWritten);
        QCOMPARE(p.messages.shown.size(), 1);
        const auto &report = p.messages.shown.first();
        QCOMPARE(report.icon, Icon::Critical);
        QVERIFY(report.text.startsWith(WordTable::english(93)));
        QVERIFY2(report.text.contains(path), qPrintable(report.text));
        QCOMPARE(p.state.CurrentFile, path);
        QVERIFY(!p.state.ErrorShown); // the command goes on
        QVERIFY(p.table == tableBefore);
        if (how == 0)
            QVERIFY(QFileInfo(path).isDir());
        if (how == 1) {
            QVERIFY(QFileInfo(path).isSymLink());
            QCOMPARE(fileBytes(target), "outside\r\n"_ba);
        }
        if (how == 2)
            QCOMPARE(fileBytes(path), "old\r\n"_ba);
    }

    void savePrefWritesWhatLoadPreferencesReads()
    {
        Program p;
        writeFile(p.state.programFolder + u"pref.dat"_s, prefWithStorePath("/srv/Notes"));
        QVERIFY(p.store.LoadPreferences());
        p.state.prefs.PhraseMemory[2] = u"\"quoted\", with comma \u20ac"_s;
        p.state.prefs.IndivButton[1] = {u"TEXT"_s, u"Sig"_s, u"Regards{ENTER}"_s};
        QVERIFY(p.store.Save_pref());
        QVERIFY(p.state.FilesWritten);
        QCOMPARE(TextLines::split(fileBytes(p.state.programFolder + u"pref.dat"_s)).size(), 43);

        Program again(p.dir.path());
        QVERIFY(again.store.LoadPreferences());
        QCOMPARE(again.state.prefs.StorePath, u"/srv/Notes/FileStore/"_s);
        QCOMPARE(again.state.prefs.PhraseMemory, p.state.prefs.PhraseMemory);
        QCOMPARE(again.state.prefs.IndivButton, p.state.prefs.IndivButton);
        QCOMPARE(again.state.prefs.FrameTop, p.state.prefs.FrameTop - 100);
    }

    // New files of the whole-file writer (".plimsa-new-" and six letters or
    // digits) left by a crash go once the store is held: in the store, its group
    // folders and the program folder itself.
    void takingTheStoreClearsLeftoversOfACrash()
    {
        Program p;
        const QString name = u".plimsa-new-Xy34Zq"_s;
        const QStringList gone{p.state.storeFolder + name, p.state.storeFolder + u"Notes/"_s + name,
                               p.state.programFolder + name};
        const QStringList kept{p.state.programFolder + u"Other/"_s + name,
                               p.state.storeFolder + u"Notes/Welcome.txt"_s};
        for (const QString &path : gone + kept)
            writeFile(path, "x");
        p.store.TakeStoreMarker();
        QVERIFY(!p.state.StoreInUse);
        for (const QString &path : gone)
            QVERIFY2(!QFile::exists(path), qPrintable(path));
        for (const QString &path : kept)
            QVERIFY2(QFile::exists(path), qPrintable(path));
    }

    void secondCopyRunsWithoutEditPermission()
    {
        Program first;
        QVERIFY(QDir().mkpath(first.state.storeFolder));
        first.store.TakeStoreMarker();
        QVERIFY(!first.state.StoreInUse);
        QVERIFY(first.messages.shown.isEmpty());
        QCOMPARE(first.state.CurrentFile, QString());

        Program second(first.dir.path());
        second.store.TakeStoreMarker();
        QVERIFY(second.state.StoreInUse);
        QCOMPARE(second.messages.shown.size(), 1);
        QCOMPARE(second.messages.shown[0].icon, Icon::Information);
        QCOMPARE(second.messages.shown[0].title, u"Caution!"_s);
        QCOMPARE(second.messages.shown[0].text,
                 WordTable::english(111) + u"\n\n"_s + WordTable::english(112));

        // The copy without the store leaves the new files of a running save alone.
        const QString leftover = first.state.storeFolder + u".plimsa-new-Ab12Cd"_s;
        writeFile(leftover, "half");
        Program fourth(first.dir.path());
        fourth.store.TakeStoreMarker();
        QVERIFY(fourth.state.StoreInUse);
        QVERIFY(QFile::exists(leftover));

        first.store.releaseStoreMarker();
        Program third(first.dir.path());
        third.store.TakeStoreMarker();
        QVERIFY(!third.state.StoreInUse);
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
