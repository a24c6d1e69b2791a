// Every dialog as its user meets it: what a screen reader reads for each of
// its controls, and each way out of it (Enter, Esc, the close box, the mouse,
// Tab to a button and Space) with what that leaves in the files. The rows
// change a value first, so that a way out that keeps or drops it shows.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/scenario.h"

#include "search/searchdialog_w.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

using Answer = std::function<void(QDialog *)>;

// The menu item `item` opens its dialog, and `answer` deals with it. The
// dialog is then closed, or still open where `staysOpen`; it is cancelled
// after either, so that a case that fails ends instead of hanging.
Action inDialog(const QString &item, const Answer &answer, bool staysOpen = false)
{
    return [=](AppFixture &nb) {
        bool shown = false;
        nb.whenShown([&](QWidget *widget) {
            shown = true;
            auto *dialog = qobject_cast<QDialog *>(widget);
            if (!dialog) {
                widget->close();
                QFAIL("the window shown is no dialog");
            }
            // A check that fails returns at once: the dialog still goes.
            const auto closing = qScopeGuard([dialog] {
                if (dialog->isVisible())
                    dialog->reject();
            });
            answer(dialog);
            QCOMPARE(dialog->isVisible(), staysOpen);
        });
        nb.window()->findChild<QAction *>(item)->trigger();
        QVERIFY(shown);
    };
}

template <typename T = QWidget> T *child(const QDialog *dialog, const QString &name)
{
    auto *widget = dialog->findChild<T *>(name);
    if (!widget)
        qWarning("no %s in the dialog", qPrintable(name));
    return widget;
}

// `first`, then `second`, in the same dialog.
Answer then(const Answer &first, const Answer &second)
{
    return [=](QDialog *dialog) {
        first(dialog);
        second(dialog);
    };
}

Answer pressed(int key)
{
    return [key](QDialog *dialog) {
        QWidget *focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(focus, Qt::Key(key));
    };
}

Answer click(const QString &button)
{
    return [button](QDialog *dialog) { QTest::mouseClick(child(dialog, button), Qt::LeftButton); };
}

const Answer closeBox = [](QDialog *dialog) { dialog->close(); };

// Tab until `button` has the focus, then Space on it.
Answer tabTo(const QString &button)
{
    return [button](QDialog *dialog) {
        auto *target = child(dialog, button);
        // Tab moves the dialog's focus widget. Whether the dialog is also the
        // active window is the window system's affair: on a busy machine a
        // late activation of the main window can take that from it for a while.
        for (int i = 0; i < 20 && dialog->focusWidget() != target; ++i)
            QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
        QCOMPARE(dialog->focusWidget(), target);
        QTest::keyClick(target, Qt::Key_Space);
    };
}

Answer typeInto(const QString &field, const QString &text)
{
    return [=](QDialog *dialog) {
        auto *line = child<QLineEdit>(dialog, field);
        line->setFocus();
        line->selectAll();
        QTest::keyClicks(line, text);
    };
}

Answer choose(const QString &list, const QString &item)
{
    return [=](QDialog *dialog) {
        if (auto *combo = dialog->findChild<QComboBox *>(list)) {
            combo->setCurrentIndex(combo->findText(item, Qt::MatchExactly));
            QCOMPARE(combo->currentText(), item);
            return;
        }
        auto *lines = child<QListWidget>(dialog, list);
        lines->setCurrentItem(lines->findItems(item, Qt::MatchExactly).value(0));
    };
}

Answer tick(const QString &box)
{
    return [box](QDialog *dialog) { child<QCheckBox>(dialog, box)->toggle(); };
}

// The language editor's first slot named "Deutsch" (Enter in its name),
// which puts its first word into the translation field, and `text` typed there.
Answer translated(const QString &text)
{
    return [text](QDialog *dialog) {
        auto *slots = child<QComboBox>(dialog, u"cboLanguage"_s);
        slots->setFocus();
        slots->setEditText(u"Deutsch"_s);
        QTest::keyClick(slots, Qt::Key_Return);
        auto *field = child<QLineEdit>(dialog, u"txtTranslation"_s);
        QTRY_VERIFY(field->hasFocus());
        QTest::keyClicks(field, text);
    };
}

const Answer clickThirdWord = [](QDialog *dialog) {
    auto *words = child<QListWidget>(dialog, u"lstWords"_s);
    QTest::mouseClick(words->viewport(), Qt::LeftButton, {},
                      words->visualItemRect(words->item(2)).center());
    QCOMPARE(words->currentRow(), 2);
};

// What a screen reader reads as the name of each control, by object name.
using Names = QList<std::pair<QString, QString>>;

void compareNames(const QWidget *dialog, const Names &names)
{
    for (const auto &[object, name] : names) {
        auto *widget = dialog->findChild<QWidget *>(object);
        QVERIFY2(widget, qPrintable(object));
        QAccessibleInterface *read = QAccessible::queryAccessibleInterface(widget);
        QCOMPARE(read->text(QAccessible::Name), name);
    }
}

const QString kBook = u"Notes a | Trash | Work"_s;
const QString kUnmoved = u"idx=Notes a | Trash | Work"_s;

} // namespace

Q_DECLARE_METATYPE(Names)

class tst_Dialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // By the label of their row, never by what they show ("On", the item
    // chosen); the rows' three controls of the individual buttons by the row.
    void namesReadAloud_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<Names>("names");
        QTest::newRow("start settings") << u"mnuSettings1"_s
                                        << Names{{u"cboMode"_s, u"Window State"_s},
                                                 {u"cboGroup"_s, u"Start Group"_s},
                                                 {u"chckLock"_s, u"Lock Edit Permission"_s},
                                                 {u"chckViewMask"_s, u"View Mask"_s},
                                                 {u"chckWrap"_s, u"Wordwrap"_s},
                                                 {u"txtStorePath"_s, u"Path to \"FileStore\""_s},
                                                 {u"cmdMain0"_s, u"OK"_s},
                                                 {u"cmdMain1"_s, u"Cancel"_s}};
        QTest::newRow("global settings")
            << u"mnuSettings0"_s
            << Names{{u"cboLanguage"_s, u"Language"_s},
                     {u"cboFont"_s, u"Font Name (list- & textf.)"_s},
                     {u"txtFontSize"_s, u"Font Size"_s},
                     {u"chckFontBold"_s, u"Font Bold"_s},
                     {u"chckGRPBack"_s, u"Group list white finish"_s},
                     {u"chckHideManual"_s, u"Hide \u00FF-Groups (manual)"_s}};
        QTest::newRow("individual buttons")
            << u"mnuSettings2"_s
            << Names{{u"cbo00"_s, u"Individual Button 1: Shift, Ctrl or Alt"_s},
                     {u"cbo13"_s, u"Individual Button 4: Key"_s},
                     {u"txt2"_s, u"Individual Button 3: Further Keys"_s},
                     {u"cmdMain2"_s, u"New"_s}};
        QTest::newRow("language editor") << u"mnuSettings5"_s
                                         << Names{{u"cboLanguage"_s, u"Language"_s},
                                                  {u"lstWords"_s, u"Words"_s},
                                                  {u"txtTranslation"_s, u"Translation"_s}};
        QTest::newRow("input") << u"mnuGroupNew"_s
                               << Names{{u"txtInput"_s, u"Name of New Group"_s}};
        QTest::newRow("choice") << u"mnuEntryChange"_s << Names{{u"lstList"_s, u"Change Group"_s}};
        QTest::newRow("search") << u"mnuSearch"_s
                                << Names{{u"txtSearch"_s, u"Search"_s},
                                         {u"chckMode5"_s, u"Case sensitive"_s},
                                         {u"cmdSearch1"_s, u"Continue"_s}};
    }
    void namesReadAloud()
    {
        QFETCH(QString, item);
        QFETCH(Names, names);
        AppFixture nb;
        nb.writeNotebook({{u"Notes"_s, u"a"_s}, {u"Trash"_s}, {u"Work"_s}});
        QVERIFY(nb.start());
        AppFixture::click(nb.entryList(), u"a"_s);
        if (item == u"mnuSearch"_s) {
            triggered(u"mnuSearch"_s)(nb);
            auto *search = nb.window()->findChild<SearchDialog *>();
            QVERIFY(search);
            compareNames(search, names);
            search->close();
            return;
        }
        inDialog(item, [&](QDialog *dialog) {
            compareNames(dialog, names);
            dialog->reject();
        })(nb);
    }

    void waysOut_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const auto row = [](const QString &name, const QStringList &prefs, const Action &step,
                            const QString &expected) {
            QTest::newRow(qPrintable(name)) << Scenario{kBook, prefs, {}, {step}, expected};
        };

        // Each dialog changed, then left each way: Enter, OK and Tab to OK
        // keep the change, the others drop it. A name left with blanks at its
        // end loses them; the global settings restart on keeping.
        const QList<std::pair<QString, Answer>> ways{{u"Enter"_s, pressed(Qt::Key_Return)},
                                                     {u"OK clicked"_s, click(u"cmdMain0"_s)},
                                                     {u"Tab to OK"_s, tabTo(u"cmdMain0"_s)},
                                                     {u"Esc"_s, pressed(Qt::Key_Escape)},
                                                     {u"Cancel clicked"_s, click(u"cmdMain1"_s)},
                                                     {u"Tab to Cancel"_s, tabTo(u"cmdMain1"_s)},
                                                     {u"close box"_s, closeBox}};
        const auto leftEachWay = [&](const QString &name, const QString &item, const Answer &change,
                                     const QString &kept, const QString &dropped,
                                     const QList<int> &which) {
            for (int i : which)
                row(name + u", "_s + ways[i].first, {},
                    inDialog(item, then(change, ways[i].second)), i < 3 ? kept : dropped);
        };
        const QList<int> all{0, 1, 2, 3, 4, 5, 6}, keysAndBox{0, 3, 6};
        leftEachWay(u"input"_s, u"mnuGroupNew"_s, typeInto(u"txtInput"_s, u"Work2  "_s),
                    u"idx=Notes a | Trash | Work | Work2"_s, kUnmoved, all);
        leftEachWay(u"choice"_s, u"mnuEntryChange"_s, choose(u"lstList"_s, u"Work"_s),
                    u"idx=Notes | Trash | Work a"_s, kUnmoved, all);
        leftEachWay(u"start settings"_s, u"mnuSettings1"_s, tick(u"chckLock"_s), u"pref4= 1"_s,
                    u"pref4= 0"_s, all);
        leftEachWay(u"global settings"_s, u"mnuSettings0"_s, tick(u"chckFontBold"_s),
                    u"starts=1;pref9= 1"_s, u"starts=0;pref9= 0"_s, keysAndBox);
        // The individual buttons: the first key of the list.
        leftEachWay(u"buttons"_s, u"mnuSettings2"_s, choose(u"cbo10"_s, u"{DEL}"_s),
                    u"pref32={DEL}"_s, u"pref32=free"_s, keysAndBox);
        row(u"choice, OK with none chosen"_s, {},
            inDialog(u"mnuEntryChange"_s, click(u"cmdMain0"_s)), kUnmoved);

        // A stored start state of "Hidden in Systray", the last of the list,
        // shows as such and is kept.
        const QString start = u"mnuSettings1"_s;
        const Answer hidden = [](QDialog *dialog) {
            QCOMPARE(child<QComboBox>(dialog, u"cboMode"_s)->currentText(), u"Hidden in Systray"_s);
        };
        row(u"start settings, hidden in the tray kept"_s, {u"3= 3"_s},
            inDialog(start, then(hidden, click(u"cmdMain0"_s))), u"pref3= 3"_s);
        row(u"start settings, the last group, Enter"_s, {u"5=Work"_s},
            inDialog(start, pressed(Qt::Key_Return)), u"pref5=Work"_s);

        // The individual buttons: the last key of the list, and New.
        const QString buttons = u"mnuSettings2"_s;
        row(u"buttons, the last key, OK clicked"_s, {},
            inDialog(buttons, then(choose(u"cbo13"_s, u"Z"_s), click(u"cmdMain0"_s))),
            u"pref41=Z"_s);
        row(u"buttons, New, Tab to OK"_s, {u"31=ALT"_s, u"32={F5}"_s, u"33={F6}"_s},
            inDialog(buttons, then(click(u"cmdMain2"_s), tabTo(u"cmdMain0"_s))),
            u"pref31=NORMAL;pref32=free;pref33="_s);

        // The language editor writes Language.dat on OK alone; a translation
        // counts once its field is left, however it is left. Enter, in the
        // field or in the words, moves on and keeps the dialog open.
        const QString editor = u"mnuSettings5"_s;
        const Answer datei = translated(u"&Datei"_s);
        const QString written = u"lang1=Deutsch;lang2=&Datei"_s, none = u"lang1=(free);lang2="_s;
        leftEachWay(u"language editor"_s, editor, datei, written, none, {1, 3, 6});
        row(u"language editor, translation left by Tab"_s, {},
            inDialog(editor, then(datei, then(pressed(Qt::Key_Tab), click(u"cmdMain0"_s)))),
            written);
        row(u"language editor, translation left by a click on a word"_s, {},
            inDialog(editor, then(datei, then(clickThirdWord, click(u"cmdMain0"_s)))), written);
        const Answer enterInWords = [](QDialog *dialog) {
            child(dialog, u"lstWords"_s)->setFocus();
            QTest::keyClick(child(dialog, u"lstWords"_s), Qt::Key_Return);
        };
        for (const auto &[name, enter] : {std::pair{u"Enter stays"_s, pressed(Qt::Key_Return)},
                                          {u"Enter in the words"_s, enterInWords}})
            row(u"language editor, "_s + name, {}, inDialog(editor, then(datei, enter), true),
                none);

        // The About box closes on any key and by its Back; it opens nothing.
        const QString about = u"mnuAbout"_s;
        for (const auto &[name, answer] : {std::pair{u"Enter"_s, pressed(Qt::Key_Return)},
                                           {u"Esc"_s, pressed(Qt::Key_Escape)},
                                           {u"a letter"_s, pressed(Qt::Key_X)},
                                           {u"Back clicked"_s, click(u"lbl6"_s)},
                                           {u"close box"_s, closeBox}})
            row(u"About, "_s + name, {}, inDialog(about, answer), u"opened=;msg="_s);
    }
    void waysOut()
    {
        QFETCH(Scenario, scenario);
        run(scenario);
    }
};

QTEST_MAIN(tst_Dialogs)
#include "tst_dialogs.moc"
