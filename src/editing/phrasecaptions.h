#pragma once

#include <QString>

class Words;

// Captions of the phrase-memory items: a prefix ending in "=>  " and the
// phrase's first 15 characters ("..." when longer). n is 0..3 (key F(n + 5)).
namespace PhraseCaptions {

QString callPrefix(const Words &words, int n);
QString setPrefix(const Words &words, int n);
QString shownPhrase(const QString &phrase);

} // namespace PhraseCaptions
