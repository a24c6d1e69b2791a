// The icon built into the program: every size is there and is a picture.

#include "ui/programicon_w.h"

#include <QTest>

class tst_ProgramIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everySizeLoads()
    {
        const QIcon icon = programIcon();
        const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
        QCOMPARE(icon.availableSizes(), sizes);
        // A size whose file is missing from the resources gives no picture.
        for (const QSize &size : sizes)
            QVERIFY2(!icon.pixmap(size).isNull(), qPrintable(QString::number(size.width())));
    }
};

QTEST_MAIN(tst_ProgramIcon)
#include "tst_programicon_w.moc"
