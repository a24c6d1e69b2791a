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
        QStringList missing;
        findCommandControls(run.window(), &missing);
        QCOMPARE(missing, QStringList());
    }
};

QTEST_MAIN(TestApplyCommandState)
#include "tst_commandstate_w.moc"
