#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Windows-1252, the single-byte code page of every file the program reads and
// writes. The five bytes the code page leaves undefined map to the C1 control
// of the same value, so every byte read comes back unchanged when written.
namespace CodePage {

QString decode(const QByteArray &bytes);
// Writes the text of `bytes` to `dst`, which has room for bytes.size()
// characters; returns that count.
qsizetype decodeTo(QByteArrayView bytes, QChar *dst);
// The bytes of `text`, or nothing when a character has no byte in the code page.
std::optional<QByteArray> encode(const QString &text);
// Writes the bytes of `text` to `dst`, which has room for text.size() bytes.
// Returns the index of the first character the code page cannot hold (what was
// written up to it is left in `dst`), or -1 when every character was written.
qsizetype encodeTo(QStringView text, char *dst);
bool canEncode(QChar c);
// The byte of `u`, or -1 when the code page has none.
int byteFor(char16_t u);
// Index of the first character that the code page cannot hold, or -1.
qsizetype firstUnencodable(const QString &text);

} // namespace CodePage
