#pragma once

#include "store/ioerror.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Lines of the program's text files. Readers take CR LF, LF and a lone CR as a
// line end (files edited by hand on other systems); writers end every line
// with CR LF, byte for byte as the files have always been.
namespace TextLines {

// Walks the lines of `bytes`. A break at the very end ends the last line; it
// does not start an empty one after it.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : data_(bytes.data()), size_(bytes.size()) {}

    // The next line without its break; false when nothing is left.
    bool next(QByteArrayView &line);
    bool atEnd() const { return pos_ == size_; }
    // Everything after the lines read so far, exactly as it stands.
    QByteArrayView rest() const { return QByteArrayView(data_ + pos_, size_ - pos_); }

private:
    const char *data_;
    qsizetype size_;
    qsizetype pos_ = 0;
};

QList<QByteArrayView> split(QByteArrayView bytes);
// The same rules on text that is already decoded.
QStringList splitText(const QString &text);
// The same lines as views into `text`, which must outlive them.
QList<QStringView> textLineViews(QStringView text);
// `text` with every line break (CR LF, LF or a lone CR) written as CR LF.
QString toCrLf(const QString &text);

// Bytes of a file read a part at a time, decoded from the code page with every
// line break (CR LF, LF or a lone CR) as LF alone: the form a text box holds.
class BoxTextDecoder
{
public:
    // The text of the next part. A CR LF split between two parts is one break.
    QString decode(QByteArrayView part);
    // The next part follows a line ended by `lineEnd` (CR or LF), read elsewhere.
    void followLineEnd(char lineEnd) { afterCr_ = lineEnd == '\r'; }

private:
    bool afterCr_ = false;
};

// File content built line by line, or why it cannot be written.
struct Encoded
{
    QByteArray bytes;
    std::optional<IoError> error;
    explicit operator bool() const { return !error; }
};

// Builds a file in the code page, each line followed by CR LF. A line with a
// character the code page cannot hold is refused rather than written with a
// stand-in, and so is a line holding a break of its own: it would read back
// as two lines and shift every line after it.
class Writer
{
public:
    // `reuse` lends its storage (the bytes of an earlier file, say), so that a
    // file written again and again does not take fresh memory every time.
    explicit Writer(qsizetype expectedBytes = 0, QByteArray reuse = {});

    // False (and nothing more is added) once a line has been refused. `prefix`
    // is plain ASCII put before the text.
    bool line(QStringView text, QByteArrayView prefix = {});
    // Each line of `text` (textLineViews) as line() writes it.
    bool lines(QStringView text);
    // A line of plain ASCII that needs no checks (headers, numbers).
    void asciiLine(QByteArrayView text);
    Encoded finish();

private:
    char *room(qsizetype bytes);

    QByteArray buffer_;
    qsizetype used_ = 0;
    int lines_ = 0;
    std::optional<IoError> error_;
};

} // namespace TextLines
