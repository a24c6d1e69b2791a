#include "ui/commandstate_w.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

class TestApplyCommandState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void appliesSetStatesAndSkipsTheRest()
    {
        QMainWindow window;
        QMenu *group = window.menuBar()->addMenu(u"&Group"_s);
        group->setObjectName(u"mnuGroup"_s);
        QAction *newEntry = group->addAction(u"&New"_s);
        newEntry->setObjectName(u"mnuEntryCall0"_s);
        auto *central = new QWidget(&window);
        window.setCentralWidget(central);
        auto *down = new QPushButton(central);
        down->setObjectName(u"cmdCRSR3"_s);
        down->setEnabled(false);
        auto *up = new QPushButton(central);
        up->setObjectName(u"cmdCRSR2"_s);

        CommandState state;
        state.set(Cmd::mnuGroup, false);
        state.set(Cmd::mnuEntryCall0, false);
        state.set(Cmd::cmdCRSR2, false);
        state.set(Cmd::txtText0, true);

        const QStringList missing = applyCommandState(state, &window);

        QVERIFY(!group->menuAction()->isEnabled());
        QVERIFY(!newEntry->isEnabled());
        QVERIFY(!up->isEnabled());
        QVERIFY(!down->isEnabled()); // not set: keeps its own state
        QCOMPARE(missing, QStringList{u"txtText0"_s});

        state = {};
        state.set(Cmd::cmdCRSR3, true);
        QVERIFY(applyCommandState(state, &window).isEmpty());
        QVERIFY(down->isEnabled());
        QVERIFY(!up->isEnabled());
    }
};

QTEST_MAIN(TestApplyCommandState)
#include "tst_commandstate_w.moc"
