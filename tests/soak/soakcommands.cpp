#include "soak/soakcommands.h"

#include "app/application_w.h"
#include "app/frmmain.h"
#include "notebook/dragdrop_w.h"
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

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <array>

using namespace Qt::StringLiterals;

enum class SoakCommands::Kind {
    SelectGroup,
    SelectEntry,
    NewEntry,
    EditEntry,
    EditMask,
    Rename,
    IndentRight,
    IndentLeft,
    Move,
    Trash,
    DropInList,
    DropOnGroup,
    DropOnTrash,
    Sort,
    PlaceUp,
    PlaceDown,
    Separator,
    NewGroup,
    RenameGroup,
    DeleteGroup,
    ClearTrash,
    SetMemory,
    GoToMemory,
    SetPhrase,
    Buttons,
    ExportList,
};

namespace {

using Kind = SoakCommands::Kind;

struct Choice
{
    Kind kind;
    const char *name;
    int weight;
};

// Selections come often, as they do in use; Clear Trash rarely, since it
// waits a second before it starts.
constexpr std::array kChoices{
    Choice{Kind::SelectGroup, "select a group", 12},
    Choice{Kind::SelectEntry, "select an entry", 12},
    Choice{Kind::NewEntry, "new entry", 8},
    Choice{Kind::EditEntry, "entry save", 8},
    Choice{Kind::EditMask, "mask save", 3},
    Choice{Kind::Rename, "rename", 4},
    Choice{Kind::IndentRight, "indent right", 2},
    Choice{Kind::IndentLeft, "indent left", 2},
    Choice{Kind::Move, "move", 4},
    Choice{Kind::Trash, "trash", 4},
    Choice{Kind::DropInList, "drag and drop in the list", 2},
    Choice{Kind::DropOnGroup, "drag and drop on a group", 2},
    Choice{Kind::DropOnTrash, "drag and drop on the trash button", 1},
    Choice{Kind::Sort, "sort", 1},
    Choice{Kind::PlaceUp, "one place up", 3},
    Choice{Kind::PlaceDown, "one place down", 3},
    Choice{Kind::Separator, "insert separator", 1},
    Choice{Kind::NewGroup, "new group", 1},
    Choice{Kind::RenameGroup, "group rename", 1},
    Choice{Kind::DeleteGroup, "group delete", 2},
    Choice{Kind::ClearTrash, "Clear Trash", 1},
    Choice{Kind::SetMemory, "position memory", 1},
    Choice{Kind::GoToMemory, "go to a position memory", 1},
    Choice{Kind::SetPhrase, "phrase", 1},
    Choice{Kind::Buttons, "individual buttons", 1},
    Choice{Kind::ExportList, "LstPrnt.txt", 1},
};

const QString kNewTitle = u"* NEW *"_s;

bool enabled(const QAction *action)
{
    return action->isEnabled();
}

} // namespace

bool startProgram(Application &plimsa, int milliseconds)
{
    plimsa.Main();
    if (!plimsa.mainWindow())
        return false;
    bool started = false;
    QObject::connect(plimsa.mainWindow(), &FrmMain::startupWorkDone,
                     [&started] { started = true; });
    plimsa.mainWindow()->activateWindow();
    const QDeadlineTimer deadline(milliseconds);
    while (!started && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return started;
}

SoakCommands::SoakCommands(Application &app, quint32 seed)
    : app_(app), window_(*app.mainWindow()), random_(seed), seed_(seed), kind_(Kind::SelectGroup)
{
    // The mask box takes keys only while it is shown.
    const MainWidgets &w = window_.widgets();
    if (!w.mnuViewMask->isChecked() && w.mnuViewMask->isEnabled())
        w.mnuViewMask->trigger();
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
    return normal(boxText(window_.widgets().txtText[0]));
}

QString SoakCommands::maskText() const
{
    return normal(boxText(window_.widgets().txtMask));
}

QStringList SoakCommands::trashTexts() const
{
    const NoteTable &table = app_.table();
    const QString &store = app_.state().storeFolder;
    QStringList texts;
    for (int g = 0; g < table.groupCount(); ++g) {
        if (table.name(g) != u"Trash"_s)
            continue;
        for (int c = 1; c <= table.entryCount(g); ++c) {
            const auto read = EntryFile::readEntry(
                StorePaths::entryFile(store, table.name(g), table.cell(g, c)), store);
            if (read.ok)
                texts.append(normal(read.entry.text));
        }
    }
    return texts;
}

SoakCommands::Step SoakCommands::plan()
{
    const MainWidgets &w = window_.widgets();
    const MainState &state = window_.mainState();
    const bool onEntry =
        w.lstEntry->currentRow() >= 0 && w.lstEntry->currentRow() < w.lstEntry->count() - 1;
    const bool placeholder = onEntry && w.lstEntry->currentText() == kNewTitle;
    int total = 0;
    for (const Choice &c : kChoices)
        total += c.weight;
    int pick = random_.bounded(total);
    const Choice *choice = &kChoices.front();
    for (const Choice &c : kChoices) {
        if (pick < c.weight) {
            choice = &c;
            break;
        }
        pick -= c.weight;
    }
    kind_ = choice->kind;
    Step step{QString::fromLatin1(choice->name), {}, {}, {}};
    // A command the window does not offer now becomes a selection.
    bool offered = true;
    switch (kind_) {
    case Kind::NewEntry:
        offered = enabled(w.mnuEntryCall[0]);
        break;
    case Kind::EditEntry:
        offered = onEntry && !placeholder && !state.FileMissing && !w.chckEdit->isChecked();
        if (offered && !entryText().isEmpty())
            step.gone << entryText();
        break;
    case Kind::EditMask:
        offered =
            w.lstGroup->currentRow() >= 0 && !w.chckEdit->isChecked() && w.txtMask->isVisible();
        if (offered && !maskText().isEmpty())
            step.gone << maskText();
        break;
    case Kind::Rename:
    case Kind::IndentRight:
    case Kind::IndentLeft:
        // A separator line or a placeholder given a title keeps having no
        // file, and could then not be told from a title that lost its file.
        offered = enabled(w.mnuEntryRename) && !state.FileMissing;
        break;
    case Kind::Move:
    case Kind::DropOnGroup:
        offered = enabled(w.mnuEntryChange);
        break;
    case Kind::Trash:
    case Kind::DropOnTrash:
        offered = enabled(w.mnuEntryCall[1]);
        break;
    case Kind::DropInList:
    case Kind::PlaceUp:
    case Kind::PlaceDown:
        offered = onEntry && !w.chckEdit->isChecked();
        break;
    case Kind::Sort:
        offered = w.cmdSort[0]->isEnabled();
        break;
    case Kind::Separator:
        offered = enabled(w.mnuInsertCall[1]);
        break;
    case Kind::NewGroup:
        // With a hundred groups the program refuses it, with its message.
        offered = enabled(w.mnuGroupNew);
        break;
    case Kind::RenameGroup:
        offered = enabled(w.mnuGroupRename);
        break;
    case Kind::DeleteGroup:
        offered = enabled(w.mnuGroupDelete);
        if (offered && !maskText().isEmpty())
            step.gone << maskText();
        break;
    case Kind::ClearTrash:
        offered = enabled(w.mnuClearTrash);
        if (offered)
            step.gone = trashTexts();
        break;
    case Kind::SetMemory:
        offered = enabled(w.mnuSetMemo[0]);
        break;
    case Kind::GoToMemory:
        offered = enabled(w.mnuGoToMemo[0]);
        break;
    case Kind::SetPhrase:
        offered = onEntry && !state.FileMissing && !entryText().isEmpty();
        break;
    case Kind::Buttons:
        offered = enabled(w.mnuSettings[2]);
        break;
    case Kind::ExportList:
        offered = enabled(w.mnuEditorCall[1]);
        break;
    default:
        break;
    }
    if (!offered) {
        kind_ = random_.bounded(2) ? Kind::SelectGroup : Kind::SelectEntry;
        step = Step{
            kind_ == Kind::SelectGroup ? u"select a group"_s : u"select an entry"_s, {}, {}, {}};
    }
    if (kind_ == Kind::NewEntry || kind_ == Kind::EditEntry || kind_ == Kind::EditMask)
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
    auto *poll = new QTimer(&window_);
    poll->setObjectName(u"soakAnswer"_s);
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll, keys] {
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
        type(keys);
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
    const MainWidgets &w = window_.widgets();
    TitleListView *groups = w.lstGroup;
    TitleListView *entries = w.lstEntry;
    auto *dragDrop = window_.findChild<DragDrop *>(u"dragDrop"_s);
    const int n = argument_;
    const auto lineCentre = [](TitleListView *list, int row) {
        return list->lineRect(row).center();
    };
    QString typed;
    switch (kind_) {
    case Kind::SelectGroup:
        groups->setCurrentRow(n % std::max(1, groups->count()));
        break;
    case Kind::SelectEntry:
        entries->setCurrentRow(n % std::max(1, entries->count()));
        break;
    case Kind::NewEntry:
        entries->setFocus();
        type(u"{INSERT}"_s);
        if (!waitUntilIdle(5000) || !window_.mainState().TextEditMode)
            break;
        typed = step.typed;
        answerNextDialog(u"{ENTER}"_s);
        type(typed + u"{F2}"_s);
        break;
    case Kind::EditEntry:
        w.txtText[0]->setFocus();
        typed = step.typed;
        type(u"^a"_s + typed + u"{F2}"_s);
        break;
    case Kind::EditMask:
        w.txtMask->setFocus();
        typed = step.typed;
        type(u"^a"_s + typed + u"{F2}"_s);
        break;
    case Kind::Rename:
        entries->setFocus();
        answerNextDialog(token() + u"{ENTER}"_s);
        type(u"{F12}"_s);
        break;
    case Kind::IndentRight:
    case Kind::IndentLeft:
    case Kind::PlaceUp:
    case Kind::PlaceDown: {
        static const QHash<Kind, QString> keys{{Kind::IndentRight, u"+{RIGHT}"_s},
                                               {Kind::IndentLeft, u"+{LEFT}"_s},
                                               {Kind::PlaceUp, u"+{UP}"_s},
                                               {Kind::PlaceDown, u"+{DOWN}"_s}};
        entries->setFocus();
        type(keys.value(kind_));
        break;
    }
    case Kind::Move:
        answerNextDialog(u"{DOWN %1}{ENTER}"_s.arg(1 + n % 4));
        w.mnuEntryChange->trigger();
        break;
    case Kind::Trash:
        entries->setFocus();
        type(u"{DEL}"_s);
        break;
    case Kind::DropInList:
        dragDrop->lstEntry_OLEDragDrop(lineCentre(entries, n % entries->count()));
        break;
    case Kind::DropOnGroup:
        dragDrop->lstGroup_OLEDragDrop(lineCentre(groups, n % groups->count()));
        break;
    case Kind::DropOnTrash:
        dragDrop->dropOnTrashButton();
        break;
    case Kind::Sort:
        w.cmdSort[0]->click();
        break;
    case Kind::Separator:
        entries->setFocus();
        type(u"{F11}"_s);
        break;
    case Kind::NewGroup:
        answerNextDialog(token() + u"{ENTER}"_s);
        w.mnuGroupNew->trigger();
        break;
    case Kind::RenameGroup:
        answerNextDialog(token() + u"{ENTER}"_s);
        w.mnuGroupRename->trigger();
        break;
    case Kind::DeleteGroup:
        w.mnuGroupDelete->trigger();
        break;
    case Kind::ClearTrash:
        w.mnuClearTrash->trigger();
        break;
    case Kind::SetMemory:
        entries->setFocus();
        type(u"+{F5}"_s);
        break;
    case Kind::GoToMemory:
        entries->setFocus();
        type(u"{F5}"_s);
        break;
    case Kind::SetPhrase:
        w.txtText[0]->setFocus();
        type(u"^{HOME}+{RIGHT %1}+{F%2}"_s.arg(1 + n % 6).arg(5 + n % 4));
        break;
    case Kind::Buttons: {
        // frmIndiv's rows are lists; its OK button is pressed as a click would.
        auto *poll = new QTimer(&window_);
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, poll, [poll] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            poll->stop();
            poll->deleteLater();
            if (auto *ok = dialog->findChild<QPushButton *>(u"cmdMain0"_s))
                ok->click();
        });
        poll->start();
        w.mnuSettings[2]->trigger();
        break;
    }
    case Kind::ExportList:
        w.mnuEditorCall[1]->trigger();
        break;
    }
    const bool idle = waitUntilIdle(10000);
    // Answers for dialogs that never opened go with the command.
    for (QTimer *left : window_.findChildren<QTimer *>(u"soakAnswer"_s))
        left->deleteLater();
    const MainState &state = window_.mainState();
    if (!idle || state.TextEditMode || state.MaskEditMode) {
        *why = !idle ? u"a dialog or keys were still waiting"_s : u"an edit did not end"_s;
        return false;
    }
    if (typed.isEmpty())
        return true;
    // What the command shows once it has saved is what it saved.
    const QString shown = kind_ == Kind::EditMask ? maskText() : entryText();
    if (shown != typed) {
        *why = u"the text shown after the save is not the text typed"_s;
        return false;
    }
    step.added << typed;
    return true;
}
