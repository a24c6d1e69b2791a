// The keys, the edit modes and the keyboard commands on the real window: every
// row of the key map in each control it applies to, the ways into and out of
// an edit, new entries, memories, phrases, separator lines and
// the individual buttons, each with the edit lock off and on. Each case acts
// once on a fresh window and compares everything an action can change
// (selection, focus, mode, lock, idx.dat, the boxes, the messages and beeps,
// the open menu, the memories and phrases in pref.dat) with what it was
// before, save the changes it names. And what the table cannot hold:
// phrases of key strings, a memory left by a group whose title holds "/",
// the individual buttons' dialog.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"

#include "editing/editrules.h"
#include "i18n/wordtable.h"
#include "platform/keyinjector_w.h"
#include "platform/keystring.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "ui/codepagetextedit_w.h"

#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <numeric>

using namespace Qt::StringLiterals;

// One action with the focus in one control, named "<control> <key>[, how]"
// (list, groups, text or mask; the key as QKeySequence writes it), and the
// changes it makes unlocked and locked, as "name=value" separated by ";" (""
// for none; locked "=": as unlocked, "-": not run locked). A value starting
// with "~" is a pattern; %STORE% stands for the store folder, %DATE%, %TIME%
// and %DATELINE% for what F11, F12 and a new entry write (digits free).
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
// Named by a case only: the selected entry's file and the mask's file (their
// lines joined by "/"), memory 1's three captions, the text's caret "at+length",
// the buttons under the entry list as shown (1 enabled): indent left and right,
// one place up and down.
const QStringList kOnDemand{u"file"_s, u"maskfile"_s, u"memo1"_s, u"caret"_s, u"buttons"_s};
QString shownPopUp; // the pop-up menu a case has caught

QString popupItem()
{
    const auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        return {};
    return menu->objectName() + u'/' +
           (menu->activeAction() ? menu->activeAction()->objectName() : QString());
}

QString fileLines(const AppFixture &nb, const QString &relative)
{
    const QByteArray bytes = nb.read(relative);
    if (bytes.isEmpty())
        return {};
    const QString lines = CodePage::decode(bytes).split(u"\r\n"_s).join(u'/');
    return bytes.endsWith("\r\n") ? lines.chopped(1) : lines + u" (no line end)"_s;
}

QString chopped(const QString &text)
{
    return text.chopped(text.endsWith(u'\n'));
}

QMap<QString, QString> observe(AppFixture &nb)
{
    const MainWidgets &w = nb.w();
    const QStringList prefs = nb.readLines(u"pref.dat"_s);
    QWidget *focus = nb.window()->focusWidget();
    QStringList shown;
    for (const auto &m : nb.messages.shown)
        shown << u'[' + m.title + u"] "_s + m.text;
    const QString selected = selection(nb);
    const QTextCursor caret = w.txtText[0]->textCursor();
    return {{u"sel"_s, selected},
            {u"focus"_s, focus ? focus->objectName() : QString()},
            {u"mode"_s, nb.state().TextEditMode   ? u"text"_s
                        : nb.state().MaskEditMode ? u"mask"_s
                                                  : u"view"_s},
            {u"lock"_s, QString::number(w.chckEdit->isChecked())},
            {u"idx"_s, index(nb)},
            {u"text"_s, chopped(boxText(w.txtText[0]))},
            {u"mask"_s, chopped(boxText(w.txtMask))},
            {u"date"_s, w.lblDate->text()},
            {u"msg"_s, shown.join(u" || "_s)},
            {u"beeps"_s, QString::number(nb.messages.beeps)},
            {u"menu"_s, popupItem() + shownPopUp},
            {u"mem"_s, prefs.mid(22, 4).join(u',')},
            {u"phrases"_s, prefs.mid(26, 4).join(u',')},
            {u"last"_s, nb.window()->mainState().LastMovePosition},
            {u"file"_s, fileLines(nb, u"FileStore/"_s + OutDOS(selected.section(u'/', 0, 0)) +
                                          u'/' + OutDOS(selected.section(u'/', 1)) + u".txt"_s)},
            {u"maskfile"_s, fileLines(nb, u"FileStore/Notes/_mask.dat"_s)},
            {u"memo1"_s, w.mnuGoToMemo[0]->text() + u'|' + w.mnuMoveToMemo[0]->text() + u'|' +
                             w.mnuSetMemo[0]->text()},
            {u"caret"_s, u"%1+%2"_s.arg(caret.position()).arg(caret.selectedText().size())},
            {u"buttons"_s, std::accumulate(w.cmdH.begin(), w.cmdH.end(), QString(),
                                           [](const QString &flags, const QPushButton *button) {
                                               return flags + (button->isEnabled() ? u'1' : u'0');
                                           })}};
}

// Digits of the clock may have moved on while the key was typed.
QString digitsFree(const QString &text)
{
    return QRegularExpression::escape(text).replace(QRegularExpression(u"\\d"_s), u"\\d"_s);
}

QString expand(QString value, AppFixture &nb)
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    value.replace(u"%STORE%"_s, nb.app().state().storeFolder);
    value.replace(u"%DATELINE%"_s, digitsFree(EditRules::dateLine(now, locale)));
    value.replace(u"%DATE%"_s, digitsFree(EditRules::dateText(now.date(), locale)));
    value.replace(u"%TIME%"_s, digitsFree(EditRules::timeText(now.time(), locale)));
    return value;
}

void verify(QMap<QString, QString> expected, const QMap<QString, QString> &after,
            const QString &changes, AppFixture &nb)
{
    for (const QString &name : kOnDemand)
        expected.remove(name);
    for (const QString &change : changes.split(u';', Qt::SkipEmptyParts)) {
        const QString name = change.section(u'=', 0, 0);
        const QString value = expand(change.section(u'=', 1), nb);
        QVERIFY2(after.contains(name), qPrintable(name));
        expected[name] = value;
        if (!value.startsWith(u'~'))
            continue;
        const QRegularExpression pattern(u'^' + value.mid(1) + u'$',
                                         QRegularExpression::DotMatchesEverythingOption);
        QVERIFY2(pattern.match(after[name]).hasMatch(), qPrintable(name + u": "_s + after[name]));
        expected[name] = after[name];
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(after[it.key()] == it.value(),
                 qPrintable(it.key() + u": \""_s + after[it.key()] + u"\", expected \""_s +
                            it.value() + u'"'));
}

Action press(int key, Qt::KeyboardModifiers modifiers = {})
{
    return [key, modifiers](AppFixture &nb) {
        QTest::keyClick(nb.window()->focusWidget(), Qt::Key(key), modifiers);
    };
}

Action typed(const QString &name, const QString &text)
{
    return [name, text](AppFixture &nb) {
        auto *box = nb.window()->findChild<QPlainTextEdit *>(name);
        box->setFocus();
        for (const QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(box, Qt::Key_Return);
            else if (c.unicode() < 0x80)
                QTest::keyClicks(box, QString(c));
            else // a key that has no Qt::Key of its own
                QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), {});
        }
    };
}

// The next input dialog answered by Enter, with `text` in place of the proposal
// unless it is null.
Action answering(const QString &text)
{
    return [text](AppFixture &nb) { nb.answerInput(text); };
}

Action then(const Action &first, const Action &second)
{
    return [first, second](AppFixture &nb) {
        first(nb);
        second(nb);
    };
}

Action selected(const QString &where)
{
    return [where](AppFixture &nb) { select(nb, where); };
}

void doubleClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
}

// The first four characters of the text selected, or the caret after the text.
void selectFour(AppFixture &nb)
{
    nb.w().txtText[0]->setFocus();
    QTextCursor cursor = nb.w().txtText[0]->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    nb.w().txtText[0]->setTextCursor(cursor);
}

void caretToEnd(AppFixture &nb)
{
    nb.w().txtText[0]->moveCursor(QTextCursor::End);
}

std::pair<QString, KeyCase> row(const QString &name, const QString &unlocked,
                                const QString &locked = u"="_s, Action setup = {}, Action act = {})
{
    static const QMap<QString, QString> controls{{u"list"_s, u"lstEntry"_s},
                                                 {u"groups"_s, u"lstGroup"_s},
                                                 {u"text"_s, u"txtText0"_s},
                                                 {u"mask"_s, u"txtMask"_s}};
    if (!act) {
        const QKeyCombination key = QKeySequence(name.section(u' ', 1).section(u',', 0, 0))[0];
        act = press(key.key(), key.keyboardModifiers());
    }
    return {name,
            {controls[name.section(u' ', 0, 0)], act, unlocked,
             locked == u"="_s ? unlocked : locked, std::move(setup)}};
}

void keyAndWait(AppFixture &nb, QWidget *control, int key, Qt::KeyboardModifiers modifiers = {})
{
    control->setFocus();
    QTest::keyClick(control, Qt::Key(key), modifiers);
    QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
}

// Runs `act` on frmIndiv once the Options menu has opened it.
void withButtonDialog(AppFixture &nb, const std::function<void(QWidget *)> &act)
{
    nb.whenShown(act);
    nb.w().mnuSettings[2]->trigger();
    QTRY_VERIFY(!QApplication::activeModalWidget());
}

template <typename T> T *child(QWidget *dialog, const QString &name)
{
    return dialog->findChild<T *>(name);
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
        const QString text = u"txtText0"_s, mask = u"txtMask"_s;
        const QString same, unlockedOnly = u"-"_s;
        // idx.dat with these titles in Notes, the other groups as they were.
        const auto notes = [](const QString &titles) {
            return u"idx=Notes "_s + titles + u" | Trash | Work Shopping Plans"_s;
        };
        const QString toText = u"mode=text;focus=txtText0"_s;
        const QString toList = u"focus=lstEntry"_s;
        const QString viewed = u"mode=view;focus=lstEntry;"_s;
        const QString toC = u"sel=Notes/c;date=date of c;text=text of c"_s;
        const QString savedX = viewed + u"text=xtext of _b;file=date of _b/xtext of _b"_s;
        const QString reloaded = viewed + u"text=text of _b;file=date of _b/text of _b"_s;
        // The menu bar has the keyboard while the menu is open.
        const QString fileMenu = u"menu=mnuFile/mnuHide;focus="_s;
        const QString manual = u"msg=[Message] Manual available in folder :\n\n%STORE%"_s;
        const QString goToPlans = u"sel=Work/Plans;date=date of Plans;text=text of Plans;mask="_s;
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
            return Action([b](AppFixture &nb) { nb.w().cmdIndiv[b]->click(); });
        };
        const Action dialogEscaped = [](AppFixture &nb) {
            nb.whenShown([](QWidget *dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
        };
        const Action rightClickOnC = [](AppFixture &nb) {
            nb.whenShown([](QWidget *menu) {
                shownPopUp = menu->objectName();
                menu->close();
            });
            AppFixture::click(nb.w().lstEntry, u"c"_s, Qt::RightButton);
        };
        const Action cancelled = [](AppFixture &nb) {
            nb.whenShown(
                [](QWidget *dialog) { dialog->findChild<QPushButton *>(u"cmdMain1"_s)->click(); });
        };
        const Action doubleClickList = [](AppFixture &nb) {
            TitleListView *l = nb.w().lstEntry;
            doubleClick(l->viewport(), l->lineRect(l->currentRow()).center());
        };
        const Action doubleClickText = [](AppFixture &nb) {
            QPlainTextEdit *box = nb.w().txtText[0];
            doubleClick(box->viewport(), box->cursorRect().center());
        };
        const QString newEntryStart = u"idx=Notes a _b c c_ gone | Trash | Work Shopping Plans;"
                                      "sel=Notes/_b;date=date of _b;text=text of _b;"_s +
                                      viewed;

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
            row(u"list F5"_s, goToPlans),
            row(u"list F7, the memory's group gone"_s, u"beeps=1"_s),
            // Memory 1 on Work/Shopping: pref.dat and the three captions at once.
            row(u"list Shift+F5, on Work/Shopping"_s,
                u"mem=Work/Shopping,Notes/,Gone/x,free/free;memo1=Memory &1  [F5]  =>  "
                "Work/Shopping|Memory &1  [CTRL] + [F5]  =>  Work|Memory &1  [SH] + [F5]  =>  "
                "Work/Shopping"_s,
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
            row(u"list Ctrl+Shift+F5"_s, same),
            row(u"list Alt+F5"_s, same),
            row(u"list right click"_s, toC + u";menu=mnuEntry"_s, same, {}, rightClickOnC),
            row(u"list Down, onto a missing file"_s,
                u"sel=Notes/gone;date=File not present!;text="_s, u"="_s, selected(u"Notes/c_"_s)),
            // A file of 0 bytes has not even a date line and counts as none.
            row(u"list Up, onto a file of 0 bytes"_s, u"sel=Notes/a;date=File not present!;text="_s,
                u"="_s, [](AppFixture &nb) { nb.write(u"FileStore/Notes/a.txt"_s, {}); }),
            row(u"list double-click"_s, toText, same, {}, doubleClickList),

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
                then(then(selectFour, press(Qt::Key_F5, Qt::ShiftModifier)), caretToEnd)),
            row(u"text F6, phrase free"_s, u"beeps=1"_s),
            row(u"text Shift+F5, nothing selected"_s, howTo),
            row(u"text Shift+F8, text selected"_s, u"phrases=Hi,free,free,text"_s, u"="_s,
                selectFour),
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
                    QTest::keyClick(nb.w().txtText[0], Qt::Key_V, Qt::ControlModifier);
                }),
            // The box's own menu pastes past every key handler; locked, nothing changes.
            row(u"text pasted from the box's menu"_s, u"mode=text;text=pastedtext of _b"_s, same,
                {},
                [](AppFixture &nb) {
                    QApplication::clipboard()->setText(u"pasted"_s);
                    nb.w().txtText[0]->paste();
                }),
            // An input method's text comes past the key handlers as well.
            row(u"text from an input method"_s, u"mode=text;text=\u00FCtext of _b"_s, lockBox, {},
                [](AppFixture &nb) {
                    QInputMethodEvent commit;
                    commit.setCommitString(u"\u00FC"_s);
                    QCoreApplication::sendEvent(nb.w().txtText[0], &commit);
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
            row(u"text F2, new entry's title cancelled"_s, newEntryStart, toList,
                then(newEntry(u"abc"_s), dialogEscaped)),
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
                menu(&MainWidgets::mnuEditPermission)),
            row(u"list menu Clear Phrases"_s, u"phrases=free,free,free,free"_s, u"="_s, {},
                menu(&MainWidgets::mnuClearTxtMemos)),
            row(u"list button 1, free"_s, same, same, {}, button(0)),
            row(u"list button 2, SHIFT {F5} {F6}: memories 1 and 2 saved"_s,
                u"mem=Notes/_b,Notes/_b,Gone/x,free/free"_s, same, {}, button(1)),
            row(u"list button 3, malformed: nothing, a beep"_s, u"beeps=1"_s, same, {}, button(2)),
            row(u"list button 4, {DEL}"_s, trash, same, {}, button(3)),
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
            const Action insert = [k = k](AppFixture &nb) { nb.w().mnuInsertCall[k]->trigger(); };
            const Action act = answer == u"{cancel}"_s ? then(cancelled, insert)
                               : answer.isNull()       ? insert
                                                       : answered(answer, insert);
            cases.append(row(u"list separator, "_s + name, line.isEmpty() ? same : inserted(line),
                             u"="_s, {}, act));
        }

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
        QStringList prefs = nb.readLines(u"pref.dat"_s);
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
            prefs[line - 1] = value;
        nb.write(u"pref.dat"_s, prefs);
        QVERIFY(nb.start());
        select(nb, u"Notes/_b"_s);
        nb.w().chckEdit->setChecked(locked);
        if (keyCase.setup)
            keyCase.setup(nb);
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        auto *control = nb.window()->findChild<QWidget *>(keyCase.control);
        control->setFocus();
        QTRY_COMPARE(nb.window()->focusWidget(), control);
        nb.messages.shown.clear();
        nb.messages.beeps = 0;
        shownPopUp.clear();
        const auto before = observe(nb);

        keyCase.act(nb);
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        QCoreApplication::processEvents(); // the last injected key's own consequences

        auto after = observe(nb);
        verify(before, after, locked ? keyCase.locked : keyCase.unlocked, nb);
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }

    // Phrases are key strings: their specials act as keys; a malformed one
    // types nothing and beeps, as does one that presses its own key for ever.
    void phraseAsKeys_data()
    {
        QTest::addColumn<QString>("phrase");
        QTest::addColumn<QString>("typed"); // before "text of a"
        QTest::newRow("shift and enter") << u"a+b~"_s << u"aB\n"_s;
        QTest::newRow("unclosed brace") << u"{x"_s << QString();
        QTest::newRow("its own key") << u"x{F6}"_s << QString(9, u'x');
    }
    void phraseAsKeys()
    {
        QFETCH(QString, phrase);
        QFETCH(QString, typed);
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        nb.setPref(28, phrase);
        QVERIFY(nb.start());
        QPlainTextEdit *box = nb.w().txtText[0];
        keyAndWait(nb, box, Qt::Key_F6);
        QCOMPARE(boxText(box), typed + u"text of a\n"_s);
        QCOMPARE(nb.messages.beeps, typed.startsWith(u'a') ? 0 : 1);
        nb.w().mnuCallDate[0]->trigger(); // the euro sign, typed as a character
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        QCOMPARE(boxText(box), typed + u"\u20ACtext of a\n"_s);
    }

    // A phrase of more keys than are typed at a time types nothing and says
    // so; Esc stops one being typed, and only that.
    void longPhrase()
    {
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a"_s));
        const QString most = u"{x 1000}"_s.repeated(MaxStrokes / 1000);
        nb.setPref(27, most + u"y"_s);
        nb.setPref(28, most);
        QVERIFY(nb.start());
        QPlainTextEdit *box = nb.w().txtText[0];
        keyAndWait(nb, box, Qt::Key_F5);
        QCOMPARE(boxText(box), u"text of a\n"_s);
        QCOMPARE(nb.messages.shown.size(), 1);
        QVERIFY(nb.messages.shown[0].text.contains(QString::number(MaxStrokes)));
        QTest::keyClick(box, Qt::Key_F6);
        QTRY_VERIFY(boxText(box).startsWith(u'x'));
        QVERIFY(nb.window()->keyInjector().isBusy());
        QTest::keyClick(box, Qt::Key_Escape);
        QVERIFY(!nb.window()->keyInjector().isBusy());
        QVERIFY(boxText(box).size() < MaxStrokes);
        QVERIFY(nb.state().TextEditMode);
    }

    // A group whose title holds "/" leaves memories that the split at the
    // first "/" reads as group Work: the keys, as the menus, never take them
    // to Work.
    void slashInAGroupTitle()
    {
        AppFixture nb;
        nb.writeNotebook({{u"Work"_s, u"w"_s}, {u"Work/Home"_s, u"Plans"_s, u"Bills"_s}});
        nb.setPref(24, u"Work/"_s);
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        AppFixture::click(w.lstGroup, u"Work/Home"_s);
        AppFixture::click(w.lstEntry, u"Plans"_s);
        keyAndWait(nb, w.lstEntry, Qt::Key_F5, Qt::ShiftModifier);
        QCOMPARE(nb.app().state().prefs.PositionMemory[0], u"Work/Home/Plans"_s);
        AppFixture::click(w.lstEntry, u"Bills"_s);
        keyAndWait(nb, w.lstEntry, Qt::Key_F6, Qt::ControlModifier); // moved, from Work/Home
        QCOMPARE(selection(nb), u"Work/Bills"_s);
        select(nb, u"Work/w"_s);
        keyAndWait(nb, w.lstEntry, Qt::Key_F5);
        keyAndWait(nb, w.lstEntry, Qt::Key_F9);
        QCOMPARE(selection(nb), u"Work/w"_s);
        QCOMPARE(nb.messages.beeps, 1);
        QCOMPARE(nb.app().state().prefs.PositionMemory[0], u"Work/Home/Plans"_s);
    }

    // frmIndiv shows all four buttons; New only fills the rows, Cancel keeps
    // nothing, OK stores them, NORMAL chosen again among them.
    void buttonDialog()
    {
        AppFixture nb;
        nb.setPref(31, u"SHIFT"_s);
        nb.setPref(32, u"{F5}"_s);
        nb.setPref(34, u"^+"_s); // a modifier of the user's own, not in the list
        QVERIFY(nb.start());
        const auto before = nb.read(u"pref.dat"_s);
        withButtonDialog(nb, [](QWidget *dialog) {
            QCOMPARE(child<QComboBox>(dialog, u"cbo01"_s)->currentIndex(), -1);
            QCOMPARE(child<QComboBox>(dialog, u"cbo10"_s)->currentText(), u"{F5}"_s);
            QCOMPARE(child<QComboBox>(dialog, u"cbo13"_s)->count(), 54);
            child<QPushButton>(dialog, u"cmdMain2"_s)->click(); // New
            QCOMPARE(child<QComboBox>(dialog, u"cbo10"_s)->currentText(), u"free"_s);
            child<QPushButton>(dialog, u"cmdMain1"_s)->click(); // Cancel
        });
        QCOMPARE(nb.read(u"pref.dat"_s), before);
        withButtonDialog(nb, [](QWidget *dialog) {
            child<QComboBox>(dialog, u"cbo00"_s)->setCurrentText(u"NORMAL"_s);
            child<QComboBox>(dialog, u"cbo03"_s)->setCurrentText(u"CTRL"_s);
            child<QComboBox>(dialog, u"cbo13"_s)->setCurrentText(u"{F8}"_s);
            child<QLineEdit>(dialog, u"txt3"_s)->setText(u"{F7}"_s);
            child<QPushButton>(dialog, u"cmdMain0"_s)->click(); // OK
        });
        const QStringList lines = nb.readLines(u"pref.dat"_s);
        QCOMPARE(lines.mid(30, 5),
                 (QStringList{u"NORMAL"_s, u"{F5}"_s, QString(), u"^+"_s, u"free"_s}));
        QCOMPARE(lines.mid(39, 4), (QStringList{u"CTRL"_s, u"{F8}"_s, u"{F7}"_s, u" 0"_s}));
    }
};

QTEST_MAIN(tst_KeyMap)
#include "tst_keymap.moc"
