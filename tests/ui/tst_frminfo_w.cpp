// The About box on its own: the name written letter by letter, the links it
// opens, and the keys and clicks that close it.

#include "support/testsupport.h"

#include "i18n/wordtable.h"
#include "ui/frminfo.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const AboutLinks kLinks{u"help@plimsa.test"_s, u"https://plimsa.test/"_s,
                        u"https://plimsa.test/download"_s, u"https://plimsa.test/news"_s};

} // namespace

class tst_FrmInfo : public QObject
{
    Q_OBJECT

    WordTable table_;
    int language_ = 0;
    Words words_{table_, language_};

    QLabel *label(FrmInfo &box, int i)
    {
        return box.findChild<QLabel *>(u"lbl"_s + QString::number(i));
    }

private Q_SLOTS:
    void nameGrowsLetterByLetter()
    {
        RecordingDesktop desktop;
        FrmInfo box(words_, u"1.3.02"_s, desktop, kLinks, nullptr);
        auto *timer = box.findChild<QTimer *>(u"Timer1"_s);
        QCOMPARE(timer->interval(), 105);
        QVERIFY(timer->isActive());
        QVERIFY(box.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(box.windowTitle(), u"About..."_s);
        QCOMPARE(box.findChild<QLabel *>(u"lblVersion"_s)->text(), u"1.3.02"_s);
        QVERIFY(label(box, 0)->isHidden());
        QStringList shown;
        for (int tick = 1; tick <= 7; ++tick) {
            box.Timer1_Timer();
            shown << label(box, 0)->text();
            QCOMPARE(timer->isActive(), tick < 7);
        }
        QVERIFY(!label(box, 0)->isHidden());
        QCOMPARE(shown, (QStringList{u"P"_s, u"Pl"_s, u"Pli"_s, u"Plim"_s, u"Plims"_s, u"Plimsa"_s,
                                     u"Plimsa"_s}));
    }

    void labels_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("opened"); // empty: nothing opened
        QTest::addColumn<bool>("closes");
        QTest::newRow("name") << 0 << QString() << false;
        QTest::newRow("maker") << 1 << QString() << false;
        QTest::newRow("mail") << 4 << u"mailto:help@plimsa.test"_s << true;
        QTest::newRow("home page") << 5 << u"https://plimsa.test/"_s << true;
        QTest::newRow("back") << 6 << QString() << true;
        QTest::newRow("download") << 7 << u"https://plimsa.test/download"_s << true;
        QTest::newRow("update notes") << 8 << u"https://plimsa.test/news"_s << true;
    }
    void labels()
    {
        QFETCH(int, index);
        QFETCH(QString, opened);
        QFETCH(bool, closes);
        RecordingDesktop desktop;
        FrmInfo box(words_, u"1.3.02"_s, desktop, kLinks, nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QLabel *link = label(box, index);
        if (index == 0)
            QTRY_VERIFY(link->isVisible());
        QVERIFY(link->isVisible());
        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(desktop.openedUrls, opened.isEmpty() ? QList<QUrl>{} : QList<QUrl>{QUrl(opened)});
        QCOMPARE(box.isVisible(), !closes);
        if (closes)
            QCOMPARE(box.result(), int(QDialog::Accepted));
    }

    // The project keeps no pages yet: only Back is offered.
    void projectHasNoLinks()
    {
        RecordingDesktop desktop;
        FrmInfo box(words_, u"1.3.02"_s, desktop, projectLinks(), nullptr);
        box.show();
        for (int i : {4, 5, 7, 8})
            QVERIFY(!label(box, i)->isVisible());
        QVERIFY(label(box, 6)->isVisible());
        QCOMPARE(label(box, 6)->text(), u"Back"_s);
        QTest::mouseClick(label(box, 5), Qt::LeftButton);
        QVERIFY(desktop.openedUrls.isEmpty());
    }

    void keysClose_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("a letter") << int(Qt::Key_Q);
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("F5") << int(Qt::Key_F5);
    }
    void keysClose()
    {
        QFETCH(int, key);
        RecordingDesktop desktop;
        FrmInfo box(words_, u"1.3.02"_s, desktop, kLinks, nullptr);
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QCOMPARE(QApplication::focusWidget(), box.findChild<QPushButton *>(u"cmdClose"_s));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QVERIFY(!box.isVisible());
        QVERIFY(desktop.openedUrls.isEmpty());
    }
};

QTEST_MAIN(tst_FrmInfo)
#include "tst_frminfo_w.moc"
