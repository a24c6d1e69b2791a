#include "support/appfixture.h"
#include "ui/commandstate_w.h"

#include <QTest>

class TestApplyCommandState : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Every item the refresh governs is found in the real window by its name.
    void everyItemIsInTheWindow()
    {
        AppFixture run;
        QVERIFY(run.start());
        CommandState state;
        for (int k = 0; k < kCmdCount; ++k)
            state.set(Cmd(k), true);
        QCOMPARE(applyCommandState(state, run.window()), QStringList());
    }
};

QTEST_MAIN(TestApplyCommandState)
#include "tst_commandstate_w.moc"
