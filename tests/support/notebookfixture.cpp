#include "support/notebookfixture.h"

#include "store/dostext.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

QStringList NotebookFixture::indexOf(const QList<QStringList> &groups)
{
    QStringList index;
    for (const QStringList &group : groups) {
        index << OutDOS(group.first());
        for (const QString &title : group.mid(1))
            index << u"\\"_s + OutDOS(title);
    }
    return index;
}

NotebookFixture::NotebookFixture(const QList<QStringList> &groups, const QSet<QString> &missing)
    : NotebookRun(indexOf(groups))
{
    for (const QStringList &group : groups) {
        for (const QString &title : group.mid(1)) {
            if (!missing.contains(title))
                writeEntry(OutDOS(group.first()), OutDOS(title), u"date of "_s + title,
                           {u"text of "_s + title});
        }
    }
}

void NotebookFixture::selectGroup(const QString &shown)
{
    w().lstGroup->setCurrentRow(groupLines().indexOf(shown));
}

void NotebookFixture::selectEntry(const QString &shown)
{
    w().lstEntry->setCurrentRow(entryLines().indexOf(shown));
}

QStringList NotebookFixture::groupLines() const
{
    QStringList out;
    for (int i = 0; i < w().lstGroup->count(); ++i)
        out << w().lstGroup->item(i)->text();
    return out;
}

QString NotebookFixture::selectedGroup() const
{
    const QListWidgetItem *item = w().lstGroup->currentItem();
    return item ? item->text() : QString();
}

QString NotebookFixture::selectedEntry() const
{
    const QListWidgetItem *item = w().lstEntry->currentItem();
    return item ? item->text() : QString();
}

QStringList NotebookFixture::index() const
{
    return folder.readLines(u"FileStore/idx.dat"_s).mid(1);
}

QStringList NotebookFixture::files(const QString &group) const
{
    return QDir(folder.path(u"FileStore/"_s + OutDOS(group)))
        .entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray NotebookFixture::entryBytes(const QString &group, const QString &title) const
{
    return folder.read(u"FileStore/"_s + OutDOS(group) + u'/' + OutDOS(title) + u".txt"_s);
}

QByteArray NotebookFixture::expectedBytes(const QString &title)
{
    return "date of " + title.toLatin1() + "\r\ntext of " + title.toLatin1() + "\r\n";
}

QStringList NotebookFixture::group(const QString &name, const QString &prefix, int count)
{
    QStringList out{name};
    for (int i = 0; i < count; ++i)
        out << prefix + QString::number(i);
    return out;
}

void NotebookFixture::breakIndexWrites()
{
    folder.remove(u"FileStore/idx.dat"_s);
    QDir().mkpath(folder.path(u"FileStore/idx.dat"_s));
}

void NotebookFixture::whenModal(std::function<void(QWidget *dialog)> act)
{
    auto *poll = new QTimer(run->window());
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [this, poll, act] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        poll->stop();
        poll->deleteLater();
        lastDialogTitle = dialog->windowTitle();
        ++dialogsAnswered;
        act(dialog);
    });
    poll->start();
}

void NotebookFixture::answerInput(const QString &text)
{
    whenModal([text](QWidget *dialog) {
        dialog->findChild<QLineEdit *>(u"txtInput"_s)->setText(text);
        dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click();
    });
}

void NotebookFixture::answerChoice(const QString &group)
{
    whenModal([group](QWidget *dialog) {
        auto *list = dialog->findChild<QListWidget *>(u"lstList"_s);
        const QList<QListWidgetItem *> found = list->findItems(group, Qt::MatchExactly);
        if (!found.isEmpty())
            list->setCurrentItem(found.first());
        dialog->findChild<QPushButton *>(u"cmdMain0"_s)->click();
    });
}
