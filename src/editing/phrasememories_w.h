#pragma once

#include <QString>
#include <array>

struct MainWidgets;
class Words;

// ShowPhraseMemories: the eight phrase items show their prefix and the phrases.
void ShowPhraseMemories(const MainWidgets &w, const Words &words,
                        const std::array<QString, 4> &PhraseMemory);
