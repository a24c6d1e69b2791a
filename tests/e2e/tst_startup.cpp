// The start of the real program on a fresh program folder: the window, the
// group list, the start settings, the captions, every way the start fails,
// and the end of the program.

#include "support/appfixture.h"
#include "support/scenario.h"

#include "i18n/wordtable.h"
#include "store/storemarker.h"
#include "ui/commandactions_w.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QString kCancelled = u"An error has happend - procedure canceled!\n\n"_s;

// Clicks every group in turn: each must show its own entry, "x" and the
// group's name, with its text; the start group is selected again.
const Action kOwnEntries = [](AppFixture &nb) {
    const MainWidgets &w = nb.w();
    const QString start = AppFixture::current(w.groupList);
    for (QString line : AppFixture::lines(w.groupList)) {
        AppFixture::click(w.groupList, line);
        const QString entry = u"x"_s + line.remove(QChar(0xFF));
        QCOMPARE(AppFixture::lines(w.entryList), (QStringList{entry, u" "_s}));
        QCOMPARE(w.entryText->toPlainText(), u"text of "_s + entry + u'\n');
    }
    if (!start.isEmpty())
        AppFixture::click(w.groupList, start);
};

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shippedFolder()
    {
        AppFixture run;
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(run.window()->windowTitle(), u"Plimsa v1.3"_s);
        QVERIFY(run.messages.shown.isEmpty());
        QCOMPARE(AppFixture::lines(w.groupList), (QStringList{u"Notes"_s, u"Trash"_s}));
        QCOMPARE(w.groupList->palette().color(QPalette::Base), QColor(224, 224, 224));
        // Every command whose state follows the selection has its control.
        for (const QObject *control : commandControls(w))
            QVERIFY(control);

        // At the shipped size no shown control leaves its panel or overlaps another.
        QCOMPARE(run.window()->frameGeometry().size(), QSize(800, 533));
        for (const QWidget *panel :
             QList<QWidget *>{run.window()->centralWidget(), w.editPanel, w.normalPanels[0],
                              w.normalPanels[1], w.normalPanels[2]}) {
            QList<const QWidget *> shown;
            for (const QWidget *child : panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
                if (!child->isHidden())
                    shown << child;
            for (int i = 0; i < shown.size(); ++i) {
                const QRect r = shown[i]->geometry();
                QVERIFY2(!r.isEmpty() && panel->rect().contains(r),
                         qPrintable(shown[i]->objectName()));
                for (int j = i + 1; j < shown.size(); ++j)
                    QVERIFY2(!r.intersects(shown[j]->geometry()),
                             qPrintable(shown[i]->objectName() + u'/' + shown[j]->objectName()));
            }
        }
    }

    // The start on a prepared folder, and what it shows or reports.
    void start_data()
    {
        QTest::addColumn<Scenario>("scenario");
        const QString y(QChar(0xFF));
        // Each group holds one entry named after it, so a line that opens
        // another group's slot shows the wrong entry. The start group is found
        // by its shown name, exactly; else the first line is selected.
        const QString mixed = u"b xb | bc xbc | A xA | _c x_c | "_s + y +
                              u"private xprivate | Trash xTrash | b:c xb:c | a xa"_s;
        const QString sorted = u"groups=_c|A|a|b|b:c|bc|Trash"_s;
        const QString shown = sorted + u'|' + y + u"private;sel=b:c/xb:c"_s;
        QTest::newRow("ÿ-groups shown")
            << Scenario{mixed, {u"5=b:c"_s, u"21= 0"_s}, {}, {kOwnEntries}, shown};
        QTest::newRow("ÿ-groups hidden") << Scenario{
            mixed, {u"5=Bc"_s, u"21= 1"_s}, {}, {kOwnEntries}, sorted + u";sel=_c/x_c"_s};
        const Action empty = [](AppFixture &nb) { nb.writeNotebook({}); };
        QTest::newRow("empty notebook") << Scenario{{}, {u"5=b"_s}, empty, {}, u"groups=;sel=/ "_s};
        const QString onlyY = y + u"1 x | "_s + y + u"2 x"_s;
        QTest::newRow("only ÿ-groups, hidden")
            << Scenario{onlyY, {u"5="_s + y + u'1', u"21= 1"_s}, {}, {}, u"groups=;sel=/ "_s};

        // Language.dat ends early: no error, unless the file ends before the
        // last word of the language chosen. Then one report naming the file
        // and its first missing line, and the start goes on with the missing
        // words in English. Line ends converted twice are read as the lines
        // they were.
        QByteArray lines;
        for (int i = 0; i < WordTable::kFileLines; ++i)
            lines += "w" + QByteArray::number(i) + "\r\n";
        const auto language = [&lines](int count) {
            const QByteArray bytes =
                lines.left(lines.indexOf("w" + QByteArray::number(count) + "\r\n"));
            return Action(
                [bytes](AppFixture &nb) { QVERIFY(writeFile(nb.path(u"Language.dat"_s), bytes)); });
        };
        const auto damaged = [](int line) {
            return u"icons=2;msg=~[^|]*Damaged translations, line %1: missing / No\\.0\n\n"
                   "%ROOT%Language\\.dat;words:mnuOptions="_s.arg(line) +
                   WordTable::english(19) + u";words:mnuFile="_s;
        };
        const auto chosen = [](int language) { return QStringList{u"2= %1"_s.arg(language)}; };
        const int block = WordTable::kWords;
        QTest::newRow("Language.dat empty, English chosen")
            << Scenario{{}, chosen(0), language(0), {}, u"msg="_s};
        QTest::newRow("Language.dat empty, language 1 chosen")
            << Scenario{{}, chosen(1), language(0), {}, damaged(1) + WordTable::english(1)};
        QTest::newRow("Language.dat cut within language 1")
            << Scenario{{}, chosen(1), language(10), {}, damaged(11) + u"w1"_s};
        QTest::newRow("Language.dat of 151 lines, language 1 chosen")
            << Scenario{{}, chosen(1), language(block), {}, u"msg=;words:mnuFile=w1"_s};
        QTest::newRow("Language.dat of 151 lines, language 2 chosen") << Scenario{
            {}, chosen(2), language(block), {}, damaged(block + 1) + WordTable::english(1)};
        QTest::newRow("Language.dat of three languages, the third chosen") << Scenario{
            {}, chosen(3), language(3 * block), {}, u"msg=;words:mnuFile=w%1"_s.arg(2 * block + 1)};
        QTest::newRow("Language.dat of three languages, the fourth chosen") << Scenario{
            {}, chosen(4), language(3 * block), {}, damaged(3 * block + 1) + WordTable::english(1)};
        const QByteArray twiceBytes = QByteArray(lines).replace("\r\n", "\r\r\n");
        const Action twice = [twiceBytes](AppFixture &nb) {
            QVERIFY(writeFile(nb.path(u"Language.dat"_s), twiceBytes));
        };
        QTest::newRow("Language.dat CR CR LF") << Scenario{
            {}, chosen(9), twice, {}, u"msg=;words:mnuFile=w1209;words:mnuOptions=w1227"_s};

        // A file the start cannot do without: one report naming it, and the end.
        const auto removed = [](const QString &file) {
            return Action([file](AppFixture &nb) { QFile::remove(nb.path(file)); });
        };
        const QString ends = u"exit=1;icons=2;msg=~\\[.*\\] An error has happend - procedure "
                             "canceled!\n\n.*%ROOT%"_s;
        QTest::newRow("pref.dat missing")
            << Scenario{{}, {}, removed(u"pref.dat"_s), {}, ends + u"pref\\.dat.*"_s};
        const Action cutShort = [](AppFixture &nb) {
            nb.write(u"pref.dat"_s, nb.readLines(u"pref.dat"_s).mid(0, 20));
        };
        QTest::newRow("pref.dat cut short")
            << Scenario{{}, {}, cutShort, {}, ends + u"pref\\.dat.*"_s};
        QTest::newRow("Language.dat missing")
            << Scenario{{}, {}, removed(u"Language.dat"_s), {}, ends + u"Language\\.dat.*"_s};

        // idx.dat of a store configured elsewhere unreadable: the preset store
        // is the fallback, and the start settings open on their own for the
        // path. When it cannot be read either (a blank line stops the read),
        // the report names it and the program ends.
        const QString missing =
            u"msg=~\\[.*\\] Can not find \"idx\\.dat\"! - Try it again with preset\\."_s;
        const Action elsewhere = [](AppFixture &nb) {
            QDir().mkpath(nb.path(u"Elsewhere/FileStore"_s));
            nb.whenShown([](QWidget *dialog) {
                caughtPopUp = dialog->objectName();
                dialog->close();
            });
        };
        QTest::newRow("the preset store read")
            << Scenario{{},
                        {u"22=%ROOT%Elsewhere"_s},
                        elsewhere,
                        {},
                        missing + u";menu=frmSetStart;store=%ROOT%FileStore/;groups=Notes|Trash"_s};
        const Action damagedIndex = [](AppFixture &nb) {
            nb.write(u"FileStore/idx.dat"_s,
                     {u"idx Plimsa 1.3.02"_s, u"Notes"_s, QString(), u"Trash"_s});
        };
        // An idx.dat that is there is never "not found": the report names
        // its damage, and the same file is not read again as the fallback.
        const auto damagedIn = [](const QString &store, const QString &damage) {
            return u"msg=~\\[Caution!\\] An error has happend - %1\n\nDamaged index, "_s.arg(
                       damage) +
                   u"line 3: an empty line / No\\.0\n\n%ROOT%"_s + store + u"/idx\\.dat"_s;
        };
        QTest::newRow("the preset store damaged")
            << Scenario{{},
                        {},
                        damagedIndex,
                        {},
                        u"exit=1;"_s + damagedIn(u"FileStore"_s, u"procedure canceled!"_s)};
        const Action elsewhereDamaged = [elsewhere](AppFixture &nb) {
            elsewhere(nb);
            nb.write(u"Elsewhere/FileStore/idx.dat"_s,
                     {u"idx Plimsa 1.3.02"_s, u"Notes"_s, QString(), u"Trash"_s});
        };
        QTest::newRow("a store elsewhere damaged")
            << Scenario{{},
                        {u"22=%ROOT%Elsewhere"_s},
                        elsewhereDamaged,
                        {},
                        damagedIn(u"Elsewhere/FileStore"_s, u"trying to continue\\.\\.\\."_s) +
                            u";menu=frmSetStart;store=%ROOT%FileStore/;groups=Notes|Trash"_s};
        const Action thousand = [](AppFixture &nb) {
            QStringList lines{u"idx Plimsa 1.3.02"_s, u"Notes"_s};
            for (int k = 1; k <= 1000; ++k)
                lines << u"\\e"_s + QString::number(k);
            nb.write(u"FileStore/idx.dat"_s, lines);
        };
        QTest::newRow("the preset store, a 1000th entry")
            << Scenario{{},
                        {},
                        thousand,
                        {},
                        u"exit=1;msg=~\\[Caution!\\] An error has happend - procedure canceled!\n\n"
                        "Damaged index, line 1002: more than 999 entries in a group / No\\.0\n\n"
                        "%ROOT%FileStore/idx\\.dat"_s};
        // Line ends at the end of the file, as editors leave them, are nothing.
        const Action emptyLast = [](AppFixture &nb) {
            QVERIFY(writeFile(nb.path(u"FileStore/idx.dat"_s),
                              "idx Plimsa 1.3.02\r\nNotes\r\n\\a\r\nTrash\r\n\r\n\n"));
        };
        QTest::newRow("idx.dat ending in empty lines")
            << Scenario{{}, {}, emptyLast, {}, u"msg=;groups=Notes|Trash;entries=a| "_s};

        // Empty words show in English, so nothing is ever blank. Captions are
        // composed from the words.
        QStringList words;
        for (int k = 0; k < WordTable::kWords; ++k)
            words << u"w"_s + QString::number(k);
        words[1] = u"&Datei"_s;
        words[3] = u"&Verstecken"_s;
        words[142] = u"Rechts &weiter && mehr"_s;
        words[130] = u"Speicher"_s;
        words[131] = u"STRG"_s;
        for (int k : {4, 29, 33, 40, 132})
            words[k].clear();
        for (int language = 2; language <= 9; ++language)
            words << u"(free)"_s << QStringList(150);
        const Action translated = [words](AppFixture &nb) { nb.write(u"Language.dat"_s, words); };
        // A memory's items show 50 characters at most (Move To: the group
        // part, cut when the whole memory is), an "&" of a title as itself. A
        // refused move's text is the translation's own, where the English has none.
        const QString group(30, u'g'), fifty(49, u'x'), cut = group + u'/' + QString(19, u'e');
        QTest::newRow("translated captions") << Scenario{
            {},
            {u"2= 1"_s, u"23=Notes/"_s, u"24="_s + cut + QString(10, u'e'), u"25="_s + fifty + u'/',
             u"26=R&D/x"_s, u"27=Dear Sir or Madam,"_s},
            translated,
            {key(Qt::Key_F5, Qt::ControlModifier)},
            u"msg=[w75] w140;words:mnuFile=&Datei;words:mnuSystrayCall2=Verstecken;words:mnuExit="_s +
                WordTable::english(4) + u";words:cmdSort0="_s + WordTable::english(29) +
                u";tip:chckEdit="_s + WordTable::english(40) +
                u";words:mnuGroupNew=w6;tip:cmdH1= Rechts weiter && mehr ;"
                "words:mnuMoveToMemo0=Speicher &1  [STRG] + [F5]  =>  Notes;"
                "words:mnuGoToMemo1=Speicher &2  [F6]  =>  "_s +
                cut + u"...;words:mnuMoveToMemo1=Speicher &2  [STRG] + [F6]  =>  "_s + group +
                u"...;words:mnuSetMemo1=Speicher &2  [SH] + [F6]  =>  "_s + cut +
                u"...;words:mnuGoToMemo2=Speicher &3  [F7]  =>  "_s + fifty +
                u"/;words:mnuMoveToMemo2=Speicher &3  [STRG] + [F7]  =>  "_s + fifty +
                u";words:mnuGoToMemo3=Speicher &4  [F8]  =>  R&&D/x;"
                "words:mnuMoveToMemo3=Speicher &4  [STRG] + [F8]  =>  R&&D;"
                "words:mnuCallTxtMemoCall0=Phrase &1  [F5]  =>  Dear Sir or Mad..."_s};

        // The start settings: hidden (without a tray to hide in, minimized),
        // locked, a font, the mask shown, a white group list, word wrap, and
        // a window rectangle stored off every screen, which comes back on this one.
        const Action placed = [](AppFixture &nb) {
            const MainWidgets &w = nb.w();
            QCOMPARE(nb.window()->windowState(), Qt::WindowMinimized);
            QVERIFY(nb.window()->screen()->availableGeometry().contains(nb.window()->geometry()));
            QVERIFY(w.entryText->isVisible() && w.maskText->isVisible());
            QCOMPARE(w.entryText->lineWrapMode(), QPlainTextEdit::WidgetWidth);
            QCOMPARE(w.groupList->palette().color(QPalette::Base),
                     w.entryList->palette().color(QPalette::Base));
        };
        const QString font = u"DejaVu Serif 14"_s;
        QTest::newRow("start settings")
            << Scenario{{},
                        {u"3= 3"_s, u"4= 1"_s, u"7=DejaVu Serif"_s, u"8= 14"_s, u"12= -30000"_s,
                         u"13= 30000"_s, u"16= 1"_s, u"20= 1"_s, u"43= 1"_s},
                        {},
                        {placed},
                        u"checked:chckEdit=1;checked:mnuEditPermission=1;font:lstGroup="_s + font +
                            u";font:txtMask="_s + font + u";font:txtText="_s + font};

        // StartLocked is off: the lock comes from the store in use, and stays
        // for the whole run. Another holder in this process is refused as one
        // in another process is.
        const auto holder = std::make_shared<StoreMarker>();
        const Action held = [holder](AppFixture &nb) {
            QVERIFY(holder->take(nb.path(u"FileStore/"_s)));
        };
        const Action letGo = [holder](AppFixture &) { holder->release(); };
        QTest::newRow("store in use")
            << Scenario{{},
                        {},
                        held,
                        {letGo, triggered(u"mnuEditPermission"_s)},
                        u"marker=free;lock=1;on:chckEdit=0;on:mnuEditPermission=0;icons=1;"
                        "msg=[Caution!] Store index seems to be in use!\n\nStarting without edit "
                        "permission!"_s};
    }
    void start()
    {
        QFETCH(Scenario, scenario);
        run(scenario);
    }

    // A user folder that cannot be filled from the defaults: the report names
    // the file that failed, and the program ends before it reads anything.
    void defaultsCannotBeCopied()
    {
        QTemporaryDir dir;
        const ProgramFolderPlaces places{dir.filePath(u"bin"_s), dir.filePath(u"Plimsa"_s),
                                         qEnvironmentVariable("PLIMSA_DATA")};
        QFile inTheWay(places.userFolder + u"/FileStore"_s);
        QVERIFY(QDir().mkpath(places.userFolder) && inTheWay.open(QIODevice::WriteOnly));
        RecordingMessages messages;
        std::optional<int> exitStatus;
        Application app(locateProgramFolder(places), messages,
                        [&](int status) { exitStatus = status; });
        app.Main();
        QCOMPARE(exitStatus, std::optional<int>(1));
        QVERIFY(!app.mainWindow());
        QCOMPARE(messages.shown.size(), 1);
        const QString text = messages.shown[0].text;
        QVERIFY2(text.startsWith(kCancelled) &&
                     text.contains(u"(to: "_s + places.userFolder + u"/FileStore/"_s),
                 qPrintable(text));
    }

    // From the tray the window may be hidden; the exit waits for exitTimer.
    void exitUnloadsDialogsInOrder()
    {
        AppFixture run;
        QVERIFY(run.start());
        const auto before = run.snapshot();
        QStringList unloaded;
        std::vector<std::unique_ptr<QDialog>> dialogs;
        for (const QString &name :
             {u"frmSetStart"_s, u"frmSearch"_s, u"frmInfo"_s, u"frmChange"_s}) {
            auto dialog = std::make_unique<QDialog>(run.window());
            dialog->setObjectName(name);
            QObject::connect(dialog.get(), &QDialog::finished, dialog.get(),
                             [&unloaded, name] { unloaded.append(name); });
            dialog->show();
            dialogs.push_back(std::move(dialog));
        }
        run.window()->hide();
        QDialog input(run.window()); // and a modal one, whose loop the exit ends
        input.setObjectName(u"frmInput"_s);
        QTimer::singleShot(0, run.window(), [&run] {
            run.window()->exitProgram();
            QVERIFY(!run.exitStatus);
        });
        QCOMPARE(input.exec(), int(QDialog::Rejected));
        QCOMPARE(run.exitStatus, std::optional<int>(0));
        QCOMPARE(unloaded,
                 (QStringList{u"frmChange"_s, u"frmInfo"_s, u"frmSearch"_s, u"frmSetStart"_s}));
        QCOMPARE(run.snapshot(), before);
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
