#include "settings/settingsmenu_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/desktopservices.h"
#include "platform/messages.h"
#include "settings/globalsettingsdialog_w.h"
#include "settings/languageeditor_w.h"
#include "settings/startsettingsdialog_w.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/layout_w.h"
#include "ui/maincontext.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QCoreApplication>
#include <QMainWindow>
#include <QMenu>

using namespace Qt::StringLiterals;

SettingsMenu::SettingsMenu(const Controls &controls, MainContext &ctx, const WindowLayout &layout,
                           QObject *parent)
    : QObject(parent), controls_(controls), ctx_(ctx), layout_(layout)
{
    setObjectName(u"settingsMenu"_s);
    connect(controls_.items[0], &QAction::triggered, this, &SettingsMenu::globalSettings);
    connect(controls_.items[1], &QAction::triggered, this, &SettingsMenu::startSettings);
    connect(controls_.items[3], &QAction::triggered, this, &SettingsMenu::toggleSortMode);
    connect(controls_.items[4], &QAction::triggered, this, &SettingsMenu::saveWindowPlace);
    connect(controls_.items[5], &QAction::triggered, this, &SettingsMenu::editLanguage);
    // The mark follows the mode, whatever set it.
    connect(controls_.menu, &QMenu::aboutToShow, this,
            [this] { controls_.items[3]->setChecked(ctx_.state.prefs.SortDescending != 0); });
}

void SettingsMenu::startSettings()
{
    StartSettingsDialog::run(ctx_, controls_.groups->titles().shownNames(), controls_.window);
}

void SettingsMenu::editLanguage()
{
    LanguageEditor::run(ctx_, controls_.window);
}

void SettingsMenu::globalSettings()
{
    if (GlobalSettingsDialog::run(ctx_, controls_.window))
        restart();
}

void SettingsMenu::restart()
{
    // An edit open in this copy is saved or dropped first, as at any close;
    // kept, the settings are stored and wait for the next start.
    if (mayEnd && !mayEnd())
        return;
    const Words &words = ctx_.words;
    ctx_.messages.message(Messages::Icon::Information, words(Word::Message),
                          words(Word::WillRestart) + u"\n\n"_s +
                              words(Word::AfterRestartClickButton));
    // The new copy takes the store as it starts: this one lets go first, so
    // that the new one never finds it in use because of this one.
    ctx_.store.releaseStoreMarker();
    if (ctx_.desktop.startAgain()) {
        if (endThisCopy)
            endThisCopy();
        return;
    }
    ctx_.reports.ShowErrorContinue(IoError::custom(u"The program could not be started again"_s)
                                       .at(QCoreApplication::applicationFilePath()));
    if (keepRunning)
        keepRunning();
}

void SettingsMenu::toggleSortMode()
{
    int &mode = ctx_.state.prefs.SortDescending;
    mode = mode != 0 ? 0 : 1;
    controls_.items[3]->setChecked(mode != 0);
}

void SettingsMenu::saveWindowPlace()
{
    const QMainWindow *window = controls_.window;
    // The outer rectangle, frame included, as the start places it again.
    const QRect outer = window->frameGeometry();
    const qreal dpiX = window->logicalDpiX();
    const qreal dpiY = window->logicalDpiY();
    Preferences &prefs = ctx_.state.prefs;
    prefs.WindowTop = pixelsToTwips(outer.y(), dpiY);
    prefs.WindowLeft = pixelsToTwips(outer.x(), dpiX);
    prefs.WindowHeight = pixelsToTwips(outer.height(), dpiY);
    prefs.WindowWidth = pixelsToTwips(outer.width(), dpiX);
    prefs.FrameTop = layout_.frameTop();
    prefs.FrameLeft1 = layout_.frameLeft1();
    prefs.FrameLeft2 = layout_.frameLeft2();
    // One report: "saved" only of a pref.dat on disk for good, not after a
    // failed write or beside the warning of an unsynced folder.
    const FileResult written = ctx_.store.Save_pref();
    if (reportWrite(ctx_.reports, written) && !written.unsynced)
        ctx_.messages.message(Messages::Icon::None, ctx_.words(Word::Message),
                              ctx_.words(Word::WindowPlaceSaved));
}
