#include "app/frmmain.h"

#include "editing/codepagetextedit_w.h"
#include "editing/editmodes_w.h"
#include "editing/textkeys_w.h"
#include "i18n/captions_w.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist_w.h"
#include "notebook/newentry_w.h"
#include "notebook/organizing_w.h"
#include "platform/keyinjector_w.h"
#include "search/searchcommand_w.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "store/store.h"
#include "ui/layout_w.h"
#include "ui/refreshcommands_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

FrmMain::FrmMain(MainContext context) : ctx_(std::move(context))
{
    setObjectName(u"frmMain"_s);
    w_ = buildMainWidgets(*this);
    layout_ = new WindowLayout(w_);
    resize(twipsToPixels(6000, logicalDpiX()), twipsToPixels(4400, logicalDpiY()));
    buildViewingEditing();
    connectCommands();
}

FrmMain::~FrmMain() = default;

// The lists and their loads, the edit modes with their keys, and New.
void FrmMain::buildViewingEditing()
{
    keyInjector_ = new KeyInjector(ctx_.messages, this);
    entryList_ = new EntryList(w_, main_, ctx_, groups_, this);
    editModes_ = new EditModes(w_, main_, ctx_, *entryList_, this);
    entryList_->setEditModes(editModes_);
    editModes_->setTypeKeys([this](const QString &keys, std::chrono::milliseconds delay) {
        keyInjector_->send(keys, delay);
    });
    newEntry_ = new NewEntry(w_, main_, ctx_, *entryList_, *editModes_, this);
    new TextKeys(w_, main_, *editModes_, ctx_.messages, ctx_.words, this);
    entryList_->addKeys(entryList_->listKeys());
    newEntry_->addKeys(entryList_->listKeys());
}

void FrmMain::connectCommands()
{
    connect(w_.timPreset, &QTimer::timeout, this, &FrmMain::timPreset_Timer);
    connect(w_.timExit, &QTimer::timeout, this, &FrmMain::timExit_Timer);
    connect(w_.mnuExit, &QAction::triggered, this, &FrmMain::mnuExit_Click);
    connect(w_.lstGroup, &QListWidget::currentRowChanged, this, &FrmMain::lstGroup_Click);

    connect(w_.chckEdit, &QCheckBox::toggled, this, &FrmMain::chckEdit_Click);
    connect(w_.mnuEditPermission, &QAction::triggered, this,
            [this](bool checked) { w_.chckEdit->setChecked(checked); });
    connect(w_.mnuWordwrap, &QAction::triggered, this, &FrmMain::mnuWordwrap_Click);
    connect(w_.mnuViewMask, &QAction::triggered, layout_, &WindowLayout::apply);
    for (int i = 0; i < int(w_.mnuSettings.size()); ++i)
        connect(w_.mnuSettings[i], &QAction::triggered, this, [this, i] { mnuSettings_Click(i); });

    connect(w_.mnuHide, &QAction::triggered, this, &FrmMain::hideMainWindow);
    connect(w_.cmdMain, &QPushButton::clicked, this, [this] {
        w_.lstEntry->setFocus();
        hideMainWindow();
    });

    installOrganizing(w_, main_, ctx_, groups_, *entryList_, entryList_->listKeys(), this);
    installSearch(w_, main_, ctx_, groups_, *entryList_, this);
}

bool FrmMain::Form_Load()
{
    TrayAdd();
    const QString &version = ctx_.state.ProgramVersion;
    setWindowTitle(u"Plimsa v"_s + version.left(version.size() - 3));
    w_.fraEdit->hide();
    w_.mnuPhrases->menuAction()->setVisible(false);

    if (!ctx_.store.LoadPreferences())
        return false;
    if (ctx_.store.LoadIndex() == Store::IndexResult::Failed)
        return false;
    GroupList::orderRows(ctx_.table);
    FillGroupList(*w_.lstGroup, groups_, ctx_.table, ctx_.state.hideYGroups());
    SetCaptions(w_, ctx_.words);
    ctx_.store.TakeStoreMarker();
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

void FrmMain::lstGroup_Click()
{
    entryList_->lstGroup_Click();
}

void FrmMain::RefreshCommands()
{
    refreshCommands(w_, main_, ctx_.state, ctx_.table, ctx_.words);
}

void FrmMain::chckEdit_Click()
{
    w_.mnuEditPermission->setChecked(w_.chckEdit->isChecked());
    RefreshCommands();
    w_.lstEntry->setFocus();
}

void FrmMain::mnuWordwrap_Click(bool checked)
{
    const int now = checked ? 1 : 0;
    ctx_.state.TextBoxIndex = now;
    QPlainTextEdit *shown = w_.txtText[now];
    QPlainTextEdit *other = w_.txtText[1 - now];
    // The copy is no typing: its change event must start no edit mode.
    main_.IgnoreTextChange = true;
    shown->setPlainText(boxText(other));
    main_.IgnoreTextChange = false;
    shown->show();
    other->hide();
    if (main_.TextEditMode)
        shown->setFocus();
    else if (main_.MaskEditMode)
        w_.txtMask->setFocus();
}

// The settings dialogs and the sort mode come with the settings subsystem.
void FrmMain::mnuSettings_Click(int index)
{
    Q_UNUSED(index);
}

// The tray icon comes with the tray subsystem; without it the window cannot
// hide into the tray, so it minimizes instead and can always be found again.
void FrmMain::TrayAdd() {}
void FrmMain::TrayRemove() {}

void FrmMain::hideMainWindow()
{
    showMinimized();
}
