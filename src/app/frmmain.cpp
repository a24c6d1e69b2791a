#include "app/frmmain.h"

#include "app/outsidechanges_w.h"
#include "editing/editmodes_w.h"
#include "editing/newentry_w.h"
#include "editing/textkeys_w.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist_w.h"
#include "notebook/notebookview_w.h"
#include "notebook/organizing_w.h"
#include "platform/keyinjector_w.h"
#include "platform/messages.h"
#include "search/frmsearch.h"
#include "search/searchcommand_w.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/notetable.h"
#include "store/store.h"
#include "transfer/transfercommands_w.h"
#include "ui/accessiblenames_w.h"
#include "ui/buttonaction_w.h"
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

FrmMain::FrmMain(MainContext context) : ctx_(std::move(context))
{
    setObjectName(u"frmMain"_s);
    w_ = buildMainWidgets(*this);
    subsystems_ = new QObject(this);
    subsystems_->setObjectName(u"subsystems"_s);
    layout_ = new WindowLayout(w_);
    resize(twipsToPixels(6000, logicalDpiX()), twipsToPixels(4400, logicalDpiY()));
    commands_ = std::make_unique<CommandRefresh>(CommandRefresh::Controls{.lock = w_.chckEdit,
                                                                          .entryList = w_.lstEntry,
                                                                          .groupList = w_.lstGroup,
                                                                          .window = w_.frmMain},
                                                 main_, ctx_.state, ctx_.table);
    commands_->memoriesRepaired = [this] { showMemoryCaptions(); };
    ctx_.RefreshCommands = [this] { commands_->RefreshCommands(); };
    buildViewingEditing();
    connectCommands();
    InstallAccessibility(*this, ctx_.words);
}

// The subsystems filter the widgets' events and refer to this window's members.
// As the window's children they would go last: Qt deletes children in the
// order they were made, so the widgets would go first and the filters, still
// installed on the widgets left, would then run on destroyed ones. So the
// subsystems go before anything else, here.
FrmMain::~FrmMain()
{
    delete subsystems_;
    delete layout_;
}

// The key handlers, the lists and their loads, the edit modes with their keys, and New.
void FrmMain::buildViewingEditing()
{
    keys_ = new KeyHandlers({.entryList = w_.lstEntry,
                             .groupList = w_.lstGroup,
                             .text = {w_.txtText[0], w_.txtText[1]},
                             .mask = w_.txtMask},
                            subsystems_);
    keyInjector_ = new KeyInjector(
        ctx_.messages, [this] { return ctx_.words(Word::Caution); }, subsystems_);
    entryList_ = new EntryList(
        {.views = views(),
         .date = w_.lblDate,
         .mask = w_.txtMask,
         .lock = w_.chckEdit,
         .groupMenu = {w_.mnuGroup, {w_.mnuGroupNew, w_.mnuClearTrash, w_.mnuViewMask}},
         .entryMenu = {w_.mnuEntry,
                       {w_.mnuEntryCall[0], w_.mnuSortAll, w_.mnuSearch, w_.mnuEditorCall[1]}}},
        main_, ctx_, groups_, subsystems_);
    editModes_ = new EditModes(
        {.views = views(),
         .mask = w_.txtMask,
         .date = w_.lblDate,
         .lock = w_.chckEdit,
         .editFrame = w_.fraEdit,
         .modeLabel = w_.lblMode,
         .ok = w_.cmdEdit[0],
         .cancel = w_.cmdEdit[1],
         .save = w_.cmdEdit[2],
         .normalFrames = {w_.fraMain.begin(), w_.fraMain.end()},
         .menusGreyed = {w_.mnuFile, w_.mnuGroup, w_.mnuEntry, w_.mnuGo_Move, w_.mnuOptions,
                         w_.mnuInfo},
         .buttonsGreyed = {w_.cmdCRSR[0], w_.cmdCRSR[1], w_.cmdCRSR[2], w_.cmdCRSR[3],
                           w_.cmdCRSR[4], w_.cmdH[0], w_.cmdH[1], w_.cmdH[2], w_.cmdH[3]},
         .phrases = w_.mnuPhrases},
        main_, ctx_, *entryList_, *keys_, subsystems_);
    editModes_->setTypeKeys([this](const QString &keys, std::chrono::milliseconds delay) {
        keyInjector_->send(keys, delay);
    });
    newEntry_ = new NewEntry({.button = buttonAction(w_.cmdEntry[0]),
                              .item = w_.mnuEntryCall[0],
                              .entryList = w_.lstEntry,
                              .date = w_.lblDate,
                              .text = {w_.txtText[0], w_.txtText[1]}},
                             main_, ctx_, *entryList_, *editModes_, *keys_, subsystems_);
    new TextKeys({.text = w_.txtText, .mask = w_.txtMask}, main_, *editModes_, ctx_.messages,
                 ctx_.words, *keys_, subsystems_);
}

MainViews FrmMain::views() const
{
    return {.window = w_.frmMain,
            .groupList = w_.lstGroup,
            .entryList = w_.lstEntry,
            .text = {w_.txtText[0], w_.txtText[1]}};
}

void FrmMain::connectCommands()
{
    connect(w_.timPreset, &QTimer::timeout, this, &FrmMain::timPreset_Timer);
    connect(w_.timExit, &QTimer::timeout, this, &FrmMain::timExit_Timer);
    connect(w_.mnuExit, &QAction::triggered, this, &FrmMain::exitProgram);
    connect(w_.lstGroup, &TitleListView::currentRowChanged, entryList_,
            &EntryList::showSelectedGroup);

    connect(w_.chckEdit, &QCheckBox::toggled, this, &FrmMain::toggleLock);
    connect(w_.mnuEditPermission, &QAction::triggered, this,
            [this](bool checked) { w_.chckEdit->setChecked(checked); });
    connect(w_.mnuWordwrap, &QAction::triggered, this, &FrmMain::setWordwrap);
    connect(w_.mnuViewMask, &QAction::triggered, layout_, &WindowLayout::toggleMask);

    const NotebookControls notebookControls{
        .window = w_.frmMain,
        .groupList = w_.lstGroup,
        .entryList = w_.lstEntry,
        .lock = w_.chckEdit,
        .trashButton = w_.cmdEntry[1],
        .indentButtons = {w_.cmdH[0], w_.cmdH[1]},
        .actions = commandActions(w_),
    };
    const Organizing organizing =
        installOrganizing(notebookControls, main_, ctx_, groups_, *entryList_, *keys_, subsystems_);
    entryCommands_ = &organizing.entryCommands;
    installSearch({.open = w_.mnuSearch, .views = views()}, main_, ctx_, groups_, *entryList_,
                  subsystems_);
    installTransfer(organizing.view, w_.mnuFile, w_.mnuHide, subsystems_);
    installKeyboard();
    installShell();
    installSettings();
    installStoreLock();
    auto *outside = new OutsideChanges(views(), main_, ctx_, groups_, *entryList_, subsystems_);
    connect(this, &FrmMain::startupWorkDone, outside, &OutsideChanges::startWatching);
}

bool FrmMain::Form_Load()
{
    TrayAdd();
    const QString &version = ctx_.state.ProgramVersion;
    setWindowTitle(u"Plimsa v"_s + version.left(version.size() - 3));
    w_.fraEdit->hide();
    w_.mnuPhrases->menuAction()->setVisible(false);

    if (const auto error = ctx_.store.LoadPreferences()) {
        ctx_.reports.ShowErrorCancel(*error);
        return false;
    }
    if (!LoadIndex())
        return false;
    GroupList::orderRows(ctx_.table);
    fillGroupList(*w_.lstGroup, groups_, ctx_.table, ctx_.state.hideYGroups());
    SetCaptions(w_, ctx_.words);
    SetAccessibleNames(*this, ctx_.words);
    showMemoryCaptions();
    takeStoreMarker();
    return true;
}

bool FrmMain::LoadIndex()
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

void FrmMain::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (!paintedOnce_) {
        paintedOnce_ = true;
        w_.timPreset->start();
        // In the wait before the start settings, off the way to the first paint.
        QTimer::singleShot(0, this, [this] { ctx_.store.removeLeftovers(); });
    }
}

void FrmMain::toggleLock()
{
    w_.mnuEditPermission->setChecked(w_.chckEdit->isChecked());
    ctx_.RefreshCommands();
    w_.lstEntry->setFocus();
}

void FrmMain::setWordwrap(bool checked)
{
    const int now = checked ? 1 : 0;
    main_.TextBoxIndex = now;
    QPlainTextEdit *shown = w_.txtText[now];
    QPlainTextEdit *other = w_.txtText[1 - now];
    // The copy is no typing: its change event must start no edit mode.
    {
        const QSignalBlocker quiet(shown);
        shown->setPlainText(boxText(other));
    }
    shown->show();
    other->hide();
    if (main_.TextEditMode)
        shown->setFocus();
    else if (main_.MaskEditMode)
        w_.txtMask->setFocus();
}
