#include "support/writingcommands.h"

#include "support/appfixture.h"
#include "support/notebookline.h"

#include "editing/recoverycopy_w.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const Action nothing = [](AppFixture &) {};

// What was typed in the recovery copy at once, so that the copy's own
// write, a second later, falls into no command's calls.
void recovered(AppFixture &nb)
{
    QVERIFY(nb.window()->recoveryRecorder().writeNow());
}

// The recovery copy's own write, whatever becomes of it.
void recoveryWritten(AppFixture &nb)
{
    (void)nb.window()->recoveryRecorder().writeNow();
}

// The mask shown and "Fresh" typed into it.
void typingInMask(AppFixture &nb)
{
    showMask(nb);
    QTest::keyClicks(nb.maskText(), u"Fresh"_s);
    recovered(nb);
}

void savedMask(AppFixture &nb)
{
    QTest::keyClick(nb.maskText(), Qt::Key_F2);
}

// The settings dialog of Options item `item`, filled in by `fill`, then OK;
// a dialog that a failed write keeps open for another OK is given up.
Action settingsDialog(int item, const std::function<void(QWidget *)> &fill = {})
{
    return [item, fill](AppFixture &nb) {
        nb.whenShown([fill](QWidget *dialog) {
            if (fill)
                fill(dialog);
            dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click();
            if (auto *open = qobject_cast<QDialog *>(dialog); open && open->isVisible())
                open->reject();
        });
        triggered(u"mnuSettings%1"_s.arg(item))(nb);
    };
}

void sorted(AppFixture &nb)
{
    nb.control<QPushButton>(u"cmdSort0"_s)->click();
}

// A folder "in" beside the store, holding one text file to import.
void folderToImport(AppFixture &nb)
{
    QVERIFY(writeFile(nb.path(u"in/new.txt"_s), "Imported text\n"));
}

// File, Import Folder into Group, the folder "in".
void importedIntoGroup(AppFixture &nb)
{
    const QString folder = nb.path(u"in"_s);
    nb.whenShown([folder](QWidget *shown) { chooseFolder(shown, folder); });
    triggered(u"mnuImportIntoGroup"_s)(nb);
}

// Typing "Fresh" into the entry text box (after Insert for a new entry),
// the recovery copy written unless `unrecovered`.
Action typing(bool newEntry, bool unrecovered = false)
{
    return [newEntry, unrecovered](AppFixture &nb) {
        if (newEntry)
            QTest::keyClick(nb.entryList(), Qt::Key_Insert);
        QTest::keyClicks(nb.entryText(), u"Fresh"_s);
        if (!unrecovered)
            recovered(nb);
    };
}

// F2 in the entry text box, the title dialog answered with `title` unless null.
Action savedWithF2(const QString &title = {})
{
    return [title](AppFixture &nb) {
        if (!title.isNull())
            nb.answerInput(title);
        QTest::keyClick(nb.entryText(), Qt::Key_F2);
    };
}

// The notebook changed on another computer too: the sync program put that
// version in idx.dat's place (z new in A), kept this one beside it, and left
// the other computer's text of x, changed on both, beside x.
void syncedFromAnotherComputer(AppFixture &nb)
{
    const QString mark = u".sync-conflict-20261207-101500-ABCDEF1"_s;
    QVERIFY(QFile::rename(nb.path(u"FileStore/idx.dat"_s),
                          nb.path(u"FileStore/idx"_s + mark + u".dat"_s)));
    nb.write(u"FileStore/A/z.txt"_s, {u"date of z"_s, u"text of z"_s});
    nb.write(u"FileStore/idx.dat"_s, {u"idx Plimsa 1.3.02"_s, u"A"_s, u"\\x"_s, u"\\y"_s,
                                      u"\\z"_s, u"B"_s, u"\\b1"_s, u"Trash"_s, u"\\t1"_s});
    nb.write(u"FileStore/A/x"_s + mark + u".txt"_s,
             {u"date of x"_s, u"text of the other computer"_s});
}

// The window gets the focus back and takes the changes in; done once it has said so.
// The watcher's reports of the sync come first, as they would before the user is back.
void takenInAtFocusBack(AppFixture &nb)
{
    QCoreApplication::processEvents();
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(nb.window(), &activate);
    QVERIFY(QTest::qWaitFor([&nb] { return !nb.messages.shown.isEmpty(); }, 10000));
}

} // namespace

QList<WritingCommand> writingCommands()
{
    const QString abc = u"A x y | B b1 | Trash t1"_s;
    const Action newGroup = triggered(u"mnuGroupNew"_s);
    const Action renameGroup = triggered(u"mnuGroupRename"_s);
    const Action deleteGroup = triggered(u"mnuGroupDelete"_s);
    const QString pref = u"pref.dat"_s;
    // frmIndiv's fourth button typing F7.
    const Action storedButton = settingsDialog(
        2, [](QWidget *dialog) { dialog->findChild<QLineEdit *>(u"txt3"_s)->setText(u"{F7}"_s); });
    // The start settings with the word wrap ticked.
    const Action storedStartSettings = settingsDialog(
        1, [](QWidget *dialog) { dialog->findChild<QCheckBox *>(u"chckWrap"_s)->click(); });
    // The global settings without a change: they are stored and a new copy
    // is started in place of this one.
    const Action storedGlobalSettings = settingsDialog(0);
    // Undo and Redo in the entry list, after the command they take back.
    const Action undo = key(Qt::Key_Z, Qt::ControlModifier);
    const Action redo = key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    const Action newEntrySaved = then(typing(true), savedWithF2(u"Fresh"_s));
    // The language editor: a free slot named "Sprache".
    const Action storedLanguage = settingsDialog(5, [](QWidget *dialog) {
        auto *slots = dialog->findChild<QComboBox *>(u"cboLanguage"_s);
        slots->setFocus();
        slots->setEditText(u"Sprache"_s);
        QTest::keyClick(slots, Qt::Key_Return);
    });
    // clang-format off
    return {
        {u"entry save, new"_s, abc, u"A/x"_s, typing(true), savedWithF2(u"Fresh"_s), {u"Fresh"_s}},
        {u"entry save"_s, abc, u"A/x"_s, typing(false), savedWithF2(), {u"Freshtext of x"_s}, {u"text of x"_s}},
        {u"recovery copy"_s, abc, u"A/x"_s, typing(false, true), recoveryWritten, {u"Freshtext of x"_s, u"*recovery.dat"_s}, {}, false, {}, true},
        {u"mask save"_s, abc, u"A/x"_s, typingInMask, savedMask, {u"Fresh"_s, u"FileStore/A/_mask.dat"_s}},
        {u"rename"_s, abc, u"A/x"_s, nothing, answered(u"z"_s, key(Qt::Key_F12))},
        {u"indent"_s, abc, u"A/x"_s, nothing, key(Qt::Key_Right, Qt::ShiftModifier)},
        {u"indent left"_s, u"A _x y | B b1 | Trash t1"_s, u"A/_x"_s, nothing, key(Qt::Key_Left, Qt::ShiftModifier)},
        {u"move"_s, abc, u"A/x"_s, nothing, moveTo(u"B"_s)},
        {u"trash"_s, abc, u"A/x"_s, nothing, key(Qt::Key_Delete)},
        {u"drag and drop in the list"_s, abc, u"A/x"_s, nothing, drop(false, u" "_s)},
        {u"drag and drop on a group"_s, abc, u"A/x"_s, nothing, drop(true, u"B"_s)},
        {u"drag and drop on the trash button"_s, abc, u"A/x"_s, nothing, dropOnTrashButton()},
        {u"sort"_s, u"A y x | B b1 | Trash t1"_s, u"A/y"_s, nothing, sorted},
        {u"one place down"_s, abc, u"A/x"_s, nothing, key(Qt::Key_Down, Qt::ShiftModifier)},
        {u"one place up"_s, abc, u"A/y"_s, nothing, key(Qt::Key_Up, Qt::ShiftModifier)},
        {u"insert separator"_s, abc, u"A/x"_s, nothing, triggered(u"mnuInsertCall1"_s)},
        {u"new group"_s, abc, u"A/x"_s, nothing, answered(u"C"_s, newGroup)},
        {u"group rename"_s, abc, u"B/b1"_s, nothing, answered(u"Z"_s, renameGroup)},
        {u"group delete, empty"_s, u"A x y | B | Trash t1"_s, u"B/ "_s, nothing, deleteGroup},
        {u"group delete, its last entry into the trash"_s, abc, u"B/ "_s, nothing, deleteGroup},
        {u"Clear Trash"_s, abc, u"A/x"_s, nothing, then(answeringQuestion(0), triggered(u"mnuClearTrash"_s)), {}, {u"text of t1"_s}, false, {}, false, u"Clear Trash"_s},
        {u"pref.dat: position memory"_s, abc, u"A/x"_s, nothing, triggered(u"mnuSetMemo0"_s), {u"A/x"_s, pref}},
        {u"pref.dat: phrase"_s, abc, u"A/x"_s, selectFirstFour, triggered(u"mnuSetTxtMemoSet0"_s), {u"text"_s, pref}},
        {u"pref.dat: individual buttons"_s, abc, u"A/x"_s, nothing, storedButton, {u"{F7}"_s, pref}},
        {u"pref.dat: start settings"_s, abc, u"A/x"_s, nothing, storedStartSettings},
        {u"pref.dat: global settings"_s, abc, u"A/x"_s, nothing, storedGlobalSettings, {}, {}, true, u"Message"_s},
        {u"pref.dat: window place"_s, abc, u"A/x"_s, nothing, triggered(u"mnuSettings4"_s), {}, {}, false, u"Message"_s},
        {u"Language.dat"_s, abc, u"A/x"_s, nothing, storedLanguage, {u"Sprache"_s, u"Language.dat"_s}},
        {u"LstPrnt.txt"_s, abc, u"A/x"_s, nothing, triggered(u"mnuEditorCall1"_s)},
        {u"import into a group"_s, abc, u"A/x"_s, folderToImport, importedIntoGroup, {u"Imported text"_s}, {}, false, u"Import"_s},
        {u"undo: move"_s, abc, u"A/x"_s, moveTo(u"B"_s), undo},
        {u"redo: move"_s, abc, u"A/x"_s, then(moveTo(u"B"_s), undo), redo},
        {u"undo: new title"_s, abc, u"A/x"_s, answered(u"z"_s, key(Qt::Key_F12)), undo},
        {u"undo: sort"_s, u"A y x | B b1 | Trash t1"_s, u"A/y"_s, sorted, undo},
        {u"undo: new group"_s, abc, u"A/x"_s, answered(u"C"_s, newGroup), undo},
        {u"redo: new group"_s, abc, u"A/x"_s, then(answered(u"C"_s, newGroup), undo), redo},
        {u"undo: group rename"_s, abc, u"B/b1"_s, answered(u"Z"_s, renameGroup), undo},
        {u"undo: group delete, its last entry into the trash"_s, abc, u"B/ "_s, deleteGroup, undo},
        {u"undo: new entry"_s, abc, u"A/x"_s, newEntrySaved, undo, {}, {u"Fresh"_s}},
        {u"redo: new entry"_s, abc, u"A/x"_s, then(newEntrySaved, undo), redo, {u"Fresh"_s}},
        {u"undo: import into a group"_s, abc, u"A/x"_s, then(folderToImport, importedIntoGroup), undo, {}, {u"Imported text"_s}},
        {u"merge of a synced notebook"_s, abc, u"A/x"_s, syncedFromAnotherComputer, takenInAtFocusBack, {u"text of the other computer"_s}, {}, false, u"Message"_s},
    };
    // clang-format on
}

WritingCommand writingCommand(const QString &name)
{
    for (const WritingCommand &command : writingCommands()) {
        if (command.name == name)
            return command;
    }
    qFatal("no writing command %s", qPrintable(name));
}

void addCommandRows(const QStringList &variants)
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("variant");
    const QList<WritingCommand> commands = writingCommands();
    for (int i = 0; i < commands.size(); ++i) {
        for (int v = 0; v < variants.size(); ++v)
            QTest::addRow("%s%s", qPrintable(commands[i].name), qPrintable(variants[v])) << i << v;
    }
}

bool startFor(AppFixture &nb, const WritingCommand &command, bool again)
{
    nb.quickStart = true;
    if (!again)
        nb.writeNotebook(notebook(command.notebook));
    if (!(again ? nb.restart() : nb.start()))
        return false;
    select(nb, command.select);
    command.prepare(nb);
    nb.messages.shown.clear();
    return !QTest::currentTestFailed();
}
