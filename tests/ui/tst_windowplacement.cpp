// Where a stored window rectangle is put at start, against the screens there are.

#include "ui/windowplacement.h"

#include <QTest>

using namespace Qt::StringLiterals;

class tst_WindowPlacement : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void placed_data()
    {
        QTest::addColumn<QRect>("stored");
        QTest::addColumn<QList<QRect>>("screens");
        QTest::addColumn<QRect>("placed");
        const QRect primary(0, 0, 1280, 1000);
        const QRect right(1280, 0, 1920, 1080);
        const QList<QRect> one{primary};
        const QList<QRect> two{primary, right};
        QTest::newRow("on the screen") << QRect(80, 80, 800, 533) << one << QRect(80, 80, 800, 533);
        QTest::newRow("partly off, title bar reachable")
            << QRect(900, 700, 800, 533) << one << QRect(900, 700, 800, 533);
        QTest::newRow("on the second screen")
            << QRect(2000, 100, 800, 533) << two << QRect(2000, 100, 800, 533);
        QTest::newRow("second screen gone")
            << QRect(2000, 100, 800, 533) << one << QRect(480, 100, 800, 533);
        QTest::newRow("title bar above the top")
            << QRect(100, -300, 800, 533) << one << QRect(100, 0, 800, 533);
        QTest::newRow("far left, overlapping none")
            << QRect(-5000, 300, 800, 533) << two << QRect(0, 300, 800, 533);
        QTest::newRow("mostly on the second screen")
            << QRect(1200, 1060, 800, 533) << two << QRect(1280, 547, 800, 533);
        QTest::newRow("larger than the screen")
            << QRect(80, 80, 1600, 1066) << one << QRect(0, 0, 1280, 1000);
        QTest::newRow("no screens")
            << QRect(-5000, 0, 10, 10) << QList<QRect>{} << QRect(-5000, 0, 10, 10);
    }
    void placed()
    {
        QFETCH(QRect, stored);
        QFETCH(QList<QRect>, screens);
        QFETCH(QRect, placed);
        QCOMPARE(placeOnScreens(stored, screens), placed);
    }
};

QTEST_APPLESS_MAIN(tst_WindowPlacement)
#include "tst_windowplacement.moc"
