// Drops of an entry on the real window: on a line of the entry list, on a
// group and on the trash button, hit-tested at points of the lists.

#include "support/notebookfixture.h"

#include "notebook/dragdrop_w.h"
#include "store/appstate.h"

#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using L = QStringList;

namespace {

QPoint lineCentre(const QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? QPoint(5, list->viewport()->height() - 2) // below the lines
                           : list->visualItemRect(found.first()).center();
}

} // namespace

class tst_DragDrop : public QObject
{
    Q_OBJECT

    static DragDrop *dragDrop(NotebookFixture &nb) { return nb.run->find<DragDrop>(u"dragDrop"_s); }

private Q_SLOTS:
    void dropInTheEntryList_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("onto");
        QTest::addColumn<L>("order");
        QTest::newRow("third onto the blank line of five")
            << u"e2"_s << u" "_s << L{u"e0"_s, u"e1"_s, u"e3"_s, u"e4"_s, u"e2"_s};
        QTest::newRow("fourth onto the first")
            << u"e3"_s << u"e0"_s << L{u"e3"_s, u"e0"_s, u"e1"_s, u"e2"_s, u"e4"_s};
        QTest::newRow("first below the lines")
            << u"e0"_s << QString() << L{u"e1"_s, u"e2"_s, u"e3"_s, u"e4"_s, u"e0"_s};
    }
    void dropInTheEntryList()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, onto);
        QFETCH(L, order);
        NotebookFixture nb({NotebookFixture::group(u"G"_s, u"e"_s, 5)});
        QVERIFY(nb.start());
        nb.selectEntry(dragged);
        dragDrop(nb)->lstEntry_OLEDragDrop(lineCentre(nb.w().lstEntry, onto));
        QCOMPARE(nb.entryLines(), order + L{u" "_s});
        QCOMPARE(nb.selectedEntry(), dragged);
        L index{u"G"_s};
        for (const QString &title : order)
            index << u"\\"_s + title;
        QCOMPARE(nb.index(), index);
    }

    void dropOnAGroup()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"x"_s}, {u"B"_s, u"x"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        nb.selectEntry(u"x"_s);
        dragDrop(nb)->lstGroup_OLEDragDrop(lineCentre(nb.w().lstGroup, u"B"_s));
        QCOMPARE(nb.dialogsAnswered, 0);
        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a1"_s, u"B"_s, u"\\x"_s, u"\\x_"_s, u"Trash"_s}));
        QCOMPARE(nb.selectedGroup(), u"B"_s);
        QCOMPARE(nb.selectedEntry(), u"x_"_s);
        QCOMPARE(nb.run->app().state().LastMovePosition, u"A/"_s);
        QCOMPARE(nb.entryBytes(u"B"_s, u"x_"_s), NotebookFixture::expectedBytes(u"x"_s));
    }

    void dropOnTheTrashButton()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"a2"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        dragDrop(nb)->cmdEntry_OLEDragDrop(0); // the new-entry button takes no drop
        QCOMPARE(nb.entryLines(), (L{u"a1"_s, u"a2"_s, u" "_s}));
        dragDrop(nb)->cmdEntry_OLEDragDrop(1);
        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a2"_s, u"Trash"_s, u"\\a1"_s}));
        QCOMPARE(nb.selectedEntry(), u"a2"_s);
        QCOMPARE(nb.files(u"Trash"_s), (L{u"_mask.dat"_s, u"a1.txt"_s}));
    }

    void dropDoesNothing_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("target"); // "entries", "trash button", or a group line
        QTest::addColumn<bool>("locked");
        QTest::newRow("onto its own group") << u"A"_s << u"a1"_s << u"A"_s << false;
        QTest::newRow("missing file onto a group") << u"A"_s << u"gone"_s << u"B"_s << false;
        QTest::newRow("below the groups") << u"A"_s << u"a1"_s << QString() << false;
        QTest::newRow("onto its own line") << u"A"_s << u"a1"_s << u"entries"_s << false;
        QTest::newRow("while locked") << u"A"_s << u"a1"_s << u"entries"_s << true;
        QTest::newRow("trash button in the trash")
            << u"Trash"_s << u"t1"_s << u"trash button"_s << false;
    }
    void dropDoesNothing()
    {
        QFETCH(QString, group);
        QFETCH(QString, entry);
        QFETCH(QString, target);
        QFETCH(bool, locked);
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"gone"_s, u"a3"_s}, {u"B"_s}, {u"Trash"_s, u"t1"_s}},
                           {u"gone"_s});
        QVERIFY(nb.start());
        nb.selectGroup(group);
        nb.selectEntry(entry);
        nb.w().chckEdit->setChecked(locked);
        const auto before = nb.folder.snapshot();
        if (target == u"entries"_s)
            dragDrop(nb)->lstEntry_OLEDragDrop(
                lineCentre(nb.w().lstEntry, locked ? u"a3"_s : entry));
        else if (target == u"trash button"_s)
            dragDrop(nb)->cmdEntry_OLEDragDrop(1);
        else
            dragDrop(nb)->lstGroup_OLEDragDrop(lineCentre(nb.w().lstGroup, target));
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.selectedGroup(), group);
        QCOMPARE(nb.selectedEntry(), entry);
        QVERIFY(nb.messages().shown.isEmpty());
    }

    // Only a drag that started in the entry list is taken: a drop of another
    // program, even of the same type, is turned away at the door.
    void foreignDragsRefused()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        QMimeData data;
        data.setData(DragDrop::mimeType(), "a1");
        for (QWidget *widget : {static_cast<QWidget *>(nb.w().lstEntry->viewport()),
                                static_cast<QWidget *>(nb.w().lstGroup->viewport()),
                                static_cast<QWidget *>(nb.w().cmdEntry[1])}) {
            QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(widget, &enter);
            QVERIFY(!enter.isAccepted());
            QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &data, Qt::LeftButton, {});
            QApplication::sendEvent(widget, &drop);
        }
        QCOMPARE(nb.folder.snapshot(), before);
    }
};

QTEST_MAIN(tst_DragDrop)
#include "tst_dragdrop.moc"
