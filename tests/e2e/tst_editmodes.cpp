// The edit modes on the real window: a new entry from Insert to its file, edits
// of an entry and of the mask confirmed, saved and cancelled by their keys, the
// cross-cancel of the two boxes, failed saves, and what is refused.

#include "support/notebookrun.h"

#include "editing/editrules.h"
#include "store/dostext.h"
#include "ui/twips.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString kDate = u"1/2/03 - 04:05:06"_s;
const QString kNew = u"* NEW *"_s;

const QStringList kIndex{u"Ideas"_s, u"\\Alpha"_s,   u"\\Beta"_s,
                         u"Notes"_s, u"\\Welcome"_s, u"Trash"_s};

QByteArray index(const QStringList &ideas)
{
    QStringList lines{u"idx Plimsa 1.3.02"_s, u"Ideas"_s};
    for (const QString &title : ideas)
        lines.append(u"\\"_s + OutDOS(title));
    lines += QStringList{u"Notes"_s, u"\\Welcome"_s, u"Trash"_s};
    return crlfLines(lines);
}

// Ideas: Alpha (two lines) and Beta; Notes: Welcome. Ideas is selected at start.
std::unique_ptr<NotebookRun> notebook(bool maskShown = false)
{
    auto nb = std::make_unique<NotebookRun>(kIndex);
    nb->writeEntry(u"Ideas"_s, u"Alpha"_s, kDate, {u"first line"_s, u"second"_s});
    nb->writeEntry(u"Ideas"_s, u"Beta"_s, kDate, {u"b"_s});
    nb->writeEntry(u"Notes"_s, u"Welcome"_s, kDate, {u"w"_s});
    nb->writeMask(u"Ideas"_s, {u"m1"_s});
    if (maskShown)
        nb->pref(16, u" 1"_s);
    return nb;
}

int twips(QWidget *widget, int pixels)
{
    return pixelsToTwips(pixels, widget->logicalDpiX());
}

void verifyViewing(const NotebookRun &nb)
{
    QVERIFY(!nb.state().TextEditMode);
    QVERIFY(!nb.state().MaskEditMode);
    QVERIFY(nb.w().fraEdit->isHidden());
    QVERIFY(nb.w().fraMain[1]->isVisible());
    QVERIFY(nb.w().lstEntry->isEnabled());
    // The window's own focus: after a dialog the test platform may leave no window active.
    QCOMPARE(nb.run->window()->focusWidget(), nb.w().lstEntry);
}

} // namespace

class tst_EditModes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(!qEnvironmentVariableIsEmpty("PLIMSA_DATA")); }

    // Select a group, Insert, type two lines, F2, take the proposed title.
    void typicalChange()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->clickGroup(u"Notes"_s);
        nb->clickGroup(u"Ideas"_s);
        QCOMPARE(nb->entryLines(), (QStringList{u"Alpha"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(nb->entryRow(), 0);
        QCOMPARE(nb->w().lblDate->text(), kDate);
        QCOMPARE(nb->text()->toPlainText(), u"first line\nsecond\n"_s);

        nb->key(nb->w().lstEntry, Qt::Key_Insert);
        QCOMPARE(nb->entryLines(), (QStringList{kNew, u"Alpha"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(nb->entryRow(), 0);
        QCOMPARE(nb->store(u"idx.dat"_s), index({kNew, u"Alpha"_s, u"Beta"_s}));
        QVERIFY(nb->state().TextEditMode);
        QCOMPARE(nb->w().lblMode->text(), u"Text Edit Mode..."_s);
        QVERIFY(nb->w().fraEdit->isVisible());
        QVERIFY(nb->w().fraMain[0]->isHidden());
        QVERIFY(!nb->w().lstEntry->isEnabled());
        QVERIFY(!nb->w().cmdCRSR[0]->isEnabled());
        QVERIFY(!nb->w().cmdCRSR[4]->isEnabled());
        QVERIFY(!nb->w().cmdH[3]->isEnabled());
        QCOMPARE(twips(nb->w().cmdEdit[0], nb->w().cmdEdit[0]->width()), 1590);
        QVERIFY(!nb->w().cmdEdit[2]->isEnabled());
        QCOMPARE(QApplication::focusWidget(), nb->text());
        QVERIFY(nb->w().lblDate->text().isEmpty());

        nb->type(QApplication::focusWidget(), u"Shopping list\nmilk"_s);
        const auto seen = InputAnswer::confirm();
        const QString before = EditRules::dateLine(QDateTime::currentDateTime(), QLocale::system());
        nb->key(QApplication::focusWidget(), Qt::Key_F2);
        const QString after = EditRules::dateLine(QDateTime::currentDateTime(), QLocale::system());

        QVERIFY(seen->shown);
        QCOMPARE(seen->caption, u"Entry Title"_s);
        QCOMPARE(seen->proposed, u"Shopping list"_s);
        QVERIFY(seen->proposalSelected);
        QCOMPARE(nb->store(u"idx.dat"_s), index({u"Shopping list"_s, u"Alpha"_s, u"Beta"_s}));
        const QString date = nb->w().lblDate->text();
        QVERIFY2(date == before || date == after, qPrintable(date));
        QVERIFY(date.contains(u" - "_s));
        QCOMPARE(nb->store(u"Ideas/Shopping list.txt"_s),
                 crlfLines({date, u"Shopping list"_s, u"milk"_s}));
        QCOMPARE(nb->entryLines(),
                 (QStringList{u"Shopping list"_s, u"Alpha"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(nb->entryRow(), 0);
        QCOMPARE(nb->text()->toPlainText(), u"Shopping list\nmilk\n"_s);
        verifyViewing(*nb);
        QVERIFY(nb->w().cmdEntry[1]->isEnabled());
        QVERIFY(nb->w().cmdCRSR[4]->isEnabled());
        QVERIFY(nb->w().cmdH[3]->isEnabled());
    }

    void existingEntrySavedThenConfirmed()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->clickEntry(0);
        QVERIFY(!nb->w().cmdEdit[2]->isEnabled());
        nb->type(nb->text(), u"X"_s);
        QVERIFY(nb->state().TextEditMode);
        QCOMPARE(twips(nb->w().cmdEdit[0], nb->w().cmdEdit[0]->width()), 750);
        QVERIFY(nb->w().cmdEdit[2]->isEnabled());

        nb->key(nb->text(), Qt::Key_F3);
        QCOMPARE(nb->store(u"Ideas/Alpha.txt"_s),
                 crlfLines({kDate, u"Xfirst line"_s, u"second"_s}));
        QVERIFY(nb->state().TextEditMode);
        QVERIFY(!nb->w().cmdEdit[2]->isEnabled());
        QCOMPARE(QApplication::focusWidget(), nb->text());

        nb->type(nb->text(), u"Y"_s);
        QVERIFY(nb->w().cmdEdit[2]->isEnabled());
        nb->key(nb->text(), Qt::Key_F2);
        QCOMPARE(nb->store(u"Ideas/Alpha.txt"_s),
                 crlfLines({kDate, u"XYfirst line"_s, u"second"_s}));
        QCOMPARE(nb->w().lblDate->text(), kDate);
        verifyViewing(*nb);
    }

    void enterWithModifierConfirms_data()
    {
        QTest::addColumn<int>("modifier");
        QTest::newRow("Shift") << int(Qt::ShiftModifier);
        QTest::newRow("Ctrl") << int(Qt::ControlModifier);
        QTest::newRow("Alt") << int(Qt::AltModifier);
    }
    void enterWithModifierConfirms()
    {
        QFETCH(int, modifier);
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->type(nb->text(), u"Z"_s);
        nb->key(nb->text(), Qt::Key_Return, Qt::KeyboardModifiers(modifier));
        QCOMPARE(nb->store(u"Ideas/Alpha.txt"_s),
                 crlfLines({kDate, u"Zfirst line"_s, u"second"_s}));
        QCOMPARE(nb->text()->toPlainText(), u"Zfirst line\nsecond\n"_s);
        QVERIFY(!nb->state().SwallowKeyPress);
        verifyViewing(*nb);
        // The next Enter is typed as usual again.
        nb->text()->setFocus();
        nb->key(nb->text(), Qt::Key_Return);
        QCOMPARE(nb->text()->toPlainText(), u"\nZfirst line\nsecond\n"_s);
    }

    void cancelReloads_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Esc") << int(Qt::Key_Escape);
        QTest::newRow("F4") << int(Qt::Key_F4);
    }
    void cancelReloads()
    {
        QFETCH(int, key);
        auto nb = notebook();
        QVERIFY(nb->start());
        const auto files = nb->folder.snapshot();
        nb->type(nb->text(), u"Q\nR"_s);
        QVERIFY(nb->state().TextEditMode);
        nb->key(nb->text(), key);
        QCOMPARE(nb->text()->toPlainText(), u"first line\nsecond\n"_s);
        QCOMPARE(nb->folder.snapshot(), files);
        verifyViewing(*nb);
        // Esc while viewing reloads too and writes nothing.
        nb->text()->setFocus();
        nb->key(nb->text(), key);
        QCOMPARE(nb->folder.snapshot(), files);
        verifyViewing(*nb);
    }

    void newEntryDropped_data()
    {
        QTest::addColumn<bool>("atTitle");
        QTest::newRow("title cancelled") << true;
        QTest::newRow("Esc in the text") << false;
    }
    void newEntryDropped()
    {
        QFETCH(bool, atTitle);
        auto nb = notebook();
        QVERIFY(nb->start());
        const auto files = nb->folder.snapshot();
        nb->clickEntry(1);
        nb->key(nb->w().lstEntry, Qt::Key_Insert);
        nb->type(nb->text(), u"abc"_s);
        if (atTitle) {
            const auto seen = InputAnswer::cancel();
            nb->key(nb->text(), Qt::Key_F2);
            QVERIFY(seen->shown);
        } else {
            nb->key(nb->text(), Qt::Key_Escape);
        }
        QCOMPARE(nb->entryLines(), (QStringList{u"Alpha"_s, u"Beta"_s, u" "_s}));
        QCOMPARE(nb->entryRow(), 1);
        QCOMPARE(nb->text()->toPlainText(), u"b\n"_s);
        QCOMPARE(nb->folder.snapshot(), files);
        verifyViewing(*nb);
    }

    void titleClashNeedsTwoUnderscores()
    {
        NotebookRun nb({u"Ideas"_s, u"\\Shopping list"_s, u"\\Shopping list_"_s, u"Trash"_s});
        QVERIFY(nb.start());
        nb.key(nb.w().lstEntry, Qt::Key_Insert);
        nb.type(nb.text(), u"Shopping list"_s);
        const auto seen = InputAnswer::confirm();
        nb.key(nb.text(), Qt::Key_F2);
        QCOMPARE(nb.entryLines(), (QStringList{u"Shopping list__"_s, u"Shopping list"_s,
                                               u"Shopping list_"_s, u" "_s}));
        QVERIFY(nb.storeHas(u"Ideas/Shopping list__.txt"_s));
        QCOMPARE(nb.store(u"idx.dat"_s),
                 crlfLines({u"idx Plimsa 1.3.02"_s, u"Ideas"_s, u"\\Shopping list__"_s,
                            u"\\Shopping list"_s, u"\\Shopping list_"_s, u"Trash"_s}));
    }

    void storedTitleUsedForFile()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->key(nb->w().lstEntry, Qt::Key_Insert);
        nb->type(nb->text(), u"text"_s);
        const auto seen = InputAnswer::typeAndConfirm(u"a/b"_s);
        nb->key(nb->text(), Qt::Key_F2);
        QCOMPARE(nb->entryLines().first(), u"a/b"_s);
        QVERIFY(nb->storeHas(u"Ideas/"_s + OutDOS(u"a/b"_s) + u".txt"_s));
        QCOMPARE(nb->text()->toPlainText(), u"text\n"_s);
    }

    void tooLongTitleRefused()
    {
        auto nb = notebook();
        QVERIFY(nb->start());
        nb->key(nb->w().lstEntry, Qt::Key_Insert);
        const QByteArray placeholderIndex = nb->store(u"idx.dat"_s);
        const QString longLine(300, u'a');
        nb->text()->insertPlainText(longLine + u"\nmore"_s);
        auto seen = InputAnswer::confirm();
        nb->key(nb->text(), Qt::Key_F2);
        QVERIFY(seen->shown);
        QVERIFY2(nb->lastMessage().contains(u"too long"_s), qPrintable(nb->lastMessage()));
        QVERIFY(nb->state().TextEditMode);
        QCOMPARE(nb->entryLines().first(), kNew);
        QCOMPARE(nb->text()->toPlainText(), longLine + u"\nmore"_s);
        QCOMPARE(nb->store(u"idx.dat"_s), placeholderIndex);
        QCOMPARE(QDir(nb->folder.path(u"FileStore/Ideas"_s)).entryList(QDir::Files).size(), 3);

        seen = InputAnswer::typeAndConfirm(u"short"_s);
        nb->key(nb->text(), Qt::Key_F2);
        QCOMPARE(nb->entryLines().first(), u"short"_s);
        QVERIFY(nb->storeHas(u"Ideas/short.txt"_s));
        verifyViewing(*nb);
    }

    void maskEditSavedAndCancelled()
    {
        auto nb = notebook(true);
        QVERIFY(nb->start());
        QPlainTextEdit *mask = nb->w().txtMask;
        QVERIFY(mask->isVisible());
        QCOMPARE(mask->toPlainText(), u"m1\n"_s);
        nb->type(mask, u"A"_s);
        QVERIFY(nb->state().MaskEditMode);
        QCOMPARE(nb->w().lblMode->text(), u"Mask Edit Mode..."_s);
        QCOMPARE(twips(nb->w().cmdEdit[0], nb->w().cmdEdit[0]->width()), 1590);
        nb->type(mask, u"\nline"_s);
        nb->key(mask, Qt::Key_F2);
        QCOMPARE(nb->store(u"Ideas/_mask.dat"_s), crlfLines({u"A"_s, u"linem1"_s}));
        verifyViewing(*nb);

        // Cancel puts back the mask as last saved, not as first loaded.
        const auto files = nb->folder.snapshot();
        nb->type(mask, u"B"_s);
        QVERIFY(nb->state().MaskEditMode);
        nb->key(mask, Qt::Key_Escape);
        QCOMPARE(mask->toPlainText(), u"A\nlinem1\n"_s);
        QCOMPARE(nb->folder.snapshot(), files);
        verifyViewing(*nb);
    }

    void typingIntoTheOtherBoxCancels()
    {
        auto nb = notebook(true);
        QVERIFY(nb->start());
        QPlainTextEdit *mask = nb->w().txtMask;
        const auto files = nb->folder.snapshot();

        nb->type(mask, u"A"_s);
        nb->type(nb->text(), u"T"_s);
        QVERIFY(!nb->state().MaskEditMode);
        QVERIFY(!nb->state().TextEditMode);
        QCOMPARE(mask->toPlainText(), u"m1\n"_s);
        QCOMPARE(nb->text()->toPlainText(), u"first line\nsecond\n"_s);
        nb->type(nb->text(), u"U"_s);
        QVERIFY(nb->state().TextEditMode);

        nb->type(mask, u"M"_s);
        QVERIFY(!nb->state().TextEditMode);
        QVERIFY(!nb->state().MaskEditMode);
        QCOMPARE(nb->text()->toPlainText(), u"first line\nsecond\n"_s);
        QCOMPARE(mask->toPlainText(), u"Mm1\n"_s);
        nb->type(mask, u"N"_s);
        QVERIFY(nb->state().MaskEditMode);
        nb->key(mask, Qt::Key_F4);
        QCOMPARE(mask->toPlainText(), u"m1\n"_s);
        QCOMPARE(nb->folder.snapshot(), files);
    }

    // The target file is replaced by a folder, which the writer refuses (root
    // ignores permission bits, so a read-only folder would not do).
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
        const QString file = newEntry ? u"Ideas/Fresh.txt"_s : u"Ideas/Alpha.txt"_s;
        if (newEntry)
            nb->key(nb->w().lstEntry, Qt::Key_Insert);
        nb->type(nb->text(), u"Fresh"_s);
        const QString typed = nb->text()->toPlainText();
        const QStringList typedLines =
            newEntry ? QStringList{u"Fresh"_s} : QStringList{u"Freshfirst line"_s, u"second"_s};
        const QByteArray indexBefore = nb->store(u"idx.dat"_s);
        nb->folder.remove(u"FileStore/"_s + file);
        QVERIFY(QDir().mkpath(nb->folder.path(u"FileStore/"_s + file)));

        auto seen = InputAnswer::confirm();
        nb->key(nb->text(), Qt::Key_F2);
        QCOMPARE(seen->shown, newEntry);
        QCOMPARE(nb->run->messages.shown.size(), 1);
        QCOMPARE(nb->run->messages.shown.last().icon, Messages::Icon::Critical);
        QVERIFY(nb->lastMessage().startsWith(u"An error has happend - trying to continue..."_s));
        QVERIFY(nb->lastMessage().contains(file));
        QVERIFY(nb->state().TextEditMode);
        QVERIFY(nb->w().fraEdit->isVisible());
        QCOMPARE(nb->text()->toPlainText(), typed);
        QCOMPARE(nb->entryLines().first(), newEntry ? kNew : u"Alpha"_s);
        QCOMPARE(nb->store(u"idx.dat"_s), indexBefore);

        QVERIFY(QDir(nb->folder.path(u"FileStore/"_s + file)).removeRecursively());
        seen = InputAnswer::confirm();
        nb->key(nb->text(), Qt::Key_F2);
        const QStringList lines = nb->folder.readLines(u"FileStore/"_s + file);
        QCOMPARE(lines.mid(1), typedLines);
        if (!newEntry)
            QCOMPARE(lines.first(), kDate);
        verifyViewing(*nb);
    }

    void okAndSaveOutsideEditModeWriteNothing()
    {
        auto nb = notebook(true);
        nb->writeMask(u"Notes"_s, {u"nm"_s});
        QVERIFY(nb->start());
        const auto files = nb->folder.snapshot();
        nb->text()->setFocus();
        nb->key(nb->text(), Qt::Key_F3);
        QCOMPARE(QApplication::focusWidget(), nb->text());
        nb->key(nb->text(), Qt::Key_F2);
        verifyViewing(*nb);

        // The blank line has no file; OK by key in the mask box must not make one.
        nb->clickEntry(2);
        QVERIFY(nb->state().FileMissing);
        nb->key(nb->w().txtMask, Qt::Key_F2);
        nb->key(nb->w().txtMask, Qt::Key_Return, Qt::ShiftModifier);
        QCOMPARE(nb->folder.snapshot(), files);
        QCOMPARE(nb->w().lblDate->text(), u"File not present!"_s);
    }

    void unencodableCharactersRefused_data()
    {
        QTest::addColumn<bool>("inMask");
        QTest::newRow("text") << false;
        QTest::newRow("mask") << true;
    }
    void unencodableCharactersRefused()
    {
        QFETCH(bool, inMask);
        auto nb = notebook(true);
        QVERIFY(nb->start());
        QPlainTextEdit *box = inMask ? nb->w().txtMask : nb->text();
        const QString before = box->toPlainText();
        box->setFocus();
        nb->type(box, u"a\u03A9\u20ACb"_s);
        QCOMPARE(nb->messageCount(), 1);
        QVERIFY(nb->lastMessage().contains(u"\u03A9"_s));
        QVERIFY(nb->lastMessage().contains(u"U+03A9"_s));
        QCOMPARE(box->toPlainText(), u"a\u20ACb"_s + before);

        QApplication::clipboard()->setText(u"x\U0001F600y"_s);
        nb->key(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(nb->messageCount(), 2);
        QVERIFY(nb->lastMessage().contains(u"U+1F600"_s));
        QCOMPARE(box->toPlainText(), u"a\u20ACb"_s + before);
        QApplication::clipboard()->setText(u"x\u00A0y"_s);
        nb->key(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(nb->messageCount(), 2);

        nb->key(box, Qt::Key_F2);
        const QByteArray stored = nb->store(inMask ? u"Ideas/_mask.dat"_s : u"Ideas/Alpha.txt"_s);
        QVERIFY(stored.contains("a\x80"
                                "bx\xA0y"));
    }
};

QTEST_MAIN(tst_EditModes)
#include "tst_editmodes.moc"
