// The explanation of a refused move (the captions of the memory items:
// tst_startup's "translated captions" row).

#include "i18n/wordtable.h"
#include "navigation/moverefusal.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Built on first use: the built-in words are set up with the other statics.
const Words &english()
{
    static const WordTable table;
    static const int language = 0;
    static const Words words(table, language);
    return words;
}

} // namespace

class TestMemories : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the window's keys cannot show (tst_keymap has the selected group,
    // a group gone, a free memory and the lock): the selected group told
    // before a line without a file, a hidden ÿ-group, and a translation's own
    // word 140.
    void moveRefusal()
    {
        MoveRefusal refusal{0, u"Work/Shopping"_s, u"Work"_s};
        refusal.fileMissing = true; // the selected group is told first
        QCOMPARE(refusal.text(english()), u"The entry is already in the group of Memory 1."_s);
        refusal.selectedGroup = u"Notes"_s;
        QCOMPARE(refusal.text(english()), u"Only real files can be moved !"_s);
        refusal.fileMissing = false;
        refusal.memory = u"\u00FFSecret/x"_s;
        refusal.hideYGroups = true;
        QCOMPARE(refusal.text(english()), WordTable::english(77));
        refusal.hideYGroups = false;
        QCOMPARE(refusal.text(english()), WordTable::english(139) + u" 1"_s);
        WordTable table;
        table.word(1, 140) = u"Schon dort"_s;
        const int language = 1;
        const MoveRefusal here{2, u"Work/x"_s, u"Work"_s};
        QCOMPARE(here.text(Words(table, language)), u"Schon dort"_s);
    }
};

QTEST_GUILESS_MAIN(TestMemories)
#include "tst_memories.moc"
