// The keys, the edit modes and the keyboard commands on the real window: every
// row of the key map in each control it applies to, the ways into and out of
// an edit, new entries, memories, phrases, separator lines, the input and
// choice dialogs and the individual buttons, each with the edit lock off and
// on. Each case acts once on a fresh window and compares everything an action
// can change (selection, focus, mode, lock, idx.dat, the boxes, the messages
// and beeps, the open menu, the memories and phrases in pref.dat) with what it
// was before, save the changes it names. And what the table cannot hold: a
// memory left by a group whose title holds "/", the individual buttons' dialog.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"
#include "support/scenario.h"

#include "i18n/wordtable.h"
#include "platform/keyinjector_w.h"
#include "platform/keystring.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "ui/codepagetextedit_w.h"

#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

// One action with the focus in one control, named "<control> <key>[, how]"
// (list, groups, text or mask; the key as QKeySequence writes it), and the
// changes it makes unlocked and locked, as "name=value" separated by ";" (""
// for none; locked "=": as unlocked, "-": not run locked); the names and
// values of support/scenario.h. Every other name of a state stays as it was.
struct KeyCase
{
    QString control; // objectName of the control with the focus
    Action act;      // the key of the name unless another action is given
    QString unlocked;
    QString locked;
    Action setup = {}; // before the focus is placed
};
Q_DECLARE_METATYPE(KeyCase)

namespace {

const QString kBook = u"Notes a _b c c_ gone | Trash | Work Shopping Plans"_s;

void doubleClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
}

// The caret after the text.
void caretToEnd(AppFixture &nb)
{
    nb.entryText()->moveCursor(QTextCursor::End);
}

std::pair<QString, KeyCase> row(const QString &name, const QString &unlocked,
                                const QString &locked = u"="_s, Action setup = {}, Action act = {})
{
    static const QMap<QString, QString> controls{{u"list"_s, u"lstEntry"_s},
                                                 {u"groups"_s, u"lstGroup"_s},
                                                 {u"text"_s, u"txtText"_s},
                                                 {u"mask"_s, u"txtMask"_s}};
    if (!act) {
        const QKeyCombination key = QKeySequence(name.section(u' ', 1).section(u',', 0, 0))[0];
        act = press(key.key(), key.keyboardModifiers());
    }
    return {name,
            {controls[name.section(u' ', 0, 0)], act, unlocked,
             locked == u"="_s ? unlocked : locked, std::move(setup)}};
}

} // namespace

class tst_KeyMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keys_data()
    {
        QTest::addColumn<KeyCase>("keyCase");
        QTest::addColumn<bool>("locked");
        const QString text = u"txtText"_s, mask = u"txtMask"_s;
        const QString same, unlockedOnly = u"-"_s;
        // idx.dat with these titles in Notes, the other groups as they were.
        const auto notes = [](const QString &titles) {
            return u"idx=Notes "_s + titles + u" | Trash | Work Shopping Plans"_s;
        };
        const QString toText = u"mode=text;focus=txtText"_s;
        const QString toList = u"focus=lstEntry"_s;
        const QString viewed = u"mode=view;focus=lstEntry;"_s;
        const QString toC = u"sel=Notes/c;date=date of c;text=text of c"_s;
        const QString savedX = viewed + u"text=xtext of _b;file=date of _b/xtext of _b"_s;
        const QString reloaded = viewed + u"text=text of _b;file=date of _b/text of _b"_s;
        // The menu bar has the keyboard while the menu is open.
        const QString fileMenu = u"menu=mnuFile/mnuHide;focus="_s;
        const QString manual = u"msg=[Message] Manual available in folder :\n\n%STORE%"_s;
        const QString goToPlans = u"sel=Work/Plans;date=date of Plans;text=text of Plans;mask="_s;
        const QString toWork = u"idx=Notes a c c_ gone | Trash | Work Shopping Plans _b;"
                               "sel=Work/_b;date=date of _b;last=Notes/;mask="_s;
        const QString trash = u"idx=Notes a c c_ gone | Trash _b | Work Shopping Plans;"
                              "sel=Notes/c;date=date of c;text=text of c"_s;
        const QString lockBox = u"msg=[Caution!] Edit Permission locked!"_s;
        const QString refusedMove = u"msg=[Message] Edit Permission locked!"_s;
        const QString howTo = u"msg=[How to save a phrase?] Before saving a phrase onto a "
                              "phrase-memory (1-4) you have to mark some words\nor letters in "
                              "the text area with pressed left mouse button !"_s;
        // A new line before _b, without a file.
        const auto inserted = [&](const QString &line) {
            return notes(u"a "_s + OutDOS(line) + u" _b c c_ gone"_s) + u";sel=Notes/"_s + line +
                   u";date=File not present!;text="_s;
        };
        const Action typeX = typed(text, u"x"_s);
        const auto newEntry = [&](const QString &typing) {
            return then(press(Qt::Key_Insert), typed(text, typing));
        };
        const auto button = [](int b) {
            return Action([b](AppFixture &nb) { nb.control<QPushButton>(u"cmdIndiv%1"_s.arg(b))->click(); });
        };
        const Action rightClickOnC = [](AppFixture &nb) {
            nb.whenShown([](QWidget *menu) {
                caughtPopUp = menu->objectName();
                menu->close();
            });
            AppFixture::click(nb.entryList(), u"c"_s, Qt::RightButton);
        };
        // The folder dialog of an import or export, closed at once.
        const auto folderDialog = [](int key) {
            return Action([key](AppFixture &nb) {
                nb.whenShown([](QWidget *dialog) {
                    caughtPopUp = dialog->windowTitle();
                    dialog->close();
                });
                press(key, Qt::ControlModifier | Qt::ShiftModifier)(nb);
            });
        };
        // The next dialog: `text` put into its field, then `keys`, which must
        // end it (else it is cancelled, so that the case fails instead of hanging).
        const auto inDialog = [](const QString &text, const QList<int> &keys) {
            return Action([text, keys](AppFixture &nb) {
                nb.whenShown([text, keys](QWidget *dialog) {
                    if (!text.isEmpty())
                        dialog->findChild<QLineEdit *>()->insert(text);
                    QCoreApplication::processEvents(); // a refusal's message
                    for (int key : keys)
                        QTest::keyClick(dialog->focusWidget(), Qt::Key(key));
                    if (dialog->isVisible()) {
                        qobject_cast<QDialog *>(dialog)->reject();
                        QFAIL("the keys left the dialog open");
                    }
                });
            });
        };
        const Action doubleClickWork = [](AppFixture &nb) {
            nb.whenShown([](QWidget *dialog) {
                auto *list = dialog->findChild<QListWidget *>(u"lstList"_s);
                doubleClick(
                    list->viewport(),
                    list->visualItemRect(list->findItems(u"Work"_s, Qt::MatchExactly)[0]).center());
                if (dialog->isVisible()) {
                    qobject_cast<QDialog *>(dialog)->reject();
                    QFAIL("the double-click left the dialog open");
                }
            });
        };
        const Action cancelled = [](AppFixture &nb) {
            nb.whenShown(
                [](QWidget *dialog) { dialog->findChild<QPushButton *>(u"cmdMain1"_s)->click(); });
        };
        const Action doubleClickList = [](AppFixture &nb) {
            TitleListView *l = nb.entryList();
            doubleClick(l->viewport(), l->lineRect(l->currentRow()).center());
        };
        const Action doubleClickText = [](AppFixture &nb) {
            QPlainTextEdit *box = nb.entryText();
            doubleClick(box->viewport(), box->cursorRect().center());
        };
        const auto phrase = [](int n, const QString &keys) {
            return Action([n, keys](AppFixture &nb) {
                nb.app().state().prefs.PhraseMemory[n - 1] = keys;
                select(nb, u"Notes/a"_s); // the phrase's item enabled, as for a phrase kept
                select(nb, u"Notes/_b"_s);
            });
        };
        const QString most = u"{x 1000}"_s.repeated(MaxStrokes / 1000);
        const QString tooMany =
            u"msg=[Caution!] Nothing was typed: these keys would press more than %1 keys, and "
            "Plimsa types at most %1 at a time."_s.arg(MaxStrokes);
        const Action stopped = [](AppFixture &nb) {
            QPlainTextEdit *box = nb.entryText();
            QTest::keyClick(box, Qt::Key_F6);
            QTRY_VERIFY(boxText(box).startsWith(u'x'));
            QVERIFY(nb.window()->keyInjector().isBusy());
            QTest::keyClick(box, Qt::Key_Escape);
            QVERIFY(!nb.window()->keyInjector().isBusy());
        };
        const QString keptNote = notes(u"a \u00CC NEW \u00CC _b c c_ gone"_s) +
                                 u";sel=Notes/* NEW *;date=;text=abc;"_s + toText;
        const Action emptyTitle = [](AppFixture &nb) {
            nb.whenShown([](QWidget *dialog) {
                auto *field = dialog->findChild<QLineEdit *>(u"txtInput"_s);
                field->clear();
                QTest::keyClick(field, Qt::Key_Return);
            });
        };
        const QString newEntryStart = u"idx=Notes a _b c c_ gone | Trash | Work Shopping Plans;"
                                      "sel=Notes/_b;date=date of _b;text=text of _b;"_s +
                                      viewed;
        // Steps done with the lock off, whatever the case's lock: the undo
        // keys then meet them with the lock on or off.
        const auto unlocked = [](const Action &steps) {
            return Action([steps](AppFixture &nb) {
                const bool locked = nb.lockBox()->isChecked();
                nb.lockBox()->setChecked(false);
                steps(nb);
                nb.lockBox()->setChecked(locked);
            });
        };
        const Action shiftDown = key(Qt::Key_Down, Qt::ShiftModifier);
        const Action undoKey = key(Qt::Key_Z, Qt::ControlModifier);
        const QString backOnB = notes(u"a _b c c_ gone"_s) + u";sel=Notes/_b;date=date of _b;"
                                                             "text=text of _b"_s;

        QList<std::pair<QString, KeyCase>> cases{
            // The entry list, in the order its handler tests the keys.
            row(u"list Return"_s, toText + u";buttons=0000"_s, same),
            row(u"list Ctrl+Enter"_s, toText, same),
            row(u"list Esc"_s, fileMenu),
            row(u"list Shift+Esc"_s, fileMenu),
            row(u"list Left, first group"_s, u"focus=lstGroup"_s),
            row(u"list Shift+Left"_s, notes(u"a b c c_ gone"_s) + u";sel=Notes/b"_s, same),
            row(u"list Up"_s, u"sel=Notes/a;date=date of a;text=text of a;buttons=0101"_s,
                u"sel=Notes/a;date=date of a;text=text of a;buttons=0000"_s),
            row(u"list Ctrl+Up"_s, notes(u"_b a c c_ gone"_s), same),
            row(u"list Right"_s,
                u"focus=lstGroup;sel=Trash/ ;date=File not present!;text=;mask="_s),
            row(u"list Alt+Right"_s, notes(u"a __b c c_ gone"_s) + u";sel=Notes/__b"_s, same),
            row(u"list Down"_s, toC),
            row(u"list Num+Down"_s, toC),
            row(u"list Shift+Down"_s, notes(u"a c _b c_ gone"_s), same),
            row(u"list Ins"_s,
                notes(u"a \u00CC NEW \u00CC _b c c_ gone"_s) + u";sel=Notes/* NEW *;"_s + toText +
                    u";text=;date="_s,
                same),
            row(u"list Del"_s, trash, same),
            row(u"list F1"_s, manual),
            row(u"list F9, nothing recorded"_s, same),
            row(u"list Ctrl+F9, after a move"_s,
                u"sel=Work/Shopping;date=date of Shopping;text=text of Shopping;mask="_s, u"="_s,
                [](AppFixture &nb) { nb.window()->mainState().LastMovePosition = u"Work/"_s; }),
            row(u"list F11"_s, inserted(QString(99, u'-')), same),
            row(u"list F12"_s, notes(u"a bb c c_ gone"_s) + u";sel=Notes/bb"_s, same,
                answering(u"bb"_s)),
            // The refusal names the character, a whole one outside the basic plane.
            row(u"list F12, answered outside the code page"_s, u"msg=~.*\U0001F600.*"_s, same,
                inDialog(u"\U0001F600"_s, {Qt::Key_Escape})),
            // The move's choice of groups leaves the selected one out.
            row(u"list move, first Down"_s, trash, same,
                inDialog({}, {Qt::Key_Down, Qt::Key_Return}), triggered(u"mnuEntryChange"_s)),
            row(u"list move, Down Down"_s, toWork, same,
                inDialog({}, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}),
                triggered(u"mnuEntryChange"_s)),
            row(u"list move, double-click"_s, toWork, same, doubleClickWork,
                triggered(u"mnuEntryChange"_s)),
            row(u"list move, Esc"_s, same, same, inDialog({}, {Qt::Key_Down, Qt::Key_Escape}),
                triggered(u"mnuEntryChange"_s)),
            row(u"list move, nothing chosen"_s, same, same, inDialog({}, {Qt::Key_Return}),
                triggered(u"mnuEntryChange"_s)),
            row(u"list F5"_s, goToPlans),
            row(u"list F7, the memory's group gone"_s, u"beeps=1"_s),
            // Memory 1 on Work/Shopping: pref.dat, the three captions and Go To
            // (nothing to go to from there) at once.
            row(u"list Shift+F5, on Work/Shopping"_s,
                u"mem=Work/Shopping,Notes/,Gone/x,free/free;memo1=Memory &1  [F5]  =>  "
                "Work/Shopping|Memory &1  [CTRL] + [F5]  =>  Work|Memory &1  [SH] + [F5]  =>  "
                "Work/Shopping;on:mnuGoToMemo0=0"_s,
                u"beeps=1"_s, selected(u"Work/Shopping"_s)),
            // Renamed, the entry leaves a group memory: F5 only selects the group.
            row(u"list F5, after the memory's entry was renamed"_s,
                u"sel=Work/Shopping;date=date of Shopping;text=text of Shopping;mask="_s, goToPlans,
                [](AppFixture &nb) {
                    select(nb, u"Work/Plans"_s);
                    answered(u"Later"_s, press(Qt::Key_F12))(nb);
                    select(nb, u"Notes/_b"_s);
                }),
            row(u"list Ctrl+F5"_s, notes(u"a c c_ gone"_s) + u" _b;sel=Work/_b;last=Notes/;mask="_s,
                refusedMove),
            row(u"list Ctrl+F6, the selected group"_s,
                u"msg=[Message] The entry is already in the group of Memory 2."_s, refusedMove),
            row(u"list Ctrl+F7, the memory's group gone"_s,
                u"msg=[Message] "_s + WordTable::english(139) + u" 3"_s, refusedMove),
            row(u"list Ctrl+F8, memory free"_s,
                u"msg=[Message] Memory place is free !  Before using click on \"Go/Move / "
                "Save to... / Memory 4"_s,
                refusedMove),
            // On a line without a file the selected group is still told first.
            row(u"list Ctrl+F5, a line without a file"_s,
                u"msg=[Message] Only real files can be moved !"_s, refusedMove,
                selected(u"Notes/gone"_s)),
            row(u"list Ctrl+F6, the selected group, a line without a file"_s,
                u"msg=[Message] The entry is already in the group of Memory 2."_s, refusedMove,
                selected(u"Notes/gone"_s)),
            row(u"list Ctrl+F8, a hidden \u00FF-group"_s,
                u"msg=[Message] "_s + WordTable::english(77), refusedMove,
                [](AppFixture &nb) {
                    nb.app().state().prefs.HideYGroups = 1;
                    nb.app().state().prefs.PositionMemory[3] = u"\u00FFSecret/x"_s;
                }),
            row(u"list Ctrl+Shift+F5"_s, same),
            row(u"list Alt+F5"_s, same),
            row(u"list right click"_s, toC + u";menu=mnuEntry"_s, same, {}, rightClickOnC),
            // An import changes the notebook, an export only reads it.
            row(u"list Ctrl+Shift+G"_s, u"menu=Import Folder"_s,
                u"msg=[Caution!] Importing changes the notebook: it needs editing allowed and no "
                "entry or mask being edited."_s,
                {}, folderDialog(Qt::Key_G)),
            row(u"text Ctrl+Shift+X"_s, u"menu=Export Group"_s, u"="_s, {},
                folderDialog(Qt::Key_X)),
            row(u"list Down, onto a missing file"_s,
                u"sel=Notes/gone;date=File not present!;text="_s, u"="_s, selected(u"Notes/c_"_s)),
            // A file too large to show is refused by name, and no edit can write over it.
            row(u"list Down, onto a file too large to show"_s,
                u"sel=Notes/c;date=File too large to show!;text=;"
                "msg=~.* 65 MB. Plimsa shows entries of up to 64 MB.*/FileStore/Notes/c\\.txt"_s,
                u"="_s,
                [](AppFixture &nb) {
                    QFile file(nb.path(u"FileStore/Notes/c.txt"_s));
                    QVERIFY(file.open(QIODevice::ReadWrite) && file.resize(qint64(65) << 20));
                }),
            // A file of 0 bytes has not even a date line and counts as none.
            row(u"list Up, onto a file of 0 bytes"_s, u"sel=Notes/a;date=File not present!;text="_s,
                u"="_s, [](AppFixture &nb) { nb.write(u"FileStore/Notes/a.txt"_s, {}); }),
            row(u"list double-click"_s, toText, same, {}, doubleClickList),
            // Undo and Redo of the notebook's commands; the same entry stays shown.
            row(u"list Ctrl+Z, after Shift+Down"_s, notes(u"a _b c c_ gone"_s), same,
                unlocked(shiftDown)),
            row(u"list Ctrl+Z, after Del"_s, backOnB, same, unlocked(key(Qt::Key_Delete))),
            row(u"list Ctrl+Z, after a move"_s, backOnB + u";mask=m1"_s, same,
                unlocked(then(inDialog({}, {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}),
                              triggered(u"mnuEntryChange"_s)))),
            row(u"list Ctrl+Y, after F12 and Ctrl+Z"_s,
                notes(u"a bb c c_ gone"_s) + u";sel=Notes/bb"_s, same,
                unlocked(then(answered(u"bb"_s, key(Qt::Key_F12)), undoKey))),
            row(u"groups Ctrl+Shift+Z, after Shift+Down and Ctrl+Z"_s, notes(u"a c _b c_ gone"_s),
                same, unlocked(then(shiftDown, undoKey))),
            row(u"list Ctrl+Shift+Z, nothing undone"_s, same, same, unlocked(shiftDown)),
            // The text keeps its own undo.
            row(u"text Ctrl+Z, after Shift+Down"_s, same, lockBox, unlocked(shiftDown)),

            // The group list passes on every key but Up and Down, which move
            // the entry selection; with a modifier, the entry.
            row(u"groups Return"_s, toText, same),
            row(u"groups Esc"_s, fileMenu),
            row(u"groups Right"_s, u"sel=Trash/ ;date=File not present!;text=;mask="_s),
            row(u"groups Down"_s, toC + u";focus=lstEntry"_s),
            row(u"groups Ctrl+Down"_s, notes(u"a c _b c_ gone"_s) + u";"_s + toList, toList),
            row(u"groups Del"_s, trash + u";focus=lstEntry"_s, same),
            row(u"groups F5"_s, goToPlans),

            // The entry text while it is viewed, then edited.
            row(u"text Return"_s, u"mode=text;text=\ntext of _b"_s, lockBox),
            row(u"text Shift+Return"_s, toList),
            // OK while editing, and no line break: the text is read back from its file.
            row(u"text Shift+Return, edited"_s, savedX, toList, typeX),
            row(u"text Ctrl+Return, edited"_s, savedX, toList, typeX),
            // The next Enter is typed as usual again.
            row(u"text Return, after a Shift+Return"_s, u"mode=text;text=\nxtext of _b"_s, lockBox,
                then(typeX, press(Qt::Key_Return, Qt::ShiftModifier))),
            row(u"text Esc"_s, toList),
            row(u"text Esc, edited"_s, reloaded, toList, typeX),
            row(u"text Del"_s, u"mode=text;text=ext of _b"_s, lockBox),
            row(u"text Shift+F1"_s, manual),
            row(u"text F2"_s, toList),
            row(u"text F3"_s, same),
            // Save stays in the edit mode; neither touches the date line.
            row(u"text F3, edited"_s, u"file=date of _b/xtext of _b"_s, same, typeX),
            row(u"text F2, after F3"_s, viewed + u"file=date of _b/xytext of _b"_s, toList,
                then(then(typeX, press(Qt::Key_F3)), typed(text, u"y"_s))),
            row(u"text Ctrl+F4"_s, toList),
            row(u"text F4, edited"_s, reloaded, toList, typeX),
            row(u"text F5"_s, u"mode=text;text=Hitext of _b"_s, lockBox),
            // Shift+F5 keeps the selection as phrase 1; F5 types it and starts the edit.
            row(u"text F5, after Shift+F5"_s, u"mode=text;text=text of _b\ntext"_s, lockBox,
                then(then(selectFirstFour, press(Qt::Key_F5, Qt::ShiftModifier)), caretToEnd)),
            row(u"text F6, phrase free"_s, u"beeps=1"_s),
            // Phrases are key strings: their specials act as keys; a malformed
            // one types nothing and beeps, as does one that presses its own key
            // for ever.
            row(u"text F6, shift and enter"_s, u"mode=text;text=aB\ntext of _b"_s, unlockedOnly,
                phrase(2, u"a+b~"_s)),
            row(u"text F6, unclosed brace"_s, u"beeps=1"_s, unlockedOnly, phrase(2, u"{x"_s)),
            // A phrase of more keys than are typed at a time types nothing and
            // says so, counted with the phrases its keys type in turn; Esc
            // stops one being typed, and only that.
            row(u"text F5, more keys than typed at a time"_s, tooMany, unlockedOnly,
                phrase(1, most + u"y"_s)),
            row(u"text F6, its own key"_s, tooMany, unlockedOnly, phrase(2, u"x{F6}"_s)),
            row(u"text F5, its own key a thousand times"_s, tooMany, unlockedOnly,
                phrase(1, u"{F5 1000}"_s)),
            row(u"text F5, phrases four deep"_s, tooMany, unlockedOnly,
                then(then(phrase(1, u"{F6 1000}"_s), phrase(2, u"{F7 1000}"_s)),
                     then(phrase(3, u"{F8 1000}"_s), phrase(4, u"{a 1000}"_s)))),
            row(u"text F5, a phrase typing another"_s, u"mode=text;text=ababtext of _b"_s,
                unlockedOnly, then(phrase(1, u"{F6 2}"_s), phrase(2, u"ab"_s))),
            row(u"text Esc, while a phrase is typed"_s,
                u"mode=text;text=~x{1,%1}text of _b"_s.arg(MaxStrokes - 1), unlockedOnly,
                phrase(2, most), stopped),
            // Word wrap keeps the edit, its text and its caret.
            row(u"text menu Word Wrap, edited"_s,
                u"mode=text;text=xtext of _b;caret=1+0;checked:mnuWordwrap=1"_s,
                u"checked:mnuWordwrap=1"_s, typeX, triggered(u"mnuWordwrap"_s)),
            // The euro sign has no key: it is typed as a character.
            row(u"text menu Insert euro"_s, u"mode=text;text=\u20ACtext of _b"_s, lockBox, {},
                triggered(u"mnuCallDate0"_s)),
            row(u"text Shift+F5, nothing selected"_s, howTo),
            row(u"text Shift+F8, text selected"_s, u"phrases=Hi,free,free,text"_s, u"="_s,
                selectFirstFour),
            row(u"text Ctrl+F5"_s, same),
            row(u"text Ctrl+Shift+F5"_s, same),
            row(u"text F11"_s, u"mode=text;text=~%DATE%text of _b"_s, lockBox),
            row(u"text Alt+F12"_s, u"mode=text;text=~%TIME%text of _b"_s, lockBox),
            // The double-click's selection gives way to the line end.
            row(u"text double-click"_s, toText + u";caret=10+0"_s, same, {}, doubleClickText),
            // What Windows-1252 cannot hold is refused with a message; the rest goes in.
            row(u"text typed outside the code page"_s,
                u"mode=text;text=a\u20ACbtext of _b;msg=~.*U\\+03A9.*"_s, unlockedOnly, {},
                typed(text, u"a\u03A9\u20ACb"_s)),
            row(u"text pasted outside the code page"_s, u"msg=~.*U\\+1F600.*"_s, unlockedOnly, {},
                [](AppFixture &nb) {
                    QApplication::clipboard()->setText(u"x\U0001F600y"_s);
                    QTest::keyClick(nb.entryText(), Qt::Key_V, Qt::ControlModifier);
                }),
            // The box's own menu pastes past every key handler; locked, nothing changes.
            row(u"text pasted from the box's menu"_s, u"mode=text;text=pastedtext of _b"_s, same,
                {},
                [](AppFixture &nb) {
                    QApplication::clipboard()->setText(u"pasted"_s);
                    nb.entryText()->paste();
                }),
            // An input method's text comes past the key handlers as well.
            row(u"text from an input method"_s, u"mode=text;text=\u00FCtext of _b"_s, lockBox, {},
                [](AppFixture &nb) {
                    QInputMethodEvent commit;
                    commit.setCommitString(u"\u00FC"_s);
                    QCoreApplication::sendEvent(nb.entryText(), &commit);
                }),

            // A new entry is stored once its title is known: the typical change.
            row(u"text F2, new entry"_s,
                notes(u"a Shopping list _b c c_ gone"_s) + u";sel=Notes/Shopping list;"_s + viewed +
                    u"date=~%DATELINE%;text=Shopping list\nmilk;"
                    "file=~%DATELINE%/Shopping list/milk"_s,
                toList, then(newEntry(u"Shopping list\nmilk"_s), answering({}))),
            row(u"text F2, new entry's title taken twice"_s,
                notes(u"a c__ _b c c_ gone"_s) + u";sel=Notes/c__;"_s + viewed +
                    u"date=~%DATELINE%;text=c;file=~%DATELINE%/c"_s,
                toList, then(newEntry(u"c"_s), answering({}))),
            row(u"text F2, new entry's title a stored name"_s,
                notes(u"a a\u00CFb _b c c_ gone"_s) + u";sel=Notes/a/b;"_s + viewed +
                    u"date=~%DATELINE%;text=c;file=~%DATELINE%/c"_s,
                toList, then(newEntry(u"c"_s), answering(u"a/b"_s))),
            // No title yet keeps the note: back to the edit, text and line as they were.
            row(u"text F2, new entry's title cancelled"_s, keptNote, toList,
                then(newEntry(u"abc"_s), inDialog({}, {Qt::Key_Escape}))),
            row(u"text F2, new entry's title by the Cancel button"_s, keptNote, toList,
                then(newEntry(u"abc"_s), cancelled)),
            row(u"text F3, new entry's title empty"_s, keptNote, same,
                then(newEntry(u"abc"_s), emptyTitle)),
            row(u"text Esc, new entry"_s, newEntryStart, toList, newEntry(u"abc"_s)),
            // Refused before anything changes; the text stays for another title.
            row(u"text F2, new entry's title too long"_s, u"msg=~.*too long.*"_s, toList,
                then(newEntry(QString(300, u'a')), answering({}))),

            // The mask: the keys of an edit and F1, nothing else.
            row(u"mask Return"_s, u"mode=mask;mask=\nm1"_s, lockBox),
            row(u"mask Ctrl+Return"_s, toList),
            row(u"mask Esc"_s, toList),
            row(u"mask F1"_s, manual),
            row(u"mask F2"_s, toList),
            row(u"mask F2, edited"_s, viewed + u"maskfile=Am1"_s, toList, typed(mask, u"A"_s)),
            // Cancelled, the mask comes back as last saved.
            row(u"mask F4, after a saved edit"_s, viewed + u"mask=Am1;maskfile=Am1"_s, toList,
                then(then(typed(mask, u"A"_s), press(Qt::Key_F2)), typed(mask, u"B"_s))),
            row(u"mask F3"_s, same),
            row(u"mask F4"_s, toList),
            row(u"mask F5"_s, same),
            row(u"mask F11"_s, same),
            row(u"mask typed outside the code page"_s,
                u"mode=mask;mask=a\u20ACbm1;msg=~.*U\\+03A9.*"_s, unlockedOnly, {},
                typed(mask, u"a\u03A9\u20ACb"_s)),
            // Typing into the other box cancels the edit; the mask box keeps the key.
            row(u"text typed while the mask is edited"_s, viewed + u"mask=m1"_s, lockBox,
                typed(mask, u"B"_s), typed(text, u"T"_s)),
            row(u"mask typed while the text is edited"_s, viewed + u"text=text of _b;mask=Mm1"_s,
                lockBox, typeX, typed(mask, u"M"_s)),

            // The menus and buttons of the keyboard commands.
            row(u"list menu Edit Permission"_s, u"lock=1"_s, u"lock=0"_s, {},
                triggered(u"mnuEditPermission"_s)),
            row(u"list menu Clear Phrases"_s, u"phrases=free,free,free,free"_s, u"="_s, {},
                triggered(u"mnuClearTxtMemos"_s)),
            row(u"list button 1, free"_s, same, same, {}, button(0)),
            row(u"list button 2, SHIFT {F5} {F6}: memories 1 and 2 saved"_s,
                u"mem=Notes/_b,Notes/_b,Gone/x,free/free"_s, same, {}, button(1)),
            row(u"list button 3, malformed: nothing, a beep"_s, u"beeps=1"_s, same, {}, button(2)),
            row(u"list button 4, {DEL}"_s, trash, same, {}, button(3)),
            // Its Enter would start the edit that its F5s type a phrase into.
            row(
                u"list button 1, a phrase a thousand times"_s, tooMany, same,
                [](AppFixture &nb) {
                    nb.app().state().prefs.IndivButton[0] = {u"NORMAL"_s, u"{ENTER}"_s,
                                                             u"{F5 1000}"_s};
                    nb.app().state().prefs.PhraseMemory[0] = u"{x 10}"_s;
                },
                button(0)),
        };

        // The separator lines of the Insert menu: titles without a file before the selection.
        const QString blanks = QString(99, QChar::Nbsp) + u'.';
        const QList<std::tuple<QString, int, QString, QString>> separators{
            {u"blanks"_s, 0, QString(), blanks},
            {u"equal signs"_s, 2, QString(), QString(99, u'=')},
            {u"char line"_s, 3, u"*ab"_s, QString(99, u'*') + u'.'},
            {u"char line of blanks"_s, 3, u" x"_s, blanks},
            {u"char line cancelled"_s, 3, u"{cancel}"_s, QString()},
            {u"text"_s, 4, u"-- week 3 --"_s, u"-- week 3 --"_s},
            {u"text CANCEL"_s, 4, u"CANCEL"_s, u"CANCEL"_s},
            {u"text, one blank"_s, 4, u" "_s, QString()},
            {u"text that is no name"_s, 4, u"  ."_s, QString()},
            // The same title would share the entry's file.
            {u"text naming an entry"_s, 4, u"c"_s, u"c__"_s}};
        for (const auto &[name, k, answer, line] : separators) {
            const Action insert = triggered(u"mnuInsertCall%1"_s.arg(k));
            const Action act = answer == u"{cancel}"_s ? then(cancelled, insert)
                               : answer.isNull()       ? insert
                                                       : answered(answer, insert);
            cases.append(row(u"list separator, "_s + name, line.isEmpty() ? same : inserted(line),
                             u"="_s, {}, act));
        }

        // The text line's dialog ignores Esc; Enter ends it.
        cases.append(row(u"list separator, text, Esc ignored"_s, inserted(u"ab"_s), u"="_s,
                         inDialog(u"ab"_s, {Qt::Key_Escape, Qt::Key_Return}),
                         triggered(u"mnuInsertCall4"_s)));

        // Lines without a file start no edit mode, whichever way is tried (a
        // file of 0 bytes loads as none: "list Up, onto a file of 0 bytes").
        for (const auto &[name, line] : {std::pair{u"missing file"_s, u"Notes/gone"_s},
                                         std::pair{u"blank line"_s, u"Notes/ "_s}}) {
            for (const auto &[way, act] :
                 {std::pair{u"list Return"_s, press(Qt::Key_Return)},
                  std::pair{u"groups Return"_s, press(Qt::Key_Return)},
                  std::pair{u"list double-click"_s, doubleClickList},
                  std::pair{u"list double-click in the text"_s, doubleClickText}}) {
                cases.append(row(way + u", "_s + name, same, unlockedOnly, selected(line), act));
            }
        }

        for (const auto &[name, keyCase] : cases) {
            QTest::addRow("%s", qPrintable(name)) << keyCase << false;
            if (keyCase.locked != unlockedOnly)
                QTest::addRow("%s, locked", qPrintable(name)) << keyCase << true;
        }
    }

    void keys()
    {
        QFETCH(KeyCase, keyCase);
        QFETCH(bool, locked);
        AppFixture nb;
        nb.writeNotebook(notebook(kBook));
        nb.write(u"FileStore/Notes/_mask.dat"_s, {u"m1"_s});
        // The mask shown; memories, a phrase and the individual buttons.
        for (const auto &[line, value] : {std::pair{16, u" 1"_s},
                                          {23, u"Work/Plans"_s},
                                          {24, u"Notes/"_s},
                                          {25, u"Gone/x"_s},
                                          {27, u"Hi"_s},
                                          {34, u"SHIFT"_s},
                                          {35, u"{F5}"_s},
                                          {36, u"{F6}"_s},
                                          {38, u"{F5"_s},
                                          {41, u"{DEL}"_s}})
            nb.setPref(line, value);
        QVERIFY(nb.start());
        select(nb, u"Notes/_b"_s);
        nb.lockBox()->setChecked(locked);
        if (keyCase.setup)
            keyCase.setup(nb);
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        auto *control = nb.window()->findChild<QWidget *>(keyCase.control);
        control->setFocus();
        QTRY_COMPARE(nb.window()->focusWidget(), control);
        nb.messages.shown.clear();
        nb.messages.beeps = 0;
        caughtPopUp.clear();
        const auto before = observe(nb);

        keyCase.act(nb);
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        QCoreApplication::processEvents(); // the last injected key's own consequences

        expectState(nb, locked ? keyCase.locked : keyCase.unlocked, before);
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

    // A group whose title holds "/" leaves memories that the split at the
    // first "/" reads as group Work: the keys, as the menus, never take them
    // to Work. Memory 1 is saved in Work/Home, Bills moved from there to
    // memory 2's Work; then neither memory 1 nor the last move leaves Work/w.
    void slashInAGroupTitle()
    {
        const auto click = [](bool groups, const QString &line) {
            return Action([groups, line](AppFixture &nb) {
                AppFixture::click(groups ? nb.groupList() : nb.entryList(), line);
            });
        };
        run(Scenario{u"Work w | Work/Home Plans Bills"_s,
                     {u"24=Work/"_s},
                     {},
                     {click(true, u"Work/Home"_s), click(false, u"Plans"_s),
                      key(Qt::Key_F5, Qt::ShiftModifier), click(false, u"Bills"_s),
                      key(Qt::Key_F6, Qt::ControlModifier), selected(u"Work/w"_s), key(Qt::Key_F5),
                      key(Qt::Key_F9)},
                     u"idx=Work w Bills | Work\u00CFHome Plans;sel=Work/w;beeps=1;last=Work/Home/;"
                     "mem=Work/Home/Plans,Work/,free/free,free/free"_s});
    }

    // frmIndiv shows all four buttons; New only fills the rows, Cancel keeps
    // nothing, OK stores them, NORMAL chosen again among them.
    void buttonDialog()
    {
        const auto dialog = [](const std::function<void(QWidget *)> &act) {
            return Action([act](AppFixture &nb) {
                nb.whenShown(act);
                triggered(u"mnuSettings2"_s)(nb);
                QTRY_VERIFY(!QApplication::activeModalWidget());
            });
        };
        const Action cancelled = dialog([](QWidget *dialog) {
            QCOMPARE(dialog->findChild<QComboBox *>(u"cbo01"_s)->currentIndex(), -1);
            QCOMPARE(dialog->findChild<QComboBox *>(u"cbo10"_s)->currentText(), u"{F5}"_s);
            dialog->findChild<QPushButton *>(u"cmdMain2"_s)->click(); // New
            QCOMPARE(dialog->findChild<QComboBox *>(u"cbo10"_s)->currentText(), u"free"_s);
            dialog->findChild<QPushButton *>(u"cmdMain1"_s)->click(); // Cancel
        });
        const Action stored = dialog([](QWidget *dialog) {
            dialog->findChild<QComboBox *>(u"cbo00"_s)->setCurrentText(u"NORMAL"_s);
            dialog->findChild<QComboBox *>(u"cbo03"_s)->setCurrentText(u"CTRL"_s);
            dialog->findChild<QComboBox *>(u"cbo13"_s)->setCurrentText(u"{F8}"_s);
            dialog->findChild<QLineEdit *>(u"txt3"_s)->setText(u"{F7}"_s);
            dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click(); // OK
        });
        // "^+": a modifier of the user's own, not in the list. After Cancel
        // the dialog opens on the rows as stored, which OK writes back.
        run(Scenario{{},
                     {u"31=SHIFT"_s, u"32={F5}"_s, u"34=^+"_s},
                     {},
                     {cancelled, stored},
                     u"pref31=NORMAL;pref32={F5};pref33=;pref34=^+;pref35=free;"
                     "pref40=CTRL;pref41={F8};pref42={F7};pref43= 0"_s});
    }
};

QTEST_MAIN(tst_KeyMap)
#include "tst_keymap.moc"
