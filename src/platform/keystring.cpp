#include "platform/keystring.h"

#include <QHash>
#include <QLatin1StringView>
#include <QSet>

#include <algorithm>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

struct NamedKey
{
    QLatin1StringView name;
    Qt::Key key;
    QStringView text;
    bool keypad = false;
};

const NamedKey namedKeys[] = {
    {"BACKSPACE"_L1, Qt::Key_Backspace, u"\b"},
    {"BKSP"_L1, Qt::Key_Backspace, u"\b"},
    {"BS"_L1, Qt::Key_Backspace, u"\b"},
    {"BREAK"_L1, Qt::Key_Cancel, {}},
    {"CAPSLOCK"_L1, Qt::Key_CapsLock, {}},
    {"CLEAR"_L1, Qt::Key_Clear, {}},
    {"DEL"_L1, Qt::Key_Delete, u"\x7f"},
    {"DELETE"_L1, Qt::Key_Delete, u"\x7f"},
    {"DOWN"_L1, Qt::Key_Down, {}},
    {"END"_L1, Qt::Key_End, {}},
    {"ENTER"_L1, Qt::Key_Return, u"\r"},
    {"ESC"_L1, Qt::Key_Escape, u"\x1b"},
    {"ESCAPE"_L1, Qt::Key_Escape, u"\x1b"},
    {"HELP"_L1, Qt::Key_Help, {}},
    {"HOME"_L1, Qt::Key_Home, {}},
    {"INS"_L1, Qt::Key_Insert, {}},
    {"INSERT"_L1, Qt::Key_Insert, {}},
    {"LEFT"_L1, Qt::Key_Left, {}},
    {"NUMLOCK"_L1, Qt::Key_NumLock, {}},
    {"PGDN"_L1, Qt::Key_PageDown, {}},
    {"PGUP"_L1, Qt::Key_PageUp, {}},
    {"PRTSC"_L1, Qt::Key_Print, {}},
    {"RIGHT"_L1, Qt::Key_Right, {}},
    {"SCROLLLOCK"_L1, Qt::Key_ScrollLock, {}},
    {"TAB"_L1, Qt::Key_Tab, u"\t"},
    {"UP"_L1, Qt::Key_Up, {}},
    {"ADD"_L1, Qt::Key_Plus, u"+", true},
    {"SUBTRACT"_L1, Qt::Key_Minus, u"-", true},
    {"MULTIPLY"_L1, Qt::Key_Asterisk, u"*", true},
    {"DIVIDE"_L1, Qt::Key_Slash, u"/", true},
};

// Counts and key numbers are plain ASCII digits, without sign or blanks.
bool allDigits(QStringView s)
{
    return !s.isEmpty() &&
           std::all_of(s.begin(), s.end(), [](QChar d) { return d >= u'0' && d <= u'9'; });
}

// One key before its modifiers are applied.
struct BaseKey
{
    Qt::Key key = Qt::Key_unknown;
    QString text;
    bool keypad = false;
    char32_t character = 0; // set when the key is a typed character
};

std::optional<BaseKey> namedKey(QStringView name)
{
    for (const NamedKey &k : namedKeys) {
        if (name.compare(k.name, Qt::CaseInsensitive) == 0)
            return BaseKey{k.key, k.text.toString(), k.keypad};
    }
    if (name.startsWith(u'F', Qt::CaseInsensitive)) {
        const QStringView digits = name.mid(1);
        const int n = allDigits(digits) && digits.size() <= 2 ? digits.toInt() : 0;
        if (n >= 1 && n <= 16)
            return BaseKey{Qt::Key(Qt::Key_F1 + n - 1), {}};
    }
    return std::nullopt;
}

std::optional<BaseKey> characterKey(char32_t c)
{
    switch (c) {
    case U'\r':
    case U'\n':
        return BaseKey{Qt::Key_Return, u"\r"_s};
    case U'\t':
        return BaseKey{Qt::Key_Tab, u"\t"_s};
    default:
        break;
    }
    if (QChar::isNonCharacter(c) || QChar::isSurrogate(c) ||
        QChar::category(c) == QChar::Other_Control)
        return std::nullopt;
    // A keyboard reports a letter by its capital; Latin-1 letters whose capital
    // lies outside Latin-1 (ÿ, µ) keep their own code, as Qt's key codes do.
    char32_t key = QChar::toUpper(c);
    if (c < 0x100 && key >= 0x100)
        key = c;
    // Not QString::fromUcs4: it takes U+FEFF for a byte order mark and drops it.
    return BaseKey{Qt::Key(key), QStringView(QChar::fromUcs4(c)).toString(), false, c};
}

KeyStroke applyModifiers(const BaseKey &base, Qt::KeyboardModifiers modifiers)
{
    KeyStroke stroke{base.key, modifiers, base.text};
    if (base.keypad)
        stroke.modifiers |= Qt::KeypadModifier;
    if (base.character) {
        // A capital is typed with Shift, as it would be by hand.
        if (QChar::isUpper(base.character) && QChar::toLower(base.character) != base.character)
            stroke.modifiers |= Qt::ShiftModifier;
        if (modifiers & Qt::ShiftModifier)
            stroke.text = stroke.text.toUpper();
        const char32_t upper = QChar::toUpper(base.character);
        if ((modifiers & Qt::ControlModifier) && upper >= U'A' && upper <= U'Z')
            stroke.text = QChar(char16_t(upper - U'A' + 1));
    }
    if (stroke.key == Qt::Key_Tab && (stroke.modifiers & Qt::ShiftModifier))
        stroke.key = Qt::Key_Backtab;
    // Alt combinations choose commands; they never type a character.
    if (stroke.modifiers & Qt::AltModifier)
        stroke.text.clear();
    return stroke;
}

Qt::KeyboardModifier modifierOf(QChar c)
{
    switch (c.unicode()) {
    case u'+':
        return Qt::ShiftModifier;
    case u'^':
        return Qt::ControlModifier;
    case u'%':
        return Qt::AltModifier;
    default:
        return Qt::NoModifier;
    }
}

} // namespace

KeyString parseKeyString(QStringView keys)
{
    KeyString result;
    auto fail = [&result](const QString &why, qsizetype at) {
        result.strokes.clear();
        result.error = why + u" at position "_s + QString::number(at + 1);
        return result;
    };

    QList<Qt::KeyboardModifiers> groups; // the modifiers of each open parenthesis
    Qt::KeyboardModifiers pending;       // given for the next key or group
    qsizetype i = 0;
    while (i < keys.size()) {
        const qsizetype at = i;
        const QChar c = keys[i];
        if (const Qt::KeyboardModifier m = modifierOf(c); m != Qt::NoModifier) {
            if (pending & m)
                return fail(u"modifier given twice"_s, at);
            pending |= m;
            ++i;
            continue;
        }
        const Qt::KeyboardModifiers active =
            (groups.isEmpty() ? Qt::KeyboardModifiers() : groups.last()) | pending;
        if (c == u'(') {
            groups.append(active);
            pending = {};
            ++i;
            continue;
        }
        if (c == u')') {
            if (groups.isEmpty())
                return fail(u"')' without '('"_s, at);
            if (pending)
                return fail(u"modifier without a key"_s, at);
            groups.removeLast();
            ++i;
            continue;
        }
        if (c == u'}')
            return fail(u"'}' without '{'"_s, at);

        std::optional<BaseKey> base;
        int count = 1;
        if (c == u'{') {
            // "{}}" names the closing brace itself, so the search for the end
            // starts after a brace that follows the opening one directly.
            const qsizetype from = (i + 1 < keys.size() && keys[i + 1] == u'}') ? i + 2 : i + 1;
            const qsizetype close = keys.indexOf(u'}', from);
            if (close < 0)
                return fail(u"'{' without '}'"_s, at);
            QStringView inside = keys.mid(i + 1, close - i - 1);
            if (const qsizetype blank = inside.lastIndexOf(u' '); blank > 0) {
                const QStringView digits = inside.mid(blank + 1);
                if (allDigits(digits)) {
                    count = digits.size() <= 6 ? digits.toInt() : MaxRepeat + 1;
                    if (count > MaxRepeat)
                        return fail(u"repeat count too large"_s, at);
                    inside = inside.left(blank);
                }
            }
            const QList<uint> ucs4 = inside.toUcs4();
            base = ucs4.size() == 1 ? characterKey(ucs4.first()) : namedKey(inside);
            if (!base)
                return fail(u"unknown key {"_s + inside.toString() + u'}', at);
            i = close + 1;
        } else if (c == u'~') {
            base = BaseKey{Qt::Key_Return, u"\r"_s};
            ++i;
        } else {
            char32_t ch = c.unicode();
            ++i;
            if (c.isHighSurrogate() && i < keys.size() && keys[i].isLowSurrogate())
                ch = QChar::surrogateToUcs4(c, keys[i++]);
            base = characterKey(ch);
            if (!base)
                return fail(u"character that no key types"_s, at);
        }
        if (result.strokes.size() + count > MaxStrokes) {
            fail(u"more than %1 keys"_s.arg(MaxStrokes), at);
            result.tooLong = true;
            return result;
        }
        const KeyStroke stroke = applyModifiers(*base, active);
        for (int n = 0; n < count; ++n)
            result.strokes.append(stroke);
        pending = {};
    }
    if (pending)
        return fail(u"modifier without a key"_s, keys.size() - 1);
    if (!groups.isEmpty())
        return fail(u"'(' without ')'"_s, keys.size() - 1);
    return result;
}

namespace {

// Each string is counted once however often it is typed: F5 = "{F6 1000}"
// asks for F6's phrase a thousand times.
class KeyCounter
{
public:
    KeyCounter(const KeysTypedBy &typedBy, qsizetype limit) : typedBy_(typedBy), limit_(limit) {}

    qsizetype count(const QString &keys)
    {
        if (const auto known = counted_.constFind(keys); known != counted_.constEnd())
            return *known;
        if (open_.contains(keys))
            return limit_ + 1; // it types itself in turn, for ever
        const KeyString parsed = parseKeyString(keys);
        if (parsed.tooLong)
            return limit_ + 1;
        open_.insert(keys);
        qsizetype n = 0;
        for (const KeyStroke &stroke : parsed.strokes) {
            ++n;
            if (const std::optional<QString> typed = typedBy_(stroke))
                n += count(*typed);
            if (n > limit_) {
                n = limit_ + 1;
                break;
            }
        }
        open_.remove(keys);
        counted_.insert(keys, n);
        return n;
    }

private:
    const KeysTypedBy &typedBy_;
    const qsizetype limit_;
    QHash<QString, qsizetype> counted_;
    QSet<QString> open_;
};

} // namespace

qsizetype countKeysPressed(QStringView keys, const KeysTypedBy &typedBy, qsizetype limit)
{
    if (!typedBy) {
        const KeyString parsed = parseKeyString(keys);
        return parsed.tooLong ? limit + 1 : std::min(parsed.strokes.size(), limit + 1);
    }
    return KeyCounter(typedBy, limit).count(keys.toString());
}

QString escapeKeyString(QStringView text)
{
    QString keys;
    keys.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'+':
        case u'^':
        case u'%':
        case u'~':
        case u'(':
        case u')':
        case u'{':
        case u'}':
            keys += u'{';
            keys += c;
            keys += u'}';
            break;
        default:
            keys += c;
        }
    }
    return keys;
}
