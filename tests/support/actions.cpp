#include "support/actions.h"

#include "support/appfixture.h"
#include "support/notebookline.h"

#include "notebook/dragdrop_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

Action triggered(const QString &name)
{
    return [name](AppFixture &nb) { nb.window()->findChild<QAction *>(name)->trigger(); };
}

Action failing(const CallFault &fault, const Action &act)
{
    return [fault, act](AppFixture &nb) {
        const CallFaults faults(fault);
        act(nb);
    };
}

Action key(int key, Qt::KeyboardModifiers modifiers)
{
    return [key, modifiers](AppFixture &nb) {
        QTest::keyClick(nb.entryList(), Qt::Key(key), modifiers);
    };
}

Action press(int key, Qt::KeyboardModifiers modifiers)
{
    return [key, modifiers](AppFixture &nb) {
        QTest::keyClick(nb.window()->focusWidget(), Qt::Key(key), modifiers);
    };
}

Action typed(const QString &name, const QString &text)
{
    return [name, text](AppFixture &nb) {
        auto *box = nb.window()->findChild<QPlainTextEdit *>(name);
        box->setFocus();
        for (const QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(box, Qt::Key_Return);
            else if (c.unicode() < 0x80)
                QTest::keyClicks(box, QString(c));
            else // a key that has no Qt::Key of its own
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
        }
    };
}

void showMask(AppFixture &nb)
{
    if (auto *item = nb.window()->findChild<QAction *>(u"mnuViewMask"_s); !item->isChecked())
        item->trigger();
}

void selectFirstFour(AppFixture &nb)
{
    auto *box = nb.window()->findChild<QPlainTextEdit *>(u"txtText"_s);
    box->setFocus();
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}

Action then(const Action &first, const Action &second)
{
    return [first, second](AppFixture &nb) {
        first(nb);
        second(nb);
    };
}

Action selected(const QString &where)
{
    return [where](AppFixture &nb) { select(nb, where); };
}

Action answering(const QString &text)
{
    return [text](AppFixture &nb) { nb.answerInput(text); };
}

Action answered(const QString &answer, const Action &action)
{
    return [answer, action](AppFixture &nb) {
        nb.answerInput(answer);
        action(nb);
    };
}

Action answeringQuestion(int choice)
{
    return [choice](AppFixture &nb) { nb.messages.answers = {choice}; };
}

Action moveTo(const QString &group)
{
    return [group](AppFixture &nb) {
        nb.whenShown([group](QWidget *dialog) {
            auto *list = dialog->findChild<QListWidget *>(u"lstList"_s);
            list->setCurrentItem(list->findItems(group, Qt::MatchExactly).value(0));
            dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click();
        });
        triggered(u"mnuEntryChange"_s)(nb);
    };
}

Action drop(bool onGroups, const QString &line)
{
    return [onGroups, line](AppFixture &nb) {
        const TitleListView *list = onGroups ? nb.groupList() : nb.entryList();
        const int row = list->titles().rowShowing(line);
        const QPoint at =
            row >= 0 ? list->lineRect(row).center() : QPoint(5, list->viewport()->height() - 2);
        auto *dragDrop = nb.window()->findChild<DragDrop *>(u"dragDrop"_s);
        if (onGroups)
            dragDrop->dropOnGroupList(at);
        else
            dragDrop->dropOnEntryList(at);
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
