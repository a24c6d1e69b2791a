#pragma once

#include <QByteArray>
#include <QString>

// A search text compared with entry files as they lie on disk: their bytes in
// the code page, without decoding them. An entry's text box shows the file
// after its date line, with every line break as one LF; a search text without
// a line break is found in the bytes exactly where it is found in that text,
// so only a search text holding a LF needs the text's line breaks rewritten.
class TextNeedle
{
public:
    TextNeedle(const QString &searchText, bool caseSensitive);

    // Whether the text of the entry file `bytes` (date line included) holds the
    // search text. The bytes are lowered and rewritten in place as needed.
    bool foundIn(char *bytes, qsizetype size) const;

private:
    QByteArray needle_;
    bool possible_ = false;   // every character is in the code page and none is a CR
    bool lineBreaks_ = false; // holds a LF
    bool caseSensitive_ = false;
};

// The lower case of every byte of the code page, as SearchRules::lowered
// lowers the character it stands for; exposed for the tests.
unsigned char lowerCodePageByte(unsigned char byte);
