#include "ui/mainwidgets_w.h"

#include "ui/buttonaction_w.h"
#include "ui/codepagetextedit_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

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

QLabel *splitterBar(QWidget *parent, const QString &name, Qt::CursorShape cursor)
{
    auto *bar = named<QLabel>(parent, name);
    bar->setCursor(cursor);
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
    using Closing = TitleListModel::ClosingLine;
    w.lstGroup = new TitleListView(new TitleListModel(Closing::None), client);
    w.lstGroup->setObjectName(u"lstGroup"_s);
    w.lstEntry = new TitleListView(new TitleListModel(Closing::Blank), client);
    w.lstEntry->setObjectName(u"lstEntry"_s);

    w.txtMask = named<CodePageTextEdit>(client, u"txtMask"_s);
    for (std::size_t i = 0; i < w.txtText.size(); ++i)
        w.txtText[i] = named<CodePageTextEdit>(client, indexed(u"txtText"_s, i));
    w.txtText[0]->setLineWrapMode(QPlainTextEdit::NoWrap);
    w.txtText[1]->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    w.txtText[1]->hide();
    w.lblDate = named<QLabel>(client, u"lblDate"_s);

    w.lblSizeH = splitterBar(client, u"lblSizeH"_s, Qt::SplitVCursor);
    for (std::size_t i = 0; i < w.lblSizeV.size(); ++i)
        w.lblSizeV[i] = splitterBar(client, indexed(u"lblSizeV"_s, i), Qt::SplitHCursor);
}

void buildSideButtons(QWidget *client, MainWidgets &w)
{
    const QStyle::StandardPixmap crsr[] = {QStyle::SP_ArrowUp, QStyle::SP_ArrowDown,
                                           QStyle::SP_ArrowUp, QStyle::SP_ArrowDown,
                                           QStyle::SP_ToolBarVerticalExtensionButton};
    std::map<QStyle::StandardPixmap, QIcon> icons;
    for (std::size_t i = 0; i < w.cmdCRSR.size(); ++i)
        w.cmdCRSR[i] = pictureButton(client, indexed(u"cmdCRSR"_s, i), crsr[i], icons);

    const QStyle::StandardPixmap h[] = {QStyle::SP_ArrowBack, QStyle::SP_ArrowForward,
                                        QStyle::SP_ArrowUp, QStyle::SP_ArrowDown};
    for (std::size_t i = 0; i < w.cmdH.size(); ++i)
        w.cmdH[i] = pictureButton(client, indexed(u"cmdH"_s, i), h[i], icons);
}

void buildPanels(QWidget *client, MainWidgets &w)
{
    for (std::size_t i = 0; i < w.fraMain.size(); ++i)
        w.fraMain[i] = frame(client, indexed(u"fraMain"_s, i));

    for (std::size_t i = 0; i < w.cmdIndiv.size(); ++i) {
        w.cmdIndiv[i] = named<QPushButton>(w.fraMain[0], indexed(u"cmdIndiv"_s, i));
        w.cmdIndiv[i]->setText(u"&"_s + QString::number(i + 1));
    }
    w.chckEdit = named<QCheckBox>(w.fraMain[0], u"chckEdit"_s);
    for (std::size_t i = 0; i < w.cmdEntry.size(); ++i)
        w.cmdEntry[i] = named<QPushButton>(w.fraMain[1], indexed(u"cmdEntry"_s, i));
    w.cmdSort[0] = named<QPushButton>(w.fraMain[2], u"cmdSort0"_s);
    w.cmdMain = named<QPushButton>(w.fraMain[2], u"cmdMain"_s);

    w.fraEdit = frame(client, u"fraEdit"_s);
    w.lblMode = named<QLabel>(w.fraEdit, u"lblMode"_s);
    for (std::size_t i = 0; i < w.cmdEdit.size(); ++i)
        w.cmdEdit[i] = named<QPushButton>(w.fraEdit, indexed(u"cmdEdit"_s, i));
    w.cmdEdit[0]->setToolTip(u" [F2] or [SH] + [Enter] "_s);
    w.cmdEdit[1]->setToolTip(u" [F4] or [ESC] "_s);
}

} // namespace

MainWidgets buildMainWidgets(QMainWindow &window)
{
    MainWidgets w;
    w.frmMain = &window;
    buildMainMenus(window, w);

    auto *client = new QWidget(&window);
    client->setObjectName(u"client"_s);
    window.setCentralWidget(client);
    buildLists(client, w);
    buildSideButtons(client, w);
    buildPanels(client, w);
    // The buttons whose state the command refresh governs act through actions.
    for (QPushButton *button : w.cmdCRSR)
        bindButtonAction(button);
    for (QPushButton *button : w.cmdH)
        bindButtonAction(button);
    for (QPushButton *button : w.cmdIndiv)
        bindButtonAction(button);
    for (QPushButton *button : w.cmdEntry)
        bindButtonAction(button);
    bindButtonAction(w.cmdSort[0]);

    w.timPreset = timer(&window, u"timPreset"_s, 100);
    w.timExit = timer(&window, u"timExit"_s, 100);
    return w;
}
