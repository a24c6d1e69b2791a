#include "support/scenario.h"

#include "support/appfixture.h"
#include "support/notebookline.h"

#include "editing/editrules.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/keyinjector_w.h"
#include "search/searchdialog_w.h"
#include "store/appstate.h"
#include "store/codepage.h"
#include "store/dostext.h"
#include "store/storemarker.h"
#include "ui/codepagetextedit_w.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

QString caughtPopUp;

namespace {

QString popupItem()
{
    const auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    if (!menu)
        return {};
    return menu->objectName() + u'/' +
           (menu->activeAction() ? menu->activeAction()->objectName() : QString());
}

QString fileLines(const AppFixture &nb, const QString &relative)
{
    const QByteArray bytes = nb.read(relative);
    if (bytes.isEmpty())
        return {};
    const QString lines = CodePage::decode(bytes).split(u"\r\n"_s).join(u'/');
    return bytes.endsWith("\r\n") ? lines.chopped(1) : lines + u" (no line end)"_s;
}

QString chopped(const QString &text)
{
    return text.chopped(text.endsWith(u'\n'));
}

// Digits of the clock may have moved on while the key was typed.
QString digitsFree(const QString &text)
{
    return QRegularExpression::escape(text).replace(QRegularExpression(u"\\d"_s), u"\\d"_s);
}

QString expand(QString value, AppFixture &nb)
{
    const bool pattern = value.startsWith(u'~');
    const auto literal = [pattern](const QString &text) {
        return pattern ? QRegularExpression::escape(text) : text;
    };
    value.replace(u"%ROOT%"_s, literal(nb.path({})));
    if (value.contains(u"%STORE%"_s))
        value.replace(u"%STORE%"_s, literal(nb.app().state().storeFolder));
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    value.replace(u"%DATELINE%"_s, digitsFree(EditRules::dateLine(now, locale)));
    value.replace(u"%DATE%"_s, digitsFree(EditRules::dateText(now.date(), locale)));
    value.replace(u"%TIME%"_s, digitsFree(EditRules::timeText(now.time(), locale)));
    return value;
}

QString bit(bool on)
{
    return on ? u"1"_s : u"0"_s;
}

using Reader = std::function<QString(AppFixture &)>;

QString messages(AppFixture &nb, bool icons)
{
    QStringList shown;
    for (const auto &m : nb.messages.shown)
        shown << (icons ? QString::number(int(m.icon)) : u'[' + m.title + u"] "_s + m.text);
    return shown.join(icons ? u","_s : u" || "_s);
}

// The names a state compares before and after (the first kWatched), then
// those read on demand.
constexpr int kWatched = 14;
const QList<std::pair<QString, Reader>> &readers()
{
    static const QList<std::pair<QString, Reader>> all{
        {u"sel"_s, [](AppFixture &nb) { return selection(nb); }},
        {u"focus"_s,
         [](AppFixture &nb) {
             const QWidget *focus = nb.window()->focusWidget();
             return focus ? focus->objectName() : QString();
         }},
        {u"mode"_s,
         [](AppFixture &nb) {
             return nb.state().edit.textEdit()   ? u"text"_s
                    : nb.state().edit.maskEdit() ? u"mask"_s
                                                 : u"view"_s;
         }},
        {u"lock"_s, [](AppFixture &nb) { return bit(nb.lockBox()->isChecked()); }},
        {u"idx"_s, [](AppFixture &nb) { return index(nb); }},
        {u"text"_s, [](AppFixture &nb) { return chopped(boxText(nb.entryText())); }},
        {u"mask"_s, [](AppFixture &nb) { return chopped(boxText(nb.maskText())); }},
        {u"date"_s, [](AppFixture &nb) { return nb.control<QLabel>(u"lblDate"_s)->text(); }},
        {u"msg"_s, [](AppFixture &nb) { return messages(nb, false); }},
        {u"beeps"_s, [](AppFixture &nb) { return QString::number(nb.messages.beeps); }},
        {u"menu"_s, [](AppFixture &) { return popupItem() + caughtPopUp; }},
        {u"mem"_s,
         [](AppFixture &nb) { return nb.readLines(u"pref.dat"_s).mid(22, 4).join(u','); }},
        {u"phrases"_s,
         [](AppFixture &nb) { return nb.readLines(u"pref.dat"_s).mid(26, 4).join(u','); }},
        {u"last"_s, [](AppFixture &nb) { return nb.state().LastMovePosition; }},
        // On demand from here on.
        {u"exit"_s,
         [](AppFixture &nb) {
             return nb.exitStatus ? QString::number(*nb.exitStatus) : QString();
         }},
        {u"icons"_s, [](AppFixture &nb) { return messages(nb, true); }},
        {u"groups"_s, [](AppFixture &nb) { return AppFixture::lines(nb.groupList()).join(u'|'); }},
        {u"entries"_s, [](AppFixture &nb) { return AppFixture::lines(nb.entryList()).join(u'|'); }},
        {u"store"_s, [](AppFixture &nb) { return nb.app().state().storeFolder; }},
        // The program's marker is an open-file-description lock: a second
        // taker in this process is refused while the program holds it.
        {u"marker"_s,
         [](AppFixture &nb) {
             StoreMarker probe;
             const bool taken = probe.take(nb.app().state().storeFolder);
             probe.release();
             return taken ? u"free"_s : u"held"_s;
         }},
        {u"starts"_s, [](AppFixture &nb) { return QString::number(nb.desktop.starts); }},
        {u"opened"_s, [](AppFixture &nb) { return nb.desktop.openedFiles.join(u'|'); }},
        {u"file"_s,
         [](AppFixture &nb) {
             const QString where = selection(nb);
             return fileLines(nb, u"FileStore/"_s + OutDOS(where.section(u'/', 0, 0)) + u'/' +
                                      OutDOS(where.section(u'/', 1)) + u".txt"_s);
         }},
        {u"maskfile"_s,
         [](AppFixture &nb) { return fileLines(nb, u"FileStore/Notes/_mask.dat"_s); }},
        {u"memo1"_s,
         [](AppFixture &nb) {
             const MainWidgets &w = nb.w();
             return w.goToMemoryItems[0]->text() + u'|' + w.moveToMemoryItems[0]->text() + u'|' +
                    w.setMemoryItems[0]->text();
         }},
        {u"caret"_s,
         [](AppFixture &nb) {
             const QTextCursor caret = nb.entryText()->textCursor();
             return u"%1+%2"_s.arg(caret.position()).arg(caret.selectedText().size());
         }},
        {u"buttons"_s,
         [](AppFixture &nb) {
             QString flags;
             for (int i = 0; i < 4; ++i)
                 flags += bit(nb.control<QPushButton>(u"cmdH%1"_s.arg(i))->isEnabled());
             return flags;
         }},
        // --- Of the search dialog (tst_search); "" while it is closed. ---
        // found    what its last search left: "none G/e", "G/e title" or
        //          "G/e text <start>" (the text's selection as long as the
        //          search text, the focus in the text box), else "status <line>"
        // search   its field, the field's selected part, the six options as
        //          1 and 0, and SearchPos, joined by "|"
        {u"found"_s,
         [](AppFixture &nb) {
             const auto *dialog = nb.window()->findChild<SearchDialog *>();
             if (!dialog)
                 return QString();
             const QString status = dialog->findChild<QLabel *>(u"lblStatus"_s)->text();
             if (status == WordTable::english(Word::SearchNotFound))
                 return u"none "_s + selection(nb);
             if (status == WordTable::english(Word::MatchInTitle))
                 return selection(nb) + u" title"_s;
             if (status != WordTable::english(Word::MatchInText))
                 return u"status "_s + status;
             QPlainTextEdit *box = nb.entryText();
             const QTextCursor cursor = box->textCursor();
             if (cursor.selectionEnd() - cursor.selectionStart() !=
                 dialog->findChild<QLineEdit *>(u"txtSearch"_s)->text().size())
                 return u"text of another length"_s;
             // The focus moves into the main window once the window system has activated it.
             if (!QTest::qWaitFor([box] { return box->hasFocus(); }, 2000))
                 return u"text without the focus"_s;
             return selection(nb) + u" text "_s + QString::number(cursor.selectionStart());
         }},
        {u"search"_s, [](AppFixture &nb) {
             const auto *dialog = nb.window()->findChild<SearchDialog *>();
             if (!dialog)
                 return QString();
             const auto *field = dialog->findChild<QLineEdit *>(u"txtSearch"_s);
             QString options;
             for (int i = 0; i < 6; ++i)
                 options +=
                     bit(dialog->findChild<QCheckBox *>(u"chckMode%1"_s.arg(i))->isChecked());
             return QStringList{field->text(), field->selectedText(), options,
                                QString::number(dialog->searchPos())}
                 .join(u'|');
         }}};
    return all;
}

// "pref<N>", "lang<N>", "lines:", "on:", "checked:", "words:", "tip:", "name:"
// and "font:".
QString readByPattern(AppFixture &nb, const QString &name)
{
    const QRegularExpressionMatch line = QRegularExpression(u"^(pref|lang)(\\d+)$"_s).match(name);
    if (line.hasMatch())
        return nb.readLines(line.captured(1) == u"pref"_s ? u"pref.dat"_s : u"Language.dat"_s)
            .value(line.captured(2).toInt() - 1);
    const QString kind = name.section(u':', 0, 0), object = name.section(u':', 1);
    if (kind == u"lines"_s)
        return fileLines(nb, object);
    if (auto *action = nb.window()->findChild<QAction *>(object); action && kind == u"checked"_s)
        return bit(action->isChecked());
    if (auto *menu = nb.window()->findChild<QMenu *>(object))
        return kind == u"on"_s ? bit(menu->menuAction()->isEnabled()) : menu->title();
    auto *widget = nb.window()->findChild<QWidget *>(object);
    if (auto *action = nb.window()->findChild<QAction *>(object); action && !widget)
        return kind == u"on"_s ? bit(action->isEnabled()) : action->text();
    if (auto *timer = nb.window()->findChild<QTimer *>(object); timer && kind == u"on"_s)
        return bit(timer->isActive());
    if (!widget)
        return u"(no %1)"_s.arg(name);
    if (kind == u"on"_s || kind == u"tip"_s)
        return kind == u"on"_s ? bit(widget->isEnabled()) : widget->toolTip();
    if (kind == u"name"_s)
        return widget->accessibleName();
    if (kind == u"font"_s)
        return u"%1 %2%3"_s.arg(widget->font().family())
            .arg(widget->font().pointSize())
            .arg(widget->font().bold() ? u" bold"_s : QString());
    if (kind == u"checked"_s)
        return bit(widget->property("checked").toBool());
    return widget->property("text").toString();
}

} // namespace

State observe(AppFixture &nb)
{
    State state;
    for (const auto &[name, read] : readers().first(kWatched))
        state[name] = read(nb);
    return state;
}

// A start that failed has no window: its rows name only what needs none.
QString observed(AppFixture &nb, const QString &name)
{
    for (const auto &[known, read] : readers())
        if (known == name)
            return read(nb);
    return readByPattern(nb, name);
}

void expectState(AppFixture &nb, const QString &expected, const State &before)
{
    // name, value, whether the value is a pattern
    QList<std::tuple<QString, QString, bool>> wanted;
    State remaining = before;
    for (const QString &item : expected.split(u';', Qt::SkipEmptyParts)) {
        const QString value = expand(item.section(u'=', 1), nb);
        const bool pattern = value.startsWith(u'~');
        wanted.append({item.section(u'=', 0, 0), pattern ? value.mid(1) : value, pattern});
        remaining.remove(item.section(u'=', 0, 0));
    }
    for (auto it = remaining.cbegin(); it != remaining.cend(); ++it)
        wanted.append({it.key(), it.value(), false});
    const auto mismatches = [&] {
        QStringList found;
        for (const auto &[name, value, pattern] : wanted) {
            const QString actual = observed(nb, name);
            if (pattern && !QRegularExpression(u'^' + value + u'$',
                                               QRegularExpression::DotMatchesEverythingOption)
                                .match(actual)
                                .hasMatch())
                found << name + u": "_s + actual;
            else if (!pattern && actual != value)
                found << name + u": \""_s + actual + u"\", expected \""_s + value + u'"';
        }
        return found;
    };
    // What settles a little later (the end after a restart) is given time; a
    // state that never comes fails as it is then.
    if (QTest::qWaitFor([&] { return mismatches().isEmpty(); }, 5000))
        return;
    const QStringList found = mismatches();
    QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
}

void run(const Scenario &scenario)
{
    caughtPopUp.clear();
    AppFixture nb;
    if (!scenario.book.isEmpty())
        nb.writeNotebook(notebook(scenario.book));
    for (const QString &pref : scenario.prefs)
        nb.setPref(pref.section(u'=', 0, 0).toInt(),
                   pref.section(u'=', 1).replace(u"%ROOT%"_s, nb.path({})));
    if (scenario.prepare)
        scenario.prepare(nb);
    if (nb.start()) {
        for (const Action &step : scenario.steps) {
            step(nb);
            QTRY_VERIFY(!nb.window()->keyInjector().isBusy());
        }
    }
    expectState(nb, scenario.expected);
}
