#include "support/searchdialog.h"

#include "i18n/wordtable.h"
#include "search/frmsearch.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/dostext.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

void writeBook(AppFixture &nb, const QString &spec)
{
    QList<QStringList> groups;
    QList<QStringList> texts;
    for (const QString &group : spec.split(u" | "_s)) {
        const qsizetype colon = group.indexOf(u": "_s);
        groups.append({colon < 0 ? group.trimmed() : group.left(colon)});
        texts.append(QStringList());
        if (colon < 0)
            continue;
        for (const QString &entry : group.mid(colon + 2).split(u"; "_s)) {
            groups.last() << entry.section(u" = "_s, 0, 0);
            texts.last() << entry.section(u" = "_s, 1);
        }
    }
    nb.writeNotebook(groups);
    for (int g = 0; g < groups.size(); ++g) {
        for (int e = 1; e < groups[g].size(); ++e) {
            if (groups[g][e].startsWith(u"gone"_s))
                continue;
            QFile file(
                nb.path(u"FileStore/%1/%2.txt"_s.arg(OutDOS(groups[g][0]), OutDOS(groups[g][e]))));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("d\r\n" + CodePage::encode(texts[g][e - 1]).value());
        }
    }
}

QPlainTextEdit *textBox(const AppFixture &nb)
{
    return nb.w().txtText[size_t(nb.window()->context().state.TextBoxIndex)];
}

SearchDialog::SearchDialog(AppFixture &nb) : nb_(nb)
{
    nb.w().mnuSearch->trigger();
    dialog = nb.window()->findChild<FrmSearch *>(u"frmSearch"_s);
}

QLineEdit *SearchDialog::field() const
{
    return dialog->findChild<QLineEdit *>(u"txtSearch"_s);
}

QCheckBox *SearchDialog::option(int i) const
{
    return dialog->findChild<QCheckBox *>(u"chckMode%1"_s.arg(i));
}

QPushButton *SearchDialog::button(const QString &name) const
{
    return dialog->findChild<QPushButton *>(name);
}

QString SearchDialog::status() const
{
    return dialog->findChild<QLabel *>(u"lblStatus"_s)->text();
}

QString SearchDialog::options() const
{
    QString bits;
    for (int i = 0; i < 6; ++i)
        bits += option(i)->isChecked() ? u'1' : u'0';
    return bits;
}

void SearchDialog::set(const QString &text, const QString &options)
{
    field()->setText(text);
    for (int i = 0; i < 6; ++i)
        option(i)->setChecked(options.at(i) == u'1');
}

bool SearchDialog::click(int index)
{
    QPushButton *search = button(u"cmdSearch%1"_s.arg(index));
    dialog->timChckButton_Timer(); // rather than wait for the timer's next tick
    if (!search->isEnabled())
        return false;
    QTest::mouseClick(search, Qt::LeftButton);
    return true;
}

QString SearchDialog::outcome() const
{
    const QString status = this->status();
    if (status == WordTable::english(106))
        return u"none "_s + selection(nb_);
    if (status == WordTable::english(107))
        return selection(nb_) + u" title"_s;
    if (status != WordTable::english(108))
        return u"status "_s + status;
    // The focus moves into the main window once the window system has activated it.
    QPlainTextEdit *box = textBox(nb_);
    const bool focused = QTest::qWaitFor([box] { return box->hasFocus(); }, 2000);
    const QTextCursor cursor = box->textCursor();
    if (cursor.selectedText().size() != field()->text().size() || !focused)
        return u"text selection "_s + cursor.selectedText();
    return selection(nb_) + u" text "_s + QString::number(cursor.selectionStart());
}
