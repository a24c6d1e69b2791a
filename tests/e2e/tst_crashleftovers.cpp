// What a command killed between its copy and idx.dat leaves behind: the
// entry's text under its new name as well, a name idx.dat does not know.
// Given again, the command takes that name as its copy (the same file, or the
// same bytes) instead of failing on it for as long as it lies there; a file of
// other bytes in the way is still refused and kept.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"

#include <QFile>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <unistd.h>

using namespace Qt::StringLiterals;

class tst_CrashLeftovers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commandGivenAgain_data()
    {
        QTest::addColumn<QString>("leftover"); // where the copy lies, beside A/x.txt
        QTest::addColumn<QString>("how");      // "link", "copy" or "other bytes"
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("index");
        // The soak's failing state: a move into the trash killed after its link.
        // Every command that copies an entry's file comes to the same place.
        QTest::newRow("trash, linked")
            << u"Trash/x.txt"_s << u"link"_s << key(Qt::Key_Delete) << u"A y | B | Trash x"_s;
        QTest::newRow("move, copied")
            << u"B/x.txt"_s << u"copy"_s << moveTo(u"B"_s) << u"A y | B x | Trash"_s;
        // Not a copy of this entry's text: the user's own file stays, the command is refused.
        QTest::newRow("move onto other bytes")
            << u"B/x.txt"_s << u"other bytes"_s << moveTo(u"B"_s) << u"A x y | B | Trash"_s;
    }
    void commandGivenAgain()
    {
        QFETCH(QString, leftover);
        QFETCH(QString, how);
        QFETCH(Action, action);
        QFETCH(QString, index);
        AppFixture nb;
        nb.writeNotebook(notebook(u"A x y | B | Trash"_s));
        const QString source = nb.path(u"FileStore/A/x.txt"_s);
        const QString target = nb.path(u"FileStore/"_s + leftover);
        if (how == u"link"_s)
            QCOMPARE(::link(QFile::encodeName(source).constData(),
                            QFile::encodeName(target).constData()),
                     0);
        else if (how == u"copy"_s)
            QVERIFY(QFile::copy(source, target));
        else
            nb.write(u"FileStore/"_s + leftover, {u"the user's own"_s});
        const QByteArray inTheWay = nb.read(u"FileStore/"_s + leftover);
        QVERIFY(nb.start());
        select(nb, u"A/x"_s);

        action(nb);
        QCOMPARE(::index(nb), index);
        QCOMPARE(nb.read(u"FileStore/"_s + leftover), inTheWay);
        if (how == u"other bytes"_s) {
            QCOMPARE(nb.messages.shown.size(), 1);
            QVERIFY(nb.messages.shown[0].text.contains(QString::fromLocal8Bit(strerror(EEXIST))));
            QVERIFY(QFile::exists(source));
        } else {
            QVERIFY2(nb.messages.shown.isEmpty(), qPrintable(nb.messages.shown.value(0).text));
            QVERIFY(!QFile::exists(source));
        }
    }
};

QTEST_MAIN(tst_CrashLeftovers)
#include "tst_crashleftovers.moc"
