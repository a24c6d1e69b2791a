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

    // Reads languages 1..9 from Language.dat, whole lines in file order, stopping
    // quietly at the end of a short file and never past line 1359. On failure
    // (missing, unreadable) the table keeps what it had and the error is returned.
    std::optional<IoError> loadLanguageFile(const QString &path);

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
};

// A caption without its first "&".
QString StripAmp(const QString &caption);

// The words of one language, as every caller of the running program uses them.
class Words
{
public:
    Words(const WordTable &table, const int &language) : table_(table), language_(language) {}
    const QString &operator()(int k) const { return table_.word(language_, k); }
    const WordTable &table() const { return table_; }
    int language() const { return language_; }

private:
    const WordTable &table_;
    const int &language_;
};
