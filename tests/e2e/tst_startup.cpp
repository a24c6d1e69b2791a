// The start of the real program on a fresh program folder: the window, the
// group list, the start settings and the captions.

#include "support/appfixture.h"

#include "i18n/wordtable.h"
#include "ui/layout_w.h"

#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;
using Groups = QList<QStringList>;

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
        QVERIFY(!w.chckEdit->isChecked());
        QVERIFY(w.txtMask->isHidden());
        QVERIFY(w.fraEdit->isHidden());
        QVERIFY(w.txtText[1]->isHidden());
        QCOMPARE(w.txtText[0]->lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(w.txtText[1]->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(!w.mnuPhrases->menuAction()->isVisible());
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base), QColor(224, 224, 224));
        QCOMPARE(w.lstGroup->font().family(), u"DejaVu Sans"_s);
        QCOMPARE(w.lstGroup->font().pointSize(), 10);
        // pref.dat keeps FrameTop 2740; it is read 100 smaller.
        QCOMPARE(run.window()->windowLayout().frameTop, 2640);
        QCOMPARE(run.window()->windowLayout().frameLeft2, 5400);

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
    // group's slot shows the wrong entry.
    void groupList_data()
    {
        QTest::addColumn<QStringList>("written");
        QTest::addColumn<int>("hideYGroups");
        QTest::addColumn<QStringList>("lines");
        const QString y(QChar(0xFF));
        const QStringList mixed{u"b"_s,           u"bc"_s,    u"A"_s,   u"_c"_s,
                                y + u"private"_s, u"Trash"_s, u"b:c"_s, u"a"_s};
        const QStringList sorted{u"_c"_s, u"A"_s, u"a"_s, u"b"_s, u"b:c"_s, u"bc"_s, u"Trash"_s};
        QTest::newRow("ÿ-groups shown") << mixed << 0 << sorted + QStringList{y + u"private"_s};
        QTest::newRow("ÿ-groups hidden") << mixed << 1 << sorted;
        QTest::newRow("empty notebook") << QStringList{} << 0 << QStringList{};
        QTest::newRow("only ÿ-groups, hidden")
            << QStringList{y + u"1"_s, y + u"2"_s} << 1 << QStringList{};
    }
    void groupList()
    {
        QFETCH(QStringList, written);
        QFETCH(int, hideYGroups);
        QFETCH(QStringList, lines);
        Groups groups;
        for (const QString &group : written)
            groups << QStringList{group, u"in "_s + group};
        AppFixture run;
        run.writeNotebook(groups);
        run.setPref(21, u" "_s + QString::number(hideYGroups));
        QVERIFY(run.start());
        QCOMPARE(AppFixture::lines(run.w().lstGroup), lines);
        for (const QString &line : lines) {
            AppFixture::click(run.w().lstGroup, line);
            QCOMPARE(AppFixture::lines(run.w().lstEntry), (QStringList{u"in "_s + line, u" "_s}));
        }
    }

    void startGroup_data()
    {
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<QString>("startGroup");
        QTest::addColumn<QString>("selected");
        const Groups groups{{u"Notes"_s}, {u"Trash"_s}, {u"Work"_s}};
        QTest::newRow("exact match") << groups << u"Work"_s << u"Work"_s;
        QTest::newRow("case differs") << groups << u"work"_s << u"Notes"_s;
        QTest::newRow("no such group") << groups << u"Home"_s << u"Notes"_s;
        QTest::newRow("empty") << groups << QString() << u"Notes"_s;
        QTest::newRow("shown name") << Groups{{u"A"_s}, {u"Q&A?"_s}} << u"Q&A?"_s << u"Q&A?"_s;
        QTest::newRow("empty notebook") << Groups{} << u"Work"_s << QString();
    }
    void startGroup()
    {
        QFETCH(Groups, groups);
        QFETCH(QString, startGroup);
        QFETCH(QString, selected);
        AppFixture run;
        run.writeNotebook(groups);
        run.setPref(5, startGroup);
        QVERIFY(run.start());
        QCOMPARE(AppFixture::current(run.w().lstGroup), selected);
        QCOMPARE(run.w().lstGroup->selectedItems().size(), selected.isEmpty() ? 0 : 1);
    }

    void startSettings()
    {
        AppFixture run;
        run.setPref(4, u" 1"_s); // StartLocked
        run.setPref(7, u"DejaVu Serif"_s);
        run.setPref(8, u" 14"_s);
        run.setPref(9, u" 1"_s);  // bold
        run.setPref(16, u" 1"_s); // StartViewMask
        run.setPref(20, u" 1"_s); // white group list
        run.setPref(43, u" 1"_s); // word wrap
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QVERIFY(w.chckEdit->isChecked());
        QVERIFY(w.chckEdit->isEnabled());
        QVERIFY(w.mnuEditPermission->isChecked());
        QVERIFY(!w.mnuGroup->menuAction()->isEnabled());
        QVERIFY(w.mnuWordwrap->isChecked());
        QVERIFY(w.txtText[1]->isVisible());
        QVERIFY(w.txtText[0]->isHidden());
        QVERIFY(w.mnuViewMask->isChecked());
        QVERIFY(w.txtMask->isVisible());
        for (const QWidget *box :
             {static_cast<QWidget *>(w.lstGroup), static_cast<QWidget *>(w.lstEntry),
              static_cast<QWidget *>(w.txtMask), static_cast<QWidget *>(w.txtText[0]),
              static_cast<QWidget *>(w.txtText[1])}) {
            QCOMPARE(box->font().family(), u"DejaVu Serif"_s);
            QCOMPARE(box->font().pointSize(), 14);
            QVERIFY(box->font().bold());
        }
        QCOMPARE(w.lstGroup->palette().color(QPalette::Base),
                 w.lstEntry->palette().color(QPalette::Base));
    }

    void windowState_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<Qt::WindowState>("state");
        QTest::newRow("normal") << 0 << Qt::WindowNoState;
        QTest::newRow("minimized") << 1 << Qt::WindowMinimized;
        QTest::newRow("maximized") << 2 << Qt::WindowMaximized;
        // Without a tray to hide in, hidden minimizes so the window can be found.
        QTest::newRow("hidden") << 3 << Qt::WindowMinimized;
        QTest::newRow("unknown") << 7 << Qt::WindowNoState;
    }
    void windowState()
    {
        QFETCH(int, stored);
        QFETCH(Qt::WindowState, state);
        AppFixture run;
        run.setPref(3, u" "_s + QString::number(stored));
        QVERIFY(run.start());
        QCOMPARE(run.window()->windowState(), state);
    }

    void englishCaptions()
    {
        AppFixture run;
        run.setPref(23, u"Work/Shopping"_s);
        run.setPref(24, QString(60, u'x'));
        run.setPref(25, u"R&D/"_s);
        run.setPref(27, u"Dear Sir or Madam,"_s);
        QVERIFY(run.start());
        const MainWidgets &w = run.w();
        QCOMPARE(w.mnuSettings[0]->text(), u"&Global Settings (&& set language)"_s);
        QCOMPARE(w.mnuInsertCall[1]->text(), u"&- - - - - - -  [F11]"_s);
        QCOMPARE(w.cmdH[1]->toolTip(), u" Indent Right         [SH] + [CRSR-right] "_s);
        QCOMPARE(w.cmdIndiv[0]->toolTip(), u" Individual Button 1 "_s);
        QCOMPARE(w.mnuGoToMemo[0]->text(), u"Memory &1  [F5]  =>  Work/Shopping"_s);
        QCOMPARE(w.mnuMoveToMemo[0]->text(), u"Memory &1  [CTRL] + [F5]  =>  Work"_s);
        QCOMPARE(w.mnuGoToMemo[1]->text(),
                 u"Memory &2  [F6]  =>  "_s + QString(50, u'x') + u"..."_s);
        QCOMPARE(w.mnuGoToMemo[2]->text(), u"Memory &3  [F7]  =>  R&&D/"_s);
        QCOMPARE(w.mnuGoToMemo[3]->text(), u"Memory &4  [F8]  =>  free/free"_s);
        QCOMPARE(w.mnuCallTxtMemoCall[0]->text(), u"Phrase &1  [F5]  =>  Dear Sir or Mad..."_s);
        QCOMPARE(w.mnuSetTxtMemoSet[3]->text(), u"Phrase &4  [SH] + [F8]  =>  free"_s);
    }

    // Empty words show empty: only the error reports fall back to English.
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
        QCOMPARE(w.mnuMoveToMemo[0]->text(), u"Speicher &1  [STRG] + [F5]  =>  free"_s);
        QCOMPARE(w.mnuCallTxtMemoCall[1]->text(), u" &2  [F6]  =>  free"_s);
    }
};

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
