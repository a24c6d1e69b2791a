#include "app/mainwindow_w.h"

#include "app/outsidechanges_w.h"
#include "app/recoveryoffer_w.h"
#include "editing/editmodes_w.h"
#include "editing/newentry_w.h"
#include "editing/recoverycopy_w.h"
#include "editing/textkeys_w.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist_w.h"
#include "notebook/notebookview_w.h"
#include "notebook/organizing_w.h"
#include "platform/keyinjector_w.h"
#include "platform/messages.h"
#include "search/searchcommand_w.h"
#include "search/searchdialog_w.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/notetable.h"
#include "store/store.h"
#include "transfer/transfercommands_w.h"
#include "ui/accessiblenames_w.h"
#include "ui/captions_w.h"
#include "ui/codepagetextedit_w.h"
#include "ui/commandactions_w.h"
#include "ui/keyhandlers_w.h"
#include "ui/layout_w.h"
#include "ui/mainviews_w.h"
#include "ui/refreshcommands_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

using namespace Qt::StringLiterals;

MainWindow::MainWindow(MainContext context) : ctx_(std::move(context))
{
    setObjectName(u"frmMain"_s);
    w_ = buildMainWidgets(*this);
    subsystems_ = new QObject(this);
    subsystems_->setObjectName(u"subsystems"_s);
    layout_ = new WindowLayout(w_);
    resize(twipsToPixels(6000, logicalDpiX()), twipsToPixels(4400, logicalDpiY()));
    buildViewingEditing();
    // Made once the lists have their models, which it follows.
    commands_ = new CommandRefresh(
        {.lock = w_.lockAction, .entryList = w_.entryList, .groupList = w_.groupList},
        commandControls(w_), main_, ctx_.state, ctx_.table, subsystems_);
    connect(commands_, &CommandRefresh::memoriesRepaired, this, &MainWindow::showMemoryCaptions);
    connect(entryList_, &EntryList::entryShown, commands_, &CommandRefresh::refresh);
    connectCommands();
    InstallAccessibility(*this, ctx_.words);
}

// The subsystems filter the widgets' events and refer to this window's members.
// As the window's children they would go last: Qt deletes children in the
// order they were made, so the widgets would go first and the filters, still
// installed on the widgets left, would then run on destroyed ones. So the
// subsystems go before anything else, here.
MainWindow::~MainWindow()
{
    delete subsystems_;
    delete layout_;
}

// The key handlers, the lists and their loads, the edit modes with their keys, and New.
void MainWindow::buildViewingEditing()
{
    keys_ = new KeyHandlers({.entryList = w_.entryList,
                             .groupList = w_.groupList,
                             .text = w_.entryText,
                             .mask = w_.maskText},
                            subsystems_);
    keyInjector_ = new KeyInjector(
        ctx_.messages, [this] { return ctx_.words(Word::Caution); }, subsystems_);
    entryList_ = new EntryList(
        {.views = views(),
         .date = w_.dateLabel,
         .mask = w_.maskText,
         .lock = w_.lockAction,
         .groupMenu = {w_.groupMenu, {w_.newGroupItem, w_.clearTrashItem, w_.viewMaskItem}},
         .entryMenu = {w_.entryMenu,
                       {w_.newTrashItems[0], w_.sortItem, w_.searchItem, w_.editorItems[1],
                        w_.undoItem, w_.redoItem}},
         .undo = w_.undoItem,
         .redo = w_.redoItem},
        main_, ctx_, groups_, subsystems_);
    editModes_ = new EditModes({.views = views(),
                                .mask = w_.maskText,
                                .date = w_.dateLabel,
                                .lock = w_.lockAction,
                                .editFrame = w_.editPanel,
                                .modeLabel = w_.modeLabel,
                                .ok = w_.editButtons[0],
                                .cancel = w_.editButtons[1],
                                .save = w_.editButtons[2],
                                .normalFrames = {w_.normalPanels.begin(), w_.normalPanels.end()},
                                .phrases = w_.phrasesMenu},
                               main_, ctx_, *entryList_, *keys_, subsystems_);
    newEntry_ = new NewEntry({.action = w_.newTrashItems[0],
                              .entryList = w_.entryList,
                              .date = w_.dateLabel,
                              .text = w_.entryText},
                             main_, ctx_, *entryList_, *editModes_, *keys_, subsystems_);
    new TextKeys({.text = w_.entryText, .mask = w_.maskText}, main_, *editModes_, ctx_.messages,
                 ctx_.words, *keys_, subsystems_);
    recovery_ =
        new RecoveryRecorder({.text = w_.entryText, .mask = w_.maskText, .date = w_.dateLabel},
                             main_, ctx_, *entryList_, *editModes_, subsystems_);
    recoveryOffer_ = new RecoveryOffer({.views = views(),
                                        .mask = w_.maskText,
                                        .date = w_.dateLabel,
                                        .lock = w_.lockAction,
                                        .viewMask = w_.viewMaskItem},
                                       main_, ctx_, groups_, *entryList_, subsystems_);
}

MainViews MainWindow::views() const
{
    return {.window = w_.window,
            .groupList = w_.groupList,
            .entryList = w_.entryList,
            .text = w_.entryText};
}

void MainWindow::connectCommands()
{
    connect(w_.startSettingsTimer, &QTimer::timeout, this, &MainWindow::applyStartSettings);
    connect(w_.exitTimer, &QTimer::timeout, this, &MainWindow::finishExit);
    connect(w_.exitItem, &QAction::triggered, this, &MainWindow::exitProgram);
    connect(w_.groupList, &TitleListView::currentRowChanged, entryList_,
            &EntryList::showSelectedGroup);

    // The command states follow the lock by themselves.
    connect(w_.lockAction, &QAction::toggled, w_.entryList, [this] { w_.entryList->setFocus(); });
    connect(w_.wordWrapItem, &QAction::triggered, this, &MainWindow::setWordwrap);
    connect(w_.viewMaskItem, &QAction::triggered, layout_, &WindowLayout::toggleMask);

    const NotebookControls notebookControls{
        .window = w_.window,
        .groupList = w_.groupList,
        .entryList = w_.entryList,
        .lock = w_.lockAction,
        .trashButton = w_.entryButtons[1],
        .indentButtons = {w_.orderButtons[0], w_.orderButtons[1]},
        .actions = commandActions(w_),
    };
    const Organizing organizing =
        installOrganizing(notebookControls, main_, ctx_, groups_, *entryList_, *keys_, subsystems_);
    entryCommands_ = &organizing.entryCommands;
    installSearch({.open = w_.searchItem, .views = views()}, main_, ctx_, groups_, *entryList_,
                  subsystems_);
    installTransfer(organizing.view, w_.fileMenu, w_.hideItem, subsystems_);
    installKeyboard();
    installShell();
    installSettings();
    installStoreLock();
    auto *outside = new OutsideChanges(views(), main_, ctx_, groups_, *entryList_, subsystems_);
    connect(this, &MainWindow::startupWorkDone, outside, &OutsideChanges::startWatching);
}

bool MainWindow::load()
{
    TrayAdd();
    const QString &version = ctx_.state.ProgramVersion;
    setWindowTitle(u"Plimsa v"_s + version.left(version.size() - 3));
    w_.editPanel->hide();
    w_.phrasesMenu->menuAction()->setVisible(false);

    if (const auto error = ctx_.store.LoadPreferences()) {
        ctx_.reports.ShowErrorCancel(*error);
        return false;
    }
    if (!LoadIndex())
        return false;
    GroupList::orderRows(ctx_.table);
    fillGroupList(*w_.groupList, groups_, ctx_.table, ctx_.state.hideYGroups());
    SetCaptions(w_, ctx_.words);
    SetAccessibleNames(*this, ctx_.words);
    showMemoryCaptions();
    takeStoreMarker();
    return true;
}

bool MainWindow::LoadIndex()
{
    const auto failed = ctx_.store.LoadIndex();
    if (!failed)
        return true;
    switch (ctx_.store.indexFailure(*failed)) {
    case Store::IndexFailure::NotFound:
        ctx_.messages.message(Messages::Icon::Critical, ctx_.words(Word::Caution),
                              ctx_.words(Word::IdxNotFound));
        break;
    case Store::IndexFailure::NotReadable:
        ctx_.reports.ShowErrorContinue(*failed);
        break;
    case Store::IndexFailure::Final:
        ctx_.reports.ShowErrorCancel(*failed);
        return false;
    }
    if (const auto error = ctx_.store.LoadIndexFallback()) {
        ctx_.reports.ShowErrorCancel(*error);
        return false;
    }
    return true;
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (!paintedOnce_) {
        paintedOnce_ = true;
        w_.startSettingsTimer->start();
        // In the wait before the start settings, off the way to the first paint.
        QTimer::singleShot(0, this, [this] { ctx_.store.removeLeftovers(); });
    }
}

void MainWindow::setWordwrap(bool checked)
{
    // The text, the caret and an open edit stay as they are.
    w_.entryText->setLineWrapMode(checked ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    if (main_.edit.textEdit())
        w_.entryText->setFocus();
    else if (main_.edit.maskEdit())
        w_.maskText->setFocus();
}
