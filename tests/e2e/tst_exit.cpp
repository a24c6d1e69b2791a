// The two ways the program ends: Exit unloads every dialog before the main
// window; the close box unloads the search dialog. Nothing is written.

#include "support/appfixture.h"

#include <QAction>
#include <QDialog>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class tst_Exit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // From the tray the window may be hidden; the exit waits for timExit.
    void exitUnloadsDialogsInOrder()
    {
        AppFixture run;
        QVERIFY(run.start());
        const auto before = run.snapshot();
        QStringList unloaded;
        std::vector<std::unique_ptr<QDialog>> dialogs;
        for (const QString &name :
             {u"frmSetStart"_s, u"frmSearch"_s, u"frmInfo"_s, u"frmChange"_s, u"frmOther"_s}) {
            // A window of another name is left alone; without a parent it does
            // not go with the main window either.
            auto dialog = std::make_unique<QDialog>(name == u"frmOther"_s ? nullptr : run.window());
            dialog->setObjectName(name);
            QObject::connect(dialog.get(), &QDialog::finished, dialog.get(),
                             [&unloaded, name] { unloaded.append(name); });
            dialog->show();
            dialogs.push_back(std::move(dialog));
        }
        run.window()->hide();
        run.window()->mnuExit_Click();
        QVERIFY(!run.exitStatus);
        QTRY_COMPARE(run.exitStatus, std::optional<int>(0));
        QCOMPARE(unloaded,
                 (QStringList{u"frmChange"_s, u"frmInfo"_s, u"frmSearch"_s, u"frmSetStart"_s}));
        QVERIFY(dialogs.back()->isVisible());
        QCOMPARE(run.snapshot(), before);
    }

    void exitEndsModalDialog()
    {
        AppFixture run;
        QVERIFY(run.start());
        QDialog input(run.window());
        input.setObjectName(u"frmInput"_s);
        QTimer::singleShot(0, run.window(), [&] { run.w().mnuExit->trigger(); });
        QCOMPARE(input.exec(), int(QDialog::Rejected));
        QCOMPARE(run.exitStatus, std::optional<int>(0));
        QVERIFY(!run.window()->isVisible());
    }

    void closeBoxUnloadsSearch()
    {
        AppFixture run;
        QVERIFY(run.start());
        const auto before = run.snapshot();
        QDialog search(run.window());
        search.setObjectName(u"frmSearch"_s);
        search.show();
        QVERIFY(run.window()->close());
        QCOMPARE(run.exitStatus, std::optional<int>(0));
        QVERIFY(!search.isVisible());
        QCOMPARE(run.snapshot(), before);
    }
};

QTEST_MAIN(tst_Exit)
#include "tst_exit.moc"
