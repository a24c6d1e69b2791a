#include "support/actions.h"

#include "support/appfixture.h"

#include "notebook/dragdrop_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

Action menu(QAction *MainWidgets::*item)
{
    return [item](AppFixture &nb) { (nb.w().*item)->trigger(); };
}

Action key(int key, Qt::KeyboardModifiers modifiers)
{
    return [key, modifiers](AppFixture &nb) {
        QTest::keyClick(nb.w().lstEntry, Qt::Key(key), modifiers);
    };
}

Action answered(const QString &answer, const Action &action)
{
    return [answer, action](AppFixture &nb) {
        nb.answerInput(answer);
        action(nb);
    };
}

Action moveTo(const QString &group)
{
    return [group](AppFixture &nb) {
        nb.whenShown([group](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>(u"lstList"_s);
            list->setCurrentItem(list->findItems(group, Qt::MatchExactly).value(0));
            dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click();
        });
        nb.w().mnuEntryChange->trigger();
    };
}

Action drop(bool onGroups, const QString &line)
{
    return [onGroups, line](AppFixture &nb) {
        const TitleListView *list = onGroups ? nb.w().lstGroup : nb.w().lstEntry;
        const int row = list->titles().rowShowing(line);
        const QPoint at =
            row >= 0 ? list->lineRect(row).center() : QPoint(5, list->viewport()->height() - 2);
        auto *dragDrop = nb.window()->findChild<DragDrop *>(u"dragDrop"_s);
        if (onGroups)
            dragDrop->lstGroup_OLEDragDrop(at);
        else
            dragDrop->lstEntry_OLEDragDrop(at);
    };
}

void chooseFolder(QWidget *shown, const QString &folder)
{
    auto *dialog = qobject_cast<QFileDialog *>(shown);
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), u"dlgTransferFolder"_s);
    auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
    QVERIFY(name);
    name->setText(QFileInfo(folder).absoluteFilePath());
    static_cast<QDialog *>(dialog)->accept();
}

Action dropOnTrashButton()
{
    return [](AppFixture &nb) {
        nb.window()->findChild<DragDrop *>(u"dragDrop"_s)->dropOnTrashButton();
    };
}
