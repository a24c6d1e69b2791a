// The Options menu on the real window: the global settings and the restart,
// the sort mode, the window place, the start settings and the language editor.
// Dialogs are answered from inside their modal loop; the files are read back.

#include "support/appfixture.h"
#include "support/callfaults.h"
#include "support/scenario.h"

#include "i18n/wordtable.h"
#include "store/storemarker.h"
#include "ui/twips.h"

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

template <typename T> T *child(QWidget *dialog, const QString &name)
{
    return dialog->findChild<T *>(name);
}

// Opens the Options menu's item `item` and runs `act` on its dialog; a dialog
// that `act` leaves open is cancelled, so that a failed check ends the test
// instead of hanging it.
bool withDialog(AppFixture &run, int item, const std::function<void(QDialog *)> &act)
{
    bool shown = false;
    run.whenShown([&](QWidget *widget) {
        shown = true;
        auto *dialog = qobject_cast<QDialog *>(widget);
        act(dialog);
        if (dialog && dialog->isVisible())
            dialog->reject();
    });
    run.w().mnuSettings[item]->trigger();
    return shown;
}

Action dialog(int item, const DialogAct &act)
{
    return [item, act](AppFixture &nb) {
        QVERIFY(withDialog(nb, item, [&](QDialog *dialog) { act(nb, dialog); }));
    };
}

// `act`, which must leave every file of the program folder as it was.
Action unchanged(const Action &act)
{
    return [act](AppFixture &nb) {
        const auto before = nb.snapshot();
        act(nb);
        QCOMPARE(nb.snapshot(), before);
    };
}

void ok(QDialog *dialog)
{
    child<QPushButton>(dialog, u"cmdMain0"_s)->click();
}

// Types `name` into the language editor's slot list and presses Enter.
QComboBox *typeName(QDialog *dialog, const QString &name)
{
    auto *slots = child<QComboBox>(dialog, u"cboLanguage"_s);
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

QStringList block(const QStringList &file, int slot)
{
    return file.mid((slot - 1) * WordTable::kWords, WordTable::kWords);
}

// Whether another opener could take the store marker now (the program's own
// marker is an open-file-description lock, so a second one in this process
// is refused while the program holds it).
bool markerFree(const QString &storeFolder)
{
    StoreMarker probe;
    const bool taken = probe.take(storeFolder);
    probe.release();
    return taken;
}

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // OK restarts also with nothing changed. The store is let go before the
    // new copy starts; when that start fails this copy goes on, holding the
    // store again and showing the new language and font.
    void globalOkRestarts_data()
    {
        QTest::addColumn<bool>("started");
        QTest::newRow("new copy started") << true;
        QTest::newRow("start failed") << false;
    }
    void globalOkRestarts()
    {
        QFETCH(bool, started);
        AppFixture run;
        QStringList german = languageFile({u"Deutsch"_s});
        german[19] = u"&Optionen"_s;
        german[17] = u"Eine Stelle &hoch   [SH] + [CRSR-up]"_s;
        run.write(u"Language.dat"_s, german);
        QVERIFY(run.start());
        const QString store = run.app().state().storeFolder;
        const QStringList before = run.readLines(u"pref.dat"_s);
        bool freeAtStart = false;
        run.desktop.answer = started;
        run.desktop.whenStarting = [&] { freeAtStart = markerFree(store); };

        QVERIFY(withDialog(run, 0, [&](QDialog *dialog) {
            if (!started) {
                child<QComboBox>(dialog, u"cboLanguage"_s)->setCurrentIndex(1);
                child<QCheckBox>(dialog, u"chckFontBold"_s)->setChecked(true);
            }
            ok(dialog);
        }));
        QCOMPARE(run.desktop.starts, 1);
        QVERIFY(freeAtStart);
        // In the language just chosen, as everything from here on.
        const int language = run.app().state().language();
        const Words words(run.app().wordTable(), language);
        QCOMPARE(run.messages.shown.value(0).text, words(73) + u"\n\n"_s + words(74));
        QStringList after = run.readLines(u"pref.dat"_s);
        if (started) {
            // Written whole: the splitter read 100 twips higher, as every read does.
            QCOMPARE(after.value(16).toInt(), before.value(16).toInt() - 100);
            after[16] = before[16];
            QCOMPARE(after, before);
            QTRY_COMPARE(run.exitStatus, std::optional<int>(0));
            return;
        }
        QCOMPARE(after.value(1), u" 1"_s);
        QCOMPARE(run.messages.shown.size(), 2);
        QVERIFY2(run.messages.shown[1].text.contains(u"started again"_s),
                 qPrintable(run.messages.shown[1].text));
        QVERIFY(!markerFree(store));
        QCOMPARE(run.w().mnuOptions->title(), u"&Optionen"_s);
        // A picture button is read as its command, without the key hint.
        QCOMPARE(run.w().cmdH[2]->accessibleName(), u"Eine Stelle hoch"_s);
        QVERIFY(run.w().lstGroup->font().bold());
        QTest::qWait(300);
        QVERIFY(!run.exitStatus);
    }

    // What the dialogs store, and what they refuse.
    void dialogs_data()
    {
        QTest::addColumn<Scenario>("scenario");
        // Cancel, or a pref.dat write that fails, starts nothing and leaves
        // the settings as they were; after the failure the dialog stays for
        // another try.
        const auto bold = [](AppFixture &, QDialog *dialog) {
            child<QCheckBox>(dialog, u"chckFontBold"_s)->setChecked(true);
        };
        QTest::newRow("global Cancel")
            << Scenario{{}, {}, {}, {unchanged(dialog(0, bold))}, u"starts=0;exit=;msg="_s};
        const Action writeFails = dialog(0, [bold](AppFixture &nb, QDialog *dialog) {
            bold(nb, dialog);
            const auto full = CallFaults::failing(Sys::Op::Write, ENOSPC);
            ok(dialog);
            QVERIFY(dialog->isVisible());
        });
        QTest::newRow("global write fails") << Scenario{
            {}, {}, {}, {unchanged(writeFails)}, u"starts=0;exit=;msg=~[^|]*pref\\.dat[^|]*"_s};

        // What OK in the global settings stores, by line of pref.dat. The
        // language list leaves free slots out and lists an unnamed one empty;
        // the line chosen stores its own slot number however many free slots
        // lie before it. The two boxes of the group list each have their own
        // line; the font size takes digits only.
        const Action languages = [](AppFixture &nb) {
            QStringList file = languageFile({u"(free)"_s, u"Deutsch"_s, QString()}, u"x"_s);
            file[8 * WordTable::kWords] = u"Dansk"_s;
            nb.write(u"Language.dat"_s, file);
        };
        const auto global = [&](const QString &name, const DialogAct &act, const QString &stored) {
            const Action okAfter = dialog(0, [act](AppFixture &nb, QDialog *dialog) {
                act(nb, dialog);
                ok(dialog);
            });
            QTest::newRow(qPrintable(name))
                << Scenario{{}, {u"2= 2"_s}, languages, {okAfter}, stored};
        };
        const auto language = [](int line) {
            return DialogAct([line](AppFixture &, QDialog *dialog) {
                auto *list = child<QComboBox>(dialog, u"cboLanguage"_s);
                QStringList items;
                for (int i = 0; i < list->count(); ++i)
                    items << list->itemText(i);
                QCOMPARE(items, (QStringList{u"English"_s, u"Deutsch"_s, QString(), u"Dansk"_s}));
                QCOMPARE(list->currentIndex(), 1);
                list->setCurrentIndex(line);
            });
        };
        global(u"English"_s, language(0), u"pref2= 0"_s);
        global(u"after a free slot"_s, language(1), u"pref2= 2"_s);
        global(u"unnamed"_s, language(2), u"pref2= 3"_s);
        global(u"last slot"_s, language(3), u"pref2= 9"_s);
        const auto boxes = [](bool white, bool hideY) {
            return DialogAct([white, hideY](AppFixture &, QDialog *dialog) {
                child<QCheckBox>(dialog, u"chckGRPBack"_s)->setChecked(white);
                child<QCheckBox>(dialog, u"chckHideManual"_s)->setChecked(hideY);
            });
        };
        global(u"white list"_s, boxes(true, false), u"pref20= 1;pref21= 0"_s);
        global(u"y-groups hidden"_s, boxes(false, true), u"pref20= 0;pref21= 1"_s);
        const DialogAct fontSize = [](AppFixture &, QDialog *dialog) {
            auto *field = child<QLineEdit>(dialog, u"txtFontSize"_s);
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
                QCOMPARE(child<QComboBox>(dialog, u"cboGroup"_s)->currentText(), u"Trash"_s);
                auto *path = child<QLineEdit>(dialog, u"txtStorePath"_s);
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

        // In the language editor with no slot, English or a free slot
        // chosen, keys beep and change nothing.
        const Action refused = dialog(5, [](AppFixture &nb, QDialog *dialog) {
            auto *slots = child<QComboBox>(dialog, u"cboLanguage"_s);
            auto *field = child<QLineEdit>(dialog, u"txtTranslation"_s);
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
            << Scenario{{}, {}, {}, {refused}, u"beeps=9"_s};
    }
    void dialogs()
    {
        QFETCH(Scenario, scenario);
        run(scenario);
    }

    void sortModeMark()
    {
        AppFixture run;
        QVERIFY(run.start());
        QAction *item = run.w().mnuSettings[3];
        for (bool on : {true, false, true}) {
            item->trigger();
            QCOMPARE(item->isChecked(), on);
            QCOMPARE(run.app().state().prefs.SortDescending != 0, on);
        }
        // The mark shows the mode however it was set.
        run.app().state().prefs.SortDescending = 0;
        Q_EMIT run.w().mnuOptions->aboutToShow();
        QVERIFY(!item->isChecked());
    }

    // The outer rectangle in twips and word 76; one report of a failed write
    // (nothing written: cancelled) or of an unsynced folder, and no "saved".
    void windowPlaceSaved()
    {
        AppFixture run;
        QVERIFY(run.start());
        run.w().mnuSettings[4]->trigger();
        QCOMPARE(run.messages.shown.value(0).text, run.app().wordTable().word(0, 76));
        const QRect outer = run.window()->frameGeometry();
        QCOMPARE(run.readLines(u"pref.dat"_s).value(14).toInt(),
                 pixelsToTwips(outer.width(), run.window()->logicalDpiX()));
        {
            const auto full = CallFaults::failing(Sys::Op::Write, ENOSPC);
            run.w().mnuSettings[4]->trigger();
        }
        {
            const auto unsynced =
                CallFaults(CallFault{Sys::Op::FolderSync, 0, EIO, true, {}, "pref.dat"});
            run.w().mnuSettings[4]->trigger();
        }
        const auto &shown = run.messages.shown;
        QCOMPARE(shown.size(), 3);
        const WordTable &words = run.app().wordTable();
        QVERIFY(shown[1].text.startsWith(words.word(0, 92)) &&
                shown[1].text.contains(u"pref.dat"_s));
        QVERIFY(shown[2].text.startsWith(words.word(0, 93)));
    }

    // After a start on the fallback store the dialog opens by itself with the
    // path label red and bold; opened again, the label is plain.
    void fallbackLabelOnce()
    {
        AppFixture run;
        QDir().mkpath(run.path(u"Gone/FileStore"_s));
        run.setPref(22, run.path(u"Gone"_s));
        QList<bool> bold;
        QList<QColor> colour;
        const auto look = [&](QDialog *dialog) {
            auto *label = child<QLabel>(dialog, u"lblText4"_s);
            bold << label->font().bold();
            colour << label->palette().color(QPalette::WindowText);
        };
        run.whenShown([&](QWidget *dialog) {
            look(qobject_cast<QDialog *>(dialog));
            dialog->close();
        });
        QVERIFY(run.start());
        QVERIFY(withDialog(run, 1, look));
        QCOMPARE(bold, (QList<bool>{true, false}));
        QCOMPARE(colour.value(0), QColor(192, 0, 0));
        QVERIFY(colour.value(1) != QColor(192, 0, 0));
    }

    // A name typed with no slot chosen takes the first free slot; with all
    // nine in use it is dropped and English is chosen. A slot never
    // translated is written with the English texts.
    void nameSlot_data()
    {
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<int>("chosen");
        QTest::newRow("first free slot") << QStringList{u"Dansk"_s} << 2;
        QStringList nine;
        for (int i = 1; i <= 9; ++i)
            nine << u"L"_s + QString::number(i);
        QTest::newRow("all nine in use") << nine << 0;
    }
    void nameSlot()
    {
        QFETCH(QStringList, names);
        QFETCH(int, chosen);
        AppFixture run;
        run.write(u"Language.dat"_s, languageFile(names));
        QVERIFY(run.start());
        QVERIFY(withDialog(run, 5, [&](QDialog *dialog) {
            QCOMPARE(typeName(dialog, u"Deutsch"_s)->currentIndex(), chosen);
            ok(dialog);
        }));
        const QStringList file = run.readLines(u"Language.dat"_s);
        QCOMPARE(file.size(), WordTable::kFileLines);
        QCOMPARE(file.contains(u"Deutsch"_s), chosen != 0);
        if (chosen == 0)
            return;
        QStringList expected{u"Deutsch"_s};
        for (int k = 1; k < WordTable::kWords; ++k)
            expected << WordTable::english(k);
        QCOMPARE(block(file, chosen), expected);
    }

    // An empty name frees the slot, and the first free slot is chosen instead;
    // the block is written "(free)" with its translations as they were. A
    // failed write leaves Language.dat as it was, says so with word 92 and
    // keeps the dialog open for another OK.
    void freeSlotAndWriteFailure()
    {
        AppFixture run;
        run.write(u"Language.dat"_s, languageFile({u"(free)"_s, u"Deutsch"_s}, u"de"_s));
        QVERIFY(run.start());
        const QByteArray before = run.read(u"Language.dat"_s);
        QVERIFY(withDialog(run, 5, [&](QDialog *dialog) {
            child<QComboBox>(dialog, u"cboLanguage"_s)->setCurrentIndex(2);
            QComboBox *slots = typeName(dialog, QString());
            QCOMPARE(slots->itemText(2), WordTable::freeSlotName());
            QCOMPARE(slots->currentIndex(), 1);
            {
                const auto full = CallFaults::failing(Sys::Op::Write, ENOSPC);
                ok(dialog);
            }
            QVERIFY(dialog->isVisible());
            QCOMPARE(run.read(u"Language.dat"_s), before);
            ok(dialog);
        }));
        QCOMPARE(run.messages.shown.size(), 1);
        QVERIFY(run.messages.shown[0].text.startsWith(run.app().wordTable().word(0, 92)));
        QVERIFY(run.messages.shown[0].text.contains(u"Language.dat"_s));
        QCOMPARE(block(run.readLines(u"Language.dat"_s), 2), block(languageFile({}, u"de"_s), 2));
    }

    // Translations are stored on Enter, which moves on to the next word and
    // stays on the last, and by OK's access key while still typed in the
    // field; the euro sign comes back from Language.dat as it went in.
    void translate()
    {
        AppFixture run;
        run.write(u"Language.dat"_s, languageFile({u"Deutsch"_s}));
        QVERIFY(run.start());
        QVERIFY(withDialog(run, 5, [&](QDialog *dialog) {
            child<QComboBox>(dialog, u"cboLanguage"_s)->setCurrentIndex(1);
            auto *words = child<QListWidget>(dialog, u"lstWords"_s);
            auto *field = child<QLineEdit>(dialog, u"txtTranslation"_s);
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
        }));
        const QByteArray bytes = run.read(u"Language.dat"_s);
        QVERIFY(bytes.contains("\r\n\x80 einf\xFCgen\r\n"));
        WordTable reread;
        QVERIFY(!reread.loadLanguageFile(run.path(u"Language.dat"_s)));
        QCOMPARE(reread.word(1, 1), u"&Datei"_s);
        QCOMPARE(reread.word(1, 2), WordTable::english(2));
        QCOMPARE(reread.word(1, 3), u"&Neu"_s);
        QCOMPARE(reread.word(1, 144), u"\u20AC einf\u00FCgen"_s);
        QCOMPARE(reread.word(1, 149), u"&Umbruch"_s);
    }
};

QTEST_MAIN(tst_Settings)
#include "tst_settings.moc"
