// The two ways the program ends: Exit unloads every dialog before the main
// window; the close box unloads the search dialog. Nothing is written.

#include "support/runningapp.h"
#include "support/scratchprogram.h"

#include <QAction>
#include <QDialog>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class tst_Exit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void exitIsDeferred()
    {
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const auto before = folder.snapshot();
        run.w().mnuExit->trigger();
        QVERIFY(!run.exitStatus);
        QTRY_COMPARE(run.exitStatus, std::optional<int>(0));
        QVERIFY(!run.window()->isVisible());
        QCOMPARE(folder.snapshot(), before);
    }

    // The tray's Exit reaches a window that is hidden or minimized.
    void exitFromHiddenWindow_data()
    {
        QTest::addColumn<bool>("minimize");
        QTest::newRow("hidden") << false;
        QTest::newRow("minimized") << true;
    }
    void exitFromHiddenWindow()
    {
        QFETCH(bool, minimize);
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        if (minimize)
            run.window()->showMinimized();
        else
            run.window()->hide();
        run.window()->mnuExit_Click();
        QTRY_COMPARE(run.exitStatus, std::optional<int>(0));
    }

    void exitRejectsModalDialog()
    {
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const auto before = folder.snapshot();
        QDialog input(run.window());
        input.setObjectName(u"frmInput"_s);
        QTimer::singleShot(0, run.window(), [&] { run.w().mnuExit->trigger(); });
        QCOMPARE(input.exec(), int(QDialog::Rejected));
        QCOMPARE(run.exitStatus, std::optional<int>(0));
        QVERIFY(!run.window()->isVisible());
        QCOMPARE(folder.snapshot(), before);
    }

    void exitUnloadsDialogsInOrder()
    {
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
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
        run.w().mnuExit->trigger();
        QTRY_COMPARE(run.exitStatus, std::optional<int>(0));
        QCOMPARE(unloaded,
                 (QStringList{u"frmChange"_s, u"frmInfo"_s, u"frmSearch"_s, u"frmSetStart"_s}));
        QVERIFY(dialogs.back()->isVisible());
    }

    void closeBoxUnloadsSearch()
    {
        ScratchProgram folder;
        RunningApp run(folder.folder());
        QVERIFY(run.start());
        const auto before = folder.snapshot();
        QDialog search(run.window());
        search.setObjectName(u"frmSearch"_s);
        search.show();
        QVERIFY(run.window()->close());
        QCOMPARE(run.exitStatus, std::optional<int>(0));
        QVERIFY(!search.isVisible());
        QCOMPARE(folder.snapshot(), before);
    }
};

QTEST_MAIN(tst_Exit)
#include "tst_exit.moc"
