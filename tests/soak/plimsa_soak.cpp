// The crash soak's program (bench/soak_program.sh): Plimsa's own start and
// main window on a scratch notebook, driven by random commands (keys through
// the program's key-string service, menu items) until it is killed.
// It is the program's code with a driver in place of the user; the shipped
// plimsa binary has no hook of any kind.
//
//   plimsa_soak prepare <folder> <journal>     a scratch program folder and its journal
//   plimsa_soak run <folder> <journal> <seed>  checks the store, starts the program on
//                                              it, prints "ready", runs commands for ever
//   plimsa_soak check <folder> <journal>       the check alone
//
// Exit status: 0 the check passed (check), 1 wrong use, 2 the store failed
// its check, 3 the program reported an error or did not come back from a
// command. A copy refused by a file a killed command left in the way is no
// error (see refusedByLeftover); it is noted in the journal as "refused".

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "common/benchprogram.h"
#include "editing/editmodes_w.h"
#include "editing/recoverycopy_w.h"
#include "platform/messages.h"
#include "soak/soakcommands.h"
#include "soak/soakjournal.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "ui/codepagetextedit_w.h"
#include "ui/mainstate.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

// Refusals are part of the soak; an error report is a failure.
class SoakMessages : public Messages
{
public:
    void message(Icon icon, const QString &title, const QString &text) override
    {
        if (icon == Icon::Critical && report.isEmpty())
            report = title + u": "_s + text;
    }
    void beep() override {}
    QString report;
};

// A command an earlier kill cut short may have left its copy under a name
// idx.dat does not know, and an edit since then may have given the entry
// other bytes. A copy onto that name is refused ("File exists"), as the
// program refuses any file in the way, and changes nothing: that report is
// no failure. One naming a file idx.dat names would be.
bool refusedByLeftover(const QString &report, Application &plimsa)
{
    // "... / No.17\n\n<file>\n(to: <store><group>/<title>.txt)"
    const QRegularExpression copy(
        u"/ No\\.%1\\n[\\s\\S]*\\(to: %2([^/]+)/(.+)\\.txt\\)$"_s.arg(EEXIST).arg(
            QRegularExpression::escape(plimsa.state().storeFolder)));
    const QRegularExpressionMatch match = copy.match(report);
    if (!match.hasMatch())
        return false;
    const NoteTable &table = plimsa.table();
    const int g = table.findGroup(match.captured(1));
    return g < 0 || table.findTitle(g, match.captured(2)) < 0;
}

[[noreturn]] void fail(int status, const QString &what)
{
    std::printf("%s\n", qPrintable(what));
    std::fflush(stdout);
    std::_Exit(status);
}

// The start offers the recovery copy of an edit a kill cut short, and the
// soak's messages take the default, Restore: the edit open now holds
// exactly what was typed up to the copy's last write. It is cancelled then.
void checkGivenBack(MainWindow &window, const SoakJournal::Recoverable &recoverable,
                    const QString &journal)
{
    const MainState &state = window.mainState();
    if (!state.edit.editing()) {
        if (!recoverable.noneAllowed)
            fail(2, u"check: the start gave nothing back; the last recovery copy held: "_s +
                        recoverable.texts.value(0).left(80));
        return;
    }
    const QString given = boxText(
        window.findChild<QPlainTextEdit *>(state.edit.maskEdit() ? u"txtMask"_s : u"txtText"_s));
    if (!recoverable.texts.contains(given))
        fail(2, u"check: the start gave back \"%1\", not what the last recovery copy held "
                "(\"%2\")"_s.arg(given.left(80), recoverable.texts.join(u"\" or \""_s).left(160)));
    SoakJournal::append(journal, {u"begin"_s, u"cancel the edit given back"_s, QString()});
    window.editModes().cancel();
    SoakJournal::append(journal, {u"done"_s});
}

int checkStore(const QString &folder, const QString &journal)
{
    const QStringList problems = SoakJournal::check(folder, journal);
    for (const QString &problem : problems)
        std::printf("check: %s\n", qPrintable(problem));
    std::fflush(stdout);
    return problems.isEmpty() ? 0 : 2;
}

// The texts the notebook holds now: what every later check starts from.
void appendBase(const QString &folder, const QString &journal)
{
    QStringList base{u"base"_s};
    const SoakJournal::Texts texts = SoakJournal::heldTexts(readFolder(folder));
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        for (int i = 0; i < it.value(); ++i)
            base << it.key();
    }
    SoakJournal::append(journal, base);
}

int prepare(const QString &folder, const QString &journal)
{
    if (BenchProgram::makeProgramFolder(folder, 6, 12, true).groups == 0)
        return 1;
    QFile::remove(journal);
    appendBase(folder, journal);
    return 0;
}

int run(const QString &folder, const QString &journal, quint32 seed)
{
    if (const int status = checkStore(folder, journal))
        return status;
    // What the start must give back of an edit the last kill cut short.
    const SoakJournal::Recoverable recoverable = SoakJournal::recoverable(journal);
    appendBase(folder, journal);

    SoakMessages messages;
    BenchProgram::QuietDesktop desktop;
    Application plimsa(
        folder, messages, [](int status) { fail(3, u"the program ended with %1"_s.arg(status)); },
        &desktop);
    const bool started = startProgram(plimsa, 10000);
    if (!started || !messages.report.isEmpty())
        fail(3, u"the start failed: "_s + messages.report);
    QStringList leftovers;
    readFolder(folder, &leftovers);
    if (!leftovers.isEmpty())
        fail(2, u"check: the start left new files: "_s + leftovers.join(u' '));
    MainWindow &window = *plimsa.mainWindow();
    checkGivenBack(window, recoverable, journal);
    RecoveryRecorder &recorder = window.recoveryRecorder();
    QObject::connect(&recorder, &RecoveryRecorder::writing, &recorder,
                     [journal](const RecoveryCopy &copy) {
                         SoakJournal::append(journal, {u"recovering"_s, copy.text});
                     });
    QObject::connect(&recorder, &RecoveryRecorder::written, &recorder,
                     [journal] { SoakJournal::append(journal, {u"recovered"_s}); });
    std::printf("ready\n");
    std::fflush(stdout);

    SoakCommands commands(plimsa, seed);
    commands.note = [journal](const QStringList &fields) { SoakJournal::append(journal, fields); };
    for (;;) {
        SoakCommands::Step step = commands.plan();
        SoakJournal::append(journal, QStringList{u"begin"_s, step.name, step.typed} + step.gone);
        QString why;
        if (!commands.run(step, &why))
            fail(3, step.name + u": "_s + why);
        if (refusedByLeftover(messages.report, plimsa)) {
            SoakJournal::append(journal, {u"refused"_s, messages.report});
            messages.report.clear();
            continue;
        }
        if (!messages.report.isEmpty())
            fail(3, step.name + u": "_s + messages.report);
        SoakJournal::append(journal, QStringList{u"done"_s} + step.added);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString mode = args.value(1);
    if (args.size() == 4 && mode == u"prepare"_s)
        return prepare(args[2] + u'/', args[3]);
    if (args.size() == 4 && mode == u"check"_s)
        return checkStore(args[2] + u'/', args[3]);
    if (args.size() == 5 && mode == u"run"_s)
        return run(args[2] + u'/', args[3], args[4].toUInt());
    std::fprintf(stderr, "usage: plimsa_soak prepare|check <folder> <journal> | run <folder> "
                         "<journal> <seed>\n");
    return 1;
}
