#include "support/appfixture.h"

#include "support/notebookline.h"

#include "notebook/groupcommands_w.h"
#include "store/codepage.h"
#include "store/dostext.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileSystemWatcher>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

AppFixture::AppFixture()
{
    const QDir data(qEnvironmentVariable("PLIMSA_DATA"));
    QDirIterator it(data.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString target = path(data.relativeFilePath(it.next()));
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(it.filePath(), target);
    }
}

QStringList AppFixture::readLines(const QString &relative) const
{
    QStringList lines = CodePage::decode(read(relative)).split(u"\r\n"_s);
    lines.removeLast(); // after the last line end
    return lines;
}

void AppFixture::write(const QString &relative, const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += CodePage::encode(line).value() + "\r\n";
    QVERIFY(writeFile(path(relative), bytes));
}

void AppFixture::setPref(int line, const QString &value)
{
    QStringList lines = readLines(u"pref.dat"_s);
    lines[line - 1] = value;
    write(u"pref.dat"_s, lines);
}

void AppFixture::writeNotebook(const QList<QStringList> &groups)
{
    QDir(path(u"FileStore"_s)).removeRecursively();
    QStringList index{u"idx Plimsa 1.3.02"_s};
    for (const QStringList &group : groups) {
        const QString folder = u"FileStore/"_s + OutDOS(group.first()) + u'/';
        index << OutDOS(group.first());
        write(folder + u"_mask.dat"_s, {});
        for (const QString &title : group.mid(1)) {
            index << u"\\"_s + OutDOS(title);
            if (!title.startsWith(u"gone"_s))
                write(folder + OutDOS(title) + u".txt"_s,
                      {u"date of "_s + title, u"text of "_s + title});
        }
    }
    write(u"FileStore/idx.dat"_s, index);
}

QMap<QString, QByteArray> AppFixture::snapshot() const
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir_.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = QDir(dir_.path()).relativeFilePath(it.next());
        files.insert(relative, read(relative));
    }
    return files;
}

bool AppFixture::start()
{
    app_ = std::make_unique<Application>(
        path({}), messages, [this](int status) { exitStatus = status; }, &desktop);
    app_->Main();
    if (exitStatus)
        return false;
    // No case looks at the trash list Clear Trash shows for a second; without
    // the pause its file work is done when the command returns.
    window()->findChild<GroupCommands *>()->setClearTrashWait(std::chrono::milliseconds(0));
    // The start settings wait 100 ms after the first paint; offscreen, where no
    // window manager places the window meanwhile, the order is what counts.
    if (quickStart || QGuiApplication::platformName() == u"offscreen"_s)
        w().startSettingsTimer->setInterval(0);
    QSignalSpy done(window(), &MainWindow::startupWorkDone);
    window()->activateWindow();
    // qWaitFor sleeps between its looks; a quick start is done before the first.
    // On an X server the start-up work waits for the first paint, which a
    // loaded machine can hold back for seconds: the bound is generous.
    for (int i = 0; quickStart && i < 100 && done.isEmpty() && !exitStatus; ++i)
        QCoreApplication::processEvents();
    if (!QTest::qWaitFor([&] { return !done.isEmpty() || exitStatus; }, 30000) || exitStatus)
        return false;
    if (window()->isMinimized())
        return true;
    // A dialog of the start-up work has had the focus; no window manager here
    // gives it back.
    window()->activateWindow();
    // A Wayland client cannot take the activation; shown is as far as it goes.
    if (QGuiApplication::platformName() == u"wayland"_s)
        return QTest::qWaitForWindowExposed(window());
    return QTest::qWaitForWindowActive(window());
}

bool AppFixture::open(const QString &line, const QString &selected)
{
    writeNotebook(notebook(line));
    if (!start())
        return false;
    select(*this, selected);
    return !QTest::currentTestFailed();
}

QString AppFixture::text() const
{
    return w().entryText->toPlainText();
}

void AppFixture::type(const QString &keys)
{
    QTest::keyClicks(w().entryText, keys);
}

void AppFixture::pressOk()
{
    QTest::keyClick(w().entryText, Qt::Key_F2);
}

QSignalBlocker AppFixture::quietWatcher() const
{
    return QSignalBlocker(window()->findChild<QFileSystemWatcher *>(u"outsideWatcher"_s));
}

bool AppFixture::restart()
{
    app_.reset();
    messages.shown.clear();
    messages.beeps = 0;
    exitStatus.reset();
    return start();
}

void AppFixture::click(TitleListView *list, const QString &line, Qt::MouseButton button)
{
    const int row = list->titles().rowShowing(line);
    QVERIFY2(row >= 0, qPrintable(line));
    QTest::mouseClick(list->viewport(), button, {}, list->lineRect(row).center());
}

void AppFixture::whenShown(const std::function<void(QWidget *)> &act)
{
    auto *poll = new QTimer(&waiting_);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        QWidget *shown = QApplication::activeModalWidget() ? QApplication::activeModalWidget()
                                                           : QApplication::activePopupWidget();
        if (!shown)
            return;
        poll->deleteLater();
        poll->stop();
        act(shown);
    });
    poll->start();
}

void AppFixture::answerInput(const QString &answer)
{
    whenShown([answer](QWidget *dialog) {
        auto *field = dialog->findChild<QLineEdit *>(u"txtInput"_s);
        if (!answer.isNull())
            field->setText(answer);
        QTest::keyClick(field, Qt::Key_Return);
    });
}
