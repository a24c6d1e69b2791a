#include "editing/phrasememories_w.h"

#include "editing/phrasecaptions.h"
#include "i18n/captiontext.h"
#include "ui/mainwidgets_w.h"

#include <QAction>

void ShowPhraseMemories(const MainWidgets &w, const Words &words,
                        const std::array<QString, 4> &PhraseMemory)
{
    using namespace PhraseCaptions;
    for (int n = 0; n < 4; ++n) {
        const QString shown = shownPhrase(PhraseMemory[n]);
        w.mnuCallTxtMemoCall[n]->setText(captionWithText(callPrefix(words, n), shown));
        w.mnuSetTxtMemoSet[n]->setText(captionWithText(setPrefix(words, n), shown));
    }
}
