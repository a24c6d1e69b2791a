#include "ui/keymap.h"

#include <QTest>

using KeyMap::Command;
using KeyMap::Place;

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(Command)

class TestKeyMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each handler tests the keys in one order and acts on the first match.
    void handlerOrder_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<QList<int>>("keys");
        QTest::newRow("entry list")
            << Place::EntryList
            << QList<int>{Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Left,   Qt::Key_Up,
                          Qt::Key_Right,  Qt::Key_Down,  Qt::Key_Insert, Qt::Key_Delete, Qt::Key_F1,
                          Qt::Key_F9,     Qt::Key_F11,   Qt::Key_F12,    Qt::Key_F5};
        QTest::newRow("text") << Place::Text
                              << QList<int>{Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape,
                                            Qt::Key_Delete, Qt::Key_F1,    Qt::Key_F2,
                                            Qt::Key_F3,     Qt::Key_F4,    Qt::Key_F5,
                                            Qt::Key_F11,    Qt::Key_F12};
    }
    void handlerOrder()
    {
        QFETCH(Place, place);
        QFETCH(QList<int>, keys);
        QList<int> seen;
        for (const KeyMap::Row &row : KeyMap::rows(place)) {
            if (seen.isEmpty() || seen.last() != row.first)
                seen << row.first;
        }
        QCOMPARE(seen, keys);
    }

    // "Any modifier" against "Shift or Ctrl alone": combinations find no row
    // where a single modifier is asked for.
    void modifiers_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("command"); // -1: no row
        const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier, alt = Qt::AltModifier;
        QTest::newRow("Left") << Place::EntryList << int(Qt::Key_Left) << 0
                              << int(Command::PreviousGroup);
        QTest::newRow("Alt+Left") << Place::EntryList << int(Qt::Key_Left) << alt
                                  << int(Command::IndentLeft);
        QTest::newRow("Up: the list's own") << Place::EntryList << int(Qt::Key_Up) << 0 << -1;
        QTest::newRow("keypad Down") << Place::EntryList << int(Qt::Key_Down)
                                     << int(Qt::KeypadModifier) << int(Command::CursorPadDown);
        QTest::newRow("Enter: line break") << Place::Text << int(Qt::Key_Return) << 0 << -1;
        QTest::newRow("Shift+Enter")
            << Place::Text << int(Qt::Key_Return) << shift << int(Command::OkKeepingKeyPress);
        QTest::newRow("F7") << Place::Text << int(Qt::Key_F7) << 0 << int(Command::CallPhrase);
        QTest::newRow("Shift+F8") << Place::Text << int(Qt::Key_F8) << shift
                                  << int(Command::SetPhrase);
        QTest::newRow("Ctrl+Shift+F5") << Place::Text << int(Qt::Key_F5) << (ctrl | shift) << -1;
        QTest::newRow("mask F3") << Place::Mask << int(Qt::Key_F3) << 0 << -1;
        QTest::newRow("group list Down")
            << Place::GroupList << int(Qt::Key_Down) << ctrl << int(Command::GroupListDown);
        QTest::newRow("group list Left: passed on")
            << Place::GroupList << int(Qt::Key_Left) << 0 << -1;
    }
    void modifiers()
    {
        QFETCH(Place, place);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, command);
        const KeyMap::Row *row = KeyMap::find(place, key, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(row ? int(row->command) : -1, command);
    }
};

QTEST_GUILESS_MAIN(TestKeyMap)
#include "tst_keymap.moc"
