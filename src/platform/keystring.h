#pragma once

#include <QList>
#include <QString>
#include <QStringView>
#include <Qt>

#include <functional>
#include <optional>

// Key strings: the text the program types into itself (phrases, dates, the
// individual buttons' keys, "{F10}{UP}{UP}").
//
//   "+" Shift, "^" Ctrl, "%" Alt   the next key or parenthesised group: "^{F5}", "+({F5}{F6})"
//   "~"                            Enter
//   "{NAME}", "{NAME n}"           a named key, n times: "{END}", "{LEFT 3}" (names in any case)
//   "{c}", "{c n}"                 the character c itself, n times: "{+}", "{(}", "{}}", "{x 5}"
//   any other character            typed as it is: "a", "€", "Ä"
//
// Brackets "[" "]" mean nothing special: they type themselves bare and in
// braces alike, so a phrase holding them types what it shows.
// Malformed strings (an unknown key name, a brace or parenthesis left open or
// closed without opening, a modifier with no key after it, the same modifier
// twice, a count over MaxRepeat, more than MaxStrokes keys in all) give an
// error and no keys at all.

struct KeyStroke
{
    Qt::Key key = Qt::Key_unknown;
    // Shift, Ctrl, Alt held for this key; KeypadModifier for the keypad keys.
    Qt::KeyboardModifiers modifiers;
    // What the key types, as a keyboard delivers it: the character (capital
    // with Shift), a control character for Ctrl with a letter, "\r" for Enter,
    // "\t", "\b", "\x1b", "\x7f" for Tab, Backspace, Esc, Delete; nothing with
    // Alt and nothing for keys that type no character.
    QString text;

    friend bool operator==(const KeyStroke &, const KeyStroke &) = default;
};

struct KeyString
{
    QList<KeyStroke> strokes;
    QString error;        // empty when the string is well-formed
    bool tooLong = false; // the error is that it holds more than MaxStrokes keys

    bool isValid() const { return error.isEmpty(); }
};

// "{x 100000}" would freeze the window for minutes; such a count is refused.
constexpr int MaxRepeat = 1000;
// The most keys one string may type: about ten seconds of typing, and some
// hundred times a phrase typed by hand. A phrase from a damaged pref.dat
// could otherwise type for minutes and fill the memory with its keys.
constexpr int MaxStrokes = 10000;

KeyString parseKeyString(QStringView keys);

// What a key, once typed, types in turn: a phrase key its phrase. Nothing
// for a key whose command types no keys.
using KeysTypedBy = std::function<std::optional<QString>(const KeyStroke &)>;

// The keys a string presses in all: each of its keys, and with each the keys
// it types in turn, however deep. Counting stops past `limit` and gives
// limit + 1, also for keys that type themselves in turn (F5 typing "{F5}").
// A malformed string presses no key.
qsizetype countKeysPressed(QStringView keys, const KeysTypedBy &typedBy,
                           qsizetype limit = MaxStrokes);

// A key string that types `text` as it stands: "+", "^", "%", "~", the
// parentheses and the braces are put in braces.
// For texts that are no key strings (a date, a time), where a character of
// the locale's forms must not act as a key.
QString escapeKeyString(QStringView text);
