// The command line of the real program (PLIMSA_EXE): --help and --version
// answer without a display and without touching a file; anything else on the
// command line is refused.

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
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
