// The group and entry lists on the real window: what a selection loads, the
// ways from the lists into the text, the pop-up menus, the edit lock, and the
// lines that start no edit mode.

#include "support/appfixture.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Ideas: Alpha, gone (no file), Beta with its own mask; a group of a
// substituted name; Notes without a mask file; an empty group; Trash.
std::unique_ptr<AppFixture> notebook()
{
    auto nb = std::make_unique<AppFixture>();
    nb->writeNotebook({{u"Ideas"_s, u"Alpha"_s, u"gone"_s, u"Beta"_s},
                       {u"a/b: c"_s, u"x?"_s},
                       {u"Notes"_s, u"Welcome"_s},
                       {u"Empty"_s},
                       {u"Trash"_s, u"Old"_s}});
    nb->write(u"FileStore/Ideas/_mask.dat"_s, {u"ideas mask"_s, QString(), u"end"_s});
    QFile::remove(nb->path(u"FileStore/Notes/_mask.dat"_s));
    nb->setPref(16, u" 1"_s); // the mask shown
    return nb;
}

void doubleClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
}

QPoint centreOf(const QListWidget *list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

} // namespace

class tst_Lists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void selectingLoads()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        AppFixture::click(w.lstGroup, u"Ideas"_s);
        QCOMPARE(AppFixture::lines(w.lstEntry),
                 (QStringList{u"Alpha"_s, u"gone"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(w.lstEntry->currentRow(), 0);
        QCOMPARE(w.lblDate->text(), u"date of Alpha"_s);
        QCOMPARE(w.txtText[0]->toPlainText(), u"text of Alpha\n"_s);
        QCOMPARE(w.txtMask->toPlainText(), u"ideas mask\n\nend\n"_s);
        QCOMPARE(nb->state().LoadedMask, u"ideas mask\n\nend\n"_s);

        AppFixture::click(w.lstEntry, u"Beta"_s);
        QCOMPARE(w.lblDate->text(), u"date of Beta"_s);
        QCOMPARE(w.txtText[0]->toPlainText(), u"text of Beta\n"_s);

        AppFixture::click(w.lstGroup, u"a/b: c"_s);
        QCOMPARE(w.txtText[0]->toPlainText(), u"text of x?\n"_s);
        AppFixture::click(w.lstGroup, u"Notes"_s);
        QCOMPARE(w.txtMask->toPlainText(), QString());
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(!nb->state().MaskEditMode);
    }

    void noFileStartsNoEditMode_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("entry");
        QTest::newRow("missing file") << u"Ideas"_s << u"gone"_s;
        QTest::newRow("blank line") << u"Ideas"_s << u" "_s;
        QTest::newRow("empty group") << u"Empty"_s << u" "_s;
    }
    void noFileStartsNoEditMode()
    {
        QFETCH(QString, group);
        QFETCH(QString, entry);
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        AppFixture::click(w.lstGroup, group);
        AppFixture::click(w.lstEntry, entry);
        QCOMPARE(w.lblDate->text(), u"File not present!"_s);
        QVERIFY(w.txtText[0]->toPlainText().isEmpty());
        QVERIFY(nb->state().FileMissing);
        QVERIFY(!w.txtText[0]->isEnabled());

        const auto files = nb->snapshot();
        QTest::keyClick(w.lstEntry, Qt::Key_Return);
        doubleClick(w.lstEntry->viewport(), centreOf(w.lstEntry, w.lstEntry->currentRow()));
        QTest::keyClick(w.lstGroup, Qt::Key_Return);
        // OK by key must not write "File not present!" as a date line.
        QTest::keyClick(w.txtMask, Qt::Key_F2);
        QTest::keyClick(w.txtMask, Qt::Key_Return, Qt::ShiftModifier);
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(w.fraEdit->isHidden());
        QCOMPARE(nb->snapshot(), files);
        QVERIFY(nb->messages.shown.isEmpty());
    }

    void waysIntoTheText_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Enter in the entry list") << 0;
        QTest::newRow("Enter in the group list") << 1;
        QTest::newRow("double-click on an entry") << 2;
        QTest::newRow("double-click in the text") << 3;
    }
    void waysIntoTheText()
    {
        QFETCH(int, way);
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        QPlainTextEdit *box = w.txtText[0];
        AppFixture::click(w.lstGroup, u"Ideas"_s);
        if (way == 0)
            QTest::keyClick(w.lstEntry, Qt::Key_Return);
        else if (way == 1)
            QTest::keyClick(w.lstGroup, Qt::Key_Enter);
        else if (way == 2)
            doubleClick(w.lstEntry->viewport(), centreOf(w.lstEntry, 0));
        else
            doubleClick(box->viewport(), box->cursorRect().center());
        QVERIFY(nb->state().TextEditMode);
        QCOMPARE(nb->window()->focusWidget(), box);
        if (way == 3) { // the double-click's selection gives way to the line end
            QTRY_VERIFY(!box->textCursor().hasSelection());
            QVERIFY(box->textCursor().atBlockEnd());
            QCOMPARE(box->textCursor().blockNumber(), 0);
        }
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(nb->read(u"FileStore/Ideas/Alpha.txt"_s), "date of Alpha\r\ntext of Alpha\r\n");
        QVERIFY(nb->messages.shown.isEmpty());
    }

    void lockRefusesEdits()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        QPlainTextEdit *box = w.txtText[0];
        AppFixture::click(w.lstGroup, u"Ideas"_s);
        const auto files = nb->snapshot();
        w.chckEdit->click();
        QVERIFY(w.mnuEditPermission->isChecked());

        QTest::keyClicks(box, u"a"_s);
        QCOMPARE(nb->messages.shown.size(), 1);
        QCOMPARE(nb->messages.shown[0].icon, Messages::Icon::Information);
        QCOMPARE(nb->messages.shown[0].text, u"Edit Permission locked!"_s);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(w.txtMask, u"m"_s);
        QCOMPARE(nb->messages.shown.size(), 3);
        QCOMPARE(nb->messages.shown[1].text, u"Edit Permission locked!"_s);
        QCOMPARE(box->toPlainText(), u"text of Alpha\n"_s);

        // No way into an edit mode or a new entry, no pop-up.
        QTest::keyClick(w.lstEntry, Qt::Key_Return);
        QTest::keyClick(w.lstGroup, Qt::Key_Return);
        doubleClick(w.lstEntry->viewport(), centreOf(w.lstEntry, 0));
        doubleClick(box->viewport(), box->cursorRect().center());
        QTest::keyClick(w.lstEntry, Qt::Key_Insert);
        QWidget *popUp = nullptr;
        nb->whenShown([&popUp](QWidget *shown) {
            popUp = shown;
            shown->close();
        });
        AppFixture::click(w.lstEntry, u"Beta"_s, Qt::RightButton);
        QVERIFY(!popUp);
        QCOMPARE(w.lstEntry->currentRow(), 0);
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(!nb->state().MaskEditMode);
        QCOMPARE(AppFixture::lines(w.lstEntry).size(), 4);
        QCOMPARE(nb->snapshot(), files);
        QCOMPARE(nb->messages.shown.size(), 3);

        // The menu item mirrors the box.
        w.mnuEditPermission->trigger();
        QVERIFY(!w.chckEdit->isChecked());
        QTest::keyClicks(box, u"a"_s);
        QVERIFY(nb->state().TextEditMode);
    }

    // The line under the pointer is selected first; the listed items are
    // hidden while the pop-up shows.
    void popUpMenus()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        AppFixture::click(w.lstGroup, u"Ideas"_s);
        QWidget *shown = nullptr;
        QStringList visible;
        const auto note = [&](const QList<QAction *> &watched) {
            return [&, watched](QWidget *menu) {
                shown = menu;
                for (QAction *action : watched) {
                    if (action->isVisible())
                        visible << action->objectName();
                }
                menu->close();
            };
        };
        nb->whenShown(note(
            {w.mnuEntryCall[0], w.mnuEntryCall[1], w.mnuSortAll, w.mnuSearch, w.mnuEntryRename}));
        AppFixture::click(w.lstEntry, u"Beta"_s, Qt::RightButton);
        QTRY_COMPARE(shown, w.mnuEntry);
        QCOMPARE(visible, (QStringList{u"mnuEntryCall1"_s, u"mnuEntryRename"_s}));
        QCOMPARE(w.lblDate->text(), u"date of Beta"_s);
        QVERIFY(w.mnuEntryCall[0]->isVisible());

        visible.clear();
        nb->whenShown(note({w.mnuGroupNew, w.mnuClearTrash, w.mnuViewMask, w.mnuGroupRename}));
        AppFixture::click(w.lstGroup, u"Notes"_s, Qt::RightButton);
        QTRY_COMPARE(shown, w.mnuGroup);
        QCOMPARE(visible, QStringList{u"mnuGroupRename"_s});
        QCOMPARE(AppFixture::lines(w.lstEntry), (QStringList{u"Welcome"_s, u" "_s}));
        QVERIFY(w.mnuGroupNew->isVisible());
    }
};

QTEST_MAIN(tst_Lists)
#include "tst_lists.moc"
