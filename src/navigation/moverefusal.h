#pragma once

#include <QString>

class Words;

// Why Ctrl+F5 to F8 moved nothing: the text of the box the key shows when
// the Move To item of memory n (0..3) is disabled.
struct MoveRefusal
{
    int n = 0;
    QString memory;        // memory n as it stands
    QString selectedGroup; // shown title of the selected group
    bool locked = false;
    bool fileMissing = false;
    bool hideYGroups = false;

    QString text(const Words &words) const;
};
