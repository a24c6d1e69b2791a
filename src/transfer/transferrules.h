#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

// The rules that bring a plain text file into the notebook and take an entry
// out again, apart from any file or window: decoding, the stand-ins for
// characters the code page cannot hold, names made valid, the date line.
namespace TransferRules {

enum class Encoding { Utf8, Utf8Bom, Utf16Le, Utf16Be, Windows1252 };

struct Decoded
{
    QString text;
    Encoding encoding = Encoding::Utf8;
};

// UTF-8 with or without a byte order mark, UTF-16 with one, else Windows-1252
// (which every byte sequence is). Composed characters are put together (NFC),
// so an "e" with a combining accent becomes the one letter the code page has.
Decoded decodeText(QByteArrayView bytes);

// The text of a file as an entry file holds it: code-page bytes, every line
// break (CR LF, LF, a lone CR) as CR LF, one at the end of a text that is not
// empty. Read straight from UTF-8 (with or without a byte order mark), the
// form of almost every note; nothing where the bytes are not such UTF-8, or
// hold a NUL or a character the code page cannot hold: decodeText and
// toStoredText then take them, and give the same for what this reads.
std::optional<QByteArray> storedFromUtf8(QByteArrayView bytes);

// The distinct characters of `text` the code page cannot hold, in order of
// first appearance; a surrogate pair is one character.
QStringList unencodableCharacters(const QString &text);

// `text` with every character the code page cannot hold replaced by a close
// equivalent: the letter without its accent, a dash for a dash, "->" for an
// arrow; invisible format characters dropped; "?" where nothing is close.
QString closeEquivalent(const QString &text);

// A title from a file name without its extension, in shown form: line breaks
// and other controls but tabs become blanks, characters the code page cannot
// hold get their close equivalent, an empty name becomes "Untitled", and the
// name is cut so that its stored form plus room for `reserve` suffixes fits a
// file name. A valid title comes back as it was.
QString titleFromName(const QString &baseName, int reserve = 0);
// The same for a group name (a folder's path below the imported folder).
QString groupNameFromPath(const QString &path, int reserve = 0);

// The file name of an exported entry or group folder: valid on every common
// file system (no / \ : * ? " < > |, no controls, no trailing dot or blank, no
// reserved device name such as CON or LPT1), at most 200 bytes of UTF-8 before
// `extension`. Never empty.
QString safeFileName(const QString &shownName, const QString &extension = {});
// `name` made unique among `taken` (compared without case, as a file system
// may): " (2)", " (3)", ... before the extension. The result is added to `taken`.
QString uniqueFileName(const QString &name, const QString &extension, QStringList &taken);

// The date line a save writes, for a file's modification time.
QString dateLine(const QDateTime &time, const QLocale &locale);
// The moment a date line stands for, read in `locale` (or the C locale, the
// fallback of the line's writer); nothing when the line is not one.
std::optional<QDateTime> parseDateLine(const QString &line, const QLocale &locale);

// parseDateLine for many lines in one locale: the formats are read once, and
// a line in the numeric form a save writes is read without QLocale's parser,
// which is slow enough to cost an export a fifth of its time. Anything else
// still goes to QLocale, so both read a line alike.
class DateLineReader
{
public:
    explicit DateLineReader(const QLocale &locale);
    ~DateLineReader();
    DateLineReader(const DateLineReader &) = delete;
    DateLineReader &operator=(const DateLineReader &) = delete;

    std::optional<QDateTime> read(const QString &line) const;

    struct Form;

private:
    std::vector<std::unique_ptr<Form>> forms_; // the locale's, then the C locale's
    int currentYear_;
};

// Text as stored (CR LF) as the UTF-8 of an exported file (LF), and back.
QByteArray toExportedBytes(const QString &stored);
QString toStoredText(const QString &plain);

} // namespace TransferRules
