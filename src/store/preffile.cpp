#include "store/preffile.h"

#include "store/codepage.h"
#include "store/preferences.h"

#include <algorithm>
#include <limits>
#include <optional>

using namespace Qt::StringLiterals;

namespace PrefFile {

namespace {

constexpr int kStorePathLine = 22;

// The lines of a file, with the line number and reason of the first one that
// could not be taken.
class LineSource
{
public:
    explicit LineSource(QByteArrayView bytes) : lines_(TextLines::split(bytes)) {}

    bool has(int lineNo) const { return lineNo <= lines_.size(); }

    QString text(int lineNo)
    {
        if (!has(lineNo)) {
            fail(lineNo, u"missing"_s);
            return QString();
        }
        const QByteArrayView line = lines_.at(lineNo - 1);
        return CodePage::decode(QByteArray::fromRawData(line.data(), line.size()));
    }

    // Blanks around the number are skipped and an empty line is 0. Anything
    // else that is not a 16-bit decimal number is damage.
    int number(int lineNo)
    {
        if (!has(lineNo)) {
            fail(lineNo, u"missing"_s);
            return 0;
        }
        const std::optional<int> value = optionalNumber(lineNo);
        if (!value)
            fail(lineNo, u"not a number from -32768 to 32767"_s);
        return value.value_or(0);
    }

    // A line that may be missing or damaged without making the file unreadable.
    std::optional<int> optionalNumber(int lineNo) const
    {
        if (!has(lineNo))
            return std::nullopt;
        const QByteArray digits = lines_.at(lineNo - 1).toByteArray().trimmed();
        if (digits.isEmpty())
            return 0;
        bool ok = false;
        const int value = digits.toInt(&ok, 10);
        if (!ok || value < std::numeric_limits<qint16>::min() ||
            value > std::numeric_limits<qint16>::max())
            return std::nullopt;
        return value;
    }

    QString optionalText(int lineNo, const QString &fallback)
    {
        return has(lineNo) ? text(lineNo) : fallback;
    }

    bool failed() const { return failedLine_ != 0; }
    ParseResult result() const { return {failedLine_, what_}; }

private:
    void fail(int lineNo, const QString &what)
    {
        if (failedLine_ == 0) {
            failedLine_ = lineNo;
            what_ = what;
        }
    }

    QList<QByteArrayView> lines_;
    int failedLine_ = 0;
    QString what_;
};

int notSetToZero(int value)
{
    return value == -1 ? 0 : value;
}

QString notSetTo(const QString &value, const QString &replacement)
{
    return value == u"-1"_s ? replacement : value;
}

QString emptyTo(const QString &value, const QString &replacement)
{
    return value.isEmpty() ? replacement : value;
}

QByteArray numberLine(int value)
{
    // The file holds 16-bit values; a larger one (a window on a very large
    // screen, in twips) is saved at the limit instead of making pref.dat unreadable.
    value = std::clamp<int>(value, std::numeric_limits<qint16>::min(),
                            std::numeric_limits<qint16>::max());
    QByteArray line = QByteArray::number(value);
    if (value >= 0)
        line.prepend(' ');
    return line;
}

} // namespace

IoError ParseResult::error() const
{
    return IoError::custom(u"Damaged preferences, line %1: %2"_s.arg(QString::number(line), what));
}

QString header(const QString &programVersion)
{
    return u"pref Plimsa "_s + programVersion;
}

ParseResult parse(QByteArrayView bytes, Preferences &prefs)
{
    LineSource in(bytes);
    Preferences p = prefs;

    in.text(1);
    p.language = in.number(2);
    p.StartWindowState = in.number(3);
    p.StartLocked = in.number(4);
    p.StartGroup = in.text(5);
    in.text(6);
    p.FontName = in.text(7);
    p.FontSize = in.number(8);
    p.FontBold = in.number(9);
    p.SortDescending = in.number(10);
    in.text(11);
    p.WindowTop = in.number(12);
    p.WindowLeft = in.number(13);
    p.WindowHeight = in.number(14);
    p.WindowWidth = in.number(15);
    p.StartViewMask = notSetToZero(in.number(16));
    p.FrameTop = in.number(17) - 100;
    if (p.FrameTop < 500)
        p.FrameTop = 840;
    p.FrameLeft1 = in.number(18);
    if (p.FrameLeft1 < 100)
        p.FrameLeft1 = 2975;
    p.FrameLeft2 = in.number(19);
    if (p.FrameLeft2 < 100)
        p.FrameLeft2 = 3600;
    p.GroupListWhite = notSetToZero(in.number(20));
    p.HideYGroups = notSetToZero(in.number(21));
    p.StorePath = notSetTo(in.text(kStorePathLine), u"preset"_s);
    for (int i = 0; i < 4; ++i)
        p.PositionMemory[i] = notSetTo(in.text(23 + i), u"free/free"_s);
    for (int i = 0; i < 4; ++i)
        p.PhraseMemory[i] = notSetTo(in.text(27 + i), u"free"_s);
    if (in.failed())
        return in.result();
    // The language picks a row of the word table; another value would have
    // nothing to show.
    if (p.language < 0 || p.language > 9)
        return {2, u"not a language from 0 to 9"_s};

    // Lines 31..43 came later; a file without them (or with a damaged last
    // line) still starts, with the values left unset.
    for (int b = 0; b < 4; ++b) {
        const int first = 31 + 3 * b;
        p.IndivButton[b][0] = emptyTo(in.optionalText(first, QString()), u"NORMAL"_s);
        p.IndivButton[b][1] = emptyTo(in.optionalText(first + 1, QString()), u"free"_s);
        p.IndivButton[b][2] = in.optionalText(first + 2, QString());
    }
    p.StartWordwrap = in.optionalNumber(kLines).value_or(0);

    prefs = p;
    return {};
}

TextLines::Encoded serialize(const Preferences &p, const QString &programVersion)
{
    TextLines::Writer out(1024);
    out.line(header(programVersion));
    out.asciiLine(numberLine(p.language));
    out.asciiLine(numberLine(p.StartWindowState));
    out.asciiLine(numberLine(p.StartLocked));
    out.line(p.StartGroup);
    out.asciiLine({});
    out.line(p.FontName);
    out.asciiLine(numberLine(p.FontSize));
    out.asciiLine(numberLine(p.FontBold));
    // The Z to A sort lasts for one run only.
    out.asciiLine(numberLine(0));
    out.asciiLine({});
    out.asciiLine(numberLine(p.WindowTop));
    out.asciiLine(numberLine(p.WindowLeft));
    out.asciiLine(numberLine(p.WindowHeight));
    out.asciiLine(numberLine(p.WindowWidth));
    out.asciiLine(numberLine(p.StartViewMask));
    out.asciiLine(numberLine(p.FrameTop));
    out.asciiLine(numberLine(p.FrameLeft1));
    out.asciiLine(numberLine(p.FrameLeft2));
    out.asciiLine(numberLine(p.GroupListWhite));
    out.asciiLine(numberLine(p.HideYGroups));
    out.line(p.StorePath);
    for (const QString &memory : p.PositionMemory)
        out.line(memory);
    for (const QString &phrase : p.PhraseMemory)
        out.line(phrase);
    for (const auto &button : p.IndivButton) {
        for (const QString &field : button)
            out.line(field);
    }
    out.asciiLine(numberLine(p.StartWordwrap));
    return out.finish();
}

} // namespace PrefFile
