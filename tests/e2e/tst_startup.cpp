// The start of the real program on a fresh program folder: the window, the
// group list, the start settings, the captions, every way the start fails,
// and the end of the program.

#include "support/appfixture.h"
#include "support/helperprocess.h"

#include "i18n/wordtable.h"
#include "ui/commandstate_w.h"

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
const QString kIndexMissing = u"Can not find \"idx.dat\"! - Try it again with preset."_s;

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
        QCOMPARE(AppFixture::lines(w.lstGroup), (QStringList{u"Notes"_s, u"Trash"_s}));
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base), QColor(224, 224, 224));
        // Every item the command state governs is found by its name.
        QStringList missing;
        findCommandControls(run.window(), &missing);
        QCOMPARE(missing, QStringList());

        // At the shipped size no shown control leaves its panel or overlaps another.
        QCOMPARE(run.window()->frameGeometry().size(), QSize(800, 533));
        for (const QWidget *panel : QList<QWidget *>{run.window()->centralWidget(), w.fraEdit,
                                                     w.fraMain[0], w.fraMain[1], w.fraMain[2]}) {
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

    // Each group holds one entry named after it, so a line that opens another
    // group's slot shows the wrong entry. The start group is found by its
    // shown name, exactly; else the first line is selected.
    void groupList_data()
    {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<int>("hideYGroups");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("startGroup");
        QTest::addColumn<QString>("selected");
        const QString y(QChar(0xFF));
        const QStringList mixed{u"b"_s,           u"bc"_s,    u"A"_s,   u"_c"_s,
                                y + u"private"_s, u"Trash"_s, u"b:c"_s, u"a"_s};
        const QStringList sorted{u"_c"_s, u"A"_s, u"a"_s, u"b"_s, u"b:c"_s, u"bc"_s, u"Trash"_s};
        QTest::newRow("ÿ-groups shown")
            << mixed << 0 << sorted + QStringList{y + u"private"_s} << u"b:c"_s << u"b:c"_s;
        QTest::newRow("ÿ-groups hidden") << mixed << 1 << sorted << u"Bc"_s << u"_c"_s;
        QTest::newRow("no start group") << mixed << 1 << sorted << QString() << u"_c"_s;
        QTest::newRow("empty notebook")
            << QStringList{} << 0 << QStringList{} << u"b"_s << QString();
        QTest::newRow("only ÿ-groups, hidden")
            << QStringList{y + u"1"_s, y + u"2"_s} << 1 << QStringList{} << y + u"1"_s << QString();
    }
    void groupList()
    {
        QFETCH(QStringList, written);
        QFETCH(int, hideYGroups);
        QFETCH(QStringList, lines);
        QFETCH(QString, startGroup);
        QFETCH(QString, selected);
        QList<QStringList> groups;
        for (const QString &group : written)
            groups << QStringList{group, u"in "_s + group};
        AppFixture run;
        run.writeNotebook(groups);
        run.setPref(5, startGroup);
        run.setPref(21, u" "_s + QString::number(hideYGroups));
        QVERIFY(run.start());
        QCOMPARE(AppFixture::lines(run.w().lstGroup), lines);
        QCOMPARE(AppFixture::current(run.w().lstGroup), selected);
        for (const QString &line : lines) {
            AppFixture::click(run.w().lstGroup, line);
            QCOMPARE(AppFixture::lines(run.w().lstEntry), (QStringList{u"in "_s + line, u" "_s}));
            QCOMPARE(run.w().txtText[0]->toPlainText(), u"text of in "_s + line + u'\n');
        }
    }

    // A window rectangle stored off every screen comes back on this one.
    void startSettings()
    {
        AppFixture run;
        const std::pair<int, QString> prefs[]{
            {3, u" 3"_s}, // hidden: without a tray to hide in, minimized
            {4, u" 1"_s}, // locked
            {7, u"DejaVu Serif"_s}, {8, u" 14"_s}, {12, u" -30000"_s},
            {13, u" 30000"_s},      {16, u" 1"_s}, // the mask shown
            {20, u" 1"_s},                         // a white group list
            {43, u" 1"_s}};                        // word wrap
        for (const auto &[line, value] : prefs)
            run.setPref(line, value);
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(run.window()->windowState(), Qt::WindowMinimized);
        QVERIFY(run.window()->screen()->availableGeometry().contains(run.window()->geometry()));
        QVERIFY(w.chckEdit->isChecked() && w.mnuEditPermission->isChecked());
        QVERIFY(w.txtText[1]->isVisible() && w.txtMask->isVisible());
        for (const QWidget *box : QList<QWidget *>{w.lstGroup, w.txtMask, w.txtText[1]}) {
            QCOMPARE(box->font().family(), u"DejaVu Serif"_s);
            QCOMPARE(box->font().pointSize(), 14);
        }
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base),
                 w.lstEntry->palette().color(QPalette::Base));
    }

    // Empty words show in English, so nothing is ever blank. Captions are
    // composed from the words.
    void translatedCaptions()
    {
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
        AppFixture run;
        run.write(u"Language.dat"_s, words);
        run.setPref(2, u" 1"_s);
        run.setPref(23, u"Work/Shopping"_s);
        run.setPref(27, u"Dear Sir or Madam,"_s);
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(w.mnuFile->title(), u"&Datei"_s);
        QCOMPARE(w.mnuSystrayCall[2]->text(), u"Verstecken"_s);
        QCOMPARE(w.mnuExit->text(), WordTable::english(4));
        QCOMPARE(w.cmdSort[0]->text(), WordTable::english(29));
        QCOMPARE(w.chckEdit->toolTip(), WordTable::english(40));
        QCOMPARE(w.mnuGroupNew->text(), u"w6"_s);
        QCOMPARE(w.cmdH[1]->toolTip(), u" Rechts weiter && mehr "_s);
        QCOMPARE(w.mnuMoveToMemo[0]->text(), u"Speicher &1  [STRG] + [F5]  =>  Work"_s);
        QCOMPARE(w.mnuCallTxtMemoCall[0]->text(), u"Phrase &1  [F5]  =>  Dear Sir or Mad..."_s);
    }

    // Language.dat damaged, its first language chosen: one report naming the
    // file, and the start goes on with the missing words in English. Line
    // ends converted twice are read as the lines they were.
    void damagedLanguageFile_data()
    {
        QByteArray lines;
        for (int i = 0; i < WordTable::kFileLines; ++i)
            lines += "w" + QByteArray::number(i) + "\r\n";
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("file"); // mnuFile, word 1
        QTest::newRow("empty") << QByteArray() << WordTable::english(1);
        QTest::newRow("cut short") << lines.left(lines.indexOf("w10\r\n")) << u"w1"_s;
        QTest::newRow("CR CR LF") << QByteArray(lines).replace("\r\n", "\r\r\n") << u"w1"_s;
    }
    void damagedLanguageFile()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, file);
        AppFixture run;
        QFile language(run.path(u"Language.dat"_s));
        QVERIFY(language.open(QIODevice::WriteOnly | QIODevice::Truncate));
        language.write(content);
        language.close();
        run.setPref(2, u" 1"_s);
        QVERIFY(run.start());
        const bool damaged = content.count("\r\n") < WordTable::kFileLines;
        QCOMPARE(run.messages.shown.size(), damaged ? 1 : 0);
        if (damaged)
            QVERIFY(run.messages.shown[0].text.contains(run.path(u"Language.dat"_s)));
        QCOMPARE(run.w().mnuFile->title(), file);
        QCOMPARE(run.w().mnuOptions->title(), damaged ? WordTable::english(19) : u"w19"_s);
    }

    // A file the start cannot do without: one report naming it, and the end.
    void programEnds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("linesKept"); // -1: the file is removed
        QTest::newRow("pref.dat missing") << u"pref.dat"_s << -1;
        QTest::newRow("pref.dat cut short") << u"pref.dat"_s << 20;
        QTest::newRow("Language.dat missing") << u"Language.dat"_s << -1;
    }
    void programEnds()
    {
        QFETCH(QString, file);
        QFETCH(int, linesKept);
        AppFixture run;
        if (linesKept < 0)
            QFile::remove(run.path(file));
        else
            run.write(file, run.readLines(file).mid(0, linesKept));
        QVERIFY(!run.start());
        QCOMPARE(run.exitStatus, std::optional<int>(1));
        QCOMPARE(run.messages.shown.size(), 1);
        QCOMPARE(run.messages.shown[0].icon, Messages::Icon::Critical);
        const QString text = run.messages.shown[0].text;
        QVERIFY2(text.startsWith(kCancelled) && text.contains(run.path(file)), qPrintable(text));
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

    // idx.dat of a store configured elsewhere unreadable: the preset store is
    // the fallback. When it cannot be read either, the report names it and the
    // program ends.
    void indexUnreadable_data()
    {
        QTest::addColumn<bool>("elsewhere");
        QTest::newRow("the preset store read") << true;
        // A blank line stops the read.
        QTest::newRow("the preset store damaged") << false;
    }
    void indexUnreadable()
    {
        QFETCH(bool, elsewhere);
        AppFixture run;
        if (elsewhere) {
            QDir().mkpath(run.path(u"Elsewhere/FileStore"_s));
            run.setPref(22, run.path(u"Elsewhere"_s));
        } else {
            run.write(u"FileStore/idx.dat"_s,
                      {u"idx Plimsa 1.3.02"_s, u"Notes"_s, QString(), u"Trash"_s});
        }
        // The start settings open on their own after a fallback, for the path.
        QString opened;
        if (elsewhere) {
            run.whenShown([&opened](QWidget *dialog) {
                opened = dialog->objectName();
                dialog->close();
            });
        }
        QCOMPARE(run.start(), elsewhere);
        QCOMPARE(run.messages.shown.value(0).text, kIndexMissing);
        if (elsewhere) {
            QCOMPARE(run.messages.shown.size(), 1);
            QCOMPARE(opened, u"frmSetStart"_s);
            QCOMPARE(run.app().state().storeFolder, run.path(u"FileStore/"_s));
            QCOMPARE(AppFixture::lines(run.w().lstGroup), (QStringList{u"Notes"_s, u"Trash"_s}));
        } else {
            QCOMPARE(run.exitStatus, std::optional<int>(1));
            QCOMPARE(run.messages.shown.size(), 2);
            QVERIFY2(run.messages.shown[1].text.contains(run.path(u"FileStore/idx.dat"_s)),
                     qPrintable(run.messages.shown[1].text));
        }
    }

    // StartLocked is off: the lock comes from the store in use, for the whole run.
    void storeInUseRunsLocked()
    {
        AppFixture run;
        HelperProcess other;
        QVERIFY(other.start({u"hold-marker"_s, run.path(u"FileStore/"_s)}));
        QCOMPARE(other.readLine(), QByteArray("held"));
        QVERIFY(run.start());
        QCOMPARE(run.messages.shown.size(), 1);
        QCOMPARE(run.messages.shown[0].icon, Messages::Icon::Information);
        QCOMPARE(run.messages.shown[0].text,
                 u"Store index seems to be in use!\n\nStarting without edit permission!"_s);
        const MainWidgets &w = run.w();
        QVERIFY(!w.chckEdit->isEnabled() && !w.mnuEditPermission->isEnabled());
        w.mnuEditPermission->trigger();
        w.chckEdit->click();
        QVERIFY(w.chckEdit->isChecked());
    }

    // From the tray the window may be hidden; the exit waits for timExit.
    void exitUnloadsDialogsInOrder()
    {
        AppFixture run;
        QVERIFY(run.start());
        const auto before = run.snapshot();
        QStringList unloaded;
        std::vector<std::unique_ptr<QDialog>> dialogs;
        for (const QString &name :
             {u"frmSetStart"_s, u"frmSearch"_s, u"frmInfo"_s, u"frmChange"_s, u"frmOther"_s}) {
            // A window of another name is left alone; without a parent it does
            // not go with the main window either.
            auto dialog = std::make_unique<QDialog>(name == u"frmOther"_s ? nullptr : run.window());
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
        QVERIFY(dialogs.back()->isVisible());
        QCOMPARE(run.snapshot(), before);
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
