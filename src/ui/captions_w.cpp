#include "ui/captions_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "ui/mainwidgets_w.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

template <std::size_t N>
void captions(const std::array<QAction *, N> &items, const Words &words,
              std::initializer_list<int> wordNumbers)
{
    std::size_t i = 0;
    for (int k : wordNumbers)
        items[i++]->setText(words(k));
}

QString padded(const QString &text)
{
    return u" "_s + text + u" "_s;
}

void setMenuCaptions(const MainWidgets &w, const Words &words)
{
    w.mnuFile->setTitle(words(Word::MenuFile));
    w.mnuEditPermission->setText(words(Word::MenuLockEditPermission));
    w.mnuHide->setText(words(Word::MenuHideInTray));
    w.mnuExit->setText(words(Word::MenuExit));
    w.mnuGroup->setTitle(words(Word::MenuGroup));
    w.mnuGroupNew->setText(words(Word::MenuNew));
    w.mnuGroupDelete->setText(words(Word::MenuDelete));
    w.mnuGroupRename->setText(words(Word::MenuRename));
    captions(w.mnuIndent, words, {Word::MenuIndentRight, Word::MenuIndentLeft});
    w.mnuClearTrash->setText(words(Word::MenuClearTrash));
    w.mnuViewMask->setText(words(Word::MenuViewMask));
    w.mnuEntry->setTitle(words(Word::MenuEntry));
    captions(w.mnuEntryCall, words, {Word::MenuNewEntry, Word::MenuTrashEntry});
    w.mnuEntryRename->setText(words(Word::MenuRenameEntry));
    w.mnuEntryChange->setText(words(Word::MenuChangeGroup));
    w.mnuInsert->setTitle(words(Word::MenuInsert));
    w.mnuInsertCall[0]->setText(words(Word::MenuInsertSpace));
    w.mnuInsertCall[3]->setText(words(Word::MenuIndividualCharLine));
    w.mnuInsertCall[4]->setText(words(Word::MenuIndividualSingleText));
    w.mnuSearch->setText(words(Word::Search));
    w.mnuEditor->setTitle(words(Word::MenuEditorPrint));
    captions(w.mnuEditorCall, words, {Word::MenuEntryText, Word::MenuEntryList});
    w.mnuSortAll->setText(words(Word::MenuSortEntryList));
    captions(w.mnuSort, words, {Word::MenuOnePlaceUp, Word::MenuOnePlaceDown});
    w.mnuGo_Move->setTitle(words(Word::MenuGoMove));
    w.mnuGoTo->setTitle(words(Word::MenuGoTo));
    w.mnuGoToLastMove->setText(words(Word::MenuLastPosition));
    w.mnuMoveTo->setTitle(words(Word::MenuMoveTo));
    w.mnuSetMem->setTitle(words(Word::MenuSaveTo));
    w.mnuClearMemos->setText(words(Word::MenuClearMemories));
    w.mnuOptions->setTitle(words(Word::MenuOptions));
    captions(w.mnuSettings, words,
             {Word::MenuGlobalSettings, Word::MenuStartSettings, Word::MenuIndividualButtons,
              Word::MenuSortModeZtoA, Word::MenuSaveWindowPlace, Word::MenuEditLanguage});
    w.mnuWrap->setTitle(words(Word::MenuTextOptions));
    w.mnuWordwrap->setText(words(Word::MenuWordwrap));
    w.mnuInfo->setTitle(words(Word::MenuInfo));
    w.mnuAbout->setText(words(Word::MenuAbout));
    w.mnuPhrases->setTitle(words(Word::MenuPhrases));
    w.mnuCallTxtMem->setTitle(words(Word::MenuInsertFrom));
    w.mnuSetTxtMem->setTitle(words(Word::MenuSaveTo));
    w.mnuHowTo->setText(words(Word::MenuHowToSavePhrase));
    w.mnuClearTxtMemos->setText(words(Word::MenuClearPhrases));
    captions(w.mnuCallDate, words, {Word::InsertEuro, Word::MenuInsertDate, Word::MenuInsertTime});
    captions(w.mnuSystrayCall, words, {Word::TrayMaximizeNormal, Word::TrayMinimize});
    w.mnuSystrayCall[2]->setText(StripAmp(words(Word::MenuHideInTray)));
    w.mnuSystrayCall[3]->setText(StripAmp(words(Word::MenuExit)));
}

void setButtonCaptions(const MainWidgets &w, const Words &words)
{
    w.cmdSort[0]->setText(words(Word::ButtonSort));
    w.cmdEntry[0]->setText(words(Word::MenuNew));
    w.cmdEntry[1]->setText(words(Word::ButtonTrash));
    w.cmdMain->setText(words(Word::ButtonHide));
    w.cmdEdit[0]->setText(words(Word::ButtonOk));
    w.cmdEdit[1]->setText(words(Word::ButtonCancel));
    w.cmdEdit[2]->setText(words(Word::ButtonSave));
    w.chckEdit->setText(words(Word::ButtonLock));

    w.cmdSort[0]->setToolTip(words(Word::TipSort));
    w.cmdH[2]->setToolTip(words(Word::TipOnePlaceUp));
    w.cmdH[3]->setToolTip(words(Word::TipOnePlaceDown));
    w.cmdEntry[0]->setToolTip(words(Word::TipNewEntry));
    w.cmdEntry[1]->setToolTip(words(Word::TipTrashEntry));
    w.cmdMain->setToolTip(words(Word::TipHideInTray));
    w.cmdEdit[2]->setToolTip(words(Word::TipSave));
    w.cmdH[0]->setToolTip(padded(StripAmp(words(Word::MenuIndentLeft))));
    w.cmdH[1]->setToolTip(padded(StripAmp(words(Word::MenuIndentRight))));
    w.chckEdit->setToolTip(words(Word::TipLockEditPermission));
    for (std::size_t b = 0; b < w.cmdIndiv.size(); ++b)
        w.cmdIndiv[b]->setToolTip(u" "_s + words(Word::IndividualButton) + u" "_s +
                                  QString::number(b + 1) + u" "_s);
}

} // namespace

void SetCaptions(const MainWidgets &w, const Words &words)
{
    setMenuCaptions(w, words);
    setButtonCaptions(w, words);
}
