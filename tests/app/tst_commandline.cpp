// The command line of the real program (PLIMSA_EXE): --help and --version
// answer without a display and without touching a file; --import and
// --export work on the notebook without a window; Qt's own options go to Qt;
// anything else on the command line is refused.

#include "support/appfixture.h"
#include "support/foldercontents.h"
#include "support/helperprocess.h"

#include "store/storemarker.h"

#include <QProcess>
#include <QScopeGuard>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Run
{
    int status = -1; // -1: did not end normally
    QString out;
    QString err;
};

// No display: a program that goes on to open a window fails to reach the
// window system. No place of the user's named.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"XDG_DATA_HOME"_s,
                                u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s})
        env.remove(name);
    env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
    return env;
}

// The program without a display; `home`, when given, is the scratch home it runs in.
Run plimsa(const QString &program, const QStringList &arguments, const QString &home = {})
{
    QProcessEnvironment env = withoutDisplay();
    QProcess process;
    if (!home.isEmpty()) {
        env.insert(u"HOME"_s, home);
        process.setWorkingDirectory(home);
    }
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return run;
    run.status = process.exitCode();
    run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    return run;
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir root_;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(QDir(root_.path()).mkpath(u"bin"_s));
        QVERIFY(QDir(root_.path()).mkpath(u"home"_s));
        QVERIFY(QFile::copy(qEnvironmentVariable("PLIMSA_EXE"), root_.filePath(u"bin/plimsa"_s)));
    }

    void answers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out"); // a part of standard output
        QTest::addColumn<QString>("err"); // a part of standard error

        const QString version = u"Plimsa " PLIMSA_VERSION "\n"_s;
        QTest::newRow("--version") << QStringList{u"--version"_s} << 0 << version << QString();
        QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << u"Plimsa Manual.txt"_s
                                << QString();
        // Qt's own options are let through to Qt, in every form Qt reads.
        QTest::newRow("Qt's options")
            << QStringList{u"-style"_s,   u"fusion"_s,    u"--stylesheet=a.qss"_s,
                           u"-reverse"_s, u"-platform"_s, u"offscreen"_s,
                           u"-session"_s, u"id1"_s,       u"-qwindowtitle"_s,
                           u"Notes"_s,    u"--version"_s}
            << 0 << version << QString();
        QTest::newRow("Qt's option without its value")
            << QStringList{u"--version"_s, u"-style"_s} << 2 << QString()
            << u"Missing value after '-style'."_s;
        QTest::newRow("unknown") << QStringList{u"-styles"_s, u"fusion"_s} << 2 << QString()
                                 << u"Unknown option 'styles'."_s;
        QTest::newRow("compacted")
            << QStringList{u"-hv"_s} << 2 << QString() << u"Unknown option 'hv'."_s;
        QTest::newRow("file") << QStringList{u"notes.txt"_s} << 2 << QString()
                              << u"Unexpected argument 'notes.txt'"_s;
        QTest::newRow("refusal wins") << QStringList{u"--version"_s, u"--all"_s} << 2 << QString()
                                      << u"Try 'plimsa --help'"_s;
    }

    // In a scratch home: had the program gone on to start, it would have
    // filled a per-user folder there.
    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const QStringList before = tree(root_.path());
        const Run run =
            plimsa(root_.filePath(u"bin/plimsa"_s), arguments, root_.filePath(u"home"_s));
        QVERIFY2(run.status == status, qPrintable(run.err));
        QVERIFY2(run.out.contains(out), qPrintable(run.out));
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
        QCOMPARE(status == 0, run.err.isEmpty());
        QCOMPARE(tree(root_.path()), before);
    }

    // Qt takes its own options: the window opens (its store marker is held)
    // on the platform the command line names, not the one the environment does.
    void qtOptionsOpenTheWindow()
    {
        AppFixture program; // a copy of the shipped program folder
        QVERIFY(QFile::copy(qEnvironmentVariable("PLIMSA_EXE"), program.path(u"plimsa"_s)));
        QVERIFY(writeFile(program.path(u"a.qss"_s), "QListView { color: navy; }\n"));
        QProcess process;
        process.setProcessEnvironment(withoutDisplay());
        process.start(program.path(u"plimsa"_s),
                      {u"-platform"_s, u"offscreen"_s, u"-style"_s, u"fusion"_s, u"-reverse"_s,
                       u"-stylesheet"_s, program.path(u"a.qss"_s), u"-qwindowtitle"_s, u"N"_s});
        QVERIFY(process.waitForStarted());
        const auto held = [&program] {
            StoreMarker probe;
            const bool taken = probe.take(program.path(u"FileStore/"_s));
            probe.release();
            return !taken;
        };
        QTRY_VERIFY_WITH_TIMEOUT(held() || process.state() == QProcess::NotRunning, 30000);
        const QString err = QString::fromLocal8Bit(process.readAllStandardError());
        QVERIFY2(process.state() == QProcess::Running, qPrintable(err));
        process.kill();
        QVERIFY(process.waitForFinished());
    }

    // The exit statuses and what each run leaves, in the order a user meets them.
    void transfer()
    {
        AppFixture program; // a copy of the shipped program folder
        QVERIFY(QFile::copy(qEnvironmentVariable("PLIMSA_EXE"), program.path(u"plimsa"_s)));
        const auto expect = [&program](const QStringList &arguments, int status,
                                       const QStringList &said = {}) {
            const Run run = plimsa(program.path(u"plimsa"_s), arguments);
            const QString context = arguments.join(u' ') + u"\n"_s + run.out + run.err;
            QVERIFY2(run.status == status, qPrintable(context));
            for (const QString &part : said)
                QVERIFY2((run.out + run.err).contains(part), qPrintable(context));
        };
        const QString src = program.path(u"Notes"_s);
        const QString out = program.path(u"out"_s);
        const QString idx = u"FileStore/idx.dat"_s;
        QVERIFY(writeFile(src + u"/a.txt"_s, "one\n"));
        QVERIFY(writeFile(src + u"/sub/b.md"_s, "Gda\xC5\x84sk\n"));
        QVERIFY(writeFile(src + u"/sub/\u0141\u00f3d\u017a.txt"_s, "L\n"));
        QVERIFY(writeFile(src + u"/bin.txt"_s, QByteArray("x\0y", 3)));
        QVERIFY(writeFile(src + u"/README"_s, "read me\n"));
        // A name that is not UTF-8, which Qt cannot remove by its name.
        const QByteArray badName = QFile::encodeName(src) + "/bad\xFF.txt";
        QVERIFY(::close(::open(badName.constData(), O_CREAT | O_WRONLY, 0666)) == 0);
        const auto removeBad = qScopeGuard([&badName] { ::unlink(badName.constData()); });
        const QByteArray original = program.read(idx);

        // What is not in the code page is listed, in texts and in names.
        expect({u"--import"_s, src}, 3,
               {u"sub/b.md: ń (U+0144)"_s, u"sub/Łódź.txt: Ł (U+0141), ź (U+017A)"_s});
        QCOMPARE(program.read(idx), original);
        {
            HelperProcess other;
            QVERIFY(other.start({u"hold-marker"_s, program.path(u"FileStore/"_s)}));
            QCOMPARE(other.readLine(), "held");
            expect({u"--import"_s, src, u"--unencodable=skip"_s}, 3,
                   {u"in use by another copy of Plimsa"_s});
            QCOMPARE(program.read(idx), original);
            // Export only reads, so it works while the other copy holds the store.
            expect({u"--export"_s, out}, 0);
        }

        // The folder's group is the shipped "Notes", which it joins.
        expect({u"--import"_s, src, u"--unencodable=skip"_s}, 1,
               {u"0 groups and 2 entries made, 4 files skipped, 0 already there.\n"_s,
                u"skipped bin.txt: not a text file (it holds a NUL byte)"_s,
                u"skipped bad\\xFF.txt: its name is not valid UTF-8"_s});
        expect(
            {u"--import"_s, src + u"/sub"_s, u"--into"_s, u"Notes"_s, u"--unencodable=replace"_s},
            0, {u"0 groups and 2 entries made, 0 files skipped, 0 already there.\n"_s});
        QVERIFY(program.read(idx).contains(
            "Notes\r\n\\Welcome to Plimsa\r\n\\a\r\n\\README\r\n\\b\r\n"));
        QCOMPARE(program.readLines(u"FileStore/Notes/b.txt"_s).value(1), u"Gdansk"_s);
        QCOMPARE(program.readLines(u"FileStore/Notes/Lódz.txt"_s).value(1), u"L"_s);

        expect({u"--export"_s, out}, 3, {u"Give --overwrite"_s});
        expect({u"--export"_s, out, u"--overwrite"_s}, 0);
        QCOMPARE(readFile(out + u"/Notes/b.txt"_s), "Gdansk\n");
        expect({u"--export"_s, program.path(u"out2"_s), u"--group"_s, u"Nothing"_s}, 2);
        // A failed export: the failure on standard error, what was done on standard output.
        const Run failed = plimsa(program.path(u"plimsa"_s),
                                  {u"--export"_s, src + u"/a.txt/out"_s});
        QCOMPARE(failed.status, 3);
        QVERIFY2(failed.out.startsWith(u"0 groups and 0 entries exported (0 titles without "
                                       "files), 0 files written; stopped, "_s),
                 qPrintable(failed.out));
        QVERIFY2(failed.err.contains(u"plimsa: could not write "_s + src + u"/a.txt/out: "_s +
                                     QString::fromLocal8Bit(strerror(ENOTDIR))),
                 qPrintable(failed.err));
        const QByteArray beforeBad = program.read(idx);
        for (const QStringList &bad :
             {QStringList{u"--import"_s, src, u"--export"_s, src},
              QStringList{u"--import"_s, program.path(u"missing"_s)},
              QStringList{u"--import"_s, src, u"--unencodable=maybe"_s},
              QStringList{u"--export"_s, src, u"--into"_s, u"x"_s},
              QStringList{u"--import"_s, src, u"--into"_s, u"  "_s},
              QStringList{u"--export"_s, program.path(u"FileStore/Notes"_s), u"--overwrite"_s},
              // The store imported into itself.
              QStringList{u"--import"_s, program.path(u"FileStore"_s)},
              QStringList{u"--import"_s, program.path(u"FileStore/Notes"_s), u"--into"_s,
                          u"Notes"_s}})
            expect(bad, 2);
        QCOMPARE(program.read(idx), beforeBad);
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
