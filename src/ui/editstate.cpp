#include "ui/editstate.h"

#include <utility>

void EditState::setMode(Mode mode)
{
    if (mode == mode_)
        return;
    const Mode before = std::exchange(mode_, mode);
    Q_EMIT modeChanged(mode_, before);
}
