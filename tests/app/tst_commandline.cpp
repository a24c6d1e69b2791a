// The command line of the real program (PLIMSA_EXE): --help and --version
// answer without a display and without touching a file; --import and
// --export work on the notebook without a window; anything else on the
// command line is refused.

#include "support/testsupport.h"

#include "support/helperprocess.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Every path below `root` with its size and time of change.
QStringList listing(const QString &root)
{
    QStringList files;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        files << u"%1 %2 %3"_s.arg(info.filePath())
                     .arg(info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch());
    }
    files.sort();
    return files;
}

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        QTest::newRow("-v") << QStringList{u"-v"_s} << 0 << version << QString();
        QTest::newRow("--help") << QStringList{u"--help"_s} << 0 << u"-v, --version"_s << QString();
        QTest::newRow("-h") << QStringList{u"-h"_s} << 0 << u"Plimsa Manual.txt"_s << QString();
        // Qt's own options are not the program's.
        QTest::newRow("unknown") << QStringList{u"-style"_s, u"fusion"_s} << 2 << QString()
                                 << u"Unknown option 'style'."_s;
        QTest::newRow("compacted")
            << QStringList{u"-hv"_s} << 2 << QString() << u"Unknown option 'hv'."_s;
        QTest::newRow("file") << QStringList{u"notes.txt"_s} << 2 << QString()
                              << u"Unexpected argument 'notes.txt'"_s;
        QTest::newRow("refusal wins") << QStringList{u"--version"_s, u"--all"_s} << 2 << QString()
                                      << u"Try 'plimsa --help'"_s;
    }

    // The program runs in a scratch home with no display: had it gone on to
    // start, it would have failed to reach the window system, or filled a
    // per-user folder in that home.
    void answers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, err);

        const QStringList before = listing(root_.path());

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &name : {u"DISPLAY"_s, u"WAYLAND_DISPLAY"_s, u"XDG_DATA_HOME"_s,
                                    u"XDG_CONFIG_HOME"_s, u"XDG_CACHE_HOME"_s})
            env.remove(name);
        env.insert(u"HOME"_s, root_.filePath(u"home"_s));
        env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s);
        QProcess run;
        run.setProcessEnvironment(env);
        run.setWorkingDirectory(root_.filePath(u"home"_s));
        run.start(root_.filePath(u"bin/plimsa"_s), arguments);
        QVERIFY(run.waitForFinished(30000));

        const QString stdOut = QString::fromLocal8Bit(run.readAllStandardOutput());
        const QString stdErr = QString::fromLocal8Bit(run.readAllStandardError());
        QCOMPARE(run.exitStatus(), QProcess::NormalExit);
        QVERIFY2(run.exitCode() == status, qPrintable(stdErr));
        QVERIFY2(stdOut.contains(out), qPrintable(stdOut));
        if (err.isEmpty())
            QCOMPARE(stdErr, QString());
        else
            QVERIFY2(stdErr.contains(err), qPrintable(stdErr));
        QCOMPARE(status == 0, stdErr.isEmpty());
        QCOMPARE(listing(root_.path()), before);
    }

    // The exit statuses and what each run leaves, in the order a user meets them.
    void transfer()
    {
        QTemporaryDir dir;
        const QString program = dir.filePath(u"program"_s);
        QVERIFY(QDir().mkpath(program));
        const QString data = qEnvironmentVariable("PLIMSA_DATA");
        QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString from = it.next();
            const QString to = program + from.mid(data.size());
            QVERIFY(QDir().mkpath(QFileInfo(to).path()));
            QVERIFY(QFile::copy(from, to));
        }
        QVERIFY(QFile::copy(qEnvironmentVariable("PLIMSA_EXE"), program + u"/plimsa"_s));
        const QString idx = program + u"/FileStore/idx.dat"_s;
        const auto plimsa = [&](const QStringList &arguments) {
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(u"DISPLAY"_s);
            env.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s); // a window would fail to open
            process.setProcessEnvironment(env);
            process.start(program + u"/plimsa"_s, arguments);
            Run run;
            if (!process.waitForFinished(60000))
                return run;
            run.status = process.exitCode();
            run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
            run.err = QString::fromLocal8Bit(process.readAllStandardError());
            return run;
        };
        const QString src = dir.filePath(u"Notes"_s);
        QVERIFY(writeFile(src + u"/a.txt"_s, "one\n"));
        QVERIFY(writeFile(src + u"/sub/b.md"_s, "Gda\xC5\x84sk\n"));
        QVERIFY(writeFile(src + u"/bin.txt"_s, QByteArray("x\0y", 3)));
        const QByteArray original = readFile(idx);

        Run run = plimsa({u"--import"_s, src});
        QCOMPARE(run.status, 3);
        QVERIFY2(run.err.contains(u"sub/b.md: ń (U+0144)"_s), qPrintable(run.err));
        QCOMPARE(readFile(idx), original);

        {
            HelperProcess other;
            QVERIFY(other.start({u"hold-marker"_s, program + u"/FileStore/"_s}));
            QCOMPARE(other.readLine(), "held");
            run = plimsa({u"--import"_s, src, u"--unencodable=skip"_s});
            QCOMPARE(run.status, 3);
            QVERIFY2(run.err.contains(u"in use by another copy of Plimsa"_s), qPrintable(run.err));
            QCOMPARE(readFile(idx), original);
            // Export only reads, so it works while the other copy holds the store.
            run = plimsa({u"--export"_s, dir.filePath(u"out"_s)});
            QCOMPARE(run.status, 0);
        }

        run = plimsa({u"--import"_s, src, u"--unencodable=skip"_s});
        QCOMPARE(run.status, 1);
        // The folder's group is the shipped "Notes", which it joins.
        QCOMPARE(run.out, u"0 groups and 1 entries made, 2 files skipped, 0 already there.\n"_s);
        QVERIFY2(run.err.contains(u"skipped bin.txt: not a text file (it holds a NUL byte)"_s),
                 qPrintable(run.err));
        run = plimsa({u"--import"_s, src + u"/sub"_s, u"--into"_s, u"Notes"_s,
                      u"--unencodable=replace"_s});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, u"0 groups and 1 entries made, 0 files skipped, 0 already there.\n"_s);
        QVERIFY(readFile(idx).contains("Notes\r\n\\Welcome to Plimsa\r\n\\a\r\n\\b\r\n"));
        QCOMPARE(readFile(program + u"/FileStore/Notes/b.txt"_s).split('\n').value(1),
                 "Gdansk\r");

        run = plimsa({u"--export"_s, dir.filePath(u"out"_s)});
        QCOMPARE(run.status, 3);
        QVERIFY2(run.err.contains(u"Give --overwrite"_s), qPrintable(run.err));
        run = plimsa({u"--export"_s, dir.filePath(u"out"_s), u"--overwrite"_s});
        QCOMPARE(run.status, 0);
        QCOMPARE(readFile(dir.filePath(u"out/Notes/b.txt"_s)), "Gdansk\n");
        run = plimsa({u"--export"_s, dir.filePath(u"out2"_s), u"--group"_s, u"Nothing"_s});
        QCOMPARE(run.status, 2);

        for (const QStringList &bad :
             {QStringList{u"--import"_s, src, u"--export"_s, src},
              QStringList{u"--import"_s, dir.filePath(u"missing"_s)},
              QStringList{u"--import"_s, src, u"--unencodable=maybe"_s},
              QStringList{u"--export"_s, src, u"--into"_s, u"x"_s},
              QStringList{u"--import"_s, src, u"--into"_s, u"  "_s},
              QStringList{u"--export"_s, program + u"/FileStore/Notes"_s, u"--overwrite"_s}}) {
            run = plimsa(bad);
            QVERIFY2(run.status == 2, qPrintable(bad.join(u' ') + run.err));
        }
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
