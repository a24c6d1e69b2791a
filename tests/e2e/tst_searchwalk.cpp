// The dialog's search against a plain walk of the window's lists, on random
// notebooks: the walk selects every group and entry in the main window and
// compares with the text box, as the search has always done; the dialog reads
// the store. For the same Start and Continue from the same selection both must
// end on the same line with the same hit and the same SearchPos.

#include "support/searchdialog.h"

#include "ui/codepagetextedit_w.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "search/frmsearch.h"
#include "store/codepage.h"
#include "store/dostext.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QChar kY(0xFF); // ÿ

// Titles and texts are made of these: case variants, letters of the upper half
// whose capitals are elsewhere in the code page, letters whose lower case is
// not in it or is longer, and every kind of line break.
const QStringList kTokens = {u"key"_s,    u"KEY"_s,    u"Key"_s,    u"ab"_s,     u"a"_s,
                             u"b"_s,      u"\u00ff"_s, u"\u0178"_s, u"\u0161"_s, u"\u0160"_s,
                             u"\u00b5"_s, u"\u00df"_s, u"SS"_s,     u"\u00e9"_s, u"\u00c9"_s,
                             u"\u0153"_s, u"\u0152"_s, u" "_s,      u"x"_s,      u"?"_s,
                             u":"_s,      u"\u00ee"_s, u"\u20ac"_s};
const QStringList kBreaks = {u"\r\n"_s, u"\n"_s, u"\r"_s};
const QStringList kGroupNames = {u"Alpha"_s,     u"beta"_s,   u"Trash"_s,
                                 u"\u00ffZed"_s, u"Gam:ma"_s, u"delta"_s};

struct Outcome
{
    QString kind; // none, title, text
    int group = -1;
    int entry = -1;
    qsizetype start = -1;
};

class Random
{
public:
    explicit Random(quint32 seed) : random_(seed) {}
    int below(int n) { return int(random_.bounded(n)); }
    bool chance(int percent) { return below(100) < percent; }
    QString token() { return kTokens.at(below(int(kTokens.size()))); }
    QString tokens(int count, bool breaks)
    {
        QString out;
        for (int i = 0; i < count; ++i)
            out += breaks && chance(15) ? kBreaks.at(below(3)) : token();
        return out;
    }
    // The search text: tokens with their case shuffled, now and then a line
    // break or a capital whose lower case is two characters.
    QString searchText()
    {
        QString text = tokens(1 + below(3), false);
        if (chance(25))
            text.insert(below(int(text.size()) + 1), u'\n');
        for (QChar &c : text) {
            if (chance(30))
                c = chance(50) ? c.toUpper() : c.toLower();
        }
        if (chance(5))
            text += u'\u0130';
        return text.trimmed().isEmpty() ? u"a"_s : text;
    }

private:
    QRandomGenerator random_;
};

// Groups of 0 to 6 entries; titles of tokens (some without a file), texts of
// tokens and line breaks, a date line of tokens ended by CR LF or LF.
void writeRandomBook(AppFixture &nb, Random &r)
{
    QList<QStringList> groups;
    QStringList names = kGroupNames;
    const int groupCount = 3 + r.below(4);
    for (int g = 0; g < groupCount; ++g) {
        QStringList group{names.takeAt(r.below(int(names.size())))};
        const int entries = r.below(7);
        for (int e = 0; e < entries; ++e) {
            const QString title = (r.chance(10) ? u"gone "_s : QString()) +
                                  r.tokens(1 + r.below(2), false).trimmed() + QString::number(e);
            group << title;
        }
        groups << group;
    }
    nb.writeNotebook(groups);
    for (const QStringList &group : groups) {
        for (const QString &title : group.mid(1)) {
            if (title.startsWith(u"gone"_s))
                continue;
            QFile file(nb.path(u"FileStore/%1/%2.txt"_s.arg(OutDOS(group[0]), OutDOS(title))));
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            const QString date = r.tokens(2, false);
            const QString text = r.tokens(r.below(14), true);
            file.write(CodePage::encode(date).value() + (r.chance(50) ? "\r\n" : "\n") +
                       CodePage::encode(text).value());
        }
    }
}

// The search as the dialog has always made it: each group and entry selected in
// the main window in turn, its title and its text box compared.
Outcome walkTheLists(AppFixture &nb, int index, const QString &S, const QString &options,
                     int &SearchPos)
{
    QListWidget *groups = nb.w().lstGroup;
    QListWidget *entries = nb.w().lstEntry;
    EntryList &lists = nb.window()->entryList();
    const auto on = [&](int i) { return options.at(i) == u'1'; };
    const auto find = [&](const QString &text, qsizetype from) {
        return on(5) ? text.indexOf(S, from) : text.toLower().indexOf(S.toLower(), from);
    };
    int startGroup = 0;
    int startEntry = 0;
    if (index == 0) {
        SearchPos = 1;
    } else {
        startGroup = std::max(groups->currentRow(), 0);
        startEntry = std::max(entries->currentRow(), 0);
        SearchPos = std::max(SearchPos, 1);
    }
    const int keptGroup = groups->currentRow();
    const int keptEntry = entries->currentRow();
    bool first = true;
    const int lastGroup = on(4) ? startGroup : groups->count() - 1;
    for (int g = startGroup; g <= lastGroup; ++g) {
        const QString name = groups->item(g)->text();
        if ((!on(2) && name == u"Trash"_s) || (!on(3) && name.startsWith(kY)))
            continue;
        lists.selectGroupLine(g);
        const int lastEntry = on(4) ? startEntry : entries->count() - 2;
        for (int e = g == startGroup ? startEntry : 0; e <= lastEntry; ++e) {
            lists.selectEntryLine(e);
            if (on(0) && !first && find(entries->item(e)->text(), 0) >= 0)
                return {u"title"_s, g, e};
            if (on(1)) {
                const qsizetype at = find(boxText(textBox(nb)), SearchPos - 1);
                if (at >= 0) {
                    SearchPos = int(at + S.size() + 1);
                    return {u"text"_s, g, e, at};
                }
                SearchPos = 1;
            }
            first = false;
        }
    }
    lists.selectGroupLine(keptGroup);
    lists.selectEntryLine(keptEntry);
    return {u"none"_s, keptGroup, keptEntry};
}

QString describe(const Outcome &o)
{
    return u"%1 %2/%3 %4"_s.arg(o.kind).arg(o.group).arg(o.entry).arg(o.start);
}

// The dialog's outcome in the same terms.
Outcome dialogOutcome(const AppFixture &nb, const SearchDialog &dialog)
{
    const QString status = dialog.status();
    Outcome o{status == WordTable::english(108)   ? u"text"_s
              : status == WordTable::english(107) ? u"title"_s
              : status == WordTable::english(106) ? u"none"_s
                                                  : status,
              nb.w().lstGroup->currentRow(), nb.w().lstEntry->currentRow()};
    if (o.kind == u"text"_s) {
        const QTextCursor cursor = textBox(nb)->textCursor();
        o.start = cursor.selectionStart();
        if (cursor.selectionEnd() - cursor.selectionStart() != dialog.field()->text().size())
            o.kind = u"text of another length"_s;
    }
    return o;
}

} // namespace

class TestSearchWalk : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void matchesAWalkOfTheLists_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed = 1; seed <= 16; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }
    void matchesAWalkOfTheLists()
    {
        QFETCH(quint32, seed);
        Random r(seed);
        AppFixture nb;
        writeRandomBook(nb, r);
        QVERIFY(nb.start());
        EntryList &lists = nb.window()->entryList();
        SearchDialog dialog(nb);
        int walkPos = 0;
        for (int step = 0; step < 24; ++step) {
            QString options;
            for (int i = 0; i < 6; ++i)
                options += r.chance(i == 4 ? 20 : i == 5 ? 30 : 75) ? u'1' : u'0';
            if (options.startsWith(u"00"_s))
                options[1] = u'1';
            dialog.set(r.chance(50) ? r.searchText() : r.tokens(1, false), options);
            if (r.chance(35)) {
                lists.selectGroupLine(r.below(nb.w().lstGroup->count()));
                lists.selectEntryLine(r.below(nb.w().lstEntry->count()));
            }
            const int index = r.chance(30) ? 0 : 1;
            const int group = nb.w().lstGroup->currentRow();
            const int entry = nb.w().lstEntry->currentRow();

            const Outcome walked =
                walkTheLists(nb, index, dialog.field()->text(), options, walkPos);
            lists.selectGroupLine(group);
            lists.selectEntryLine(entry);
            QVERIFY(dialog.click(index));
            const QString context = u"step %1: %2 \"%3\" %4 from %5/%6"_s.arg(step)
                                        .arg(index ? u"Continue"_s : u"Start"_s)
                                        .arg(dialog.field()->text(), options)
                                        .arg(group)
                                        .arg(entry);
            QCOMPARE(describe(dialogOutcome(nb, dialog)) + u" | "_s + context,
                     describe(walked) + u" | "_s + context);
            QCOMPARE(dialog.dialog->searchPos(), walkPos);
        }
    }
};

QTEST_MAIN(TestSearchWalk)
#include "tst_searchwalk.moc"
