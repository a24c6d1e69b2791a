#pragma once

#include <QString>
#include <array>

struct MainWidgets;
class Words;

// ShowPosMemories: the twelve memory items show their prefix and what memories
// 1..4 hold.
void ShowPosMemories(const MainWidgets &w, const Words &words,
                     const std::array<QString, 4> &PositionMemory);
