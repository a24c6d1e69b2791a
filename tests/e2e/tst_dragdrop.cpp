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

const L kFive{u"G"_s, u"e1"_s, u"e2"_s, u"e3"_s, u"e4"_s, u"e5"_s};

QPoint lineCentre(const QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    return found.isEmpty() ? QPoint(-1, -1) : list->visualItemRect(found.first()).center();
}

L indexOf(const L &titles)
{
    L out;
    for (const QString &t : titles)
        out << u"\\"_s + t;
    return out;
}

} // namespace

class tst_DragDrop : public QObject
{
    Q_OBJECT

    DragDrop *dragDrop(NotebookFixture &nb) { return nb.run->find<DragDrop>(u"dragDrop"_s); }

private Q_SLOTS:
    void dropInTheEntryList_data()
    {
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<QString>("onto");
        QTest::addColumn<L>("order");
        QTest::newRow("third onto the blank line of five")
            << u"e3"_s << u" "_s << L{u"e1"_s, u"e2"_s, u"e4"_s, u"e5"_s, u"e3"_s};
        QTest::newRow("fourth onto the first")
            << u"e4"_s << u"e1"_s << L{u"e4"_s, u"e1"_s, u"e2"_s, u"e3"_s, u"e5"_s};
        QTest::newRow("second onto the fourth")
            << u"e2"_s << u"e4"_s << L{u"e1"_s, u"e3"_s, u"e4"_s, u"e2"_s, u"e5"_s};
        QTest::newRow("onto its own line") << u"e3"_s << u"e3"_s << kFive.mid(1);
        QTest::newRow("last onto the blank line") << u"e5"_s << u" "_s << kFive.mid(1);
    }
    void dropInTheEntryList()
    {
        QFETCH(QString, dragged);
        QFETCH(QString, onto);
        QFETCH(L, order);
        NotebookFixture nb({kFive});
        QVERIFY(nb.start());
        nb.selectEntry(dragged);
        const auto before = nb.folder.snapshot();
        dragDrop(nb)->lstEntry_OLEDragDrop(lineCentre(nb.w().lstEntry, onto));
        QCOMPARE(nb.entryLines(), order + L{u" "_s});
        QCOMPARE(nb.selectedEntry(), dragged);
        if (order == kFive.mid(1))
            QCOMPARE(nb.folder.snapshot(), before);
        else
            QCOMPARE(nb.index(), L{u"G"_s} + indexOf(order));
    }

    void dropBelowTheLines()
    {
        NotebookFixture nb({kFive});
        QVERIFY(nb.start());
        QListWidget *list = nb.w().lstEntry;
        const QPoint below(5, list->viewport()->height() - 2);
        if (list->itemAt(below))
            QSKIP("the list is too short to leave room below its lines");
        nb.selectEntry(u"e1"_s);
        dragDrop(nb)->lstEntry_OLEDragDrop(below);
        QCOMPARE(nb.entryLines(), (L{u"e2"_s, u"e3"_s, u"e4"_s, u"e5"_s, u"e1"_s, u" "_s}));
    }

    // The one-place gates hold for drops as for keys: nothing while locked.
    void dropInTheEntryListWhileLocked()
    {
        NotebookFixture nb({kFive});
        QVERIFY(nb.start());
        nb.selectEntry(u"e2"_s);
        nb.w().chckEdit->setChecked(true);
        const auto before = nb.folder.snapshot();
        dragDrop(nb)->lstEntry_OLEDragDrop(lineCentre(nb.w().lstEntry, u"e5"_s));
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), kFive.mid(1) + L{u" "_s});
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
        QCOMPARE(nb.files(u"A"_s), (L{u"_mask.dat"_s, u"a1.txt"_s}));
    }

    void dropOnAGroupDoesNothing_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("group");
        QTest::newRow("its own group") << u"a1"_s << u"A"_s;
        QTest::newRow("missing file") << u"gone"_s << u"B"_s;
        QTest::newRow("blank line") << u" "_s << u"B"_s;
        QTest::newRow("below the groups") << u"a1"_s << QString();
    }
    void dropOnAGroupDoesNothing()
    {
        QFETCH(QString, entry);
        QFETCH(QString, group);
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"gone"_s}, {u"B"_s}}, {u"gone"_s});
        QVERIFY(nb.start());
        nb.selectEntry(entry);
        const auto before = nb.folder.snapshot();
        QListWidget *groups = nb.w().lstGroup;
        const QPoint at = group.isEmpty() ? QPoint(5, groups->viewport()->height() - 2)
                                          : lineCentre(groups, group);
        dragDrop(nb)->lstGroup_OLEDragDrop(at);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.selectedEntry(), entry);
        QCOMPARE(nb.dialogsAnswered, 0);
        QVERIFY(nb.messages().shown.isEmpty());
    }

    void dropOnAFullGroup()
    {
        L full{u"B"_s};
        for (int i = 0; i < 999; ++i)
            full << u"b%1"_s.arg(i);
        NotebookFixture nb({{u"A"_s, u"x"_s}, full});
        QVERIFY(nb.start());
        const auto before = nb.folder.snapshot();
        dragDrop(nb)->lstGroup_OLEDragDrop(lineCentre(nb.w().lstGroup, u"B"_s));
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.messages().shown.size(), 1);
        QVERIFY(nb.messages().shown[0].text.contains(u"999"_s));
    }

    void dropOnTheTrashButton()
    {
        NotebookFixture nb({{u"A"_s, u"a1"_s, u"a2"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        dragDrop(nb)->cmdEntry_OLEDragDrop(0); // the new-entry button takes no drop
        QCOMPARE(nb.entryLines(), (L{u"a1"_s, u"a2"_s, u" "_s}));
        dragDrop(nb)->cmdEntry_OLEDragDrop(1);
        QCOMPARE(nb.index(), (L{u"A"_s, u"\\a2"_s, u"Trash"_s, u"\\a1"_s}));
        QCOMPARE(nb.selectedGroup(), u"A"_s);
        QCOMPARE(nb.selectedEntry(), u"a2"_s);
        QCOMPARE(nb.files(u"Trash"_s), (L{u"_mask.dat"_s, u"a1.txt"_s}));
    }

    // Inside the trash the trash button is off and takes no drop.
    void dropOnTheTrashButtonInTheTrash()
    {
        NotebookFixture nb({{u"A"_s}, {u"Trash"_s, u"t1"_s}});
        QVERIFY(nb.start());
        nb.selectGroup(u"Trash"_s);
        const auto before = nb.folder.snapshot();
        dragDrop(nb)->cmdEntry_OLEDragDrop(1);
        QCOMPARE(nb.folder.snapshot(), before);
        QCOMPARE(nb.entryLines(), (L{u"t1"_s, u" "_s}));
    }

    // Only a drag that started in the entry list is taken: other programs'
    // drops, even of the same type, are turned away at the door.
    void foreignDragsRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("entry list") << u"lstEntry"_s;
        QTest::newRow("group list") << u"lstGroup"_s;
        QTest::newRow("trash button") << u"cmdEntry1"_s;
    }
    void foreignDragsRefused()
    {
        QFETCH(QString, target);
        NotebookFixture nb({{u"A"_s, u"a1"_s}, {u"Trash"_s}});
        QVERIFY(nb.start());
        QWidget *widget = nb.run->find<QWidget>(target);
        if (auto *list = qobject_cast<QListWidget *>(widget))
            widget = list->viewport();
        QMimeData data;
        data.setData(DragDrop::mimeType(), "a1");
        QDragEnterEvent enter(QPoint(5, 5), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &enter);
        QVERIFY(!enter.isAccepted());
        const auto before = nb.folder.snapshot();
        QDropEvent drop(QPointF(5, 5), Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &drop);
        QCOMPARE(nb.folder.snapshot(), before);
    }
};

QTEST_MAIN(tst_DragDrop)
#include "tst_dragdrop.moc"
