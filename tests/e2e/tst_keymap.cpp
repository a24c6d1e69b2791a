// The key map on the real window: every row in each control it applies to,
// with the edit lock off and on. Each case presses one key on a fresh window
// and compares everything a key can change (selection, focus, mode, idx.dat,
// the boxes, the messages and beeps, the open menu, the memories and
// phrases in pref.dat) with what it was before, save the changes it names.

#include "support/appfixture.h"
#include "support/notebookline.h"

#include "editing/editrules.h"
#include "platform/keyinjector_w.h"
#include "store/appstate.h"
#include "ui/codepagetextedit_w.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;
using Action = std::function<void(AppFixture &)>;

// One key in one control; the changes it makes unlocked and locked, as
// "name=value" separated by ";" ("" for none). A value starting with "~" is
// a pattern; %STORE% stands for the store folder, %DATE% and %TIME% for the
// date and time as typed (digits free).
struct KeyCase
{
    QString control; // objectName of the control with the focus
    int key;
    Qt::KeyboardModifiers modifiers;
    QString unlocked;
    QString locked;
    Action setup = {}; // after the focus is placed, before the key
};
Q_DECLARE_METATYPE(KeyCase)

namespace {

const QString kLock = u"[Caution!] Edit Permission locked!"_s;
const QString kIdx = u"Notes a _b c | Trash | Work Shopping Plans"_s;

using Observation = QMap<QString, QString>;

// The open menu and its highlighted item, "mnuFile/mnuHide".
QString popupItem()
{
    const auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        return {};
    return menu->objectName() + u'/' +
           (menu->activeAction() ? menu->activeAction()->objectName() : QString());
}

QString prefLines(const AppFixture &nb, int first)
{
    return nb.readLines(u"pref.dat"_s).mid(first - 1, 4).join(u',');
}

Observation observe(AppFixture &nb)
{
    const MainWidgets &w = nb.w();
    Observation o;
    o[u"sel"_s] = selection(nb);
    QWidget *focus = nb.window()->focusWidget();
    o[u"focus"_s] = focus ? focus->objectName() : QString();
    o[u"mode"_s] = nb.state().TextEditMode   ? u"text"_s
                   : nb.state().MaskEditMode ? u"mask"_s
                                             : u"view"_s;
    o[u"idx"_s] = index(nb);
    // The boxes without the line end of their last line.
    o[u"text"_s] = boxText(w.txtText[0]).chopped(boxText(w.txtText[0]).endsWith(u'\n'));
    o[u"mask"_s] = boxText(w.txtMask).chopped(boxText(w.txtMask).endsWith(u'\n'));
    o[u"date"_s] = w.lblDate->text();
    QStringList shown;
    for (const auto &m : nb.messages.shown)
        shown << u'[' + m.title + u"] "_s + m.text;
    o[u"msg"_s] = shown.join(u" || "_s);
    o[u"beeps"_s] = QString::number(nb.messages.beeps);
    o[u"menu"_s] = popupItem();
    o[u"mem"_s] = prefLines(nb, 23);
    o[u"phrases"_s] = prefLines(nb, 27);
    o[u"last"_s] = nb.app().state().LastMovePosition;
    return o;
}

// Digits of the clock may have moved on while the key was typed.
QString digitsFree(const QString &text)
{
    return QRegularExpression::escape(text).replace(QRegularExpression(u"\\d"_s), u"\\d"_s);
}

QString expand(QString value, AppFixture &nb)
{
    const QDateTime now = QDateTime::currentDateTime();
    value.replace(u"%STORE%"_s, nb.app().state().storeFolder);
    value.replace(u"%DATE%"_s, digitsFree(EditRules::dateText(now.date(), QLocale::system())));
    value.replace(u"%TIME%"_s, digitsFree(EditRules::timeText(now.time(), QLocale::system())));
    return value;
}

void verify(const Observation &before, const Observation &after, const QString &changes,
            AppFixture &nb)
{
    Observation expected = before;
    QMap<QString, QString> patterns;
    for (const QString &change : changes.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = change.indexOf(u'=');
        const QString name = change.left(eq);
        const QString value = expand(change.mid(eq + 1), nb);
        QVERIFY2(expected.contains(name), qPrintable(name));
        if (value.startsWith(u'~'))
            patterns[name] = value.mid(1);
        else
            expected[name] = value;
    }
    for (auto it = patterns.cbegin(); it != patterns.cend(); ++it) {
        const QRegularExpression pattern(u'^' + it.value() + u'$');
        QVERIFY2(pattern.match(after[it.key()]).hasMatch(),
                 qPrintable(it.key() + u": "_s + after[it.key()]));
        expected[it.key()] = after[it.key()];
    }
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QVERIFY2(after[it.key()] == it.value(),
                 qPrintable(it.key() + u": \""_s + after[it.key()] + u"\", expected \""_s +
                            it.value() + u'"'));
}

Action answer(const QString &text)
{
    return [text](AppFixture &nb) { nb.answerInput(text); };
}

// The first four characters of the text selected.
void selectFour(AppFixture &nb)
{
    QTextCursor cursor = nb.w().txtText[0]->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(4, QTextCursor::KeepAnchor);
    nb.w().txtText[0]->setTextCursor(cursor);
}

void typeX(AppFixture &nb)
{
    QTest::keyClicks(nb.w().txtText[0], u"x"_s);
}

void lastMoveFromWork(AppFixture &nb)
{
    nb.app().state().LastMovePosition = u"Work/"_s;
}

KeyCase both(const QString &control, int key, Qt::KeyboardModifiers modifiers,
             const QString &changes, Action setup = {})
{
    return {control, key, modifiers, changes, changes, std::move(setup)};
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
        const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
                                          alt = Qt::AltModifier;
        const QString list = u"lstEntry"_s, groups = u"lstGroup"_s, text = u"txtText0"_s,
                      mask = u"txtMask"_s;
        const QString none_; // no change
        // idx.dat with these titles in Notes, the other groups as they were.
        const auto notes = [](const QString &titles) {
            return u"idx=Notes "_s + titles + u" | Trash | Work Shopping Plans"_s;
        };
        const QString dashes(99, u'-');
        const QString toText = u"mode=text;focus=txtText0"_s;
        const QString toList = u"focus=lstEntry"_s;
        // The menu bar has the keyboard while the menu is open.
        const QString fileMenu = u"menu=mnuFile/mnuHide;focus="_s;
        const QString manual = u"msg=[Message] Manual available in folder :\n\n%STORE%"_s;
        const QString goToPlans = u"sel=Work/Plans;date=date of Plans;text=text of Plans;mask="_s;
        const QString trash =
            u"idx=Notes a c | Trash _b | Work Shopping Plans;sel=Notes/c;date=date of c;text=text of c"_s;
        const QString dashed = u"idx=Notes a "_s + dashes +
                               u" _b c | Trash | Work Shopping Plans"
                               ";sel=Notes/"_s +
                               dashes + u";date=File not present!;text="_s;
        const QString moved = notes(u"a c"_s) + u" _b;sel=Work/_b;last=Notes/;mask="_s;
        const QString free3 = u"msg=[Message] Memory place is free !  Before using click on "
                              "\"Go/Move / Save to... / Memory 3"_s;
        const QString lockBox = u"msg="_s + kLock;
        const QString refusedMove = u"msg=[Message] "_s + kLock.mid(11);
        const QString howTo = u"msg=[How to save a phrase?] Before saving a phrase onto a "
                              "phrase-memory (1-4) you have to mark some words\nor letters in "
                              "the text area with pressed left mouse button !"_s;

        QList<std::pair<const char *, KeyCase>> cases{
            // The entry list, in the order its handler tests the keys.
            {"list Enter", {list, Qt::Key_Return, none, toText, none_}},
            {"list keypad Enter with Ctrl", {list, Qt::Key_Enter, ctrl, toText, none_}},
            {"list Esc", both(list, Qt::Key_Escape, none, fileMenu)},
            {"list Shift+Esc", both(list, Qt::Key_Escape, shift, fileMenu)},
            {"list Left, first group", both(list, Qt::Key_Left, none, u"focus=lstGroup"_s)},
            {"list Shift+Left",
             {list, Qt::Key_Left, shift, notes(u"a b c"_s) + u";sel=Notes/b"_s, none_}},
            {"list Up",
             both(list, Qt::Key_Up, none, u"sel=Notes/a;date=date of a;text=text of a"_s)},
            {"list Ctrl+Up", {list, Qt::Key_Up, ctrl, notes(u"_b a c"_s), none_}},
            {"list Right", both(list, Qt::Key_Right, none,
                                u"focus=lstGroup;sel=Trash/ ;"
                                "date=File not present!;text=;mask="_s)},
            {"list Alt+Right",
             {list, Qt::Key_Right, alt, notes(u"a __b c"_s) + u";sel=Notes/__b"_s, none_}},
            {"list Down", both(list, Qt::Key_Down, none,
                               u"sel=Notes/c;date=date of c;"
                               "text=text of c"_s)},
            {"list Shift+Down", {list, Qt::Key_Down, shift, notes(u"a c _b"_s), none_}},
            {"list Insert",
             {list, Qt::Key_Insert, none,
              u"idx=Notes a \u00CC NEW \u00CC _b c | Trash | "
              "Work Shopping Plans;sel=Notes/* NEW *;"
              "mode=text;focus=txtText0;text=;date="_s,
              none_}},
            {"list Delete", {list, Qt::Key_Delete, none, trash, none_}},
            {"list F1", both(list, Qt::Key_F1, none, manual)},
            {"list F9, nothing recorded", both(list, Qt::Key_F9, none, none_)},
            {"list Ctrl+F9 after a move",
             both(list, Qt::Key_F9, ctrl,
                  u"sel=Work/Shopping;"
                  "date=date of Shopping;text=text of Shopping;mask="_s,
                  lastMoveFromWork)},
            {"list F11", {list, Qt::Key_F11, none, dashed, none_}},
            {"list F12",
             {list, Qt::Key_F12, none, notes(u"a bb c"_s) + u";sel=Notes/bb"_s, none_,
              answer(u"bb"_s)}},
            {"list F5", both(list, Qt::Key_F5, none, goToPlans)},
            {"list F7, memory free", both(list, Qt::Key_F7, none, u"beeps=1"_s)},
            {"list Shift+F5",
             {list, Qt::Key_F5, shift, u"mem=Notes/_b,Notes/,free/free,free/free"_s, u"beeps=1"_s}},
            {"list Ctrl+F5", {list, Qt::Key_F5, ctrl, moved, refusedMove}},
            {"list Ctrl+F6, the selected group",
             {list, Qt::Key_F6, ctrl,
              u"msg=[Message] The entry "
              "is already in the group of Memory 2."_s,
              refusedMove}},
            {"list Ctrl+F7, memory free", {list, Qt::Key_F7, ctrl, free3, refusedMove}},
            {"list Ctrl+Shift+F5", both(list, Qt::Key_F5, ctrl | shift, none_)},
            {"list Alt+F5", both(list, Qt::Key_F5, alt, none_)},

            // The group list passes on every key but Up and Down.
            {"groups Enter", {groups, Qt::Key_Return, none, toText, none_}},
            {"groups Esc", both(groups, Qt::Key_Escape, none, fileMenu)},
            {"groups Right", both(groups, Qt::Key_Right, none,
                                  u"sel=Trash/ ;"
                                  "date=File not present!;text=;mask="_s)},
            {"groups Delete", {groups, Qt::Key_Delete, none, trash + u";focus=lstEntry"_s, none_}},
            {"groups F5", both(groups, Qt::Key_F5, none, goToPlans)},

            // The entry text while it is viewed.
            {"text Enter", {text, Qt::Key_Return, none, u"mode=text;text=\ntext of _b"_s, lockBox}},
            {"text Shift+Enter", both(text, Qt::Key_Return, shift, toList)},
            // OK while editing, and no line break: the text is read back from its file.
            {"text Shift+Enter, edited",
             {text, Qt::Key_Return, shift, u"text=xtext of _b;mode=view;focus=lstEntry"_s, toList,
              typeX}},
            {"text Esc", both(text, Qt::Key_Escape, none, toList)},
            {"text Delete", {text, Qt::Key_Delete, none, u"mode=text;text=ext of _b"_s, lockBox}},
            {"text F1", both(text, Qt::Key_F1, shift, manual)},
            {"text F2", both(text, Qt::Key_F2, none, toList)},
            {"text F3", both(text, Qt::Key_F3, none, none_)},
            {"text F4", both(text, Qt::Key_F4, ctrl, toList)},
            {"text F5", {text, Qt::Key_F5, none, u"mode=text;text=Hitext of _b"_s, lockBox}},
            {"text F6, phrase free", both(text, Qt::Key_F6, none, u"beeps=1"_s)},
            {"text Shift+F5, nothing selected", both(text, Qt::Key_F5, shift, howTo)},
            {"text Shift+F8, text selected",
             both(text, Qt::Key_F8, shift, u"phrases=Hi,free,free,text"_s, selectFour)},
            {"text Ctrl+F5", both(text, Qt::Key_F5, ctrl, none_)},
            {"text F11", {text, Qt::Key_F11, none, u"mode=text;text=~%DATE%text of _b"_s, lockBox}},
            {"text F12", {text, Qt::Key_F12, alt, u"mode=text;text=~%TIME%text of _b"_s, lockBox}},

            // The mask: the keys of an edit and F1, nothing else.
            {"mask Enter", {mask, Qt::Key_Return, none, u"mode=mask;mask=\nm1"_s, lockBox}},
            {"mask Ctrl+Enter", both(mask, Qt::Key_Return, ctrl, toList)},
            {"mask Esc", both(mask, Qt::Key_Escape, none, toList)},
            {"mask F1", both(mask, Qt::Key_F1, none, manual)},
            {"mask F2", both(mask, Qt::Key_F2, none, toList)},
            {"mask F3", both(mask, Qt::Key_F3, none, none_)},
            {"mask F4", both(mask, Qt::Key_F4, none, toList)},
            {"mask F5", both(mask, Qt::Key_F5, none, none_)},
            {"mask F11", both(mask, Qt::Key_F11, none, none_)},
        };
        for (const auto &[name, keyCase] : cases) {
            QTest::addRow("%s", name) << keyCase << false;
            QTest::addRow("%s, locked", name) << keyCase << true;
        }
    }

    void keys()
    {
        QFETCH(KeyCase, keyCase);
        QFETCH(bool, locked);
        AppFixture nb;
        nb.writeNotebook(notebook(u"Notes a _b c | Trash | Work Shopping Plans"_s));
        nb.write(u"FileStore/Notes/_mask.dat"_s, {u"m1"_s});
        nb.setPref(16, u" 1"_s); // the mask shown
        nb.setPref(23, u"Work/Plans"_s);
        nb.setPref(24, u"Notes/"_s);
        nb.setPref(27, u"Hi"_s);
        QVERIFY(nb.start());
        select(nb, u"Notes/_b"_s);
        nb.w().chckEdit->setChecked(locked);
        auto *control = nb.window()->findChild<QWidget *>(keyCase.control);
        control->setFocus();
        QTRY_COMPARE(nb.window()->focusWidget(), control);
        if (keyCase.setup)
            keyCase.setup(nb);
        nb.messages.shown.clear();
        nb.messages.beeps = 0;
        const Observation before = observe(nb);
        QCOMPARE(before[u"idx"_s], kIdx);

        QTest::keyClick(control, Qt::Key(keyCase.key), keyCase.modifiers);
        QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        QTest::qWait(20); // the last injected key's own consequences

        verify(before, observe(nb), locked ? keyCase.locked : keyCase.unlocked, nb);
        while (QWidget *popup = QApplication::activePopupWidget())
            popup->close();
    }
};

QTEST_MAIN(tst_KeyMap)
#include "tst_keymap.moc"
