// One computer of bench/syncthing_store.sh: the real program and main window
// (offscreen) on a program folder, given commands on its standard input and
// telling on its standard output what its window shows. Lines in:
//   select <group> <title>     clicks the group, then the entry
//   new <title> <text>         a new entry above the selected line (Insert,
//                              the text typed, OK, the title answered)
//   edit <text>                the text typed at the start of the shown entry, OK
//   first-entry                "first <group>/<title>": the first entry with a file
//                              (stored names)
//   edit-entry <group>/<title>|<text>   that entry given <text> in place of its own, OK;
//                              "gone <text>" for the text it had
//   soak <seed> <count>        <count> random commands of every kind, as the crash
//                              soak gives them (tests/soak/soakcommands.h); then
//                              "stored <text>" for each text they, and the edits
//                              since the last soak, stored and kept,
//                              "title <group>/<title>" for each title not in the
//                              notebook before them (stored names)
//   verify <file>              the store on disk against the "stored" and "title"
//                              lines in <file>: "missing text ...", "missing title
//                              ...", "unnamed <file>" (a file idx.dat does not name),
//                              "no file for <group>/<title>", "copy left <file>",
//                              "mask copy <file>", then "verified <texts> <titles>"
// Lines out: "ready"; "list <titles>" whenever the entry list changes;
// "text <title>: <first text line>" whenever the shown text changes;
// "message <text>" for every message box (questions take their default),
// "error <text>" for an error report; "done <command>" after each command.

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "platform/desktopservices.h"
#include "platform/messages.h"
#include "soak/soakcommands.h"
#include "soak/soakjournal.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/storepaths.h"
#include "store/entryfile.h"
#include "store/indexfile.h"
#include "store/notetable.h"
#include "store/outsidechange.h"
#include "support/foldercontents.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QFile>
#include <QSet>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSocketNotifier>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(QString(line).replace(u'\n', u' ')));
    std::fflush(stdout);
}

class PrintedMessages : public Messages
{
public:
    void message(Icon icon, const QString &, const QString &text) override
    {
        say((icon == Icon::Critical ? u"error "_s : u"message "_s) + text);
    }
    void beep() override {}
};

// Every group/title of a table, as stored.
QSet<QString> titlesOf(const NoteTable &table)
{
    QSet<QString> titles;
    for (int g = 0; g < table.groupCount(); ++g) {
        titles.insert(table.name(g) + u'/');
        for (int c = 1; c <= table.entryCount(g); ++c)
            titles.insert(table.name(g) + u'/' + table.cell(g, c));
    }
    return titles;
}

// `kept`: what was stored since the last soak; emptied.
void soak(Application &plimsa, quint32 seed, int count, QStringList &kept)
{
    const QSet<QString> before = titlesOf(plimsa.table());
    SoakCommands commands(plimsa, seed);
    for (int i = 0; i < count; ++i) {
        SoakCommands::Step step = commands.plan();
        QString why;
        if (!commands.run(step, &why))
            say(u"error "_s + step.name + u": "_s + why);
        for (const QString &gone : std::as_const(step.gone))
            kept.removeAll(gone);
        kept += step.added;
    }
    for (const QString &text : std::as_const(kept))
        say(u"stored "_s + text);
    kept.clear();
    QStringList made = (titlesOf(plimsa.table()) - before).values();
    made.sort();
    for (const QString &title : std::as_const(made))
        say(u"title "_s + title);
}

void verify(const QString &programFolder, const QString &listFile)
{
    const Files files = readFolder(programFolder);
    const SoakJournal::Texts held = SoakJournal::heldTexts(files);
    NoteTable table;
    (void)IndexFile::parse(files.value(u"FileStore/idx.dat"_s), table);
    const QSet<QString> titles = titlesOf(table);
    QSet<QString> inMaskCopies;
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QStringList parts = it.key().split(u'/');
        if (parts.first() != u"FileStore"_s || parts.size() < 2)
            continue;
        const QString name = parts.last();
        const QString relative = it.key().mid(10);
        if (const auto copy = OutsideChange::parseConflictCopy(name)) {
            if (copy->original == u"_mask.dat"_s) {
                say(u"mask copy "_s + relative);
                inMaskCopies.insert(SoakCommands::normal(EntryFile::parseMask(it.value())));
            } else if (copy->original != u"LstPrnt.txt"_s) {
                say(u"copy left "_s + relative);
            }
            continue;
        }
        if (parts.size() == 3 && name.endsWith(u".txt"_s) && !name.startsWith(u'.') &&
            !titles.contains(parts[1] + u'/' + name.chopped(4)))
            say(u"unnamed "_s + relative);
    }
    for (const QString &name : namesWithoutFile(files)) {
        if (!SoakJournal::withoutFileByDesign(name))
            say(u"no file for "_s + name);
    }
    QFile list(listFile);
    int texts = 0, made = 0;
    if (list.open(QIODevice::ReadOnly)) {
        for (const QString &line : QString::fromUtf8(list.readAll()).split(u'\n')) {
            const QString value = line.section(u' ', 1);
            if (line.startsWith(u"stored "_s)) {
                ++texts;
                if (!held.contains(value) && !inMaskCopies.contains(value))
                    say(u"missing text "_s + value);
            } else if (line.startsWith(u"title "_s)) {
                ++made;
                if (!titles.contains(value))
                    say(u"missing title "_s + value);
            }
        }
    }
    say(u"verified %1 %2"_s.arg(texts).arg(made));
}

class NoDesktop : public DesktopServices
{
public:
    bool openFile(const QString &) override { return true; }
    bool openUrl(const QUrl &) override { return true; }
    bool startAgain() override { return true; }
};

void clickLine(TitleListView *list, const QString &shown)
{
    for (int i = 0; i < list->count(); ++i) {
        if (list->titles().shownName(i) == shown)
            list->setCurrentRow(i);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: plimsa_syncpeer <program folder>\n");
        return 2;
    }
    PrintedMessages messages;
    NoDesktop desktop;
    Application plimsa(
        QString::fromLocal8Bit(argv[1]) + u'/', messages,
        [](int status) { std::_Exit(status == 0 ? 3 : status); }, &desktop);
    if (!startProgram(plimsa, 20000))
        return 3;
    const MainWidgets &w = plimsa.mainWindow()->widgets();
    say(u"ready"_s);

    QString list, text;
    QStringList kept; // texts stored and not let go of since the last soak
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString nowList =
            plimsa.mainWindow()->widgets().entryList->titles().shownNames().join(u' ').trimmed();
        if (nowList != list)
            say(u"list "_s + (list = nowList));
        const QString nowText =
            w.entryList->currentText() + u": "_s + w.entryText->toPlainText().section(u'\n', 0, 0);
        if (nowText != text)
            say(u"text "_s + (text = nowText));
    });
    watch.start(20);

    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[1024];
        if (!std::fgets(buffer, sizeof buffer, stdin))
            QCoreApplication::exit(0);
        const QString line = QString::fromLocal8Bit(buffer).trimmed();
        const QString command = line.section(u' ', 0, 0);
        if (command == u"select"_s) {
            clickLine(w.groupList, line.section(u' ', 1, 1));
            clickLine(w.entryList, line.section(u' ', 2, 2));
        } else if (command == u"new"_s) {
            QTest::keyClick(w.entryList, Qt::Key_Insert);
            QTest::keyClicks(w.entryText, line.section(u' ', 2));
            auto *poll = new QTimer(&app);
            const QString title = line.section(u' ', 1, 1);
            QObject::connect(poll, &QTimer::timeout, poll, [poll, title] {
                QWidget *dialog = QApplication::activeModalWidget();
                auto *field = dialog ? dialog->findChild<QLineEdit *>(u"txtInput"_s) : nullptr;
                if (!field)
                    return;
                poll->deleteLater();
                poll->stop();
                field->setText(title);
                QTest::keyClick(field, Qt::Key_Return);
            });
            poll->start(10);
            QTest::keyClick(w.entryText, Qt::Key_F2);
        } else if (command == u"edit"_s) {
            w.entryText->moveCursor(QTextCursor::Start);
            QTest::keyClicks(w.entryText, line.section(u' ', 1));
            QTest::keyClick(w.entryText, Qt::Key_F2);
        } else if (command == u"first-entry"_s) {
            const NoteTable &table = plimsa.table();
            const QString &store = plimsa.state().storeFolder;
            QString first;
            for (int g = 0; first.isEmpty() && g < table.groupCount(); ++g) {
                for (int c = 1; first.isEmpty() && c <= table.entryCount(g); ++c) {
                    if (QFile::exists(StorePaths::entryFile(store, table.name(g), table.cell(g, c))))
                        first = table.name(g) + u'/' + table.cell(g, c);
                }
            }
            say(u"first "_s + first);
        } else if (command == u"edit-entry"_s) {
            const QString name = line.section(u' ', 1).section(u'|', 0, 0);
            const QString text = line.section(u'|', 1);
            const NoteTable &table = plimsa.table();
            const int g = table.findGroup(name.section(u'/', 0, 0));
            const int c = g < 0 ? -1 : table.findTitle(g, name.section(u'/', 1));
            if (c > 0) {
                clickLine(w.groupList, InDOS(table.name(g)));
                w.entryList->setCurrentRow(c - 1);
                // The text it had goes.
                const QString old = SoakCommands::normal(w.entryText->toPlainText());
                kept.removeAll(old);
                say(u"gone "_s + old);
                w.entryText->setFocus();
                w.entryText->selectAll();
                QTest::keyClicks(w.entryText, text);
                QTest::keyClick(w.entryText, Qt::Key_F2);
                kept << text;
            } else {
                say(u"skipped: "_s + name + u" is gone"_s);
            }
        } else if (command == u"soak"_s) {
            soak(plimsa, line.section(u' ', 1, 1).toUInt(), line.section(u' ', 2, 2).toInt(), kept);
        } else if (command == u"verify"_s) {
            verify(plimsa.state().programFolder, line.section(u' ', 1));
        }
        say(u"done "_s + line);
    });
    return QApplication::exec();
}
