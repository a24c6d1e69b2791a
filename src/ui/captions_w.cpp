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
    w.fileMenu->setTitle(words(Word::MenuFile));
    w.lockAction->setText(words(Word::MenuLockEditPermission));
    w.hideItem->setText(words(Word::MenuHideInTray));
    w.exitItem->setText(words(Word::MenuExit));
    w.groupMenu->setTitle(words(Word::MenuGroup));
    w.newGroupItem->setText(words(Word::MenuNew));
    w.deleteGroupItem->setText(words(Word::MenuDelete));
    w.renameGroupItem->setText(words(Word::MenuRename));
    captions(w.indentItems, words, {Word::MenuIndentRight, Word::MenuIndentLeft});
    w.clearTrashItem->setText(words(Word::MenuClearTrash));
    w.viewMaskItem->setText(words(Word::MenuViewMask));
    w.entryMenu->setTitle(words(Word::MenuEntry));
    captions(w.newTrashItems, words, {Word::MenuNewEntry, Word::MenuTrashEntry});
    w.renameEntryItem->setText(words(Word::MenuRenameEntry));
    w.changeGroupItem->setText(words(Word::MenuChangeGroup));
    w.insertMenu->setTitle(words(Word::MenuInsert));
    w.insertItems[0]->setText(words(Word::MenuInsertSpace));
    w.insertItems[3]->setText(words(Word::MenuIndividualCharLine));
    w.insertItems[4]->setText(words(Word::MenuIndividualSingleText));
    w.searchItem->setText(words(Word::Search));
    w.editorMenu->setTitle(words(Word::MenuEditorPrint));
    captions(w.editorItems, words, {Word::MenuEntryText, Word::MenuEntryList});
    w.sortItem->setText(words(Word::MenuSortEntryList));
    captions(w.upDownItems, words, {Word::MenuOnePlaceUp, Word::MenuOnePlaceDown});
    w.goMoveMenu->setTitle(words(Word::MenuGoMove));
    w.goToMenu->setTitle(words(Word::MenuGoTo));
    w.goToLastMoveItem->setText(words(Word::MenuLastPosition));
    w.moveToMenu->setTitle(words(Word::MenuMoveTo));
    w.setMemoryMenu->setTitle(words(Word::MenuSaveTo));
    w.clearMemoriesItem->setText(words(Word::MenuClearMemories));
    w.optionsMenu->setTitle(words(Word::MenuOptions));
    captions(w.settingsItems, words,
             {Word::MenuGlobalSettings, Word::MenuStartSettings, Word::MenuIndividualButtons,
              Word::MenuSortModeZtoA, Word::MenuSaveWindowPlace, Word::MenuEditLanguage});
    w.textMenu->setTitle(words(Word::MenuTextOptions));
    w.wordWrapItem->setText(words(Word::MenuWordwrap));
    w.infoMenu->setTitle(words(Word::MenuInfo));
    w.aboutItem->setText(words(Word::MenuAbout));
    w.phrasesMenu->setTitle(words(Word::MenuPhrases));
    w.callPhraseMenu->setTitle(words(Word::MenuInsertFrom));
    w.setPhraseMenu->setTitle(words(Word::MenuSaveTo));
    w.howToItem->setText(words(Word::MenuHowToSavePhrase));
    w.clearPhrasesItem->setText(words(Word::MenuClearPhrases));
    captions(w.signDateTimeItems, words,
             {Word::InsertEuro, Word::MenuInsertDate, Word::MenuInsertTime});
    captions(w.trayItems, words, {Word::TrayMaximizeNormal, Word::TrayMinimize});
    w.trayItems[2]->setText(StripAmp(words(Word::MenuHideInTray)));
    w.trayItems[3]->setText(StripAmp(words(Word::MenuExit)));
}

void setButtonCaptions(const MainWidgets &w, const Words &words)
{
    w.sortButton->setText(words(Word::ButtonSort));
    w.entryButtons[0]->setText(words(Word::MenuNew));
    w.entryButtons[1]->setText(words(Word::ButtonTrash));
    w.hideButton->setText(words(Word::ButtonHide));
    w.editButtons[0]->setText(words(Word::ButtonOk));
    w.editButtons[1]->setText(words(Word::ButtonCancel));
    w.editButtons[2]->setText(words(Word::ButtonSave));
    w.lockBox->setText(words(Word::ButtonLock));

    w.sortButton->setToolTip(words(Word::TipSort));
    w.orderButtons[2]->setToolTip(words(Word::TipOnePlaceUp));
    w.orderButtons[3]->setToolTip(words(Word::TipOnePlaceDown));
    w.entryButtons[0]->setToolTip(words(Word::TipNewEntry));
    w.entryButtons[1]->setToolTip(words(Word::TipTrashEntry));
    w.hideButton->setToolTip(words(Word::TipHideInTray));
    w.editButtons[2]->setToolTip(words(Word::TipSave));
    w.orderButtons[0]->setToolTip(padded(StripAmp(words(Word::MenuIndentLeft))));
    w.orderButtons[1]->setToolTip(padded(StripAmp(words(Word::MenuIndentRight))));
    w.lockBox->setToolTip(words(Word::TipLockEditPermission));
    for (std::size_t b = 0; b < w.individualButtons.size(); ++b)
        w.individualButtons[b]->setToolTip(u" "_s + words(Word::IndividualButton) + u" "_s +
                                           QString::number(b + 1) + u" "_s);
}

} // namespace

void SetCaptions(const MainWidgets &w, const Words &words)
{
    setMenuCaptions(w, words);
    setButtonCaptions(w, words);
}
