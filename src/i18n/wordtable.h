#pragma once

#include "store/ioerror.h"
#include "store/safewrite.h"
#include "store/textlines.h"

#include <QString>
#include <array>
#include <optional>

// Every caption and message by (language, word number). Language 0 is the
// built-in English; languages 1..9 come from Language.dat.
class WordTable
{
public:
    static constexpr int kLanguages = 10;
    static constexpr int kWords = 151;
    static constexpr int kFileLines = (kLanguages - 1) * kWords; // 1359

    WordTable(); // English filled in, languages 1..9 empty

    const QString &word(int language, int k) const { return words_.at(language).at(k); }
    QString &word(int language, int k) { return words_.at(language).at(k); }

    // The built-in English text of word k.
    static QString english(int k);

    // Reads languages 1..9 from Language.dat, whole lines in file order, never
    // past line 1359. On failure (missing, unreadable) the table keeps what it
    // had and the error is returned. A shorter file is no error: it is read as
    // far as it goes and the words after its end stay empty. Lines ended by
    // CR CR LF (line ends converted twice) are read as CR LF lines.
    std::optional<IoError> loadLanguageFile(const QString &path);

    // Where the file read last ended before the last word of `language`: the
    // damage, naming the file's first missing line. Nothing for English and
    // for a language the file holds whole.
    std::optional<IoError> cutShort(int language) const;

    // Language.dat as the language editor leaves it: languages 1..9, 151 lines
    // each. A language in use gets the English text for every word it leaves
    // empty; a free slot keeps its lines as they are.
    TextLines::Encoded languageFileContent() const;
    // Writes that content whole over Language.dat in `programFolder`.
    FileResult saveLanguageFile(const QString &path, const QString &programFolder) const;

    // The name of a slot that holds no language.
    static QString freeSlotName();
    bool isFreeSlot(int language) const { return word(language, 0) == freeSlotName(); }

private:
    std::array<std::array<QString, kWords>, kLanguages> words_;
    QString file_;               // read last
    int linesRead_ = kFileLines; // of it
};

// A caption without its first "&".
QString StripAmp(const QString &caption);

// The words of one language, as every caller of the running program uses them.
class Words
{
public:
    Words(const WordTable &table, const int &language) : table_(table), language_(language) {}
    // A word missing or blank in the language (a damaged Language.dat) is
    // shown in English: no caption or message is ever blank.
    const QString &operator()(int k) const
    {
        const QString &word = table_.word(language_, k);
        return word.trimmed().isEmpty() ? table_.word(0, k) : word;
    }
    const WordTable &table() const { return table_; }
    int language() const { return language_; }

private:
    const WordTable &table_;
    const int &language_;
};
