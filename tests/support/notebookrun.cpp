#include "support/notebookrun.h"

#include "store/codepage.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

QByteArray crlfLines(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : lines)
        bytes += CodePage::encode(line).value_or(QByteArray("?")) + "\r\n";
    return bytes;
}

NotebookRun::NotebookRun(const QStringList &index)
{
    folder.writeIndex(index);
    for (const QString &line : index) {
        if (!line.startsWith(u'\\'))
            writeMask(line, {});
    }
}

void NotebookRun::writeEntry(const QString &group, const QString &title, const QString &date,
                             const QStringList &lines)
{
    folder.writeLines(u"FileStore/%1/%2.txt"_s.arg(group, title), QStringList{date} + lines);
}

void NotebookRun::writeMask(const QString &group, const QStringList &lines)
{
    folder.writeLines(u"FileStore/%1/_mask.dat"_s.arg(group), lines);
}

QByteArray NotebookRun::store(const QString &relative) const
{
    return folder.read(u"FileStore/"_s + relative);
}

bool NotebookRun::storeHas(const QString &relative) const
{
    return QFileInfo::exists(folder.path(u"FileStore/"_s + relative));
}

bool NotebookRun::start()
{
    run = std::make_unique<RunningApp>(folder.folder());
    if (!run->start())
        return false;
    run->window()->activateWindow();
    return QTest::qWaitForWindowActive(run->window());
}

QPlainTextEdit *NotebookRun::text() const
{
    return w().txtText[std::size_t(run->app().state().TextBoxIndex)];
}

QStringList NotebookRun::entryLines() const
{
    QStringList lines;
    for (int i = 0; i < w().lstEntry->count(); ++i)
        lines.append(w().lstEntry->item(i)->text());
    return lines;
}

int NotebookRun::entryRow() const
{
    return w().lstEntry->currentRow();
}

QString NotebookRun::lastMessage() const
{
    return run->messages.shown.isEmpty() ? QString() : run->messages.shown.last().text;
}

void NotebookRun::clickGroup(const QString &name)
{
    QListWidget *list = w().lstGroup;
    const QList<QListWidgetItem *> found = list->findItems(name, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(name));
    const QRect rect = list->visualItemRect(found.first());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void NotebookRun::clickEntry(int row)
{
    QListWidget *list = w().lstEntry;
    list->scrollToItem(list->item(row));
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void NotebookRun::doubleClickEntry(int row)
{
    QListWidget *list = w().lstEntry;
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

void NotebookRun::rightClick(QListWidget *list, int row)
{
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, rect.center());
}

void NotebookRun::doubleClickText(QPlainTextEdit *box)
{
    const QPoint at = box->cursorRect(box->textCursor()).center();
    QTest::mouseClick(box->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(box->viewport(), Qt::LeftButton, {}, at);
}

void NotebookRun::key(QWidget *widget, int key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(widget, Qt::Key(key), modifiers);
}

void NotebookRun::type(QWidget *widget, const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size()) {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i++, 2),
                                Qt::NoModifier);
            continue;
        }
        if (c == u'\n')
            QTest::keyClick(widget, Qt::Key_Return);
        else if (c.unicode() < 0x80)
            QTest::keyClicks(widget, QString(c));
        else // as a keyboard layout that has the character types it
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

std::shared_ptr<InputAnswer::Seen> InputAnswer::typeAndConfirm(const QString &typed)
{
    return watch(typed);
}

std::shared_ptr<InputAnswer::Seen> InputAnswer::cancel()
{
    return watch(std::nullopt);
}

std::shared_ptr<InputAnswer::Seen> InputAnswer::watch(std::optional<QString> typed)
{
    auto seen = std::make_shared<Seen>();
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    // The watch ends with the test's hold on what it saw.
    QObject::connect(timer, &QTimer::timeout, timer,
                     [timer, weak = std::weak_ptr<Seen>(seen), typed] {
                         const std::shared_ptr<Seen> seen = weak.lock();
                         if (!seen) {
                             timer->deleteLater();
                             return;
                         }
                         auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
                         if (!dialog || dialog->objectName() != u"frmInput"_s)
                             return;
                         timer->stop();
                         timer->deleteLater();
                         auto *field = dialog->findChild<QLineEdit *>(u"txtInput"_s);
                         seen->shown = true;
                         seen->caption = dialog->windowTitle();
                         seen->proposed = field->text();
                         seen->proposalSelected =
                             field->hasSelectedText() && field->selectedText() == field->text();
                         if (!typed) {
                             QTest::keyClick(field, Qt::Key_Escape);
                             return;
                         }
                         if (!typed->isEmpty())
                             QTest::keyClicks(field, *typed);
                         QTest::keyClick(field, Qt::Key_Return);
                     });
    timer->start();
    return seen;
}
