// The group and entry lists on the real window: what a selection loads, the
// ways into the text from the lists, the pop-up menus, the edit lock, and the
// entries that start no edit mode.

#include "support/notebookrun.h"

#include "store/dostext.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kDate = u"1/2/03 - 04:05:06"_s;

// Ideas: Alpha, Gone (no file), Beta; Notes: Welcome; an empty group; Trash.
std::unique_ptr<NotebookRun> notebook()
{
    auto nb = std::make_unique<NotebookRun>(QStringList{u"Ideas"_s, u"\\Alpha"_s, u"\\Gone"_s,
                                                        u"\\Beta"_s, u"Notes"_s, u"\\Welcome"_s,
                                                        u"Empty"_s, u"Trash"_s, u"\\Old"_s});
    nb->writeEntry(u"Ideas"_s, u"Alpha"_s, kDate, {u"alpha text"_s});
    nb->writeEntry(u"Ideas"_s, u"Beta"_s, u"beta date"_s, {u"b1"_s, u"b2"_s});
    nb->writeEntry(u"Notes"_s, u"Welcome"_s, kDate, {u"w"_s});
    nb->writeEntry(u"Trash"_s, u"Old"_s, kDate, {u"o"_s});
    nb->writeMask(u"Ideas"_s, {u"ideas mask"_s, u""_s, u"end"_s});
    nb->pref(16, u" 1"_s);
    return nb;
}

// Closes the pop-up menu once it shows, noting which menu it was and which of
// `watched` were visible in it.
struct PopupSeen
{
    QMenu *menu = nullptr;
    QStringList visible;
};
std::shared_ptr<PopupSeen> closePopupWhenShown(QList<QAction *> watched)
{
    auto seen = std::make_shared<PopupSeen>();
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, seen, watched] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        timer->deleteLater();
        seen->menu = menu;
        for (QAction *action : watched) {
            if (action->isVisible())
                seen->visible.append(action->objectName());
        }
        menu->close();
    });
    timer->start();
    QTimer::singleShot(3000, timer, &QObject::deleteLater);
    return seen;
}

} // namespace

class tst_Lists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!qEnvironmentVariableIsEmpty("PLIMSA_DATA")); }

    void selectingLoads()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        QCOMPARE(nb->w().lstGroup->currentItem()->text(), u"Empty"_s);
        QCOMPARE(nb->entryLines(), QStringList{u" "_s});

        nb->clickGroup(u"Ideas"_s);
        QCOMPARE(nb->entryLines(), (QStringList{u"Alpha"_s, u"Gone"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(nb->entryRow(), 0);
        QCOMPARE(nb->w().lblDate->text(), kDate);
        QCOMPARE(nb->text()->toPlainText(), u"alpha text\n"_s);
        QCOMPARE(nb->w().txtMask->toPlainText(), u"ideas mask\n\nend\n"_s);
        QCOMPARE(nb->state().LoadedMask, u"ideas mask\n\nend\n"_s);
        QVERIFY(!nb->state().FileMissing);

        nb->clickEntry(2);
        QCOMPARE(nb->w().lblDate->text(), u"beta date"_s);
        QCOMPARE(nb->text()->toPlainText(), u"b1\nb2\n"_s);

        // A group without a mask file has an empty mask.
        nb->folder.remove(u"FileStore/Notes/_mask.dat"_s);
        nb->clickGroup(u"Notes"_s);
        QCOMPARE(nb->w().txtMask->toPlainText(), QString());
        QCOMPARE(nb->text()->toPlainText(), u"w\n"_s);
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(!nb->state().MaskEditMode);
    }

    void substitutedGroupNameUsesStoredFolder()
    {
        const QString stored = OutDOS(u"a/b: c"_s);
        NotebookRun nb({stored, u"\\"_s + OutDOS(u"x?"_s)});
        nb.writeEntry(stored, OutDOS(u"x?"_s), kDate, {u"inside"_s});
        nb.writeMask(stored, {u"m"_s});
        nb.pref(16, u" 1"_s);
        QVERIFY(nb.start());
        QCOMPARE(nb.w().lstGroup->item(0)->text(), u"a/b: c"_s);
        QCOMPARE(nb.entryLines(), (QStringList{u"x?"_s, u" "_s}));
        QCOMPARE(nb.text()->toPlainText(), u"inside\n"_s);
        QCOMPARE(nb.w().txtMask->toPlainText(), u"m\n"_s);
    }

    void noFileShowsNotPresent_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("row");
        QTest::newRow("missing file") << u"Ideas"_s << 1;
        QTest::newRow("blank line") << u"Ideas"_s << 3;
        QTest::newRow("empty group") << u"Empty"_s << 0;
    }
    void noFileShowsNotPresent()
    {
        QFETCH(QString, group);
        QFETCH(int, row);
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->clickGroup(group);
        nb->clickEntry(row);
        QCOMPARE(nb->w().lblDate->text(), u"File not present!"_s);
        QVERIFY(nb->text()->toPlainText().isEmpty());
        QVERIFY(nb->state().FileMissing);
        QVERIFY(!nb->w().txtText[0]->isEnabled());
        QVERIFY(!nb->w().txtText[1]->isEnabled());

        // No edit mode from the list, by Enter or a double-click, or in the group list.
        const auto files = nb->folder.snapshot();
        nb->key(nb->w().lstEntry, Qt::Key_Return);
        nb->doubleClickEntry(row);
        nb->key(nb->w().lstGroup, Qt::Key_Return);
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(nb->w().fraEdit->isHidden());
        QCOMPARE(nb->folder.snapshot(), files);
        QVERIFY(nb->run->messages.shown.isEmpty());
    }

    void listsLeadIntoTheText_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Enter in the entry list") << 0;
        QTest::newRow("Enter in the group list") << 1;
        QTest::newRow("double-click on an entry") << 2;
    }
    void listsLeadIntoTheText()
    {
        QFETCH(int, way);
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->clickGroup(u"Ideas"_s);
        if (way == 0)
            nb->key(nb->w().lstEntry, Qt::Key_Return);
        else if (way == 1)
            nb->key(nb->w().lstGroup, Qt::Key_Enter);
        else
            nb->doubleClickEntry(0);
        QVERIFY(nb->state().TextEditMode);
        QVERIFY(nb->w().fraEdit->isVisible());
        QCOMPARE(nb->run->window()->focusWidget(), nb->text());
        QCOMPARE(nb->text()->toPlainText(), u"alpha text\n"_s);
        nb->key(nb->text(), Qt::Key_F2);
        QCOMPARE(nb->store(u"Ideas/Alpha.txt"_s), crlfLines({kDate, u"alpha text"_s}));
    }

    void doubleClickOnTextGoesToLineEnd_data()
    {
        QTest::addColumn<bool>("locked");
        QTest::newRow("unlocked") << false;
        QTest::newRow("locked") << true;
    }
    void doubleClickOnTextGoesToLineEnd()
    {
        QFETCH(bool, locked);
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->clickGroup(u"Ideas"_s);
        nb->clickEntry(2);
        if (locked)
            nb->w().chckEdit->click();
        QPlainTextEdit *box = nb->text();
        box->setFocus();
        nb->doubleClickText(box);
        QCOMPARE(nb->state().TextEditMode, !locked);
        QTRY_VERIFY(!box->textCursor().hasSelection());
        QVERIFY(box->textCursor().atBlockEnd());
        QCOMPARE(box->textCursor().blockNumber(), 0);
        QCOMPARE(box->toPlainText(), u"b1\nb2\n"_s);
        QVERIFY(nb->run->messages.shown.isEmpty());
    }

    void lockRefusesEdits()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->clickGroup(u"Ideas"_s);
        const auto files = nb->folder.snapshot();
        nb->w().chckEdit->click();
        QVERIFY(nb->w().mnuEditPermission->isChecked());
        QPlainTextEdit *box = nb->text();

        nb->type(box, u"a"_s);
        QCOMPARE(nb->messageCount(), 1);
        QCOMPARE(nb->run->messages.shown.last().title, u"Caution!"_s);
        QCOMPARE(nb->run->messages.shown.last().icon, Messages::Icon::Information);
        QCOMPARE(nb->lastMessage(), u"Edit Permission locked!"_s);
        nb->key(box, Qt::Key_Delete);
        QCOMPARE(nb->messageCount(), 2);
        QCOMPARE(nb->lastMessage(), u"Edit Permission locked!"_s);
        nb->key(box, Qt::Key_Return);
        nb->key(box, Qt::Key_Backspace);
        QCOMPARE(nb->messageCount(), 4);
        nb->type(nb->w().txtMask, u"m"_s);
        QCOMPARE(nb->messageCount(), 5);
        QCOMPARE(box->toPlainText(), u"alpha text\n"_s);
        QCOMPARE(nb->w().txtMask->toPlainText(), u"ideas mask\n\nend\n"_s);

        // No way into an edit mode or a new entry, no pop-up, no selection by a right click.
        nb->key(nb->w().lstEntry, Qt::Key_Return);
        nb->key(nb->w().lstGroup, Qt::Key_Return);
        nb->doubleClickEntry(0);
        nb->key(nb->w().lstEntry, Qt::Key_Insert);
        nb->rightClick(nb->w().lstEntry, 2);
        QVERIFY(!QApplication::activePopupWidget());
        QCOMPARE(nb->entryRow(), 0);
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(!nb->state().MaskEditMode);
        QCOMPARE(nb->entryLines().size(), 4);
        QCOMPARE(nb->folder.snapshot(), files);
        QCOMPARE(nb->messageCount(), 5);

        // Esc reloads the entry; the menus stay as the lock wants them.
        nb->key(box, Qt::Key_Escape);
        QVERIFY(!nb->w().mnuGroup->menuAction()->isEnabled());
        QVERIFY(!nb->w().mnuEntry->menuAction()->isEnabled());
        QVERIFY(!nb->w().mnuOptions->menuAction()->isEnabled());
        QVERIFY(nb->w().mnuFile->menuAction()->isEnabled());

        // The menu item mirrors the box both ways.
        nb->w().mnuEditPermission->trigger();
        QVERIFY(!nb->w().chckEdit->isChecked());
        nb->type(box, u"a"_s);
        QVERIFY(nb->state().TextEditMode);
        QCOMPARE(nb->messageCount(), 5);
    }

    void popUpMenus()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->clickGroup(u"Ideas"_s);
        const MainWidgets &w = nb->w();

        auto seen = closePopupWhenShown({w.mnuEntryCall[0], w.mnuEntryCall[1], w.mnuSortAll,
                                         w.mnuSearch, w.mnuEditorCall[1], w.mnuEntryRename});
        nb->rightClick(w.lstEntry, 2);
        QTRY_VERIFY(seen->menu);
        QCOMPARE(seen->menu, w.mnuEntry);
        QCOMPARE(seen->visible, (QStringList{u"mnuEntryCall1"_s, u"mnuEntryRename"_s}));
        QCOMPARE(nb->entryRow(), 2);
        QCOMPARE(nb->w().lblDate->text(), u"beta date"_s);
        QVERIFY(w.mnuEntryCall[0]->isVisible());
        QVERIFY(w.mnuEditorCall[1]->isVisible());

        seen =
            closePopupWhenShown({w.mnuGroupNew, w.mnuClearTrash, w.mnuViewMask, w.mnuGroupRename});
        nb->rightClick(w.lstGroup,
                       w.lstGroup->row(w.lstGroup->findItems(u"Notes"_s, Qt::MatchExactly)[0]));
        QTRY_VERIFY(seen->menu);
        QCOMPARE(seen->menu, w.mnuGroup);
        QCOMPARE(seen->visible, QStringList{u"mnuGroupRename"_s});
        QCOMPARE(nb->entryLines(), (QStringList{u"Welcome"_s, u" "_s}));
        QVERIFY(w.mnuGroupNew->isVisible());
        QVERIFY(w.mnuViewMask->isVisible());
    }

    void newEntryRefused_data()
    {
        QTest::addColumn<bool>("trash");
        QTest::newRow("trash group") << true;
        QTest::newRow("full group") << false;
    }
    void newEntryRefused()
    {
        QFETCH(bool, trash);
        QStringList index{u"Big"_s};
        for (int i = 1; i <= 999; ++i)
            index.append(u"\\e%1"_s.arg(i));
        index.append(u"Trash"_s);
        NotebookRun nb(index);
        QVERIFY(nb.start());
        nb.clickGroup(trash ? u"Trash"_s : u"Big"_s);
        const auto files = nb.folder.snapshot();
        const int lines = nb.w().lstEntry->count();
        QCOMPARE(nb.w().mnuEntryCall[0]->isEnabled(), !trash);
        QCOMPARE(nb.w().cmdEntry[0]->isEnabled(), !trash);
        nb.key(nb.w().lstEntry, Qt::Key_Insert);
        if (!trash)
            nb.w().cmdEntry[0]->click();
        QCOMPARE(nb.w().lstEntry->count(), lines);
        QVERIFY(!nb.state().TextEditMode);
        QCOMPARE(nb.folder.snapshot(), files);
        if (trash) {
            QVERIFY(nb.run->messages.shown.isEmpty());
        } else {
            QCOMPARE(nb.messageCount(), 2);
            QVERIFY(nb.lastMessage().contains(u"999"_s));
        }
    }
};

QTEST_MAIN(tst_Lists)
#include "tst_lists.moc"
