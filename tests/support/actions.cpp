#include "support/actions.h"

#include "support/appfixture.h"

#include <QAction>
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
