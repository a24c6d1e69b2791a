// Viewing and editing on the real window: the lines that start no edit mode,
// the ways into the text, the edit lock, a new entry from Insert to its file,
// edits of an entry and of the mask confirmed, saved and cancelled by their
// keys, the cross-cancel of the two boxes, failed saves, and what is refused.

#include "support/appfixture.h"

#include "editing/editrules.h"
#include "store/dostext.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kNew = u"* NEW *"_s;
const QString kAlpha = u"FileStore/Ideas/Alpha.txt"_s;

QByteArray crlf(const QStringList &lines)
{
    return (lines.join(u"\r\n"_s) + u"\r\n"_s).toLatin1();
}

// idx.dat with `ideas` as the titles of Ideas.
QByteArray index(const QStringList &ideas)
{
    QStringList lines{u"idx Plimsa 1.3.02"_s, u"Ideas"_s};
    for (const QString &title : ideas)
        lines << u"\\"_s + OutDOS(title);
    return crlf(lines + QStringList{u"Notes"_s, u"\\Welcome"_s, u"Trash"_s, u"Void"_s});
}

// Ideas, selected at the start: Alpha, gone (no file), Beta and a mask;
// Notes: Welcome; Trash; Void, empty. The mask is shown.
std::unique_ptr<AppFixture> notebook()
{
    auto nb = std::make_unique<AppFixture>();
    nb->writeNotebook({{u"Ideas"_s, u"Alpha"_s, u"gone"_s, u"Beta"_s},
                       {u"Notes"_s, u"Welcome"_s},
                       {u"Trash"_s},
                       {u"Void"_s}});
    nb->write(u"FileStore/Ideas/_mask.dat"_s, {u"m1"_s});
    nb->setPref(16, u" 1"_s);
    return nb;
}

void verifyViewing(const AppFixture &nb)
{
    QVERIFY(!nb.state().TextEditMode);
    QVERIFY(!nb.state().MaskEditMode);
    QVERIFY(nb.w().fraEdit->isHidden());
    QVERIFY(nb.w().lstEntry->isEnabled());
    // The window's own focus: after a dialog the test platform may leave no window active.
    QCOMPARE(nb.window()->focusWidget(), nb.w().lstEntry);
}

void doubleClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
    QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
}

QPoint centreOf(const QListWidget *list, int row)
{
    return list->visualItemRect(list->item(row)).center();
}

} // namespace

class tst_EditModes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Enter in either list and a double-click on the entry or in the text
    // lead into the text; on a line without a file none of them does, and OK
    // by key writes nothing ("File not present!" would become the date line).
    // A file of 0 bytes has not even a date line and counts as none.
    void waysIntoTheText_data()
    {
        QTest::addColumn<QString>("line"); // group/entry
        QTest::addColumn<int>("way");
        const QStringList ways{u"Enter in the entry list"_s, u"Enter in the group list"_s,
                               u"double-click on the entry"_s, u"double-click in the text"_s};
        for (const QString &line : {u"Ideas/Alpha"_s, u"Ideas/gone"_s, u"Ideas/ "_s, u"Void/ "_s,
                                    u"Ideas/Beta (0 bytes)"_s}) {
            for (int way = 0; way < ways.size(); ++way)
                QTest::addRow("%s: %s", qPrintable(line), qPrintable(ways[way])) << line << way;
        }
    }
    void waysIntoTheText()
    {
        QFETCH(QString, line);
        QFETCH(int, way);
        auto nb = notebook();
        if (line.endsWith(u" (0 bytes)"_s)) {
            line = line.section(u' ', 0, 0);
            nb->write(u"FileStore/"_s + line + u".txt"_s, {});
        }
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        QPlainTextEdit *box = w.txtText[0];
        AppFixture::click(w.lstGroup, line.section(u'/', 0, 0));
        AppFixture::click(w.lstEntry, line.section(u'/', 1));
        const bool hasFile = line == u"Ideas/Alpha"_s;
        QCOMPARE(w.lblDate->text(), hasFile ? u"date of Alpha"_s : u"File not present!"_s);
        QCOMPARE(nb->state().FileMissing, !hasFile);
        const auto files = nb->snapshot();
        if (way == 0)
            QTest::keyClick(w.lstEntry, Qt::Key_Return);
        else if (way == 1)
            QTest::keyClick(w.lstGroup, Qt::Key_Enter);
        else if (way == 2)
            doubleClick(w.lstEntry->viewport(), centreOf(w.lstEntry, w.lstEntry->currentRow()));
        else
            doubleClick(box->viewport(), box->cursorRect().center());
        QCOMPARE(nb->state().TextEditMode, hasFile);
        if (hasFile)
            QCOMPARE(nb->window()->focusWidget(), box);
        if (hasFile && way == 3) { // the double-click's selection gives way to the line end
            QTRY_VERIFY(!box->textCursor().hasSelection());
            QVERIFY(box->textCursor().atBlockEnd());
            QCOMPARE(box->textCursor().blockNumber(), 0);
        }
        QTest::keyClick(hasFile ? box : w.txtMask, Qt::Key_F2);
        QTest::keyClick(w.txtMask, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(nb->snapshot(), files);
        verifyViewing(*nb);
        QVERIFY(nb->messages.shown.isEmpty());
    }

    // Unlocked, a right click selects the line under the pointer and shows the
    // pop-up without the item it hides; locked, there is no way into an edit
    // mode or a new entry, and no pop-up.
    void lockRefusesEdits()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        QPlainTextEdit *box = w.txtText[0];
        QWidget *popUp = nullptr;
        bool newEntryHidden = false;
        const auto notePopUp = [&](QWidget *menu) {
            popUp = menu;
            newEntryHidden = !w.mnuEntryCall[0]->isVisible();
            menu->close();
        };
        nb->whenShown(notePopUp);
        AppFixture::click(w.lstEntry, u"Beta"_s, Qt::RightButton);
        QTRY_COMPARE(popUp, w.mnuEntry);
        QVERIFY(newEntryHidden);
        QVERIFY(w.mnuEntryCall[0]->isVisible());
        QCOMPARE(w.lblDate->text(), u"date of Beta"_s);

        AppFixture::click(w.lstEntry, u"Alpha"_s);
        const auto files = nb->snapshot();
        w.chckEdit->click();
        QVERIFY(w.mnuEditPermission->isChecked());
        QTest::keyClicks(box, u"a"_s);
        QCOMPARE(nb->messages.shown.size(), 1);
        QCOMPARE(nb->messages.shown[0].icon, Messages::Icon::Information);
        QCOMPARE(nb->messages.shown[0].text, u"Edit Permission locked!"_s);
        QTest::keyClick(box, Qt::Key_Delete);
        QTest::keyClicks(w.txtMask, u"m"_s);
        QCOMPARE(nb->messages.shown.size(), 3);
        QTest::keyClick(w.lstEntry, Qt::Key_Return);
        QTest::keyClick(w.lstGroup, Qt::Key_Return);
        doubleClick(w.lstEntry->viewport(), centreOf(w.lstEntry, 0));
        doubleClick(box->viewport(), box->cursorRect().center());
        QTest::keyClick(w.lstEntry, Qt::Key_Insert);
        popUp = nullptr;
        nb->whenShown(notePopUp);
        AppFixture::click(w.lstEntry, u"Beta"_s, Qt::RightButton);
        QVERIFY(!popUp);
        QCOMPARE(w.lstEntry->currentRow(), 0);
        // Nor by a paste, which no key handler sees (the box's own menu).
        QGuiApplication::clipboard()->setText(u"pasted"_s);
        const QString text = box->toPlainText();
        box->paste();
        w.txtMask->paste();
        QCOMPARE(box->toPlainText(), text);
        QVERIFY(!w.txtMask->toPlainText().contains(u"pasted"_s));
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(!nb->state().MaskEditMode);
        QCOMPARE(nb->snapshot(), files);
        QCOMPARE(nb->messages.shown.size(), 3);

        // The menu item mirrors the box.
        w.mnuEditPermission->trigger();
        QVERIFY(!w.chckEdit->isChecked());
        QTest::keyClicks(box, u"a"_s);
        QVERIFY(nb->state().TextEditMode);
    }

    // Select a group, Insert, type two lines, F2, take the proposed title.
    void typicalChange()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        QPlainTextEdit *box = w.txtText[0];
        AppFixture::click(w.lstGroup, u"Notes"_s);
        AppFixture::click(w.lstGroup, u"Ideas"_s);
        QTest::keyClick(w.lstEntry, Qt::Key_Insert);
        QCOMPARE(AppFixture::lines(w.lstEntry),
                 (QStringList{kNew, u"Alpha"_s, u"gone"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(nb->read(u"FileStore/idx.dat"_s), index({kNew, u"Alpha"_s, u"gone"_s, u"Beta"_s}));
        QVERIFY(nb->state().TextEditMode);
        QVERIFY(w.fraEdit->isVisible());
        QCOMPARE(QApplication::focusWidget(), box);

        QTest::keyClicks(box, u"Shopping list"_s);
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClicks(box, u"milk"_s);
        nb->answerInput();
        const QString before = EditRules::dateLine(QDateTime::currentDateTime(), QLocale::system());
        QTest::keyClick(box, Qt::Key_F2);
        const QString after = EditRules::dateLine(QDateTime::currentDateTime(), QLocale::system());
        const QString date = w.lblDate->text();
        QVERIFY2(date == before || date == after, qPrintable(date));
        QCOMPARE(nb->read(u"FileStore/idx.dat"_s),
                 index({u"Shopping list"_s, u"Alpha"_s, u"gone"_s, u"Beta"_s}));
        QCOMPARE(nb->read(u"FileStore/Ideas/Shopping list.txt"_s),
                 crlf({date, u"Shopping list"_s, u"milk"_s}));
        QCOMPARE(AppFixture::lines(w.lstEntry),
                 (QStringList{u"Shopping list"_s, u"Alpha"_s, u"gone"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(w.lstEntry->currentRow(), 0);
        QCOMPARE(box->toPlainText(), u"Shopping list\nmilk\n"_s);
        verifyViewing(*nb);
    }

    // Save (F3) stays in the edit mode; neither touches the date line.
    void saveThenConfirm()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        const MainWidgets &w = nb->w();
        QPlainTextEdit *box = w.txtText[0];
        const auto files = nb->snapshot();
        QTest::keyClick(box, Qt::Key_F3); // while viewing: nothing to save
        QVERIFY(!nb->state().TextEditMode);
        QCOMPARE(nb->snapshot(), files);
        QTest::keyClicks(box, u"X"_s);
        QVERIFY(nb->state().TextEditMode);
        QVERIFY(w.cmdEdit[2]->isEnabled());
        QTest::keyClick(box, Qt::Key_F3);
        QCOMPARE(nb->read(kAlpha), crlf({u"date of Alpha"_s, u"Xtext of Alpha"_s}));
        QVERIFY(nb->state().TextEditMode);
        QVERIFY(!w.cmdEdit[2]->isEnabled());
        QTest::keyClicks(box, u"Y"_s);
        QVERIFY(w.cmdEdit[2]->isEnabled());
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(nb->read(kAlpha), crlf({u"date of Alpha"_s, u"XYtext of Alpha"_s}));
        QCOMPARE(w.lblDate->text(), u"date of Alpha"_s);
        verifyViewing(*nb);
    }

    // Each way out of the text edit mode, and the keys that end none while
    // viewing: what is written, and the box reloaded.
    void endOfEdit_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifier");
        QTest::addColumn<QString>("line"); // the text's line on disk after the key
        const int none = Qt::NoModifier;
        QTest::newRow("Shift+Enter")
            << u"Z"_s << int(Qt::Key_Return) << int(Qt::ShiftModifier) << u"Ztext of Alpha"_s;
        QTest::newRow("Ctrl+Enter")
            << u"Z"_s << int(Qt::Key_Return) << int(Qt::ControlModifier) << u"Ztext of Alpha"_s;
        QTest::newRow("Alt+Enter")
            << u"Z"_s << int(Qt::Key_Return) << int(Qt::AltModifier) << u"Ztext of Alpha"_s;
        QTest::newRow("Esc") << u"Z"_s << int(Qt::Key_Escape) << none << u"text of Alpha"_s;
        QTest::newRow("F4") << u"Z"_s << int(Qt::Key_F4) << none << u"text of Alpha"_s;
        QTest::newRow("F2 while viewing")
            << QString() << int(Qt::Key_F2) << none << u"text of Alpha"_s;
    }
    void endOfEdit()
    {
        QFETCH(QString, typed);
        QFETCH(int, key);
        QFETCH(int, modifier);
        QFETCH(QString, line);
        auto nb = notebook();
        QVERIFY(nb->start());
        QPlainTextEdit *box = nb->w().txtText[0];
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifier));
        QCOMPARE(nb->read(kAlpha), crlf({u"date of Alpha"_s, line}));
        QCOMPARE(box->toPlainText(), line + u'\n');
        verifyViewing(*nb);
        // The next Enter is typed as usual again.
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(box->toPlainText(), u'\n' + line + u'\n');
    }

    // A new entry is stored once its title is known: a title made unique,
    // or nothing at all when the title or the text is cancelled.
    void newEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("answer"); // null: the proposal; "Esc": the dialog cancelled
        QTest::addColumn<QString>("title");  // empty: nothing stored
        QTest::newRow("title taken twice") << u"x"_s << QString() << u"x__"_s;
        QTest::newRow("stored name") << u"text"_s << u"a/b"_s << u"a/b"_s;
        QTest::newRow("title cancelled") << u"abc"_s << u"Esc"_s << QString();
        QTest::newRow("Esc in the text") << u"abc"_s << QString() << QString();
    }
    void newEntry()
    {
        QFETCH(QString, typed);
        QFETCH(QString, answer);
        QFETCH(QString, title);
        AppFixture nb;
        nb.writeNotebook({{u"Ideas"_s, u"x"_s, u"x_"_s}});
        QVERIFY(nb.start());
        const MainWidgets &w = nb.w();
        const auto files = nb.snapshot();
        AppFixture::click(w.lstEntry, u"x_"_s);
        QTest::keyClick(w.lstEntry, Qt::Key_Insert);
        QTest::keyClicks(w.txtText[0], typed);
        if (answer == u"Esc"_s) {
            nb.whenShown([](QWidget *dialog) {
                QTest::keyClick(dialog->findChild<QLineEdit *>(u"txtInput"_s), Qt::Key_Escape);
            });
        } else if (title.isEmpty()) {
            QTest::keyClick(w.txtText[0], Qt::Key_Escape);
        } else {
            nb.answerInput(answer);
        }
        QTest::keyClick(w.txtText[0], Qt::Key_F2);
        if (title.isEmpty()) {
            QCOMPARE(AppFixture::lines(w.lstEntry), (QStringList{u"x"_s, u"x_"_s, u" "_s}));
            QCOMPARE(w.lstEntry->currentRow(), 1);
            QCOMPARE(w.txtText[0]->toPlainText(), u"text of x_\n"_s);
            QCOMPARE(nb.snapshot(), files);
        } else {
            QCOMPARE(AppFixture::lines(w.lstEntry), (QStringList{u"x"_s, title, u"x_"_s, u" "_s}));
            QCOMPARE(nb.readLines(u"FileStore/idx.dat"_s),
                     (QStringList{u"idx Plimsa 1.3.02"_s, u"Ideas"_s, u"\\x"_s,
                                  u"\\"_s + OutDOS(title), u"\\x_"_s}));
            QCOMPARE(nb.readLines(u"FileStore/Ideas/"_s + OutDOS(title) + u".txt"_s).mid(1),
                     QStringList{typed});
        }
        verifyViewing(nb);
    }

    // Refused before anything changes; the text stays for another title.
    void tooLongTitleRefused()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        QPlainTextEdit *box = nb->w().txtText[0];
        QTest::keyClick(nb->w().lstEntry, Qt::Key_Insert);
        const auto files = nb->snapshot();
        box->insertPlainText(QString(300, u'a') + u"\nmore"_s);
        nb->answerInput();
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(nb->messages.shown.size(), 1);
        QVERIFY(nb->messages.shown[0].text.contains(u"too long"_s));
        QVERIFY(nb->state().TextEditMode);
        QCOMPARE(AppFixture::lines(nb->w().lstEntry).first(), kNew);
        QCOMPARE(box->toPlainText(), QString(300, u'a') + u"\nmore"_s);
        QCOMPARE(nb->snapshot(), files);

        nb->answerInput(u"short"_s);
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(AppFixture::lines(nb->w().lstEntry).first(), u"short"_s);
        QCOMPARE(nb->readLines(u"FileStore/Ideas/short.txt"_s).mid(1),
                 (QStringList{QString(300, u'a'), u"more"_s}));
        verifyViewing(*nb);
    }

    // The mask edit saved, then cancelled by typing into the text: the mask
    // comes back as last saved, not as first loaded. Typing into the mask
    // cancels a text edit the same way.
    void maskEditAndCrossCancel()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        QPlainTextEdit *mask = nb->w().txtMask;
        QPlainTextEdit *box = nb->w().txtText[0];
        QTest::keyClicks(mask, u"A"_s);
        QVERIFY(nb->state().MaskEditMode);
        QCOMPARE(nb->w().lblMode->text(), u"Mask Edit Mode..."_s);
        QTest::keyClick(mask, Qt::Key_F2);
        QCOMPARE(nb->read(u"FileStore/Ideas/_mask.dat"_s), crlf({u"Am1"_s}));
        verifyViewing(*nb);

        const auto files = nb->snapshot();
        QTest::keyClicks(mask, u"B"_s);
        QTest::keyClicks(box, u"T"_s);
        QVERIFY(!nb->state().MaskEditMode);
        QVERIFY(!nb->state().TextEditMode);
        QCOMPARE(mask->toPlainText(), u"Am1\n"_s);
        QCOMPARE(box->toPlainText(), u"text of Alpha\n"_s);
        QTest::keyClicks(box, u"U"_s);
        QVERIFY(nb->state().TextEditMode);
        QTest::keyClicks(mask, u"M"_s);
        QVERIFY(!nb->state().TextEditMode);
        QCOMPARE(box->toPlainText(), u"text of Alpha\n"_s);
        QTest::keyClicks(mask, u"N"_s);
        QVERIFY(nb->state().MaskEditMode);
        QTest::keyClick(mask, Qt::Key_F4);
        QCOMPARE(mask->toPlainText(), u"Am1\n"_s);
        QCOMPARE(nb->snapshot(), files);
        verifyViewing(*nb);
    }

    // A folder in the place of the file makes the write fail (root ignores
    // permission bits, so a read-only folder would not do).
    void failedSaveKeepsText_data()
    {
        QTest::addColumn<bool>("newEntry");
        QTest::newRow("existing entry") << false;
        QTest::newRow("new entry") << true;
    }
    void failedSaveKeepsText()
    {
        QFETCH(bool, newEntry);
        auto nb = notebook();
        QVERIFY(nb->start());
        QPlainTextEdit *box = nb->w().txtText[0];
        const QString file = newEntry ? u"FileStore/Ideas/Fresh.txt"_s : kAlpha;
        if (newEntry)
            QTest::keyClick(nb->w().lstEntry, Qt::Key_Insert);
        QTest::keyClicks(box, u"Fresh"_s);
        const QString typed = box->toPlainText();
        const QByteArray index = nb->read(u"FileStore/idx.dat"_s);
        QFile::remove(nb->path(file));
        QVERIFY(QDir().mkpath(nb->path(file)));

        nb->answerInput();
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(nb->messages.shown.size(), 1);
        QVERIFY(nb->messages.shown[0].text.startsWith(
            u"An error has happend - trying to continue..."_s));
        QVERIFY(nb->messages.shown[0].text.contains(file));
        QVERIFY(nb->state().TextEditMode);
        QCOMPARE(box->toPlainText(), typed);
        QCOMPARE(AppFixture::lines(nb->w().lstEntry).first(), newEntry ? kNew : u"Alpha"_s);
        QCOMPARE(nb->read(u"FileStore/idx.dat"_s), index);

        QVERIFY(QDir(nb->path(file)).removeRecursively());
        nb->answerInput();
        QTest::keyClick(box, Qt::Key_F2);
        QCOMPARE(nb->readLines(file).mid(1),
                 newEntry ? QStringList{u"Fresh"_s} : QStringList{u"Freshtext of Alpha"_s});
        verifyViewing(*nb);
    }

    // Typed or pasted, what Windows-1252 cannot hold is refused with a
    // message; the rest goes in.
    void unencodableCharactersRefused_data()
    {
        QTest::addColumn<bool>("inMask");
        QTest::newRow("text") << false;
        QTest::newRow("mask") << true;
    }
    void unencodableCharactersRefused()
    {
        QFETCH(bool, inMask);
        auto nb = notebook();
        QVERIFY(nb->start());
        QPlainTextEdit *box = inMask ? nb->w().txtMask : nb->w().txtText[0];
        const QString before = box->toPlainText();
        box->setFocus();
        for (const QString &c : {u"a"_s, u"\u03A9"_s, u"\u20AC"_s, u"b"_s})
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, c, Qt::NoModifier);
        QCOMPARE(nb->messages.shown.size(), 1);
        QVERIFY(nb->messages.shown[0].text.contains(u"U+03A9"_s));
        QCOMPARE(box->toPlainText(), u"a\u20ACb"_s + before);

        QApplication::clipboard()->setText(u"x\U0001F600y"_s);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(nb->messages.shown.size(), 2);
        QVERIFY(nb->messages.shown[1].text.contains(u"U+1F600"_s));
        QApplication::clipboard()->setText(u"x\u00A0y"_s);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(nb->messages.shown.size(), 2);

        QTest::keyClick(box, Qt::Key_F2);
        QVERIFY(nb->read(inMask ? u"FileStore/Ideas/_mask.dat"_s : kAlpha)
                    .contains("a\x80"
                              "bx\xA0y"));
    }
};

QTEST_MAIN(tst_EditModes)
#include "tst_editmodes.moc"
