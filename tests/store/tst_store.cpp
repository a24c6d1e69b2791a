#include "store/appstate.h"
#include "store/store.h"
#include "support/testsupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    const QString folder = QFileInfo(path).absolutePath();
    QVERIFY(QDir().mkpath(folder) && writeWholeFile(path, bytes, folder));
}

// A program folder in a scratch directory.
struct Program
{
    explicit Program(const QString &folder = QString())
    {
        state.programFolder = (folder.isEmpty() ? dir.path() : folder) + u'/';
        state.storeFolder = state.programFolder + u"FileStore/"_s;
    }
    QTemporaryDir dir;
    AppState state;
    NoteTable table;
    Store store{state, table};
};

} // namespace

class TestStore : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void loadIndexFallsBack_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file
        QTest::newRow("missing") << QByteArray();
        QTest::newRow("empty line") << "idx\r\nG\r\n\\a\r\n\r\nH\r\n"_ba;
        QTest::newRow("entry before group") << "idx\r\n\\a\r\nG\r\n"_ba;
        QTest::newRow("unsafe name") << "idx\r\nG\r\n\\a/b\r\n"_ba;
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
        const QString fallbackStore = p.state.storeFolder;
        p.state.storeFolder = p.state.programFolder + u"Shared/FileStore/"_s;
        if (!bytes.isNull())
            writeFile(p.state.storeFolder + u"idx.dat"_s, bytes);
        writeFile(fallbackStore + u"idx.dat"_s, "idx\r\nNotes\r\n\\Welcome\r\n"_ba);

        QVERIFY(p.store.LoadIndex());
        QCOMPARE(p.table.groupCount(), 0);
        QVERIFY(!p.store.LoadIndexFallback());
        // Only the fallback's index: nothing read before the damage remains.
        QCOMPARE(p.table.groupCount(), 1);
        QCOMPARE(p.table.entryCount(0), 1);
        QCOMPARE(p.state.storeFolder, fallbackStore);
        QVERIFY(p.state.StoreFallback);
    }

    void failingFallbackEndsTheProgram()
    {
        Program p;
        const QString fallbackIndex = p.state.storeFolder + u"idx.dat"_s;
        p.state.storeFolder = p.state.programFolder + u"Missing/FileStore/"_s;
        writeFile(fallbackIndex, "idx\r\nG\r\n\r\n"_ba);

        QVERIFY(p.store.LoadIndex());
        const std::optional<IoError> error = p.store.LoadIndexFallback();
        QVERIFY(error);
        QCOMPARE(error->file, fallbackIndex);
        QVERIFY2(error->description.contains(u"line 3"_s), qPrintable(error->description));
        QVERIFY(!p.state.StoreFallback);
        QCOMPARE(p.table.groupCount(), 0);
    }

    // A title that is no file name is refused by Save_idx, the error naming
    // idx.dat; the old file stays.
    void saveIdxRefusesWhatCannotBeReadBack()
    {
        Program p;
        const QString path = p.state.storeFolder + u"idx.dat"_s;
        writeFile(path, "old\r\n");
        p.table.cell(0, 0) = u"G"_s;
        p.table.cell(0, 1) = u"a/b"_s;
        const FileResult saved = p.store.Save_idx();
        QVERIFY(!saved);
        QCOMPARE(saved.error.file, path);
        QCOMPARE(readWholeFile(path).bytes, "old\r\n"_ba);
    }

    // New files of the whole-file writer left by a crash go once the store is
    // held: in the store, its group folders and the program folder itself;
    // a folder or a link of that name and deeper folders are not touched.
    void takingTheStoreClearsLeftoversOfACrash()
    {
        Program first;
        QTemporaryDir outside;
        const QString name = u".plimsa-new-Xy34Zq"_s;
        const QString store = first.state.storeFolder;
        const QStringList gone{store + name, store + u"Notes/"_s + name,
                               first.state.programFolder + name};
        const QStringList kept{first.state.programFolder + u"Other/"_s + name,
                               store + u"Notes/Deeper/"_s + name,
                               store + u"Notes/.plimsa-new-ab12.txt"_s, // an entry's file
                               store + u"Plimsa Manual.txt"_s,          // a plain file
                               outside.filePath(name)};
        for (const QString &path : gone + kept)
            writeFile(path, "x");
        QVERIFY(QFile::link(outside.path(), store + u"Linked"_s));
        const QString folder = store + u"Plans/"_s + name;
        const QString link = store + u"Notes/.plimsa-new-Lnk123"_s;
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(QFile::link(outside.filePath(name), link));
        QVERIFY(first.store.TakeStoreMarker());
        first.store.removeLeftovers();
        for (const QString &path : gone)
            QVERIFY2(!QFile::exists(path), qPrintable(path));
        for (const QString &path : kept)
            QVERIFY2(QFile::exists(path), qPrintable(path));
        QVERIFY(QFileInfo(folder).isDir());
        QVERIFY(QFileInfo(link).isSymLink());

        // A copy without the store leaves the new files of a running save alone.
        writeFile(store + name, "half");
        Program second(first.dir.path());
        QVERIFY(!second.store.TakeStoreMarker());
        second.store.removeLeftovers();
        QVERIFY(second.state.StoreInUse);
        QVERIFY(QFile::exists(store + name));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
