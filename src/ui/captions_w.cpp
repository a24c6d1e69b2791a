#include "ui/captions_w.h"

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
    w.mnuFile->setTitle(words(1));
    w.mnuEditPermission->setText(words(2));
    w.mnuHide->setText(words(3));
    w.mnuExit->setText(words(4));
    w.mnuGroup->setTitle(words(5));
    w.mnuGroupNew->setText(words(6));
    w.mnuGroupDelete->setText(words(7));
    w.mnuGroupRename->setText(words(8));
    captions(w.mnuIndent, words, {142, 143});
    w.mnuClearTrash->setText(words(60));
    w.mnuViewMask->setText(words(84));
    w.mnuEntry->setTitle(words(9));
    captions(w.mnuEntryCall, words, {89, 88});
    w.mnuEntryRename->setText(words(90));
    w.mnuEntryChange->setText(words(10));
    w.mnuInsert->setTitle(words(11));
    w.mnuInsertCall[0]->setText(words(12));
    w.mnuInsertCall[3]->setText(words(13));
    w.mnuInsertCall[4]->setText(words(14));
    w.mnuSearch->setText(words(94));
    w.mnuEditor->setTitle(words(15));
    captions(w.mnuEditorCall, words, {80, 133});
    w.mnuSortAll->setText(words(16));
    captions(w.mnuSort, words, {17, 18});
    w.mnuGo_Move->setTitle(words(117));
    w.mnuGoTo->setTitle(words(118));
    w.mnuGoToLastMove->setText(words(134));
    w.mnuMoveTo->setTitle(words(119));
    w.mnuSetMem->setTitle(words(120));
    w.mnuClearMemos->setText(words(121));
    w.mnuOptions->setTitle(words(19));
    captions(w.mnuSettings, words, {20, 21, 145, 22, 23, 24});
    w.mnuWrap->setTitle(words(148));
    w.mnuWordwrap->setText(words(149));
    w.mnuInfo->setTitle(words(25));
    w.mnuAbout->setText(words(26));
    w.mnuPhrases->setTitle(words(122));
    w.mnuCallTxtMem->setTitle(words(123));
    w.mnuSetTxtMem->setTitle(words(120));
    w.mnuHowTo->setText(words(129));
    w.mnuClearTxtMemos->setText(words(124));
    captions(w.mnuCallDate, words, {144, 125, 126});
    captions(w.mnuSystrayCall, words, {27, 28});
    w.mnuSystrayCall[2]->setText(StripAmp(words(3)));
    w.mnuSystrayCall[3]->setText(StripAmp(words(4)));
}

void setButtonCaptions(const MainWidgets &w, const Words &words)
{
    w.cmdSort[0]->setText(words(29));
    w.cmdEntry[0]->setText(words(6));
    w.cmdEntry[1]->setText(words(91));
    w.cmdMain->setText(words(30));
    w.cmdEdit[0]->setText(words(31));
    w.cmdEdit[1]->setText(words(32));
    w.cmdEdit[2]->setText(words(109));
    w.chckEdit->setText(words(33));

    w.cmdSort[0]->setToolTip(words(34));
    w.cmdH[2]->setToolTip(words(35));
    w.cmdH[3]->setToolTip(words(36));
    w.cmdEntry[0]->setToolTip(words(37));
    w.cmdEntry[1]->setToolTip(words(38));
    w.cmdMain->setToolTip(words(39));
    w.cmdEdit[2]->setToolTip(words(110));
    w.cmdH[0]->setToolTip(padded(StripAmp(words(143))));
    w.cmdH[1]->setToolTip(padded(StripAmp(words(142))));
    w.chckEdit->setToolTip(words(40));
    for (std::size_t b = 0; b < w.cmdIndiv.size(); ++b)
        w.cmdIndiv[b]->setToolTip(u" "_s + words(146) + u" "_s + QString::number(b + 1) + u" "_s);
}

} // namespace

void SetCaptions(const MainWidgets &w, const Words &words)
{
    setMenuCaptions(w, words);
    setButtonCaptions(w, words);
}
