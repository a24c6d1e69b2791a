// The start of the real program on a scratch program folder: the window and
// its names, the group list, the start settings, and every way the start fails.

#include "support/runningapp.h"
#include "support/scratchprogram.h"

#include "i18n/wordtable.h"
#include "store/dostext.h"
#include "ui/layout_w.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QStringList listLines(const QListWidget *list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines.append(list->item(i)->text());
    return lines;
}

// A menu's items by name, "-" for a separator.
QStringList menuItems(const QMenu *menu)
{
    QStringList names;
    const QList<QAction *> actions = menu->actions();
    for (const QAction *action : actions) {
        if (action->isSeparator())
            names.append(u"-"_s);
        else if (action->menu())
            names.append(action->menu()->objectName());
        else
            names.append(action->objectName());
    }
    return names;
}

QStringList indexed(const QString &name, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(name + QString::number(i));
    return names;
}

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!qEnvironmentVariableIsEmpty("PLIMSA_DATA")); }

    void shippedFolderStarts()
    {
        ScratchProgram folder;
        QVERIFY(folder.isValid());
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        QCOMPARE(run.window()->windowTitle(), u"Plimsa v1.3"_s);
        QCOMPARE(run.window()->objectName(), u"frmMain"_s);
        QVERIFY(run.messages.shown.isEmpty());
        QVERIFY(!run.exitStatus);
        QCOMPARE(listLines(run.w().lstGroup), (QStringList{u"Notes"_s, u"Trash"_s}));
    }

    void everyControlNamed_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::newRow("lists") << QStringList{
            u"lstGroup"_s, u"lstEntry"_s, u"txtMask"_s,  u"txtText0"_s,  u"txtText1"_s,
            u"lblDate"_s,  u"lblMode"_s,  u"lblSizeH"_s, u"lblSizeV0"_s, u"lblSizeV1"_s};
        QTest::newRow("panels") << QStringList{u"fraMain0"_s,  u"fraMain1"_s,  u"fraMain2"_s,
                                               u"fraEdit"_s,   u"chckEdit"_s,  u"cmdSort0"_s,
                                               u"cmdEntry0"_s, u"cmdEntry1"_s, u"cmdMain"_s} +
                                       indexed(u"cmdEdit"_s, 3) + indexed(u"cmdIndiv"_s, 4);
        QTest::newRow("side buttons") << indexed(u"cmdH"_s, 4) + indexed(u"cmdCRSR"_s, 5);
        QTest::newRow("timers") << QStringList{u"timPreset"_s, u"timExit"_s};
    }
    void everyControlNamed()
    {
        QFETCH(QStringList, names);
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        for (const QString &name : names)
            QVERIFY2(run.window()->findChild<QObject *>(name), qPrintable(name));
    }

    void menuOrder_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("file") << u"mnuFile"_s
                              << QStringList{u"mnuEditPermission"_s, u"-"_s, u"mnuHide"_s,
                                             u"mnuExit"_s};
        QTest::newRow("group") << u"mnuGroup"_s
                               << QStringList{u"mnuGroupNew"_s,    u"mnuGroupDelete"_s,
                                              u"mnuGroupRename"_s, u"mnuIndent0"_s,
                                              u"mnuIndent1"_s,     u"mnuClearTrash"_s,
                                              u"mnuViewMask"_s};
        QTest::newRow("entry") << u"mnuEntry"_s
                               << QStringList{u"mnuEntryCall0"_s,  u"mnuEntryCall1"_s,
                                              u"mnuEntryRename"_s, u"mnuEntryChange"_s,
                                              u"mnuInsert"_s,      u"mnuSearch"_s,
                                              u"mnuEditor"_s,      u"mnuSortAll"_s,
                                              u"mnuSort0"_s,       u"mnuSort1"_s};
        QTest::newRow("insert") << u"mnuInsert"_s << indexed(u"mnuInsertCall"_s, 5);
        QTest::newRow("editor") << u"mnuEditor"_s << indexed(u"mnuEditorCall"_s, 2);
        QTest::newRow("go/move") << u"mnuGo_Move"_s
                                 << QStringList{u"mnuGoTo"_s, u"mnuMoveTo"_s, u"mnuSetMem"_s,
                                                u"-"_s, u"mnuClearMemos"_s};
        QTest::newRow("go to") << u"mnuGoTo"_s
                               << indexed(u"mnuGoToMemo"_s, 4) +
                                      QStringList{u"-"_s, u"mnuGoToLastMove"_s};
        QTest::newRow("move to") << u"mnuMoveTo"_s << indexed(u"mnuMoveToMemo"_s, 4);
        QTest::newRow("save to") << u"mnuSetMem"_s << indexed(u"mnuSetMemo"_s, 4);
        QTest::newRow("options") << u"mnuOptions"_s << indexed(u"mnuSettings"_s, 6);
        QTest::newRow("wrap") << u"mnuWrap"_s << QStringList{u"mnuWordwrap"_s};
        QTest::newRow("info") << u"mnuInfo"_s << QStringList{u"mnuAbout"_s};
        QTest::newRow("phrases") << u"mnuPhrases"_s
                                 << QStringList{u"mnuCallTxtMem"_s,
                                                u"mnuSetTxtMem"_s,
                                                u"-"_s,
                                                u"mnuHowTo"_s,
                                                u"-"_s,
                                                u"mnuClearTxtMemos"_s,
                                                u"-"_s} +
                                        indexed(u"mnuCallDate"_s, 3);
        QTest::newRow("call phrase") << u"mnuCallTxtMem"_s << indexed(u"mnuCallTxtMemoCall"_s, 4);
        QTest::newRow("set phrase") << u"mnuSetTxtMem"_s << indexed(u"mnuSetTxtMemoSet"_s, 4);
        QTest::newRow("tray") << u"mnuSystray"_s << indexed(u"mnuSystrayCall"_s, 4);
    }
    void menuOrder()
    {
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const QMenu *m = run.find<QMenu>(menu);
        QVERIFY(m);
        QCOMPARE(menuItems(m), items);
    }

    void menuBarAndDesignState()
    {
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QStringList bar;
        for (const QAction *action : run.window()->menuBar()->actions()) {
            QVERIFY(action->menu());
            bar.append(action->menu()->objectName());
        }
        QCOMPARE(bar, (QStringList{u"mnuFile"_s, u"mnuGroup"_s, u"mnuEntry"_s, u"mnuGo_Move"_s,
                                   u"mnuOptions"_s, u"mnuWrap"_s, u"mnuInfo"_s, u"mnuPhrases"_s}));
        QVERIFY(!w.mnuPhrases->menuAction()->isVisible());
        QVERIFY(w.mnuEditPermission->isCheckable());
        QVERIFY(w.mnuViewMask->isCheckable());
        QVERIFY(w.mnuWordwrap->isCheckable());
        QVERIFY(w.mnuSettings[3]->isCheckable());
        QVERIFY(w.fraEdit->isHidden());
        QVERIFY(w.txtText[1]->isHidden());
        QVERIFY(w.txtText[0]->isVisible());
        QCOMPARE(w.txtText[0]->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(w.txtText[1]->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(w.txtMask->isHidden());
        QCOMPARE(w.timPreset->interval(), 100);
        QVERIFY(w.timPreset->isSingleShot());
        QCOMPARE(w.timExit->interval(), 100);
        QCOMPARE(run.app().state().TextBoxIndex, 0);
        QCOMPARE(run.app().state().SearchOptions, (std::array<int, 6>{1, 1, 1, 1, 0, 0}));
    }

    void nothingOverlapsAtShippedSize()
    {
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const QWidget *client = run.window()->centralWidget();
        QCOMPARE(run.window()->frameGeometry().size(), QSize(800, 533));
        QList<const QWidget *> parents{client};
        for (const QFrame *frame : run.w().fraMain)
            parents.append(frame);
        parents.append(run.w().fraEdit);
        for (const QWidget *parent : parents) {
            QList<const QWidget *> shown;
            for (const QObject *child : parent->children()) {
                const auto *widget = qobject_cast<const QWidget *>(child);
                if (widget && !widget->isHidden() && widget->objectName() != u"fraEdit"_s)
                    shown.append(widget);
            }
            for (int i = 0; i < shown.size(); ++i) {
                const QRect r = shown[i]->geometry();
                QVERIFY2(!r.isEmpty(), qPrintable(shown[i]->objectName()));
                QVERIFY2(parent->rect().contains(r), qPrintable(shown[i]->objectName()));
                for (int j = i + 1; j < shown.size(); ++j)
                    QVERIFY2(
                        !r.intersects(shown[j]->geometry()),
                        qPrintable(shown[i]->objectName() + u" / "_s + shown[j]->objectName()));
            }
        }
    }

    void groupList_data()
    {
        QTest::addColumn<QStringList>("index");
        QTest::addColumn<int>("hideYGroups");
        QTest::addColumn<QStringList>("lines");
        const QChar y(0xFF);
        const QStringList mixed{u"b"_s,           u"A"_s,          u"_c"_s,
                                y + u"private"_s, u"Trash"_s,      OutDOS(u"Meeting 12:30"_s),
                                u"a"_s,           OutDOS(u"x/y"_s)};
        QTest::newRow("shown")
            << mixed << 0
            << QStringList{u"_c"_s,    u"A"_s,   u"a"_s,          u"b"_s, u"Meeting 12:30"_s,
                           u"Trash"_s, u"x/y"_s, y + u"private"_s};
        QTest::newRow("hidden") << mixed << 1
                                << QStringList{
                                       u"_c"_s,    u"A"_s,  u"a"_s, u"b"_s, u"Meeting 12:30"_s,
                                       u"Trash"_s, u"x/y"_s};
        QTest::newRow("empty notebook") << QStringList{} << 0 << QStringList{};
        QTest::newRow("only hidden groups")
            << QStringList{y + u"1"_s, y + u"2"_s} << 1 << QStringList{};
    }
    void groupList()
    {
        QFETCH(QStringList, index);
        QFETCH(int, hideYGroups);
        QFETCH(QStringList, lines);
        ScratchProgram folder;
        folder.writeIndex(index);
        folder.setPref(21, u" "_s + QString::number(hideYGroups));
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        QCOMPARE(listLines(run.w().lstGroup), lines);
    }

    // Each group holds one entry named after it, so a line that maps to the
    // wrong slot shows up as the wrong entry.
    void lineMapsToItsGroupsSlot_data()
    {
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<int>("hideYGroups");
        const QChar y(0xFF);
        QTest::newRow("written in another order")
            << QStringList{u"Zeta"_s, u"beta"_s, u"Alpha"_s, u"_under"_s} << 0;
        QTest::newRow("hidden group in the middle")
            << QStringList{u"Zeta"_s, y + u"mid"_s, u"beta"_s, u"Alpha"_s} << 1;
        QTest::newRow("hidden groups shown")
            << QStringList{y + u"mid"_s, u"Zeta"_s, u"Alpha"_s} << 0;
        QTest::newRow("substituted character")
            << QStringList{OutDOS(u"b:c"_s), u"b"_s, u"bc"_s} << 0;
    }
    void lineMapsToItsGroupsSlot()
    {
        QFETCH(QStringList, groups);
        QFETCH(int, hideYGroups);
        QStringList index;
        for (const QString &group : groups)
            index << group << u"\\entry of "_s + group;
        ScratchProgram folder;
        folder.writeIndex(index);
        folder.setPref(21, u" "_s + QString::number(hideYGroups));
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const QListWidget *list = run.w().lstGroup;
        const GroupList &map = run.window()->groupList();
        QCOMPARE(map.count(), list->count());
        for (int line = 0; line < list->count(); ++line) {
            const int slot = map.slotOfLine(line);
            QVERIFY(slot >= 0);
            QCOMPARE(InDOS(run.app().table().name(slot)), list->item(line)->text());
            QCOMPARE(run.app().table().cell(slot, 1),
                     u"entry of "_s + run.app().table().name(slot));
            QCOMPARE(map.lineOfSlot(slot), line);
        }
        QCOMPARE(run.app().table().groupCount(), groups.size());
    }

    void startGroup_data()
    {
        QTest::addColumn<QStringList>("index");
        QTest::addColumn<QString>("startGroup");
        QTest::addColumn<int>("line");
        const QStringList groups{u"Notes"_s, u"Trash"_s, u"Work"_s};
        QTest::newRow("exact match") << groups << u"Work"_s << 2;
        QTest::newRow("case differs") << groups << u"work"_s << 0;
        QTest::newRow("no such group") << groups << u"Home"_s << 0;
        QTest::newRow("empty") << groups << QString() << 0;
        QTest::newRow("always first") << groups << u"Always First"_s << 0;
        QTest::newRow("shown name of a stored one")
            << QStringList{u"A"_s, OutDOS(u"Q&A?"_s)} << u"Q&A?"_s << 1;
        QTest::newRow("empty notebook") << QStringList{} << u"Work"_s << -1;
    }
    void startGroup()
    {
        QFETCH(QStringList, index);
        QFETCH(QString, startGroup);
        QFETCH(int, line);
        ScratchProgram folder;
        folder.writeIndex(index);
        folder.setPref(5, startGroup);
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        QCOMPARE(run.w().lstGroup->currentRow(), line);
        QCOMPARE(run.w().lstGroup->selectedItems().size(), line < 0 ? 0 : 1);
    }

    void startSettings()
    {
        ScratchProgram folder;
        folder.setPref(4, u" 1"_s); // StartLocked
        folder.setPref(7, u"DejaVu Serif"_s);
        folder.setPref(8, u" 14"_s);
        folder.setPref(9, u" 1"_s);  // bold
        folder.setPref(16, u" 1"_s); // StartViewMask
        folder.setPref(20, u" 1"_s); // white group list
        folder.setPref(43, u" 1"_s); // word wrap
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QVERIFY(w.chckEdit->isChecked());
        QVERIFY(w.chckEdit->isEnabled());
        QVERIFY(w.mnuEditPermission->isChecked());
        QVERIFY(w.mnuEditPermission->isEnabled());
        QVERIFY(!w.mnuGroup->menuAction()->isEnabled());

        QVERIFY(w.mnuWordwrap->isChecked());
        QCOMPARE(run.app().state().TextBoxIndex, 1);
        QVERIFY(w.txtText[1]->isVisible());
        QVERIFY(w.txtText[0]->isHidden());

        QVERIFY(w.mnuViewMask->isChecked());
        QVERIFY(w.txtMask->isVisible());
        QVERIFY(w.lblSizeV[1]->isVisible());

        for (const QWidget *widget :
             {static_cast<const QWidget *>(w.lstGroup), static_cast<const QWidget *>(w.lstEntry),
              static_cast<const QWidget *>(w.txtMask), static_cast<const QWidget *>(w.txtText[0]),
              static_cast<const QWidget *>(w.txtText[1])}) {
            QCOMPARE(widget->font().family(), u"DejaVu Serif"_s);
            QCOMPARE(widget->font().pointSize(), 14);
            QVERIFY(widget->font().bold());
        }
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base),
                 w.lstEntry->palette().color(QPalette::Base));

        // The menu item mirrors the check box both ways.
        w.mnuEditPermission->trigger();
        QVERIFY(!w.chckEdit->isChecked());
        QVERIFY(w.mnuGroup->menuAction()->isEnabled());
        w.chckEdit->click();
        QVERIFY(w.mnuEditPermission->isChecked());
    }

    void shippedStartSettings()
    {
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QVERIFY(!w.chckEdit->isChecked());
        QVERIFY(!w.mnuEditPermission->isChecked());
        QVERIFY(!w.mnuWordwrap->isChecked());
        QVERIFY(!w.mnuViewMask->isChecked());
        QVERIFY(w.txtMask->isHidden());
        QVERIFY(w.lblSizeV[1]->isHidden());
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base), QColor(224, 224, 224));
        QCOMPARE(w.lstGroup->font().family(), u"DejaVu Sans"_s);
        QCOMPARE(w.lstGroup->font().pointSize(), 10);
        QVERIFY(!w.lstGroup->font().bold());
        // pref.dat keeps FrameTop 2740; it is read 100 smaller.
        QCOMPARE(run.window()->windowLayout().frameTop, 2640);
        QCOMPARE(run.window()->windowLayout().frameLeft1, 2975);
        QCOMPARE(run.window()->windowLayout().frameLeft2, 5400);
        QCOMPARE(run.window()->windowState(), Qt::WindowNoState);
    }

    void windowState_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::newRow("normal") << 0 << Qt::WindowNoState;
        QTest::newRow("minimized") << 1 << Qt::WindowMinimized;
        QTest::newRow("maximized") << 2 << Qt::WindowMaximized;
        // Without a tray to hide in, hidden minimizes so the window can be found.
        QTest::newRow("hidden") << 3 << Qt::WindowMinimized;
        QTest::newRow("unknown") << 7 << Qt::WindowNoState;
    }
    void windowState()
    {
        QFETCH(int, stored);
        QFETCH(Qt::WindowState, state);
        ScratchProgram folder;
        folder.setPref(3, u" "_s + QString::number(stored));
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        QCOMPARE(run.window()->windowState(), state);
    }

    void englishCaptions()
    {
        ScratchProgram folder;
        folder.setPref(23, u"Work/Shopping"_s);
        folder.setPref(24, QString(60, u'x'));
        folder.setPref(25, u"R&D/"_s);
        folder.setPref(27, u"Dear Sir or Madam,"_s);
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(w.mnuFile->title(), u"&File"_s);
        QCOMPARE(w.mnuSettings[0]->text(), u"&Global Settings (&& set language)"_s);
        QCOMPARE(w.mnuInsertCall[1]->text(), u"&- - - - - - -  [F11]"_s);
        QCOMPARE(w.mnuInsertCall[2]->text(), u"&======="_s);
        QCOMPARE(w.mnuSystrayCall[2]->text(), u"Hide in Systray"_s);
        QCOMPARE(w.mnuSystrayCall[3]->text(), u"Exit"_s);
        QCOMPARE(w.cmdH[0]->toolTip(), u" Indent Left           [SH] + [CRSR-left] "_s);
        QCOMPARE(w.cmdH[1]->toolTip(), u" Indent Right         [SH] + [CRSR-right] "_s);
        QCOMPARE(w.cmdIndiv[0]->toolTip(), u" Individual Button 1 "_s);
        QCOMPARE(w.cmdIndiv[3]->text(), u"&4"_s);
        QCOMPARE(w.cmdEdit[0]->toolTip(), u" [F2] or [SH] + [Enter] "_s);
        QCOMPARE(w.cmdEdit[1]->toolTip(), u" [F4] or [ESC] "_s);

        QCOMPARE(w.mnuGoToMemo[0]->text(), u"Memory &1  [F5]  =>  Work/Shopping"_s);
        QCOMPARE(w.mnuMoveToMemo[0]->text(), u"Memory &1  [CTRL] + [F5]  =>  Work"_s);
        QCOMPARE(w.mnuSetMemo[0]->text(), u"Memory &1  [SH] + [F5]  =>  Work/Shopping"_s);
        QCOMPARE(w.mnuGoToMemo[1]->text(),
                 u"Memory &2  [F6]  =>  "_s + QString(50, u'x') + u"..."_s);
        QCOMPARE(w.mnuMoveToMemo[1]->text(),
                 u"Memory &2  [CTRL] + [F6]  =>  "_s + QString(50, u'x') + u"..."_s);
        QCOMPARE(w.mnuGoToMemo[2]->text(), u"Memory &3  [F7]  =>  R&&D/"_s);
        QCOMPARE(w.mnuGoToMemo[3]->text(), u"Memory &4  [F8]  =>  free/free"_s);
        QCOMPARE(w.mnuCallTxtMemoCall[0]->text(), u"Phrase &1  [F5]  =>  Dear Sir or Mad..."_s);
        QCOMPARE(w.mnuSetTxtMemoSet[0]->text(),
                 u"Phrase &1  [SH] + [F5]  =>  Dear Sir or Mad..."_s);
        QCOMPARE(w.mnuSetTxtMemoSet[3]->text(), u"Phrase &4  [SH] + [F8]  =>  free"_s);
    }

    void translatedCaptions()
    {
        QStringList words;
        for (int k = 0; k < WordTable::kWords; ++k)
            words.append(u"w"_s + QString::number(k));
        words[1] = u"&Datei"_s;
        words[3] = u"&Verstecken"_s;
        words[142] = u"Rechts &weiter && mehr"_s;
        words[146] = u"Knopf"_s;
        words[130] = u"Speicher"_s;
        words[131] = u"STRG"_s;
        for (int k : {4, 29, 33, 40, 132})
            words[k].clear();
        ScratchProgram folder;
        folder.writeLanguage(words);
        folder.setPref(2, u" 1"_s);
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(w.mnuFile->title(), u"&Datei"_s);
        QCOMPARE(w.mnuHide->text(), u"&Verstecken"_s);
        QCOMPARE(w.mnuSystrayCall[2]->text(), u"Verstecken"_s);
        QCOMPARE(w.mnuExit->text(), QString());
        QCOMPARE(w.mnuSystrayCall[3]->text(), QString());
        QCOMPARE(w.cmdSort[0]->text(), QString());
        QCOMPARE(w.chckEdit->text(), QString());
        QCOMPARE(w.chckEdit->toolTip(), QString());
        QCOMPARE(w.mnuGroupNew->text(), u"w6"_s);
        QCOMPARE(w.cmdEntry[0]->text(), u"w6"_s);
        QCOMPARE(w.mnuSettings[5]->text(), u"w24"_s);
        QCOMPARE(w.mnuCallDate[0]->text(), u"w144"_s);
        QCOMPARE(w.cmdH[1]->toolTip(), u" Rechts weiter && mehr "_s);
        QCOMPARE(w.cmdIndiv[2]->toolTip(), u" Knopf 3 "_s);
        // Move To shows only the group part, "free" for an empty memory.
        QCOMPARE(w.mnuMoveToMemo[0]->text(), u"Speicher &1  [STRG] + [F5]  =>  free"_s);
        QCOMPARE(w.mnuCallTxtMemoCall[1]->text(), u" &2  [F6]  =>  free"_s);
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
