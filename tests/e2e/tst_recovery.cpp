// Nothing typed is lost: every way the window closes asks about an open edit,
// the recovery copy of the edit follows the typing, and the next start gives
// it back in each of the ways the notebook may have changed meanwhile. The
// real program's signals and a window manager's close: tests/x11.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"
#include "support/scenario.h"

#include "editing/recoverycopy_w.h"
#include "store/appstate.h"
#include "store/recoveryfile.h"

#include <QAction>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kBook = u"A x y | B b1 | Trash"_s;

QString recoveryPath(AppFixture &nb)
{
    return RecoveryFile::path(nb.app().state().programFolder, nb.app().state().storeFolder);
}

std::optional<RecoveryCopy> recovered(AppFixture &nb)
{
    return RecoveryFile::parse(readFile(recoveryPath(nb)));
}

// An edit and its copy written: what a crash leaves.
Action crashed(const Action &edit)
{
    return [edit](AppFixture &nb) {
        edit(nb);
        QVERIFY(nb.window()->recoveryRecorder().writeNow());
    };
}

const Action typing = [](AppFixture &nb) { nb.type(u"Kept"_s); };
const Action newEntry = [](AppFixture &nb) {
    QTest::keyClick(nb.entryList(), Qt::Key_Insert);
    nb.type(u"Fresh"_s);
};
const Action maskTyping = then(showMask, typed(u"txtMask"_s, u"Masked"_s));

} // namespace

class tst_Recovery : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each way of closing, with an edit open: the question, then what each
    // answer does. Save is the default (the recorder answers it); a new
    // entry's title is asked as F2 asks it, and without one the edit stays.
    void closeAsks_data()
    {
        QTest::addColumn<Action>("edit");
        QTest::addColumn<Action>("close");
        QTest::addColumn<QList<int>>("answers"); // 0 Save, 1 Discard, 2 Back
        QTest::addColumn<QString>("expected");
        const Action closeBox = [](AppFixture &nb) { nb.window()->close(); };
        const Action fileExit = triggered(u"mnuExit"_s);
        const Action trayExit = triggered(u"mnuSystrayCall3"_s);
        const Action restart = [](AppFixture &nb) {
            nb.whenShown(
                [](QWidget *dialog) { dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click(); });
            triggered(u"mnuSettings0"_s)(nb);
        };
        const QString asked = u"msg=~\\[Caution!\\] Plimsa is about to close while the entry "
                              "\"x\" is being edited.*"_s;
        const QString saved = u";exit=0;file=date of x/Kepttext of x"_s;
        const QString kept = u";exit=;mode=text;text=Kepttext of x;file=date of x/text of x"_s;
        QTest::newRow("close box, Save") << typing << closeBox << QList<int>{} << asked + saved;
        QTest::newRow("close box, Discard")
            << typing << closeBox << QList<int>{1}
            << asked + u";exit=0;mode=view;file=date of x/text of x"_s;
        QTest::newRow("close box, Back to the edit")
            << typing << closeBox << QList<int>{2} << asked + kept;
        QTest::newRow("File > Exit, Save") << typing << fileExit << QList<int>{} << asked + saved;
        QTest::newRow("tray's Exit, Save") << typing << trayExit << QList<int>{} << asked + saved;
        QTest::newRow("tray's Exit, Back to the edit")
            << typing << trayExit << QList<int>{2} << asked + kept;
        QTest::newRow("restart after the global settings, Save")
            << typing << restart << QList<int>{}
            << u"msg=~"_s + asked.mid(5) + u" \\|\\| \\[Message\\].*;starts=1"_s + saved;
        QTest::newRow("restart after the global settings, Back to the edit")
            << typing << restart << QList<int>{2} << asked + kept + u";starts=0"_s;
        QTest::newRow("mask, Save")
            << maskTyping << closeBox << QList<int>{}
            << u"msg=~.*the mask of group \"A\".*;exit=0;lines:FileStore/A/_mask.dat=Masked"_s;
        QTest::newRow("new entry, Save with its title")
            << then(newEntry, answering(u"Note"_s)) << closeBox << QList<int>{}
            << u"msg=~.*a new entry.*;exit=0;idx=A Note x y | B b1 | Trash;"
               "lines:FileStore/A/Note.txt=~[^/]*/Fresh"_s;
        QTest::newRow("new entry, Save, title cancelled")
            << then(newEntry,
                    [](AppFixture &nb) {
                        nb.whenShown([](QWidget *dialog) {
                            dialog->findChild<QPushButton *>(u"cmdMain1"_s)->click();
                        });
                    })
            << closeBox << QList<int>{}
            << u"msg=~.*a new entry.*;exit=;mode=text;text=Fresh;sel=A/* NEW *"_s;
        QTest::newRow("nothing edited: no question")
            << Action([](AppFixture &) {}) << closeBox << QList<int>{} << u"msg=;exit=0"_s;
    }
    void closeAsks()
    {
        QFETCH(Action, edit);
        QFETCH(Action, close);
        QFETCH(QList<int>, answers);
        QFETCH(QString, expected);
        AppFixture nb;
        QVERIFY(nb.open(kBook, u"A/x"_s));
        edit(nb);
        nb.messages.answers = answers;
        close(nb);
        expectState(nb, expected);
        // A close that ended the program ended the edit's copy with it; one
        // kept open kept it.
        if (nb.exitStatus)
            QVERIFY(!QFileInfo::exists(recoveryPath(nb)));
    }

    // The copy follows the typing a moment later, not at each key; it says
    // where the text belongs; every end of the edit removes it; an end
    // nobody may be asked about (a signal, a logout) writes it at once.
    void copyFollowsTheEdit()
    {
        AppFixture nb;
        QVERIFY(nb.open(kBook, u"A/x"_s));
        RecoveryRecorder &recorder = nb.window()->recoveryRecorder();
        nb.type(u"ab"_s);
        QVERIFY(recorder.pending());
        QVERIFY(!QFileInfo::exists(recoveryPath(nb)));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(recoveryPath(nb)), 5000);
        std::optional<RecoveryCopy> copy = recovered(nb);
        QVERIFY(copy);
        QCOMPARE(copy->kind, RecoveryCopy::Kind::Entry);
        QCOMPARE(copy->group + u'/' + copy->title, u"A/x"_s);
        QCOMPARE(copy->text, u"abtext of x\n"_s);
        QCOMPARE(copy->date, u"date of x"_s);

        for (const int key : {int(Qt::Key_F3), int(Qt::Key_F2), int(Qt::Key_Escape)}) {
            nb.type(u"c"_s);
            QVERIFY(recorder.writeNow());
            QVERIFY(QFileInfo::exists(recoveryPath(nb)));
            QTest::keyClick(nb.entryText(), Qt::Key(key));
            QVERIFY2(!QFileInfo::exists(recoveryPath(nb)), qPrintable(QString::number(key)));
            QVERIFY(!recorder.pending());
        }

        nb.type(u"Last"_s);
        nb.window()->sessionEnding();
        QCOMPARE(recovered(nb)->text.left(4), u"Last"_s);
        nb.window()->close(); // a logout: nobody is asked
        QCOMPARE(nb.exitStatus, std::optional<int>(0));
        QVERIFY(nb.messages.shown.isEmpty());
        QVERIFY(QFileInfo::exists(recoveryPath(nb)));
        nb.app().endBySignal();
        QVERIFY(QFileInfo::exists(recoveryPath(nb)));
    }

    // The start after a crash: the entry named, the text offered; restored,
    // the edit is as it was and its save goes where the text belongs.
    void startGivesBack_data()
    {
        QTest::addColumn<Action>("before"); // the edit, then the crash
        QTest::addColumn<Action>("meanwhile");
        QTest::addColumn<QList<int>>("answers"); // 0 Restore, 1 Discard
        QTest::addColumn<QString>("offered");    // the state right after the start
        QTest::addColumn<Action>("then");
        QTest::addColumn<QString>("expected");
        const Action nothing = [](AppFixture &) {};
        const Action restartNow = [](AppFixture &nb) { QVERIFY(nb.restart()); };
        const Action save = &AppFixture::pressOk;
        const QString named = u"msg=~.*Plimsa ended while the entry \"x\" in group \"A\" was "
                              "being edited.*Kepttext of x.*;"_s;
        const QString restored = u"mode=text;sel=A/x;text=Kepttext of x;focus=txtText"_s;
        const auto changed = [](const QString &relative, const QString &text) {
            return Action([relative, text](AppFixture &nb) {
                nb.write(relative, {u"date"_s, text});
            });
        };
        const Action gone = [](AppFixture &nb) {
            nb.write(u"FileStore/idx.dat"_s,
                     {u"idx Plimsa 1.3.02"_s, u"A"_s, u"\\y"_s, u"B"_s, u"\\b1"_s, u"Trash"_s});
        };
        const Action groupGone = [](AppFixture &nb) {
            nb.write(u"FileStore/idx.dat"_s,
                     {u"idx Plimsa 1.3.02"_s, u"B"_s, u"\\b1"_s, u"Trash"_s});
        };

        QTest::newRow("entry as stored")
            << crashed(typing) << nothing << QList<int>{} << named + restored << save
            << u"mode=view;file=date of x/Kepttext of x;msg=~[^|]*"_s;
        QTest::newRow("entry changed since: keep both offered at the save")
            << crashed(typing) << changed(u"FileStore/A/x.txt"_s, u"theirs"_s) << QList<int>{}
            << u"msg=~.*changed by another program.*keep both.*;"_s + restored << save
            << u"idx=A x x_ y | B b1 | Trash;lines:FileStore/A/x.txt=date/theirs;"
               "lines:FileStore/A/x_.txt=~[^/]*/Kepttext of x;msg=~.*\\|\\|.*changed by "
               "another program.*"_s;
        QTest::newRow("entry gone: a new entry")
            << crashed(typing) << gone << QList<int>{}
            << u"msg=~.*no longer in the notebook.*;mode=text;sel=A/* NEW *;text=Kepttext of x"_s
            << then(answering(u"Back"_s), save)
            << u"idx=A Back y | B b1 | Trash;lines:FileStore/A/Back.txt=~[^/]*/Kepttext of x"_s;
        QTest::newRow("group gone: a new entry in the group shown")
            << crashed(typing) << groupGone << QList<int>{}
            << u"msg=~.*no longer in the notebook.*;mode=text;sel=B/* NEW *;text=Kepttext of x"_s
            << then(answering(u"Back"_s), save)
            << u"idx=B Back b1 | Trash;lines:FileStore/B/Back.txt=~[^/]*/Kepttext of x"_s;
        QTest::newRow("new entry: on its line again")
            << crashed(newEntry) << nothing << QList<int>{}
            << u"msg=~.*a new entry in group \"A\".*Fresh.*;mode=text;sel=A/* NEW *;"
               "text=Fresh;idx=A \u00CC NEW \u00CC x y | B b1 | Trash"_s
            << then(answering({}), save) << u"idx=A Fresh x y | B b1 | Trash;mode=view"_s;
        QTest::newRow("mask") << crashed(maskTyping) << nothing << QList<int>{}
                              << u"msg=~.*the mask of group \"A\".*;mode=mask;mask=Masked"_s
                              << Action([](AppFixture &nb) {
                                     QTest::keyClick(nb.maskText(), Qt::Key_F2);
                                 })
                              << u"lines:FileStore/A/_mask.dat=Masked"_s;
        QTest::newRow("declined")
            << crashed(typing) << nothing << QList<int>{1}
            << u"msg=~.*Discard.*;mode=view;text=text of x;file=date of x/text of x"_s << restartNow
            << u"msg=;mode=view"_s;
        QTest::newRow("saved before the end: nothing offered")
            << then(crashed(typing),
                    [](AppFixture &nb) {
                        const QByteArray copy = readFile(recoveryPath(nb));
                        nb.pressOk();
                        // The removal undone by a power cut.
                        QVERIFY(writeFile(recoveryPath(nb), copy));
                    })
            << nothing << QList<int>{} << u"msg=;mode=view;text=Kepttext of x"_s
            << Action([](AppFixture &nb) { QVERIFY(!QFileInfo::exists(recoveryPath(nb))); })
            << u"msg="_s;
        QTest::newRow("damaged copy: told, kept")
            << then(crashed(typing),
                    [](AppFixture &nb) {
                        QVERIFY(writeFile(recoveryPath(nb), "Plimsa recovery 1\r\n"));
                    })
            << nothing << QList<int>{}
            << u"msg=~.*recovery copy of an earlier edit is damaged.*recovery\\.dat;mode=view"_s
            << restartNow << u"msg=~.*damaged.*"_s;
    }
    void startGivesBack()
    {
        QFETCH(Action, before);
        QFETCH(Action, meanwhile);
        QFETCH(QList<int>, answers);
        QFETCH(QString, offered);
        QFETCH(Action, then);
        QFETCH(QString, expected);
        AppFixture nb;
        QVERIFY(nb.open(kBook, u"A/x"_s));
        before(nb);
        if (QTest::currentTestFailed())
            return;
        meanwhile(nb);
        nb.messages.answers = answers;
        QVERIFY(nb.restart());
        expectState(nb, offered);
        then(nb);
        expectState(nb, expected);
    }

    // The buttons beside the lists stay greyed through a mask edit, also when
    // the phrases change under it: the next group would show its own mask in
    // place of the one typed.
    void maskKeptWhenPhrasesChange()
    {
        AppFixture nb;
        nb.setPref(27, u"Hi"_s); // phrase 1
        QVERIFY(nb.open(kBook, u"A/x"_s));
        maskTyping(nb);
        nb.window()->findChild<QAction *>(u"mnuClearTxtMemos"_s)->trigger();
        auto *nextGroup = nb.window()->findChild<QPushButton *>(u"cmdCRSR1"_s);
        QVERIFY(!nextGroup->isEnabled());
        QTest::mouseClick(nextGroup, Qt::LeftButton);
        expectState(nb, u"mode=mask;sel=A/x;mask=Masked"_s);
    }
};

QTEST_MAIN(tst_Recovery)
#include "tst_recovery.moc"
