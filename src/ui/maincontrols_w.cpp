#include "ui/mainwidgets_w.h"

#include "ui/buttonaction_w.h"
#include "ui/codepagetextedit_w.h"
#include "ui/mainlayout.h"
#include "ui/splitterbar_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"
#include "ui/twipslayout_w.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include <map>

using namespace Qt::StringLiterals;

void buildMainMenus(QMainWindow &window, MainWidgets &w);

namespace {

template <typename T> T *named(QWidget *parent, const QString &name)
{
    auto *widget = new T(parent);
    widget->setObjectName(name);
    return widget;
}

QString indexed(const QString &name, std::size_t i)
{
    return name + QString::number(i);
}

QFrame *frame(QWidget *parent, const QString &name)
{
    auto *f = named<QFrame>(parent, name);
    f->setFrameShape(QFrame::StyledPanel);
    f->setFrameShadow(QFrame::Sunken);
    return f;
}

// The style reads every size of a standard picture each time it is asked (a
// tenth of the start's work for nine buttons), so each is asked for once.
QPushButton *pictureButton(QWidget *parent, const QString &name, QStyle::StandardPixmap pixmap,
                           std::map<QStyle::StandardPixmap, QIcon> &icons)
{
    auto *button = named<QPushButton>(parent, name);
    auto icon = icons.find(pixmap);
    if (icon == icons.end())
        icon = icons.emplace(pixmap, parent->style()->standardIcon(pixmap)).first;
    button->setIcon(icon->second);
    return button;
}

SplitterBar *splitterBar(QWidget *parent, const QString &name, Qt::Orientation moves)
{
    auto *bar = new SplitterBar(moves, parent);
    bar->setObjectName(name);
    return bar;
}

QTimer *timer(QObject *parent, const QString &name, int interval)
{
    auto *t = new QTimer(parent);
    t->setObjectName(name);
    t->setInterval(interval);
    t->setSingleShot(true);
    return t;
}

void buildLists(QWidget *client, MainWidgets &w)
{
    // Their lines come from the model of the notebook (EntryList).
    w.groupList = named<TitleListView>(client, u"lstGroup"_s);
    w.entryList = named<TitleListView>(client, u"lstEntry"_s);

    w.maskText = named<CodePageTextEdit>(client, u"txtMask"_s);
    w.entryText = named<CodePageTextEdit>(client, u"txtText"_s);
    w.entryText->setLineWrapMode(QPlainTextEdit::NoWrap);
    w.dateLabel = named<QLabel>(client, u"lblDate"_s);
}

// Made last, so that Tab reaches them after every other control.
void buildSplitters(QWidget *client, MainWidgets &w)
{
    w.rowSplitter = splitterBar(client, u"lblSizeH"_s, Qt::Vertical);
    for (std::size_t i = 0; i < w.columnSplitters.size(); ++i)
        w.columnSplitters[i] = splitterBar(client, indexed(u"lblSizeV"_s, i), Qt::Horizontal);
}

void buildSideButtons(QWidget *client, MainWidgets &w)
{
    const QStyle::StandardPixmap crsr[] = {QStyle::SP_ArrowUp, QStyle::SP_ArrowDown,
                                           QStyle::SP_ArrowUp, QStyle::SP_ArrowDown,
                                           QStyle::SP_ToolBarVerticalExtensionButton};
    std::map<QStyle::StandardPixmap, QIcon> icons;
    for (std::size_t i = 0; i < w.cursorButtons.size(); ++i)
        w.cursorButtons[i] = pictureButton(client, indexed(u"cmdCRSR"_s, i), crsr[i], icons);

    const QStyle::StandardPixmap h[] = {QStyle::SP_ArrowBack, QStyle::SP_ArrowForward,
                                        QStyle::SP_ArrowUp, QStyle::SP_ArrowDown};
    for (std::size_t i = 0; i < w.orderButtons.size(); ++i)
        w.orderButtons[i] = pictureButton(client, indexed(u"cmdH"_s, i), h[i], icons);
}

// The panels' buttons stand where the design puts them inside their frames.
void buildPanels(QWidget *client, MainWidgets &w)
{
    const PanelLayout &p = panelLayout();
    std::array<TwipsLayout *, 3> normal{};
    for (std::size_t i = 0; i < w.normalPanels.size(); ++i) {
        w.normalPanels[i] = frame(client, indexed(u"fraMain"_s, i));
        normal[i] = new TwipsLayout(w.normalPanels[i]);
    }

    for (std::size_t i = 0; i < w.individualButtons.size(); ++i) {
        w.individualButtons[i] = named<QPushButton>(w.normalPanels[0], indexed(u"cmdIndiv"_s, i));
        w.individualButtons[i]->setText(u"&"_s + QString::number(i + 1));
        normal[0]->addWidget(w.individualButtons[i], p.individualButtons[i]);
    }
    w.lockBox = named<QCheckBox>(w.normalPanels[0], u"chckEdit"_s);
    normal[0]->addWidget(w.lockBox, p.lockBox);
    for (std::size_t i = 0; i < w.entryButtons.size(); ++i) {
        w.entryButtons[i] = named<QPushButton>(w.normalPanels[1], indexed(u"cmdEntry"_s, i));
        normal[1]->addWidget(w.entryButtons[i], p.entryButtons[i]);
    }
    w.sortButton = named<QPushButton>(w.normalPanels[2], u"cmdSort0"_s);
    normal[2]->addWidget(w.sortButton, p.sortButton);
    w.hideButton = named<QPushButton>(w.normalPanels[2], u"cmdMain"_s);
    normal[2]->addWidget(w.hideButton, p.hideButton);

    w.editPanel = frame(client, u"fraEdit"_s);
    auto *edit = new TwipsLayout(w.editPanel);
    w.modeLabel = named<QLabel>(w.editPanel, u"lblMode"_s);
    edit->addWidget(w.modeLabel, p.modeLabel);
    for (std::size_t i = 0; i < w.editButtons.size(); ++i) {
        w.editButtons[i] = named<QPushButton>(w.editPanel, indexed(u"cmdEdit"_s, i));
        edit->addWidget(w.editButtons[i], p.editButtons[i]);
    }
    w.editButtons[0]->setToolTip(u" [F2] or [SH] + [Enter] "_s);
    w.editButtons[1]->setToolTip(u" [F4] or [ESC] "_s);
}

QAction *commandAction(QObject *parent, const QString &name)
{
    auto *action = new QAction(parent);
    action->setObjectName(name);
    return action;
}

// Each command is one action: a button shows its menu item's, or one of its own.
void showCommandActions(QMainWindow &window, MainWidgets &w)
{
    showAction(w.entryButtons[0], w.newTrashItems[0]);
    showAction(w.entryButtons[1], w.newTrashItems[1]);
    showAction(w.sortButton, w.sortItem);
    showAction(w.orderButtons[0], w.indentItems[1]);
    showAction(w.orderButtons[1], w.indentItems[0]);
    showAction(w.orderButtons[2], w.upDownItems[0]);
    showAction(w.orderButtons[3], w.upDownItems[1]);
    const QString cursor[] = {u"previousGroup"_s, u"nextGroup"_s, u"previousEntry"_s,
                              u"nextEntry"_s, u"jump"_s};
    for (std::size_t i = 0; i < w.cursorButtons.size(); ++i) {
        w.cursorActions[i] = commandAction(&window, cursor[i]);
        showAction(w.cursorButtons[i], w.cursorActions[i]);
    }
    for (std::size_t i = 0; i < w.individualButtons.size(); ++i) {
        w.individualActions[i] = commandAction(&window, indexed(u"individualButton"_s, i + 1));
        showAction(w.individualButtons[i], w.individualActions[i]);
    }
    showCheckableAction(w.lockBox, w.lockAction);
}

} // namespace

MainWidgets buildMainWidgets(QMainWindow &window)
{
    MainWidgets w;
    w.window = &window;
    buildMainMenus(window, w);

    auto *client = new QWidget(&window);
    client->setObjectName(u"client"_s);
    window.setCentralWidget(client);
    buildLists(client, w);
    buildSideButtons(client, w);
    buildPanels(client, w);
    buildSplitters(client, w);
    showCommandActions(window, w);

    w.startSettingsTimer = timer(&window, u"timPreset"_s, 100);
    w.exitTimer = timer(&window, u"timExit"_s, 100);
    return w;
}
