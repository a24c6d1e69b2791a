#include "notebook/uniquename.h"
#include "store/notetable.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;
using UniqueName::Refusal;
using L = QStringList;

namespace {

// Group names in column 0; titles of groups 0 and 1.
NoteTable tableWith(const L &groups, const L &titles0 = {}, const L &titles1 = {})
{
    NoteTable t;
    for (int g = 0; g < groups.size(); ++g)
        t.cell(g, 0) = groups[g];
    for (int c = 0; c < titles0.size(); ++c)
        t.cell(0, c + 1) = titles0[c];
    for (int c = 0; c < titles1.size(); ++c)
        t.cell(1, c + 1) = titles1[c];
    return t;
}

} // namespace

class TestUniqueName : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void groupName_data()
    {
        QTest::addColumn<L>("groups");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << L{u"A"_s} << u"B"_s << u"B"_s;
        QTest::newRow("taken twice") << L{u"A_"_s, u"A"_s} << u"A"_s << u"A__"_s;
        QTest::newRow("case matters") << L{u"A"_s} << u"a"_s << u"a"_s;
        QTest::newRow("stored form") << L{u"a\u00D0b"_s} << u"a:b"_s << u"a:b_"_s;
        QTest::newRow("hidden y-group") << L{u"A"_s, u"\u00FFX"_s} << u"\u00FFX"_s << u"\u00FFX_"_s;
        QTest::newRow("leading blank") << L{u"A"_s} << u" A"_s << u" A_"_s;
        // Unused rows hold "": a blank answer must stay blank to be refused.
        QTest::newRow("blank") << L{u"A"_s} << u"  "_s << u"  "_s;
    }
    void groupName()
    {
        QFETCH(L, groups);
        QFETCH(QString, answer);
        QFETCH(QString, expected);
        QCOMPARE(UniqueName::uniqueGroupName(tableWith(groups), answer), expected);
    }

    void title_data()
    {
        QTest::addColumn<L>("titles");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected");
        QTest::newRow("two suffixes") << L{u"x"_s, u"x_"_s} << u"x"_s << u"x__"_s;
        QTest::newRow("out of order") << L{u"x__"_s, u"x"_s, u"x_"_s} << u"x"_s << u"x___"_s;
        QTest::newRow("stored form") << L{u"a\u00CFb"_s} << u"a/b"_s << u"a/b_"_s;
        L full;
        for (int i = 0; i < NoteTable::kMaxEntries; ++i)
            full << u"t%1"_s.arg(i);
        QTest::newRow("column 999") << full << u"t998"_s << u"t998_"_s;
    }
    void title()
    {
        QFETCH(L, titles);
        QFETCH(QString, title);
        QFETCH(QString, expected);
        // Group 1 holds the result: another group's titles never count.
        const NoteTable t = tableWith({u"G"_s, u"H"_s}, titles, {expected});
        QCOMPARE(UniqueName::uniqueTitle(t, 0, title), expected);
    }

    void moveTitle_data()
    {
        QTest::addColumn<L>("source"); // the moving entry X is column 1
        QTest::addColumn<L>("target");
        QTest::addColumn<QString>("expected");
        QTest::newRow("own title skipped") << L{u"X"_s} << L{u"Y"_s} << u"X"_s;
        QTest::newRow("target holds it") << L{u"X"_s} << L{u"X"_s} << u"X_"_s;
        QTest::newRow("then the source") << L{u"X"_s, u"X_"_s} << L{u"X"_s} << u"X__"_s;
        QTest::newRow("then the target again")
            << L{u"X"_s, u"X_"_s} << L{u"X"_s, u"X__"_s} << u"X___"_s;
    }
    void moveTitle()
    {
        QFETCH(L, source);
        QFETCH(L, target);
        QFETCH(QString, expected);
        const NoteTable t = tableWith({u"S"_s, u"T"_s}, source, target);
        QCOMPARE(UniqueName::uniqueMoveTitle(t, 0, 1, 1, u"X"_s), expected);
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("group");
        QTest::addColumn<QString>("name");
        QTest::addColumn<Refusal>("expected");
        const QString y127(127, u'\u00FF'); // two bytes each in a file name
        QTest::newRow("dot") << true << u"."_s << Refusal::Empty;
        QTest::newRow("tab only") << true << u"\t"_s << Refusal::Empty;
        QTest::newRow("title dot dot") << false << u".."_s << Refusal::None;
        QTest::newRow("title blanks") << false << u"  "_s << Refusal::Empty;
        QTest::newRow("outside code page") << false << u"a\u0416b"_s << Refusal::Unencodable;
        QTest::newRow("line feed") << true << u"a\nb"_s << Refusal::LineBreak;
        QTest::newRow("group 255 bytes") << true << y127 + u"a"_s << Refusal::None;
        QTest::newRow("group 256 bytes") << true << y127 + u"ab"_s << Refusal::TooLong;
        QTest::newRow("title 251 + .txt") << false << QString(251, u'a') << Refusal::None;
        QTest::newRow("title 252 + .txt") << false << QString(252, u'a') << Refusal::TooLong;
        // 130 characters typed, but "/" is stored as a two-byte letter.
        QTest::newRow("counted stored") << false << QString(130, u'/') << Refusal::TooLong;
    }
    void refusals()
    {
        QFETCH(bool, group);
        QFETCH(QString, name);
        QFETCH(Refusal, expected);
        QCOMPARE(group ? UniqueName::checkGroupName(name) : UniqueName::checkEntryTitle(name),
                 expected);
    }
};

QTEST_GUILESS_MAIN(TestUniqueName)
#include "tst_uniquename.moc"
