// Import and export from the File menu of the real window: the folder asked
// for, the lists refreshed, the one report; a cancel in the progress dialog
// keeps what was imported and a notebook that loads.

#include "support/actions.h"
#include "support/appfixture.h"
#include "support/notebookline.h"

#include "platform/syscalls.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

// The folder dialog answered with `folder`.
void answerFolder(AppFixture &nb, const QString &folder,
                  const std::function<void(QWidget *)> &next = {})
{
    nb.whenShown([folder, next](QWidget *shown) {
        chooseFolder(shown, folder);
        if (next)
            next(shown);
    });
}

// Cancels the import's progress dialog once it shows.
void cancelImport(AppFixture &nb)
{
    nb.whenShown([&nb](QWidget *shown) {
        auto *progress = qobject_cast<QProgressDialog *>(shown);
        if (!progress || !progress->labelText().startsWith(u"Importing"_s)) {
            cancelImport(nb);
            return;
        }
        QCOMPARE(progress->objectName(), u"frmTransferProgress"_s);
        progress->cancel();
    });
}

} // namespace

class tst_Transfer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the window adds to the library's work: the folder asked for, the
    // one report, the lists showing the new group, and a question before an
    // export over an earlier one. What is read and written: tst_commandline.
    void importThenExport()
    {
        AppFixture nb;
        QVERIFY(nb.open(u"A x y | Trash"_s, u"A/x"_s));
        const QString in = nb.path(u"in/Letters"_s);
        QVERIFY(writeFile(in + u"/to Anna.txt"_s, "Dear Anna,\n"));
        QVERIFY(writeFile(in + u"/empty.md"_s, ""));
        QVERIFY(writeFile(in + u"/photo.txt"_s, QByteArray("\x89PNG\0", 5)));

        answerFolder(nb, in);
        triggered(u"mnuImportFolder"_s)(nb);
        QTRY_COMPARE(nb.messages.shown.size(), 1);
        const QString report = nb.messages.shown[0].text;
        QVERIFY2(report.startsWith(u"1 groups and 2 entries made, 1 files skipped"_s) &&
                     report.contains(u"photo.txt: not a text file"_s) && report.contains(in),
                 qPrintable(report));
        QCOMPARE(index(nb), u"A x y | Letters empty to Anna | Trash"_s);
        QCOMPARE(selection(nb), u"Letters/empty"_s);

        const QString out = nb.path(u"out"_s);
        QVERIFY(QDir().mkpath(out)); // the dialog takes a folder that exists
        answerFolder(nb, out);
        triggered(u"mnuExportNotebook"_s)(nb);
        QTRY_COMPARE(nb.messages.shown.size(), 2);
        QVERIFY2(nb.messages.shown[1].text.startsWith(u"3 groups and 4 entries exported"_s),
                 qPrintable(nb.messages.shown[1].text));

        // Again into the same folder: asked first, Cancel the default; every
        // way out but Replace writes nothing.
        QFile::remove(out + u"/A/x.txt"_s);
        const QList<std::pair<QString, std::function<void(QDialog *)>>> answers{
            {u"Enter"_s, [](QDialog *q) { QTest::keyClick(q->focusWidget(), Qt::Key_Return); }},
            {u"Esc"_s, [](QDialog *q) { QTest::keyClick(q->focusWidget(), Qt::Key_Escape); }},
            {u"the close box"_s, [](QDialog *q) { q->close(); }},
            {u"Cancel"_s,
             [](QDialog *q) { q->findChild<QPushButton *>(u"cmdAnswer1"_s)->click(); }},
            {u"Replace"_s,
             [](QDialog *q) { q->findChild<QPushButton *>(u"cmdAnswer0"_s)->click(); }},
        };
        for (const auto &row : answers) {
            const QString &way = row.first;
            const auto &answer = row.second;
            QString asked;
            bool cancelDefault = false;
            answerFolder(nb, out, [&nb, &asked, &cancelDefault, answer](QWidget *) {
                nb.whenShown([&asked, &cancelDefault, answer](QWidget *shown) {
                    auto *question = qobject_cast<QDialog *>(shown);
                    asked = shown->objectName();
                    cancelDefault =
                        question->findChild<QPushButton *>(u"cmdAnswer1"_s)->isDefault() &&
                        !question->findChild<QPushButton *>(u"cmdAnswer0"_s)->isDefault();
                    answer(question);
                });
            });
            triggered(u"mnuExportNotebook"_s)(nb);
            QCOMPARE(asked, u"frmExportReplace"_s);
            QVERIFY(cancelDefault);
            const bool replaced = way == u"Replace"_s;
            QVERIFY2(QFile::exists(out + u"/A/x.txt"_s) == replaced, qPrintable(way));
            QCOMPARE(nb.messages.shown.size(), replaced ? 3 : 2);
        }
    }

    // Cancelled in the progress dialog: what is in stays, the rest does not,
    // and idx.dat names only files that are there.
    void cancel()
    {
        AppFixture nb;
        QVERIFY(nb.open(u"A x | Trash"_s, u"A/x"_s));
        const QString in = nb.path(u"in/Many"_s);
        for (int i = 0; i < 400; ++i)
            QVERIFY(writeFile(in + u"/n%1.txt"_s.arg(i, 3, 10, QChar(u'0')), "text"));
        // Slow writes, as on a busy disk, so the dialog has time to show.
        Sys::setHook([](Sys::Op op, const char *) {
            if (op == Sys::Op::Write)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            return Sys::Fault{};
        });
        answerFolder(nb, in, [&nb](QWidget *) { cancelImport(nb); });
        triggered(u"mnuImportFolder"_s)(nb);
        Sys::setHook(nullptr);
        QTRY_COMPARE(nb.messages.shown.size(), 1);
        const QString report = nb.messages.shown[0].text;
        QVERIFY2(report.contains(u"; cancelled, "_s), qPrintable(report));

        QStringList made = notebook(index(nb)).value(1).mid(1); // A x | Many ... | Trash
        QVERIFY(!made.isEmpty() && made.size() < 400);
        QVERIFY(report.startsWith(u"1 groups and %1 entries made"_s.arg(made.size())));
        QVERIFY(report.contains(u"%1 entries not imported"_s.arg(400 - made.size())));
        made.sort();
        QStringList files = QDir(nb.path(u"FileStore/Many"_s)).entryList({u"*.txt"_s}, QDir::Files);
        QCOMPARE(files.replaceInStrings(u".txt"_s, QString()), made);
    }
};

QTEST_MAIN(tst_Transfer)
#include "tst_transfer.moc"
