// The real program (PLIMSA_EXE) on a real X server, typed into through
// xdotool as a user types: an edit left open when the program is ended by
// SIGTERM or SIGHUP (a logout, a shutdown) or killed is given back by the
// next start, and Alt+F4 through the window manager asks before it closes.

#include "support/testsupport.h"
#include "x11/xdotool.h"

#include "store/entryfile.h"
#include "store/recoveryfile.h"

#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace {

// The id of a shown window whose title matches `name`, "" when none is.
QString windowId(const QString &name)
{
    return xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, name})
        .value_or(QString())
        .section(u'\n', 0, 0);
}

// Whether the shown window whose title matches `name` has the keyboard.
bool hasKeyboard(const QString &name)
{
    const QString active = xdotool({u"getactivewindow"_s}).value_or(QString()).trimmed();
    return !active.isEmpty() && active == windowId(name);
}

// The id of the program's main window once it shows.
QString mainWindowId()
{
    QString id;
    QTest::qWaitFor([&id] { return !(id = windowId(u"^Plimsa v"_s)).isEmpty(); }, 10000);
    return id;
}

// The keys into whatever has the keyboard, as a user presses them.
bool keys(const QStringList &names)
{
    return bool(xdotool(QStringList{u"key"_s, u"--delay"_s, u"60"_s} + names));
}

class Program
{
public:
    explicit Program(const QString &folder) : folder_(folder)
    {
        process_.setWorkingDirectory(folder);
        process_.start(folder + u"/plimsa"_s, {});
    }
    ~Program()
    {
        process_.kill();
        process_.waitForFinished(10000);
    }
    // Shown, and given the keyboard unless a dialog of its start (the offer)
    // takes it.
    bool shown(bool activate = true)
    {
        const QString id = mainWindowId();
        return !id.isEmpty() && (!activate || xdotool({u"windowactivate"_s, u"--sync"_s, id}));
    }
    void signal(int number) { ::kill(pid_t(process_.processId()), number); }
    // The exit status once it ended by itself (-1: it did not end, or by a signal).
    int ended(int ms = 15000)
    {
        // It may have ended while events were taken in (waiting for xdotool).
        if ((process_.state() != QProcess::NotRunning && !process_.waitForFinished(ms)) ||
            process_.exitStatus() != QProcess::NormalExit)
            return -1;
        return process_.exitCode();
    }

private:
    QString folder_;
    QProcess process_;
};

} // namespace

class tst_RecoveryX11 : public QObject
{
    Q_OBJECT

    QString recoveryPath() const
    {
        const QString folder = scratch_->path() + u'/';
        return RecoveryFile::path(folder, folder + u"FileStore/"_s);
    }
    QString entryText() const
    {
        return EntryFile::parseEntry(
                   readFile(scratch_->path() + u"/FileStore/Notes/Welcome to Plimsa.txt"_s))
            .text;
    }

    std::unique_ptr<QTemporaryDir> scratch_;

private Q_SLOTS:
    void init()
    {
        if (QStandardPaths::findExecutable(u"xdotool"_s).isEmpty())
            QSKIP("xdotool is not installed");
        scratch_ = std::make_unique<QTemporaryDir>();
        const QDir data(qEnvironmentVariable("PLIMSA_DATA"));
        QDirIterator it(data.path(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString target = scratch_->filePath(data.relativeFilePath(it.next()));
            QDir().mkpath(QFileInfo(target).path());
            QVERIFY(QFile::copy(it.filePath(), target));
        }
        QVERIFY(QFile::copy(qEnvironmentVariable("PLIMSA_EXE"), scratch_->filePath(u"plimsa"_s)));
    }

    // Enter on the first entry, "Kept" typed, then the end; the next start
    // offers the text (Enter: Restore), F2 saves it into the entry's file.
    void endedWhileTyping_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<bool>("waitForCopy"); // the copy written by its own timer first
        QTest::newRow("SIGTERM at once") << int(SIGTERM) << false;
        QTest::newRow("SIGHUP at once") << int(SIGHUP) << false;
        QTest::newRow("SIGKILL after the copy") << int(SIGKILL) << true;
    }
    void endedWhileTyping()
    {
        QFETCH(int, signal);
        QFETCH(bool, waitForCopy);
        {
            Program program(scratch_->path());
            QVERIFY(program.shown());
            QVERIFY(keys({u"Return"_s, u"K"_s, u"e"_s, u"p"_s, u"t"_s}));
            if (waitForCopy)
                QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(recoveryPath()), 10000);
            program.signal(signal);
            if (signal != SIGKILL)
                QCOMPARE(program.ended(), 0);
        }
        const std::optional<RecoveryCopy> copy = RecoveryFile::parse(readFile(recoveryPath()));
        QVERIFY(copy);
        QVERIFY2(copy->text.startsWith(u"Kept"_s), qPrintable(copy->text));
        QVERIFY(!entryText().contains(u"Kept"_s));

        Program again(scratch_->path());
        QVERIFY(again.shown(false));
        // The offer takes the keyboard; Enter is Restore. The main window has
        // it back before F2 is pressed.
        QTRY_VERIFY_WITH_TIMEOUT(hasKeyboard(u"^Caution!$"_s), 10000);
        QVERIFY(keys({u"Return"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(windowId(u"^Caution!$"_s).isEmpty() && hasKeyboard(u"^Plimsa v"_s),
                                 10000);
        QVERIFY(keys({u"F2"_s}));
        QTRY_VERIFY_WITH_TIMEOUT(entryText().startsWith(u"Kept"_s), 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!QFileInfo::exists(recoveryPath()), 10000);
        again.signal(SIGTERM);
        QCOMPARE(again.ended(), 0);
    }

    // Alt+F4 through the window manager: the question, Enter takes Save.
    void altF4Asks()
    {
        Program program(scratch_->path());
        QVERIFY(program.shown());
        QVERIFY(keys({u"Return"_s, u"K"_s, u"e"_s, u"p"_s, u"t"_s}));
        QVERIFY(keys({u"alt+F4"_s}));
        // It asks, and stays open until answered.
        QTRY_VERIFY_WITH_TIMEOUT(hasKeyboard(u"^Caution!$"_s), 10000);
        QCOMPARE(program.ended(100), -1);
        QVERIFY(keys({u"Return"_s}));
        QCOMPARE(program.ended(), 0);
        QVERIFY(entryText().startsWith(u"Kept"_s));
        QVERIFY(!QFileInfo::exists(recoveryPath()));
    }
};

QTEST_MAIN(tst_RecoveryX11)
#include "tst_recovery_x11.moc"
