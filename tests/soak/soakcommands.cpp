#include "soak/soakcommands.h"

#include "app/application_w.h"
#include "app/mainwindow_w.h"
#include "editing/recoverycopy_w.h"
#include "notebook/entrylist_w.h"
#include "platform/keyinjector_w.h"
#include "store/appstate.h"
#include "store/entryfile.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "ui/codepagetextedit_w.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

// One command: how often it comes, whether the window offers it now (adding
// what it may let go of to `gone`) and how it is given. A command that stores
// a token gets it as `typed`, and clears it when it did not type it.
struct SoakCommands::Command
{
    enum Stores { Nothing, EntryText, MaskText };
    const char *name;
    int weight;
    std::function<bool(SoakCommands &, QStringList &gone)> offered;
    std::function<void(SoakCommands &, QString &typed)> give;
    Stores stores = Nothing;
};

bool startProgram(Application &plimsa, int milliseconds)
{
    plimsa.Main();
    if (!plimsa.mainWindow())
        return false;
    bool started = false;
    QObject::connect(plimsa.mainWindow(), &MainWindow::startupWorkDone,
                     [&started] { started = true; });
    plimsa.mainWindow()->activateWindow();
    const QDeadlineTimer deadline(milliseconds);
    while (!started && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return started;
}

SoakCommands::SoakCommands(Application &app, quint32 seed)
    : app_(app), window_(*app.mainWindow()), random_(seed), seed_(seed)
{
    // The mask box takes keys only while it is shown.
    QAction *viewMask = action(u"mnuViewMask"_s);
    if (!viewMask->isChecked() && viewMask->isEnabled())
        viewMask->trigger();
}

QAction *SoakCommands::action(const QString &name) const
{
    return window_.findChild<QAction *>(name);
}

TitleListView *SoakCommands::list(const QString &name) const
{
    return window_.findChild<TitleListView *>(name);
}

QPlainTextEdit *SoakCommands::box(bool mask) const
{
    return window_.findChild<QPlainTextEdit *>(mask ? u"txtMask"_s : u"txtText"_s);
}

QString SoakCommands::normal(const QString &text)
{
    QString n = text;
    n.replace(u"\r\n"_s, u"\n"_s);
    return n.trimmed();
}

QString SoakCommands::token()
{
    return u"soak%1x%2"_s.arg(seed_).arg(++tokens_);
}

QString SoakCommands::entryText() const
{
    return normal(boxText(box(false)));
}

QString SoakCommands::maskText() const
{
    return normal(boxText(box(true)));
}

QStringList SoakCommands::trashTexts() const
{
    const NoteTable &table = app_.table();
    const QString &store = app_.state().storeFolder;
    const int g = table.findGroup(u"Trash"_s);
    QStringList texts;
    for (int c = 1; g >= 0 && c <= table.entryCount(g); ++c) {
        const auto read = EntryFile::readEntry(
            StorePaths::entryFile(store, table.name(g), table.cell(g, c)), store);
        if (read.ok)
            texts.append(normal(read.entry.text));
    }
    return texts;
}

// Selections come often, as they do in use; Clear Trash rarely, since it
// waits a second before it starts. A drop runs the command of its menu item
// or key (a move, one place up or down, the trash), and an indent the
// rename's: those are left to the rows here.
const QList<SoakCommands::Command> &SoakCommands::commands()
{
    using S = SoakCommands;
    const auto entries = [](S &s) { return s.list(u"lstEntry"_s); };
    const auto onEntry = [entries](S &s) {
        const int row = entries(s)->currentRow();
        return row >= 0 && row < entries(s)->count() - 1;
    };
    const auto editing = [](S &s) {
        return s.window_.findChild<QAbstractButton *>(u"chckEdit"_s)->isChecked();
    };
    const auto fileMissing = [](S &s) { return s.window_.mainState().FileMissing; };
    const auto always = [](S &, QStringList &) { return true; };
    // Offered while the menu item of that objectName is enabled.
    const auto enabled = [](const QString &item) {
        return [item](S &s, QStringList &) { return s.action(item)->isEnabled(); };
    };
    // Offered as `offered` is, letting go of the texts `texts` gives.
    const auto letting = [](const auto &offered, const auto &texts) {
        return [offered, texts](S &s, QStringList &gone) {
            if (!offered(s, gone))
                return false;
            for (const QString &text : QStringList(std::invoke(texts, s))) {
                if (!text.isEmpty())
                    gone << text;
            }
            return true;
        };
    };
    const auto trigger = [](const QString &item) {
        return [item](S &s, QString &) { s.action(item)->trigger(); };
    };
    // Keys typed into the entry list.
    const auto keys = [entries](const QString &keys) {
        return [entries, keys](S &s, QString &) {
            entries(s)->setFocus();
            s.type(keys);
        };
    };
    // The text box's contents replaced by the token, saved with F2.
    const auto typedInto = [](bool mask) {
        return [mask](S &s, QString &typed) {
            s.box(mask)->setFocus();
            s.type(u"^a"_s + typed + u"{F2}"_s);
        };
    };
    const auto answered = [](const auto &give) {
        return [give](S &s, QString &typed) {
            s.answerNextDialog(s.token() + u"{ENTER}"_s);
            give(s, typed);
        };
    };
    const auto selecting = [](const QString &name) {
        return [name](S &s, QString &) {
            s.list(name)->setCurrentRow(s.argument_ % std::max(1, s.list(name)->count()));
        };
    };
    // An entry moved within its list: offered on an entry line, outside an edit.
    const auto onEntryNotEditing = [onEntry, editing](S &s, QStringList &) {
        return onEntry(s) && !editing(s);
    };
    // A separator line or a placeholder given a title keeps having no file,
    // and could then not be told from a title that lost its file.
    const auto retitled = [fileMissing](S &s, QStringList &) {
        return s.action(u"mnuEntryRename"_s)->isEnabled() && !fileMissing(s);
    };
    const auto entrySaved = [entries, onEntry, editing, fileMissing](S &s, QStringList &) {
        const bool placeholder = entries(s)->currentText() == u"* NEW *"_s;
        return onEntry(s) && !placeholder && !fileMissing(s) && !editing(s);
    };
    const auto maskSaved = [editing](S &s, QStringList &) {
        return s.list(u"lstGroup"_s)->currentRow() >= 0 && !editing(s) && s.box(true)->isVisible();
    };
    const auto sortButton = [](S &s) {
        return s.window_.findChild<QAbstractButton *>(u"cmdSort0"_s);
    };

    static const QList<Command> list{
        {"select a group", 12, always, selecting(u"lstGroup"_s)},
        {"select an entry", 12, always, selecting(u"lstEntry"_s)},
        {"new entry", 8, enabled(u"mnuEntryCall0"_s),
         [entries](S &s, QString &typed) {
             entries(s)->setFocus();
             s.type(u"{INSERT}"_s);
             if (!s.waitUntilIdle(5000) || !s.window_.mainState().edit.textEdit()) {
                 typed.clear();
                 return;
             }
             s.answerNextDialog(u"{ENTER}"_s);
             s.type(typed + u"{F2}"_s);
         },
         Command::EntryText},
        {"entry save", 8, letting(entrySaved, &S::entryText), typedInto(false), Command::EntryText},
        {"mask save", 3, letting(maskSaved, &S::maskText), typedInto(true), Command::MaskText},
        {"rename", 4, retitled, answered(keys(u"{F12}"_s))},
        {"move", 4, enabled(u"mnuEntryChange"_s),
         [](S &s, QString &) {
             s.answerNextDialog(u"{DOWN %1}{ENTER}"_s.arg(1 + s.argument_ % 4));
             s.action(u"mnuEntryChange"_s)->trigger();
         }},
        {"trash", 4, enabled(u"mnuEntryCall1"_s), keys(u"{DEL}"_s)},
        {"sort", 1, [sortButton](S &s, QStringList &) { return sortButton(s)->isEnabled(); },
         [sortButton](S &s, QString &) { sortButton(s)->click(); }},
        {"one place up", 3, onEntryNotEditing, keys(u"+{UP}"_s)},
        {"one place down", 3, onEntryNotEditing, keys(u"+{DOWN}"_s)},
        {"insert separator", 1, enabled(u"mnuInsertCall1"_s), keys(u"{F11}"_s)},
        // With a hundred groups the program refuses it, with its message.
        {"new group", 1, enabled(u"mnuGroupNew"_s), answered(trigger(u"mnuGroupNew"_s))},
        {"group rename", 1, enabled(u"mnuGroupRename"_s), answered(trigger(u"mnuGroupRename"_s))},
        {"group delete", 2, letting(enabled(u"mnuGroupDelete"_s), &S::maskText),
         trigger(u"mnuGroupDelete"_s)},
        {"Clear Trash", 1, letting(enabled(u"mnuClearTrash"_s), &S::trashTexts),
         trigger(u"mnuClearTrash"_s)},
        {"position memory", 1, enabled(u"mnuSetMemo0"_s), keys(u"+{F5}"_s)},
        {"go to a position memory", 1, enabled(u"mnuGoToMemo0"_s), keys(u"{F5}"_s)},
        {"phrase", 1,
         [onEntry, fileMissing](S &s, QStringList &) {
             return onEntry(s) && !fileMissing(s) && !s.entryText().isEmpty();
         },
         [](S &s, QString &) {
             s.box(false)->setFocus();
             const int n = s.argument_;
             s.type(u"^{HOME}+{RIGHT %1}+{F%2}"_s.arg(1 + n % 6).arg(5 + n % 4));
         }},
        // frmIndiv's rows are lists; its OK button is pressed as a click would.
        {"individual buttons", 1, enabled(u"mnuSettings2"_s),
         [](S &s, QString &) {
             s.whenDialogShows([](QWidget *dialog) {
                 if (auto *ok = dialog->findChild<QPushButton *>(u"cmdMain0"_s))
                     ok->click();
             });
             s.action(u"mnuSettings2"_s)->trigger();
         }},
        // Typing left open: two pauses, each of which writes the recovery
        // copy, then a moment more, and the edit cancelled. A kill in it
        // leaves the copy the next start must offer.
        {"typing left open", 6, letting(entrySaved, [](const S &) { return QStringList(); }),
         [](S &s, QString &) {
             s.box(false)->setFocus();
             s.box(false)->moveCursor(QTextCursor::End);
             for (int pause = 0; pause < 2; ++pause) {
                 s.type(u" "_s + s.token());
                 if (!s.waitUntilIdle(5000))
                     return;
                 (void)s.window_.recoveryRecorder().writeNow(true);
             }
             const QDeadlineTimer moment(s.argument_ % 300);
             while (!moment.hasExpired())
                 QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
             if (s.note)
                 s.note({u"cancelling"_s});
             s.type(u"{ESC}"_s);
         }},
        {"LstPrnt.txt", 1, enabled(u"mnuEditorCall1"_s), trigger(u"mnuEditorCall1"_s)},
    };
    return list;
}

SoakCommands::Step SoakCommands::plan()
{
    int total = 0;
    for (const Command &c : commands())
        total += c.weight;
    int pick = int(random_.bounded(total));
    command_ = 0;
    while (pick >= commands()[command_].weight)
        pick -= commands()[command_++].weight;
    Step step{QString::fromLatin1(commands()[command_].name), {}, {}, {}};
    // A command the window does not offer now becomes a selection.
    if (!commands()[command_].offered(*this, step.gone)) {
        command_ = random_.bounded(2) ? 0 : 1;
        step = Step{QString::fromLatin1(commands()[command_].name), {}, {}, {}};
    }
    if (commands()[command_].stores != Command::Nothing)
        step.typed = token();
    argument_ = int(random_.bounded(1000));
    return step;
}

void SoakCommands::type(const QString &keys)
{
    window_.keyInjector().send(keys);
}

// The keys are typed into the next dialog once it is shown, not before: a
// dialog that does not open (a refusal) leaves no keys behind.
void SoakCommands::answerNextDialog(const QString &keys)
{
    whenDialogShows([this, keys](QWidget *) { type(keys); });
}

void SoakCommands::whenDialogShows(const std::function<void(QWidget *)> &act)
{
    auto *poll = new QTimer(&window_);
    poll->setObjectName(u"soakAnswer"_s);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll, act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        // As a window manager does with a new dialog; the offscreen platform has none.
        if (QApplication::activeWindow() != dialog) {
            dialog->activateWindow();
            return;
        }
        poll->stop();
        poll->deleteLater();
        act(dialog);
    });
    poll->start();
}

bool SoakCommands::waitUntilIdle(int milliseconds)
{
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        // A closed dialog gives the keyboard back to the main window, as the
        // window manager would.
        if (!QApplication::activeModalWidget() && QApplication::activeWindow() != &window_)
            window_.activateWindow();
        if (!window_.keyInjector().isBusy() && !QApplication::activeModalWidget())
            return true;
    }
    return false;
}

bool SoakCommands::activate()
{
    // A dialog that closed leaves no window active on some platforms; keys
    // typed then would reach nothing.
    if (QApplication::activeWindow() != &window_)
        window_.activateWindow();
    const QDeadlineTimer deadline(2000);
    while (QApplication::activeWindow() != &window_ && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return QApplication::activeWindow() == &window_;
}

bool SoakCommands::run(Step &step, QString *why)
{
    if (!activate()) {
        *why = u"the main window does not become active"_s;
        return false;
    }
    QString typed = step.typed;
    commands()[command_].give(*this, typed);
    const bool idle = waitUntilIdle(10000);
    // Answers for dialogs that never opened go with the command.
    for (QTimer *left : window_.findChildren<QTimer *>(u"soakAnswer"_s))
        left->deleteLater();
    const MainState &state = window_.mainState();
    if (!idle || state.edit.editing()) {
        *why = !idle ? u"a dialog or keys were still waiting"_s : u"an edit did not end"_s;
        return false;
    }
    if (typed.isEmpty())
        return true;
    // What the command shows once it has saved is what it saved.
    const bool mask = commands()[command_].stores == Command::MaskText;
    const QString shown = mask ? maskText() : entryText();
    if (shown != typed) {
        *why = u"the text shown after the save is not the text typed"_s;
        return false;
    }
    step.added << typed;
    return true;
}
