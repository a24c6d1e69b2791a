// The real message boxes: modal, the stop icon, one OK, and names and paths
// shown as they are, never read as markup.

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
    void shownModally()
    {
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen = true;
            QCOMPARE(box->icon(), QMessageBox::Critical);
            QCOMPARE(box->textFormat(), Qt::PlainText);
            QCOMPARE(box->buttons().size(), 1);
            box->buttons().first()->click();
        });
        MessageBoxes boxes;
        boxes.message(Messages::Icon::Critical, u"Caution!"_s, u"<b>Work</b> & R&D"_s);
        QVERIFY(seen);
    }
};

QTEST_MAIN(tst_MessageBoxes)
#include "tst_messageboxes_w.moc"
