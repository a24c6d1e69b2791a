// The real message boxes: modal, the right icon, the text as it is, one OK.

#include "platform/messageboxes_w.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class tst_MessageBoxes : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shownModally_data()
    {
        QTest::addColumn<Messages::Icon>("icon");
        QTest::addColumn<QMessageBox::Icon>("boxIcon");
        QTest::newRow("stop") << Messages::Icon::Critical << QMessageBox::Critical;
        QTest::newRow("information") << Messages::Icon::Information << QMessageBox::Information;
        QTest::newRow("none") << Messages::Icon::None << QMessageBox::NoIcon;
    }
    void shownModally()
    {
        QFETCH(Messages::Icon, icon);
        QFETCH(QMessageBox::Icon, boxIcon);
        const QString text = u"<b>Work</b> & R&D\n\nC:\\path"_s;
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            QCOMPARE(box->icon(), boxIcon);
            QCOMPARE(box->windowTitle(), u"Caution!"_s);
            QCOMPARE(box->text(), text);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->buttons().size(), 1);
            QCOMPARE(box->standardButton(box->buttons().first()), QMessageBox::Ok);
            box->buttons().first()->click();
        });
        MessageBoxes boxes;
        boxes.message(icon, u"Caution!"_s, text);
        QVERIFY(seen);
    }
};

QTEST_MAIN(tst_MessageBoxes)
#include "tst_messageboxes_w.moc"
