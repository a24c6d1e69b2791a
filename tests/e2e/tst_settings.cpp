// The Options menu on the real window: the global settings and the restart,
// the sort mode, the window place, the start settings and the language editor.
// Dialogs are answered from inside their modal loop; the files are read back.

#include "support/appfixture.h"
#include "support/callfaults.h"
#include "support/scenario.h"

#include "i18n/wordtable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <cerrno>

using namespace Qt::StringLiterals;

namespace {

using DialogAct = std::function<void(AppFixture &, QDialog *)>;

// Opens the Options menu's item `item` and runs `act` on its dialog; a dialog
// that `act` leaves open is cancelled, so that a failed check ends the test
// instead of hanging it.
Action dialog(int item, const DialogAct &act)
{
    return [item, act](AppFixture &nb) {
        bool shown = false;
        nb.whenShown([&](QWidget *widget) {
            shown = true;
            auto *dialog = qobject_cast<QDialog *>(widget);
            act(nb, dialog);
            if (dialog && dialog->isVisible())
                dialog->reject();
        });
        triggered(u"mnuSettings%1"_s.arg(item))(nb);
        QVERIFY(shown);
    };
}

void ok(QDialog *dialog)
{
    dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click();
}

// `act`, then OK.
DialogAct thenOk(const DialogAct &act)
{
    return [act](AppFixture &nb, QDialog *dialog) {
        act(nb, dialog);
        ok(dialog);
    };
}

// `act`, which must leave every file of the program folder as it was but for
// line `except` of pref.dat (from 1; 0: none).
Action unchanged(const Action &act, int except = 0)
{
    return [act, except](AppFixture &nb) {
        auto before = nb.snapshot();
        QStringList prefs = nb.readLines(u"pref.dat"_s);
        act(nb);
        auto after = nb.snapshot();
        if (except) {
            prefs[except - 1] = nb.readLines(u"pref.dat"_s).value(except - 1);
            QCOMPARE(nb.readLines(u"pref.dat"_s), prefs);
            before.remove(u"pref.dat"_s);
            after.remove(u"pref.dat"_s);
        }
        QCOMPARE(after, before);
    };
}

// Types `name` into the language editor's slot list and presses Enter.
QComboBox *typeName(QDialog *dialog, const QString &name)
{
    auto *slots = dialog->findChild<QComboBox *>(u"cboLanguage"_s);
    slots->setFocus();
    slots->setEditText(name);
    QTest::keyClick(slots, Qt::Key_Return);
    return slots;
}

// Language.dat: `names` for slots 1..9 ("(free)" where missing), every other
// line `fill` & " " & the word number, or empty where `fill` is empty.
QStringList languageFile(const QStringList &names, const QString &fill = {})
{
    QStringList lines;
    for (int slot = 1; slot < WordTable::kLanguages; ++slot) {
        lines << names.value(slot - 1, WordTable::freeSlotName());
        for (int k = 1; k < WordTable::kWords; ++k)
            lines << (fill.isEmpty() ? QString() : fill + u' ' + QString::number(k));
    }
    return lines;
}

Action languages(const QStringList &file)
{
    return [file](AppFixture &nb) { nb.write(u"Language.dat"_s, file); };
}

// "langN=word" of word k in `slot` of Language.dat, for each (k, word).
QString words(int slot, const QList<std::pair<int, QString>> &lines)
{
    QStringList items;
    for (const auto &[k, word] : lines)
        items << u"lang%1=%2"_s.arg((slot - 1) * WordTable::kWords + k + 1).arg(word);
    return items.join(u';');
}

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the dialogs store, and what they refuse.
    void dialogs_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const DialogAct none = [](AppFixture &, QDialog *) {};
        const auto bold = [](AppFixture &, QDialog *dialog) {
            dialog->findChild<QCheckBox *>(u"chckFontBold"_s)->setChecked(true);
        };

        // OK restarts also with nothing changed: the store is let go before
        // the new copy starts, pref.dat written whole (the splitter read 100
        // twips higher, as every read does), then this copy ends. When the
        // start fails this copy goes on, holding the store again and showing
        // the new language and font.
        QStringList german = languageFile({u"Deutsch"_s});
        german[17] = u"Eine Stelle &hoch   [SH] + [CRSR-up]"_s;
        german[19] = u"&Optionen"_s;
        german[73] = u"Neustart"_s;
        german[74] = u"Dann"_s;
        const Action letGoFirst = [](AppFixture &nb) {
            nb.desktop.whenStarting = [&nb] { QCOMPARE(observed(nb, u"marker"_s), u"free"_s); };
        };
        QTest::newRow("global OK restarts")
            << Scenario{{},
                        {},
                        languages(german),
                        {letGoFirst, unchanged(dialog(0, thenOk(none)), 17)},
                        u"starts=1;exit=0;pref17= 2640;msg=[Message] "_s + WordTable::english(73) +
                            u"\n\n"_s + WordTable::english(74)};
        const Action noStart = [german](AppFixture &nb) {
            languages(german)(nb);
            nb.desktop.answer = false;
        };
        const DialogAct germanBold = [bold](AppFixture &nb, QDialog *dialog) {
            dialog->findChild<QComboBox *>(u"cboLanguage"_s)->setCurrentIndex(1);
            bold(nb, dialog);
        };
        QTest::newRow("global OK, the restart fails") << Scenario{
            {},
            {},
            noStart,
            {dialog(0, thenOk(germanBold))},
            u"starts=1;exit=;on:timExit=0;marker=held;pref2= 1;"
            "msg=~\\[.*\\] Neustart\n\nDann \\|\\| .*started again.*;words:mnuOptions=&Optionen;"
            // A picture button is read as its command, without the key hint.
            "name:cmdH2=Eine Stelle hoch;font:lstGroup=~.* bold"_s};

        // Cancel, or a pref.dat write that fails, starts nothing and leaves
        // the settings as they were; after the failure the dialog stays for
        // another try.
        QTest::newRow("global Cancel")
            << Scenario{{}, {}, {}, {unchanged(dialog(0, bold))}, u"starts=0;exit=;msg="_s};
        const Action writeFails = dialog(0, [bold](AppFixture &nb, QDialog *dialog) {
            bold(nb, dialog);
            failing({Sys::Op::Write, 0, ENOSPC}, [dialog](AppFixture &) { ok(dialog); })(nb);
            QVERIFY(dialog->isVisible());
        });
        QTest::newRow("global write fails") << Scenario{
            {}, {}, {}, {unchanged(writeFails)}, u"starts=0;exit=;msg=~[^|]*pref\\.dat[^|]*"_s};

        // What OK in the global settings stores, by line of pref.dat. The
        // language list leaves free slots out and lists an unnamed one empty;
        // the line chosen stores its own slot number however many free slots
        // lie before it. The two boxes of the group list each have their own
        // line; the font size takes digits only.
        QStringList listed = languageFile({u"(free)"_s, u"Deutsch"_s, QString()}, u"x"_s);
        listed[8 * WordTable::kWords] = u"Dansk"_s;
        const auto global = [&](const QString &name, const DialogAct &act, const QString &stored) {
            QTest::newRow(qPrintable(name))
                << Scenario{{}, {u"2= 2"_s}, languages(listed), {dialog(0, thenOk(act))}, stored};
        };
        const auto language = [](int line) {
            return DialogAct([line](AppFixture &, QDialog *dialog) {
                auto *list = dialog->findChild<QComboBox *>(u"cboLanguage"_s);
                QStringList items;
                for (int i = 0; i < list->count(); ++i)
                    items << list->itemText(i);
                QCOMPARE(items, (QStringList{u"English"_s, u"Deutsch"_s, QString(), u"Dansk"_s}));
                QCOMPARE(list->currentIndex(), 1);
                list->setCurrentIndex(line);
            });
        };
        global(u"after a free slot"_s, language(1), u"pref2= 2"_s);
        global(u"last slot, after an unnamed one"_s, language(3), u"pref2= 9"_s);
        const DialogAct boxes = [](AppFixture &, QDialog *dialog) {
            dialog->findChild<QCheckBox *>(u"chckGRPBack"_s)->setChecked(true);
            dialog->findChild<QCheckBox *>(u"chckHideManual"_s)->setChecked(false);
        };
        global(u"white list, y-groups shown"_s, boxes, u"pref20= 1;pref21= 0"_s);
        const DialogAct fontSize = [](AppFixture &, QDialog *dialog) {
            auto *field = dialog->findChild<QLineEdit *>(u"txtFontSize"_s);
            field->clear();
            QTest::keyClicks(field, u"1a2b"_s);
            QCOMPARE(field->text(), u"12"_s);
        };
        global(u"font size, digits only"_s, fontSize, u"pref8= 12"_s);

        // What OK stores as the store path: "preset" for an empty field, a
        // folder completed to its FileStore/, and word 116 for a folder
        // without idx.dat, which keeps the dialog open with the completed path
        // in the field. The stored start group is the one shown, and kept.
        const Action folders = [](AppFixture &nb) {
            nb.write(u"Notes/FileStore/idx.dat"_s, {u"idx Plimsa 1.3.02"_s});
            QDir().mkpath(nb.path(u"Empty/FileStore"_s));
        };
        const auto storePath = [&](const QString &typed, const QString &field, bool stored) {
            const Action typeIn = dialog(1, [=](AppFixture &nb, QDialog *dialog) {
                QCOMPARE(dialog->findChild<QComboBox *>(u"cboGroup"_s)->currentText(), u"Trash"_s);
                auto *path = dialog->findChild<QLineEdit *>(u"txtStorePath"_s);
                path->setText(QString(typed).replace(u"%ROOT%"_s, nb.path({})));
                ok(dialog);
                QCOMPARE(path->text(), QString(field).replace(u"%ROOT%"_s, nb.path({})));
                QCOMPARE(dialog->isVisible(), !stored);
            });
            const QString message = stored ? QString() : u"[Caution!] "_s + WordTable::english(116);
            return Scenario{{},
                            {u"5=Trash"_s},
                            folders,
                            {typeIn},
                            u"pref5=Trash;pref22="_s + (stored ? field : u"preset"_s) + u";msg="_s +
                                message};
        };
        QTest::newRow("store path empty") << storePath({}, u"preset"_s, true);
        QTest::newRow("store path with an index")
            << storePath(u"%ROOT%Notes"_s, u"%ROOT%Notes/FileStore/"_s, true);
        QTest::newRow("store path without an index")
            << storePath(u"%ROOT%Empty"_s, u"%ROOT%Empty/FileStore/"_s, false);

        // After a start on the fallback store the dialog opens by itself with
        // the path label red and bold; opened again, the label is plain.
        const auto label = [](bool marked) {
            return DialogAct([marked](AppFixture &, QDialog *dialog) {
                auto *label = dialog->findChild<QLabel *>(u"lblText4"_s);
                QCOMPARE(label->font().bold(), marked);
                QCOMPARE(label->palette().color(QPalette::WindowText) == QColor(192, 0, 0), marked);
            });
        };
        const Action fallback = [label](AppFixture &nb) {
            QDir().mkpath(nb.path(u"Gone/FileStore"_s));
            nb.whenShown([&nb, label](QWidget *dialog) {
                label(true)(nb, qobject_cast<QDialog *>(dialog));
                dialog->close();
            });
        };
        QTest::newRow("start settings, fallback label once")
            << Scenario{{}, {u"22=%ROOT%Gone"_s}, fallback, {dialog(1, label(false))}, {}};

        // The sort mode's mark shows the mode, however it was set.
        const Action sortItem = triggered(u"mnuSettings3"_s);
        const Action menuShown = [](AppFixture &nb) { Q_EMIT nb.control<QMenu>(u"mnuOptions"_s)->aboutToShow(); };
        QTest::newRow("sort mode on")
            << Scenario{{}, {}, {}, {sortItem, menuShown}, u"checked:mnuSettings3=1"_s};
        QTest::newRow("sort mode off again")
            << Scenario{{}, {}, {}, {sortItem, sortItem, menuShown}, u"checked:mnuSettings3=0"_s};
        QTest::newRow("sort mode from pref.dat")
            << Scenario{{}, {u"10= 1"_s}, {}, {menuShown}, u"checked:mnuSettings3=1"_s};

        // The outer rectangle in twips (800 pixels at 96 DPI) and word 76; one
        // report of a failed write (nothing written: cancelled) or of an
        // unsynced folder, and no "saved".
        const Action place = triggered(u"mnuSettings4"_s);
        QTest::newRow("window place saved") << Scenario{
            {}, {}, {}, {place}, u"pref15= 12000;msg=[Message] "_s + WordTable::english(76)};
        QTest::newRow("window place, the write fails")
            << Scenario{{},
                        {},
                        {},
                        {unchanged(failing({Sys::Op::Write, 0, ENOSPC}, place))},
                        u"msg=~\\[.*\\] "_s + QRegularExpression::escape(WordTable::english(92)) +
                            u".*pref\\.dat.*"_s};
        QTest::newRow("window place, the folder not synced") << Scenario{
            {},
            {},
            {},
            {failing({Sys::Op::FolderSync, 0, EIO, true, {}, "pref.dat"}, place)},
            u"msg=~\\[.*\\] "_s + QRegularExpression::escape(WordTable::english(93)) + u"[^|]*"_s};

        // In the language editor with no slot, English or a free slot
        // chosen, keys beep and change nothing.
        const Action refused = dialog(5, [](AppFixture &nb, QDialog *dialog) {
            auto *slots = dialog->findChild<QComboBox *>(u"cboLanguage"_s);
            auto *field = dialog->findChild<QLineEdit *>(u"txtTranslation"_s);
            for (int slot : {-1, 0, 1}) {
                slots->setCurrentIndex(slot);
                const QString shown = field->text();
                QTest::keyClicks(field, u"ab"_s);
                QTest::keyClick(field, Qt::Key_Return);
                QCOMPARE(field->text(), shown);
            }
            QCOMPARE(nb.app().wordTable().word(0, 1), WordTable::english(1));
        });
        QTest::newRow("language editor, keys refused")
            << Scenario{{}, {}, {}, {unchanged(refused)}, u"beeps=9"_s};

        // A name typed with no slot chosen takes the first free slot, written
        // with the English texts where never translated; with all nine in use
        // it is dropped and English is chosen.
        const auto named = [](int chosen) {
            return dialog(5, thenOk([chosen](AppFixture &, QDialog *dialog) {
                              QCOMPARE(typeName(dialog, u"Deutsch"_s)->currentIndex(), chosen);
                          }));
        };
        QTest::newRow("language name, first free slot") << Scenario{
            {},
            {},
            languages(languageFile({u"Dansk"_s})),
            {named(2)},
            words(2, {{0, u"Deutsch"_s},
                      {1, WordTable::english(1)},
                      {WordTable::kWords - 1, WordTable::english(WordTable::kWords - 1)}})};
        QStringList nine, kept;
        for (int i = 1; i <= 9; ++i) {
            nine << u"L"_s + QString::number(i);
            kept << words(i, {{0, nine.last()}});
        }
        QTest::newRow("language name, all nine in use")
            << Scenario{{}, {}, languages(languageFile(nine)), {named(0)}, kept.join(u';')};

        // An empty name frees the slot, and the first free slot is chosen
        // instead; the block is written "(free)" with its translations as they
        // were. A failed write leaves Language.dat as it was, says so with
        // word 92 and keeps the dialog open for another OK.
        const Action freed = dialog(5, [](AppFixture &nb, QDialog *dialog) {
            dialog->findChild<QComboBox *>(u"cboLanguage"_s)->setCurrentIndex(2);
            QComboBox *slots = typeName(dialog, QString());
            QCOMPARE(slots->itemText(2), WordTable::freeSlotName());
            QCOMPARE(slots->currentIndex(), 1);
            unchanged(failing({Sys::Op::Write, 0, ENOSPC}, [dialog](AppFixture &) { ok(dialog); }))(
                nb);
            QVERIFY(dialog->isVisible());
            ok(dialog);
        });
        QTest::newRow("language name emptied, a write failed")
            << Scenario{{},
                        {},
                        languages(languageFile({u"(free)"_s, u"Deutsch"_s}, u"de"_s)),
                        {freed},
                        u"msg=~\\[.*\\] "_s + QRegularExpression::escape(WordTable::english(92)) +
                            u"[^|]*Language\\.dat[^|]*;"_s +
                            words(2, {{0, WordTable::freeSlotName()}, {1, u"de 1"_s}})};

        // Translations are stored on Enter, which moves on to the next word
        // and stays on the last, and by OK's access key while still typed in
        // the field; the euro sign comes back from Language.dat as it went in.
        const Action translate = dialog(5, [](AppFixture &, QDialog *dialog) {
            dialog->findChild<QComboBox *>(u"cboLanguage"_s)->setCurrentIndex(1);
            auto *words = dialog->findChild<QListWidget *>(u"lstWords"_s);
            auto *field = dialog->findChild<QLineEdit *>(u"txtTranslation"_s);
            QCOMPARE(words->currentRow(), 0);
            QTRY_VERIFY(field->hasFocus());
            QTest::keyClicks(field, u"&Datei"_s);
            QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(words->currentRow(), 1);
            QCOMPARE(field->text(), QString());

            const int euro =
                words->row(words->findItems(WordTable::english(144), Qt::MatchExactly).value(0));
            words->setCurrentRow(euro);
            field->insert(u"\u20AC einf\u00FCgen"_s); // QTest types ASCII only
            QTest::keyClick(field, Qt::Key_Return);

            const int last = words->count() - 1;
            words->setCurrentRow(last);
            QTest::keyClicks(field, u"&Umbruch"_s);
            QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(words->currentRow(), last);
            QCOMPARE(field->text(), u"&Umbruch"_s);

            words->setCurrentRow(2);
            QTest::keyClicks(field, u"&Neu"_s);
            QTest::keyClick(field, Qt::Key_O, Qt::AltModifier);
            QTRY_VERIFY(!dialog->isVisible());
        });
        QTest::newRow("language editor, translations")
            << Scenario{{},
                        {},
                        languages(languageFile({u"Deutsch"_s})),
                        {translate},
                        words(1, {{1, u"&Datei"_s},
                                  {2, WordTable::english(2)},
                                  {3, u"&Neu"_s},
                                  {144, u"\u20AC einf\u00FCgen"_s},
                                  {149, u"&Umbruch"_s}})};
    }
    void dialogs()
    {
        QFETCH(Scenario, scenario);
        run(scenario);
    }
};

QTEST_MAIN(tst_Settings)
#include "tst_settings.moc"
