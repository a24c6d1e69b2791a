// The uniqueness suffixes where the organizing tests (tst_organizing) cannot
// reach: a full group, and a move whose suffix must be checked again in both
// groups.

#include "notebook/uniquename.h"
#include "store/notetable.h"

#include <QTest>

#include "support/testsupport.h"

using namespace Qt::Literals::StringLiterals;

class TestNotebookEdit : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // "_" is appended until the title is free, checked again after each one;
    // the titles of another group never count, and the last column does.
    void titleSuffix()
    {
        const NoteTable t = tableOf({{u"G"_s, u"x__"_s, u"x"_s, u"x_"_s}, {u"H"_s, u"x___"_s}});
        QCOMPARE(UniqueName::uniqueTitle(t, 0, u"x"_s), u"x___"_s);
        QStringList full{u"G"_s};
        for (int i = 0; i < NoteTable::kMaxEntries; ++i)
            full << u"t%1"_s.arg(i);
        QCOMPARE(UniqueName::uniqueTitle(tableOf({full}), 0, u"t998"_s), u"t998_"_s);
    }

    // X (column 1 of S) moves into T: its title must be free in T and, its own
    // column left out, in S; each "_" added sends the check back to T.
    void moveTitle()
    {
        const NoteTable t = tableOf({{u"S"_s, u"X"_s, u"X_"_s}, {u"T"_s, u"X"_s, u"X__"_s}});
        QCOMPARE(UniqueName::uniqueMoveTitle(t, 0, 1, 1, u"X"_s), u"X___"_s);
    }
};

QTEST_GUILESS_MAIN(TestNotebookEdit)
#include "tst_notebookedit.moc"
