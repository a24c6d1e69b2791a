// One computer of bench/syncthing_store.sh: the real program and main window
// (offscreen) on a program folder, given commands on its standard input and
// telling on its standard output what its window shows. Lines in:
//   select <group> <title>     clicks the group, then the entry
//   new <title> <text>         a new entry above the selected line (Insert,
//                              the text typed, OK, the title answered)
//   edit <text>                the text typed at the start of the shown entry, OK
// Lines out: "ready"; "list <titles>" whenever the entry list changes;
// "text <title>: <first text line>" whenever the shown text changes;
// "message <text>" for every message box (questions take their default);
// "done <command>" after each command.

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "platform/desktopservices.h"
#include "platform/messages.h"
#include "soak/soakcommands.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
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
    void message(Icon, const QString &, const QString &text) override { say(u"message "_s + text); }
    void beep() override {}
};

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
        }
        say(u"done "_s + line);
    });
    return QApplication::exec();
}
