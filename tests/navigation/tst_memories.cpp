// The captions of the memory items and the explanation of a refused move.

#include "i18n/captiontext.h"
#include "i18n/wordtable.h"
#include "navigation/memorycaptions.h"
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
    // The Go To, Move To and Save To items of memory n: prefix, "=>", two
    // blanks, then the memory (Move To: its group part), 50 characters at most.
    // An entry memory's three items: tst_keymap's "list Shift+F5" row.
    void captions_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("memory");
        QTest::addColumn<QString>("goTo");
        QTest::addColumn<QString>("moveTo");
        QTest::addColumn<QString>("set");
        QTest::newRow("free, memory 4")
            << 3 << u"free/free"_s << u"Memory &4  [F8]  =>  free/free"_s
            << u"Memory &4  [CTRL] + [F8]  =>  free"_s
            << u"Memory &4  [SH] + [F8]  =>  free/free"_s;
        const QString group(30, u'g');
        const QString entry(29, u'e'); // 60 characters in all
        QTest::newRow("60 characters")
            << 1 << group + u'/' + entry
            << u"Memory &2  [F6]  =>  "_s + group + u'/' + entry.left(19) + u"..."_s
            << u"Memory &2  [CTRL] + [F6]  =>  "_s + group + u"..."_s
            << u"Memory &2  [SH] + [F6]  =>  "_s + group + u'/' + entry.left(19) + u"..."_s;
        const QString fifty(49, u'x');
        QTest::newRow("exactly 50")
            << 2 << fifty + u'/' << u"Memory &3  [F7]  =>  "_s + fifty + u'/'
            << u"Memory &3  [CTRL] + [F7]  =>  "_s + fifty
            << u"Memory &3  [SH] + [F7]  =>  "_s + fifty + u'/';
        // An "&" of a title is shown, not taken for an access key.
        QTest::newRow("ampersand")
            << 0 << u"R&D/x"_s << u"Memory &1  [F5]  =>  R&&D/x"_s
            << u"Memory &1  [CTRL] + [F5]  =>  R&&D"_s << u"Memory &1  [SH] + [F5]  =>  R&&D/x"_s;
    }
    void captions()
    {
        QFETCH(int, n);
        QFETCH(QString, memory);
        QFETCH(QString, goTo);
        QFETCH(QString, moveTo);
        QFETCH(QString, set);
        using namespace MemoryCaptions;
        QCOMPARE(captionWithText(goToPrefix(english(), n), shownMemory(memory)), goTo);
        QCOMPARE(captionWithText(moveToPrefix(english(), n), shownGroupPart(memory)), moveTo);
        QCOMPARE(captionWithText(setPrefix(english(), n), shownMemory(memory)), set);
    }

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
