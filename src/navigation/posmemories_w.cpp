#include "navigation/posmemories_w.h"

#include "i18n/captiontext.h"
#include "navigation/memorycaptions.h"
#include "ui/mainwidgets_w.h"

#include <QAction>

void ShowPosMemories(const MainWidgets &w, const Words &words,
                     const std::array<QString, 4> &PositionMemory)
{
    using namespace MemoryCaptions;
    for (int n = 0; n < 4; ++n) {
        const QString &memory = PositionMemory[n];
        w.mnuGoToMemo[n]->setText(captionWithText(goToPrefix(words, n), shownMemory(memory)));
        w.mnuSetMemo[n]->setText(captionWithText(setPrefix(words, n), shownMemory(memory)));
        w.mnuMoveToMemo[n]->setText(
            captionWithText(moveToPrefix(words, n), shownGroupPart(memory)));
    }
}
