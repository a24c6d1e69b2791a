// Changes another program makes to the store while the program runs (a sync
// program bringing another computer's edits, a text editor), written here the
// two ways programs write a file: in place, and a new file renamed over it.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"
#include "support/scenario.h"

#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

void writeOutside(AppFixture &nb, const QString &relative, const QStringList &lines, bool atomic)
{
    if (!atomic) {
        nb.write(relative, lines);
        return;
    }
    const QString temp = QFileInfo(relative).path() + u"/.syncthing.tmp"_s;
    nb.write(temp, lines);
    QCOMPARE(std::rename(QFile::encodeName(nb.path(temp)).constData(),
                         QFile::encodeName(nb.path(relative)).constData()),
             0);
}

// "A x y | Trash" as another computer left it: entry z added to A; idx.dat
// ending in an empty line where an editor left one.
Action addZ(bool atomic, bool emptyLast = false)
{
    return [atomic, emptyLast](AppFixture &nb) {
        writeOutside(nb, u"FileStore/A/z.txt"_s, {u"date of z"_s, u"text of z"_s}, true);
        QStringList index{u"idx Plimsa 1.3.02"_s, u"A"_s, u"\\x"_s, u"\\y"_s, u"\\z"_s, u"Trash"_s};
        if (emptyLast)
            index << QString();
        writeOutside(nb, u"FileStore/idx.dat"_s, index, atomic);
    };
}

// x's text changed by another computer.
Action changeX(bool atomic)
{
    return [atomic](AppFixture &nb) {
        writeOutside(nb, u"FileStore/A/x.txt"_s, {u"date of x"_s, u"changed outside"_s}, atomic);
    };
}

// The one message: the notebook changed outside, naming its idx.dat.
const QString kReloaded =
    u"msg=~(?=[^|]*changed by another program)[^|]*%ROOT%FileStore/idx\\.dat[^|]*"_s;

} // namespace

class tst_OutsideChange : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Another program changed a file the next write would replace. idx.dat:
    // the command is cancelled, the version on disk read and shown, and an
    // edit keeps its text for a save after the reload. An entry's file: the
    // user's choice, keep both by default; the file then saved is the one
    // shown, and the next save asks nothing.
    void changedBeforeAWrite_data()
    {
        QTest::addColumn<QString>("select");
        QTest::addColumn<Action>("prepare");
        QTest::addColumn<Action>("outside"); // the other program's write
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("first");  // the state after it
        QTest::addColumn<Action>("again");   // then, unless null
        QTest::addColumn<QString>("second"); // the state after that
        const Action nothing = [](AppFixture &) {};
        const Action type = [](AppFixture &nb) { nb.type(); };
        const Action newEntry = [](AppFixture &nb) {
            QTest::keyClick(nb.w().entryList, Qt::Key_Insert);
            nb.type();
        };
        const Action up = key(Qt::Key_Up, Qt::ShiftModifier);
        const Action save = answered(u"n"_s, &AppFixture::pressOk);
        const auto answering = [](int answer) {
            return Action([answer](AppFixture &nb) {
                nb.messages.answers = {answer};
                nb.pressOk();
            });
        };
        const QString reloaded = kReloaded + u";idx=A x y z | Trash;entries="_s;
        QTest::newRow("one place up, renamed over")
            << u"A/y"_s << nothing << addZ(true) << up << reloaded + u"x|y|z| "_s << up
            << kReloaded + u";idx=A y x z | Trash"_s;
        QTest::newRow("one place up, in place")
            << u"A/y"_s << nothing << addZ(false) << up << reloaded + u"x|y|z| "_s << up
            << kReloaded + u";idx=A y x z | Trash"_s;
        // The empty line stays on disk until the next write.
        QTest::newRow("one place up, an editor's empty last line")
            << u"A/y"_s << nothing << addZ(false, true) << up
            << kReloaded + u";idx=A x y z | Trash | ;entries=x|y|z| "_s << up
            << kReloaded + u";idx=A y x z | Trash"_s;
        // Undo is a command like any other; the notebook read again, nothing
        // of the history applies to it any longer.
        const Action undo = key(Qt::Key_Z, Qt::ControlModifier);
        QTest::newRow("undo, then nothing left to undo")
            << u"A/y"_s << up << addZ(true) << undo << reloaded + u"x|y|z| "_s
            << then(undo, key(Qt::Key_Y, Qt::ControlModifier))
            << kReloaded + u";idx=A x y z | Trash;on:mnuUndo=0;on:mnuRedo=0"_s;
        QTest::newRow("new entry's save")
            << u"A/y"_s << newEntry << addZ(true) << save << reloaded + u"x|* NEW *|y|z| "_s << save
            << kReloaded + u";idx=A x n y z | Trash;lines:FileStore/A/n.txt=~[^/]*/ typed"_s;

        const QString asked = u"msg=~[^|]*%ROOT%FileStore/A/x\\.txt[^|]*"_s;
        const QString saved = u";mode=view;focus=lstEntry;file=~.*/ typedtext of x"_s;
        const QString theirs = u";lines:FileStore/A/x.txt=date of x/changed outside"_s;
        const Action saveAgain = then(type, &AppFixture::pressOk);
        QTest::newRow("keep both, renamed over")
            << u"A/x"_s << type << changeX(true) << Action(&AppFixture::pressOk)
            << asked + u";idx=A x x_ y | Trash;sel=A/x_;date=~%DATELINE%"_s + saved + theirs
            << saveAgain << asked;
        QTest::newRow("overwrite, in place")
            << u"A/x"_s << type << changeX(false) << answering(1)
            << asked + u";idx=A x y | Trash;sel=A/x"_s + saved << saveAgain << asked;
        QTest::newRow("back to the edit")
            << u"A/x"_s << type << changeX(true) << answering(2)
            << asked + u";idx=A x y | Trash;mode=text;text= typedtext of x"_s + theirs << Action()
            << QString();
    }
    void changedBeforeAWrite()
    {
        QFETCH(QString, select);
        QFETCH(Action, prepare);
        QFETCH(Action, outside);
        QFETCH(Action, action);
        QFETCH(QString, first);
        QFETCH(Action, again);
        QFETCH(QString, second);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | Trash"_s, select));
        prepare(nb);
        const State before = observe(nb);
        {
            const auto quiet = nb.quietWatcher();
            outside(nb);
            action(nb);
            QTRY_COMPARE(nb.messages.shown.size(), 1);
        }
        expectState(nb, first, before);
        if (!again)
            return;
        again(nb);
        expectState(nb, second);
    }

    // The file a save wrote is the one the next save compares: whichever way
    // the text was saved, typing on and F2 asks nothing. Keep both asks once,
    // for the change made outside.
    void ownSaveNotTakenForAChange_data()
    {
        QTest::addColumn<Action>("saved");
        QTest::addColumn<QString>("expected");
        const Action type = [](AppFixture &nb) { nb.type(); };
        const Action newEntry = [](AppFixture &nb) {
            QTest::keyClick(nb.w().entryList, Qt::Key_Insert);
            nb.type();
        };
        const Action textKey = [](AppFixture &nb) { nb.w().entryText->setFocus(); };
        // Back into the edit after OK: Enter in the entry list.
        const Action reopened = key(Qt::Key_Return);
        const auto row = [](const char *name, const QList<Action> &steps, const QString &idx,
                            int questions = 0) {
            Action all = steps.first();
            for (const Action &step : steps.mid(1))
                all = then(all, step);
            QTest::newRow(name) << all
                                << u"mode=view;idx="_s + idx + u";msg="_s +
                                       (questions ? u"~[^|]*"_s : QString());
        };
        const QString same = u"A x y | Trash"_s;
        row("F3", {type, then(textKey, press(Qt::Key_F3))}, same);
        row("Save button", {type, [](AppFixture &nb) { nb.w().editButtons[2]->click(); }}, same);
        row("F2", {type, &AppFixture::pressOk, reopened}, same);
        row("Shift+Enter",
            {type,
             [](AppFixture &nb) {
                 QTest::keyClick(nb.w().entryText, Qt::Key_Return, Qt::ShiftModifier);
             },
             reopened},
            same);
        row("new entry's first save, F3", {newEntry, answered(u"n"_s, press(Qt::Key_F3))},
            u"A n x y | Trash"_s);
        row("new entry's first save, F2",
            {newEntry, answered(u"n"_s, &AppFixture::pressOk), reopened}, u"A n x y | Trash"_s);
        row("keep both, F3", {type, changeX(true), press(Qt::Key_F3)}, u"A x x_ y | Trash"_s, 1);
    }
    void ownSaveNotTakenForAChange()
    {
        QFETCH(Action, saved);
        QFETCH(QString, expected);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | Trash"_s, u"A/x"_s));
        {
            const auto quiet = nb.quietWatcher();
            saved(nb);
            nb.type(u" more"_s);
            nb.pressOk();
        }
        expectState(nb, expected + u";file=~.* more.*"_s);
    }

    // While nobody edits, what changed outside is shown again: at the
    // watcher's report, or at the latest when the window gets the focus back.
    void shownAgain_data()
    {
        QTest::addColumn<bool>("byWatcher");
        QTest::newRow("file watcher") << true;
        QTest::newRow("focus back") << false;
    }
    void shownAgain()
    {
        QFETCH(bool, byWatcher);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | Trash"_s, u"A/x"_s));
        std::optional<QSignalBlocker> quiet;
        if (!byWatcher)
            quiet.emplace(nb.quietWatcher());
        const auto focusBack = [&] {
            QEvent activate(QEvent::WindowActivate);
            if (!byWatcher)
                QCoreApplication::sendEvent(nb.window(), &activate);
        };
        changeX(true)(nb);
        if (!byWatcher) {
            QTest::qWait(0);
            QCOMPARE(nb.text(), u"text of x\n"_s);
        }
        focusBack();
        QTRY_COMPARE(nb.text(), u"changed outside\n"_s);
        addZ(true)(nb);
        focusBack();
        QTRY_COMPARE(observed(nb, u"entries"_s), u"x|y|z| "_s);
        expectState(nb, u"sel=A/x;msg="_s);
    }

    // Conflict copies are named, once each, at the start and at a reload;
    // nothing is deleted.
    void conflictCopiesNamed()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x y | Trash"_s));
        const QStringList copies{u"A/_mask.sync-conflict-20261207-101500-ABCDEF1.dat"_s,
                                 u"A/x (Conflicted Copy 2026-12-07 101500).txt"_s,
                                 u"idx.sync-conflict-20261207-101500-ABCDEF1.dat"_s};
        for (const QString &copy : copies)
            nb.write(u"FileStore/"_s + copy, {u"other"_s});
        nb.write(u"FileStore/A/x (copy).txt"_s, {u"not a conflict"_s});
        QVERIFY(nb.start());
        QTRY_COMPARE(nb.messages.shown.size(), 1);
        QString text = nb.messages.shown[0].text;
        QVERIFY2(text.endsWith(copies.join(u'\n')), qPrintable(text));

        nb.write(u"FileStore/A/y.sync-conflict-20261207-101600-ABCDEF1.txt"_s, {u"other"_s});
        addZ(true)(nb);
        QTRY_COMPARE(nb.messages.shown.size(), 2);
        text = nb.messages.shown[1].text;
        QVERIFY2(text.contains(u"A/y.sync-conflict-20261207-101600-ABCDEF1.txt"_s),
                 qPrintable(text));
        for (const QString &copy : copies)
            QVERIFY(QFile::exists(nb.path(u"FileStore/"_s + copy)));
    }
};

QTEST_MAIN(tst_OutsideChange)
#include "tst_outsidechange.moc"
