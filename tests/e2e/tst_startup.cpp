// The start of the real program on a fresh program folder: the window, the
// group list, the start settings, the captions, every way the start fails,
// and the two ways the program ends.

#include "support/appfixture.h"
#include "support/helperprocess.h"

#include "i18n/wordtable.h"
#include "ui/layout_w.h"

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using Groups = QList<QStringList>;

namespace {

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
        QCOMPARE(w.txtText[0]->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(w.txtText[1]->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!w.mnuPhrases->menuAction()->isVisible());
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base), QColor(224, 224, 224));
        // pref.dat keeps FrameTop 2740; it is read 100 smaller.
        QCOMPARE(run.app().state().prefs.FrameTop, 2640);

        // At the shipped size no shown control leaves its panel or overlaps another.
        QCOMPARE(run.window()->frameGeometry().size(), QSize(800, 533));
        for (const QWidget *panel :
             {run.window()->centralWidget(), static_cast<QWidget *>(w.fraEdit),
              static_cast<QWidget *>(w.fraMain[0]), static_cast<QWidget *>(w.fraMain[1]),
              static_cast<QWidget *>(w.fraMain[2])}) {
            QList<const QWidget *> shown;
            for (const QWidget *child :
                 panel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (!child->isHidden())
                    shown << child;
            }
            for (int i = 0; i < shown.size(); ++i) {
                const QRect r = shown[i]->geometry();
                QVERIFY2(!r.isEmpty() && panel->rect().contains(r),
                         qPrintable(shown[i]->objectName()));
                for (int j = i + 1; j < shown.size(); ++j)
                    QVERIFY2(
                        !r.intersects(shown[j]->geometry()),
                        qPrintable(shown[i]->objectName() + u" / "_s + shown[j]->objectName()));
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
        QTest::newRow("no such group") << mixed << 1 << sorted << u"Home"_s << u"_c"_s;
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
        Groups groups;
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

    void startSettings()
    {
        AppFixture run;
        run.setPref(3, u" 3"_s); // hidden: without a tray to hide in, minimized
        run.setPref(4, u" 1"_s); // StartLocked
        run.setPref(7, u"DejaVu Serif"_s);
        run.setPref(8, u" 14"_s);
        run.setPref(16, u" 1"_s); // StartViewMask
        run.setPref(20, u" 1"_s); // white group list
        run.setPref(43, u" 1"_s); // word wrap
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(run.window()->windowState(), Qt::WindowMinimized);
        QVERIFY(w.chckEdit->isChecked());
        QVERIFY(w.mnuEditPermission->isChecked());
        QVERIFY(w.txtText[1]->isVisible());
        QVERIFY(w.txtMask->isVisible());
        for (const QWidget *box :
             {static_cast<QWidget *>(w.lstGroup), static_cast<QWidget *>(w.lstEntry),
              static_cast<QWidget *>(w.txtMask), static_cast<QWidget *>(w.txtText[0]),
              static_cast<QWidget *>(w.txtText[1])}) {
            QCOMPARE(box->font().family(), u"DejaVu Serif"_s);
            QCOMPARE(box->font().pointSize(), 14);
        }
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base),
                 w.lstEntry->palette().color(QPalette::Base));
    }

    // Empty words show empty: only the error reports fall back to English.
    // Captions are composed from the words.
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
        run.setPref(24, QString(60, u'x'));
        run.setPref(25, u"R&D/"_s);
        run.setPref(27, u"Dear Sir or Madam,"_s);
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(w.mnuFile->title(), u"&Datei"_s);
        QCOMPARE(w.mnuSystrayCall[2]->text(), u"Verstecken"_s);
        QCOMPARE(w.mnuExit->text(), QString());
        QCOMPARE(w.mnuSystrayCall[3]->text(), QString());
        QCOMPARE(w.cmdSort[0]->text(), QString());
        QCOMPARE(w.chckEdit->toolTip(), QString());
        QCOMPARE(w.mnuGroupNew->text(), u"w6"_s);
        QCOMPARE(w.cmdH[1]->toolTip(), u" Rechts weiter && mehr "_s);
        // The memory and phrase captions: Move To shows the group part only; cut to fit.
        QCOMPARE(w.mnuMoveToMemo[0]->text(), u"Speicher &1  [STRG] + [F5]  =>  Work"_s);
        QCOMPARE(w.mnuGoToMemo[1]->text(),
                 u"Speicher &2  [F6]  =>  "_s + QString(50, u'x') + u"..."_s);
        QCOMPARE(w.mnuGoToMemo[2]->text(), u"Speicher &3  [F7]  =>  R&&D/"_s);
        QCOMPARE(w.mnuGoToMemo[3]->text(), u"Speicher &4  [F8]  =>  free/free"_s);
        QCOMPARE(w.mnuCallTxtMemoCall[0]->text(), u" &1  [F5]  =>  Dear Sir or Mad..."_s);
    }

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
        QVERIFY2(text.startsWith(u"An error has happend - procedure canceled!\n\n"_s),
                 qPrintable(text));
        QVERIFY2(text.contains(run.path(file)), qPrintable(text));
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
        QCOMPARE(messages.shown[0].icon, Messages::Icon::Critical);
        const QString text = messages.shown[0].text;
        QVERIFY2(text.startsWith(u"An error has happend - procedure canceled!\n\n"_s),
                 qPrintable(text));
        QVERIFY2(text.contains(u"(to: "_s + places.userFolder + u"/FileStore/"_s),
                 qPrintable(text));
    }

    // idx.dat unreadable: the preset store is the fallback. When it cannot be
    // read either, the report names it and the program ends.
    void indexUnreadable_data()
    {
        QTest::addColumn<bool>("elsewhere");          // the store configured in another folder
        QTest::addColumn<QStringList>("presetIndex"); // empty: none
        const QStringList shipped{u"idx Plimsa 1.3.02"_s, u"Notes"_s, u"\\Welcome to Plimsa"_s,
                                  u"Trash"_s};
        QTest::newRow("fallback read") << true << shipped;
        QTest::newRow("fallback unreadable") << true << QStringList{};
        QTest::newRow("preset store unreadable") << false << QStringList{};
        // A blank line stops the read.
        QTest::newRow("preset store damaged")
            << false << QStringList{u"idx Plimsa 1.3.02"_s, u"Notes"_s, QString(), u"Trash"_s};
    }
    void indexUnreadable()
    {
        QFETCH(bool, elsewhere);
        QFETCH(QStringList, presetIndex);
        AppFixture run;
        if (elsewhere) {
            QDir().mkpath(run.path(u"Elsewhere/FileStore"_s));
            run.setPref(22, run.path(u"Elsewhere"_s));
        }
        QFile::remove(run.path(u"FileStore/idx.dat"_s));
        if (!presetIndex.isEmpty())
            run.write(u"FileStore/idx.dat"_s, presetIndex);
        const bool fallbackRead = elsewhere && !presetIndex.isEmpty();
        // The start settings open on their own after a fallback, for the path.
        QString opened;
        if (fallbackRead) {
            run.whenShown([&opened](QWidget *dialog) {
                opened = dialog->objectName();
                dialog->close();
            });
        }
        QCOMPARE(run.start(), fallbackRead);
        QCOMPARE(run.messages.shown.value(0).text, kIndexMissing);
        if (fallbackRead) {
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

    // StartLocked is off: the lock comes from the store in use.
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
        QVERIFY(w.chckEdit->isChecked());
        QVERIFY(!w.chckEdit->isEnabled());
        QVERIFY(!w.mnuEditPermission->isEnabled());
        // The lock cannot be released in this run.
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
            run.window()->mnuExit_Click();
            QVERIFY(!run.exitStatus);
        });
        QCOMPARE(input.exec(), int(QDialog::Rejected));
        QCOMPARE(run.exitStatus, std::optional<int>(0));
        QCOMPARE(unloaded,
                 (QStringList{u"frmChange"_s, u"frmInfo"_s, u"frmSearch"_s, u"frmSetStart"_s}));
        QVERIFY(dialogs.back()->isVisible());
        QCOMPARE(run.snapshot(), before);
    }

    // What a crashed copy left is cleared once the window is up, not before.
    void leftoversGoAfterTheFirstPaint()
    {
        AppFixture run;
        for (const QString &file :
             {u"FileStore/Notes/.plimsa-new-Ab12Cd"_s, u".plimsa-new-Xy34Zq"_s})
            run.write(file, {u"half"_s});
        QVERIFY(run.start());
        QVERIFY(!QFile::exists(run.path(u"FileStore/Notes/.plimsa-new-Ab12Cd"_s)));
        QVERIFY(!QFile::exists(run.path(u".plimsa-new-Xy34Zq"_s)));
    }

    void closeBoxUnloadsSearch()
    {
        AppFixture run;
        QVERIFY(run.start());
        QDialog search(run.window());
        search.setObjectName(u"frmSearch"_s);
        search.show();
        QVERIFY(run.window()->close());
        QCOMPARE(run.exitStatus, std::optional<int>(0));
        QVERIFY(!search.isVisible());
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
