// Changes another program makes to the store while the program runs (a sync
// program bringing another computer's edits, a text editor), written here the
// two ways programs write a file: in place, and a new file renamed over it.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"
#include "support/scenario.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
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

const QString kCopyMark = u".sync-conflict-20261207-101500-ABCDEF1"_s;

// idx.dat's lines for a notebook line; each title's file written where it is
// missing, but for titles starting with "gone" (a separator line, say).
QStringList indexOf(AppFixture &nb, const QString &line)
{
    QStringList lines{u"idx Plimsa 1.3.02"_s};
    for (const QStringList &group : notebook(line)) {
        lines << group.first();
        for (const QString &title : group.mid(1)) {
            lines << u'\\' + title;
            const QString file = u"FileStore/"_s + group.first() + u'/' + title + u".txt"_s;
            if (!title.startsWith(u"gone"_s) && !QFile::exists(nb.path(file)))
                nb.write(file, {u"date of "_s + title, u"text of "_s + title});
        }
    }
    return lines;
}

// Both computers changed idx.dat: the sync program put `theirs` in its place
// and kept `ours` beside it as a copy.
Action synced(const QString &theirs, const QString &ours)
{
    return [theirs, ours](AppFixture &nb) {
        writeOutside(nb, u"FileStore/idx"_s + kCopyMark + u".dat"_s, indexOf(nb, ours), false);
        writeOutside(nb, u"FileStore/idx.dat"_s, indexOf(nb, theirs), true);
    };
}

// The other computer's text of an entry, or of a mask ("A/_mask"), beside its file.
Action otherText(const QString &file, const QString &text)
{
    return [file, text](AppFixture &nb) {
        const bool mask = file.endsWith(u"_mask"_s);
        writeOutside(nb, u"FileStore/"_s + file + kCopyMark + (mask ? u".dat"_s : u".txt"_s),
                     mask ? QStringList{text} : QStringList{u"date of other"_s, text}, true);
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
            QTest::keyClick(nb.entryList(), Qt::Key_Insert);
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
        // A command that meets the sync program's copy: the merge and the
        // cancelled command told in one message.
        QTest::newRow("one place up, a copy of idx.dat beside it")
            << u"A/y"_s << nothing << synced(u"A x y z | Trash"_s, u"A x y | Trash"_s) << up
            << u"msg=~[^|]*command was not carried out[^|]*Plimsa has merged them[^|]*"
               "Entries now here: A/z;idx=A x y z | Trash;entries=x|y|z| ;lines:FileStore/idx"_s +
                   kCopyMark + u".dat="_s
            << up << u"idx=A y x z | Trash"_s;
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
            QTest::keyClick(nb.entryList(), Qt::Key_Insert);
            nb.type();
        };
        const Action textKey = [](AppFixture &nb) { nb.entryText()->setFocus(); };
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
        row("Save button", {type, [](AppFixture &nb) { nb.control<QPushButton>(u"cmdEdit2"_s)->click(); }}, same);
        row("F2", {type, &AppFixture::pressOk, reopened}, same);
        row("Shift+Enter",
            {type,
             [](AppFixture &nb) {
                 QTest::keyClick(nb.entryText(), Qt::Key_Return, Qt::ShiftModifier);
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
        QTest::addColumn<QString>("select");
        QTest::newRow("file watcher") << true << u"A/x"_s;
        QTest::newRow("focus back") << false << u"A/x"_s;
        // The watch follows the entry shown, whatever group it is in.
        QTest::newRow("file watcher, an entry of another group") << true << u"B/x"_s;
    }
    void shownAgain()
    {
        QFETCH(bool, byWatcher);
        QFETCH(QString, select);
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | B x | Trash"_s, select));
        std::optional<QSignalBlocker> quiet;
        if (!byWatcher)
            quiet.emplace(nb.quietWatcher());
        const auto focusBack = [&] {
            QEvent activate(QEvent::WindowActivate);
            if (!byWatcher)
                QCoreApplication::sendEvent(nb.window(), &activate);
        };
        writeOutside(nb, u"FileStore/"_s + select + u".txt"_s,
                     {u"date of x"_s, u"changed outside"_s}, true);
        if (!byWatcher) {
            QTest::qWait(0);
            QCOMPARE(nb.text(), u"text of x\n"_s);
        }
        focusBack();
        QTRY_COMPARE(nb.text(), u"changed outside\n"_s);
        writeOutside(nb, u"FileStore/idx.dat"_s, indexOf(nb, u"A x y z | B x | Trash"_s), true);
        focusBack();
        QTRY_COMPARE(observed(nb, u"idx"_s), u"A x y z | B x | Trash"_s);
        expectState(nb, u"msg=;sel="_s + select + (select == u"A/x"_s ? u";entries=x|y|z| "_s
                                                                        : u";entries=x| "_s));
    }

    // A group's folder removed while the program runs is told, naming it,
    // and its entry shows as missing (with what needs its file greyed); a folder gone with a new idx.dat (the
    // group renamed on another computer) is the reload's to show.
    void groupFolderGone_data()
    {
        QTest::addColumn<Action>("outside");
        QTest::addColumn<QString>("expected");
        QTest::newRow("removed") << Action([](AppFixture &nb) {
            QVERIFY(QDir(nb.path(u"FileStore/B"_s)).removeRecursively());
        }) << u"idx=A x | B b1 b2 | Trash;sel=B/b1;date=File not present!;text=;"
              "on:mnuEntryChange=0;on:txtText=0;msg=~\\[Caution!\\] The folder of a group was removed[^|]*\n\n%STORE%B/"_s;
        QTest::newRow("renamed on another computer") << Action([](AppFixture &nb) {
            indexOf(nb, u"A x | K b1 b2 | Trash"_s);
            QVERIFY(QDir(nb.path(u"FileStore/B"_s)).removeRecursively());
            writeOutside(nb, u"FileStore/idx.dat"_s, indexOf(nb, u"A x | K b1 b2 | Trash"_s), true);
        }) << u"idx=A x | K b1 b2 | Trash;sel=A/x;msg="_s;
    }
    void groupFolderGone()
    {
        QFETCH(Action, outside);
        QFETCH(QString, expected);
        AppFixture nb;
        QVERIFY(nb.open(u"A x | B b1 b2 | Trash"_s, u"B/b1"_s));
        outside(nb);
        expectState(nb, expected);
        // Told once.
        select(nb, u"A/x"_s);
        QTest::qWait(50);
        expectState(nb, expected.section(u';', -1));
    }

    // Versions of idx.dat and entries that a sync program kept side by side
    // are merged, at the start or when they come: every title of both
    // versions in idx.dat, the other text of an entry beside it, no copy left
    // but a mask's, which is named; the user told once.
    void mergedFromAnotherComputer_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const QString book = u"A x y | Trash"_s;
        const Action versions = synced(u"A x y z | Trash"_s, u"A w x y | Trash"_s);
        const QString merged = u"idx=A w x y z | Trash;lines:FileStore/idx"_s + kCopyMark +
                               u".dat=;lines:FileStore/A/z.txt=date of z/text of z"_s;
        const QString told = u";msg=~\\[Message\\] [^|]*Plimsa has merged them[^|]*"_s;
        QTest::newRow("at the start")
            << Scenario{book, {}, versions, {}, merged + told + u"Entries now here: A/w"_s};
        // The first start keeps no base yet (it is the idx.dat read): nothing
        // a version has is dropped.
        QTest::newRow("at the start, no base kept yet")
            << Scenario{book, {}, synced(u"A x gone1 y | Trash"_s, u"A x y | Trash"_s), {},
                        u"idx=A x gone1 y | Trash;msg=;lines:FileStore/idx"_s + kCopyMark + u".dat="_s};
        // The other computer merged first: the copy's bytes are an entry's already.
        const QString taken = u"x (other computer 2026-12-07)"_s;
        QTest::newRow("an entry's copy taken in already")
            << Scenario{book, {},
                        [taken](AppFixture &nb) {
                            nb.write(u"FileStore/idx.dat"_s,
                                     {u"idx Plimsa 1.3.02"_s, u"A"_s, u"\\x"_s, u'\\' + taken,
                                      u"\\y"_s, u"Trash"_s});
                            for (const QString &file : {taken, u"x"_s + kCopyMark})
                                nb.write(u"FileStore/A/"_s + file + u".txt"_s,
                                         {u"date of other"_s, u"the other text"_s});
                        },
                        {},
                        u"idx=A x "_s + taken + u" y | Trash;msg=;lines:FileStore/A/x"_s + kCopyMark +
                            u".txt="_s};
        QTest::newRow("while running")
            << Scenario{book, {}, {}, {versions}, merged + told + u"Entries now here: A/w, A/z"_s};
        QTest::newRow("an edit open: once it is saved")
            << Scenario{book, {}, {}, {selected(u"A/y"_s), [](AppFixture &nb) { nb.type(); },
                                       versions, &AppFixture::pressOk},
                        merged + u";sel=A/y;mode=view;lines:FileStore/A/y.txt=~[^/]*/ typedtext of y"_s + told};
        const QString other = u"A/x (other computer 2026-12-07)"_s;
        QTest::newRow("an entry changed on both")
            << Scenario{book, {}, {}, {otherText(u"A/x"_s, u"the other text"_s)},
                        u"idx=A x x (other computer 2026-12-07) y | Trash;lines:FileStore/A/x"_s +
                            kCopyMark + u".txt=;lines:FileStore/"_s + other +
                            u".txt=date of other/the other text"_s + told +
                            u"Entries changed on both computers[^|]*: "_s +
                            QRegularExpression::escape(other)};
        // x kept for its file, which the sync program deletes only later.
        QTest::newRow("a deletion carried late")
            << Scenario{book, {}, {}, {synced(u"A y | Trash"_s, u"A x y w | Trash"_s),
                                       [](AppFixture &nb) {
                                           QTRY_COMPARE(nb.messages.shown.size(), 1);
                                           QVERIFY(QFile::remove(nb.path(u"FileStore/A/x.txt"_s)));
                                           QEvent activate(QEvent::WindowActivate);
                                           QCoreApplication::sendEvent(nb.window(), &activate);
                                       }},
                        u"idx=A y w | Trash;sel=A/y;msg=~[^|]*merged them[^|]*\\|\\| \\[Message\\] "
                        "The sync program has now carried over[^|]*\\n\\nEntries moved[^|]*: A/x"_s};
        // Both computers merged while x's deletion was on its way, so the two
        // merges differ: x stays away when they are merged in turn.
        const Action firstMerges = [](AppFixture &nb) {
            nb.write(u"FileStore/idx"_s + kCopyMark + u".dat"_s,
                     {u"idx Plimsa 1.3.02"_s, u"A"_s, u"\\x"_s, u"\\y"_s, u"\\w"_s, u"Trash"_s});
            writeOutside(nb, u"FileStore/idx.dat"_s, indexOf(nb, u"A y w | Trash"_s), true);
        };
        QTest::newRow("two merges that differ, merged")
            << Scenario{book, {}, {}, {synced(u"A y | Trash"_s, u"A x y w | Trash"_s),
                                       [firstMerges](AppFixture &nb) {
                                           QTRY_COMPARE(nb.messages.shown.size(), 1);
                                           QVERIFY(QFile::remove(nb.path(u"FileStore/A/x.txt"_s)));
                                           firstMerges(nb);
                                       }},
                        u"idx=A y w | Trash;lines:FileStore/idx"_s + kCopyMark + u".dat="_s};
        QTest::newRow("a mask changed on both")
            << Scenario{book, {}, {}, {otherText(u"A/_mask"_s, u"the other mask"_s)},
                        u"idx=A x y | Trash;lines:FileStore/A/_mask"_s + kCopyMark +
                            u".dat=the other mask;msg=~[^|]*A/_mask"_s + kCopyMark + u"\\.dat"_s};
    }
    void mergedFromAnotherComputer()
    {
        QFETCH(Scenario, scenario);
        run(scenario);
    }

    // Conflict copies the merge does not take in are named, once each, at
    // the start and at a reload; nothing is deleted.
    void conflictCopiesNamed()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x y | Trash"_s));
        const QStringList copies{u"A/_mask.sync-conflict-20261207-101500-ABCDEF1.dat"_s,
                                 u"LstPrnt (Conflicted Copy 2026-12-07 101500).txt"_s,
                                 u"Old/x.sync-conflict-20261207-101500-ABCDEF1.txt"_s};
        for (const QString &copy : copies)
            nb.write(u"FileStore/"_s + copy, {u"other"_s});
        nb.write(u"FileStore/A/x (copy).txt"_s, {u"not a conflict"_s});
        nb.write(u"FileStore/Old/.keep"_s, {});
        QVERIFY(nb.start());
        QTRY_COMPARE(nb.messages.shown.size(), 1);
        QString text = nb.messages.shown[0].text;
        QVERIFY2(text.endsWith(copies.join(u'\n')), qPrintable(text));

        nb.write(u"FileStore/A/_mask.sync-conflict-20261207-101600-ABCDEF1.dat"_s, {u"other"_s});
        addZ(true)(nb);
        QTRY_COMPARE(nb.messages.shown.size(), 2);
        text = nb.messages.shown[1].text;
        QVERIFY2(text.contains(u"\nA/_mask.sync-conflict-20261207-101600-ABCDEF1.dat"_s),
                 qPrintable(text));
        for (const QString &copy : copies)
            QVERIFY(QFile::exists(nb.path(u"FileStore/"_s + copy)));
    }
};

QTEST_MAIN(tst_OutsideChange)
#include "tst_outsidechange.moc"
