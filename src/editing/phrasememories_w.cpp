#include "editing/phrasememories_w.h"

#include "editing/editmodes_w.h"
#include "editing/editrules.h"
#include "editing/phrasecaptions.h"
#include "editing/phrasekeys.h"
#include "i18n/captiontext.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/keyinjector_w.h"
#include "platform/keystring.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/store.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"

#include <QAction>
#include <QDateTime>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

void ShowPhraseMemories(const PhraseMenus &menus, const Words &words,
                        const std::array<QString, 4> &PhraseMemory)
{
    using namespace PhraseCaptions;
    for (int n = 0; n < 4; ++n) {
        const QString shown = shownPhrase(PhraseMemory[n]);
        menus.call[n]->setText(captionWithText(callPrefix(words, n), shown));
        menus.set[n]->setText(captionWithText(setPrefix(words, n), shown));
    }
}

PhraseMemories::PhraseMemories(const PhraseMenus &menus, MainContext &ctx, EditModes &editModes,
                               KeyInjector &injector, KeyHandlers &keys, QObject *parent)
    : QObject(parent), menus_(menus), ctx_(ctx), editModes_(editModes), injector_(injector)
{
    setObjectName(u"phraseMemories"_s);
    connectMenus();
    bindKeys(keys);
    // A phrase may press phrase keys: what they type counts with its keys.
    injector_.setKeysTypedBy([this](const KeyStroke &stroke) {
        return PhraseKeys::keysTypedBy(stroke, ctx_.state.prefs.PhraseMemory,
                                       QDateTime::currentDateTime(), QLocale::system());
    });
}

void PhraseMemories::connectMenus()
{
    for (int k = 0; k < 4; ++k) {
        connect(menus_.call[k], &QAction::triggered, this, [this, k] { callPhrase(k); });
        connect(menus_.set[k], &QAction::triggered, this, [this, k] { setPhrase(k); });
    }
    connect(menus_.insert[0], &QAction::triggered, this, &PhraseMemories::insertEuro);
    connect(menus_.insert[1], &QAction::triggered, this, &PhraseMemories::insertDate);
    connect(menus_.insert[2], &QAction::triggered, this, &PhraseMemories::insertTime);
    connect(menus_.howTo, &QAction::triggered, this, &PhraseMemories::showPhraseHowTo);
    connect(menus_.clear, &QAction::triggered, this, &PhraseMemories::clearPhrases);
}

void PhraseMemories::bindKeys(KeyHandlers &keys)
{
    using KeyMap::Command;
    keys.bind(Command::CallPhrase, [this](int key, Qt::KeyboardModifiers) {
        const int k = key - Qt::Key_F5;
        if (menus_.call[k]->isEnabled())
            menus_.call[k]->trigger();
        else
            ctx_.messages.beep();
        return true;
    });
    keys.bind(Command::SetPhrase, [this](int key, Qt::KeyboardModifiers) {
        setPhrase(key - Qt::Key_F5);
        return true;
    });
    keys.bind(Command::InsertDate, [this](int, Qt::KeyboardModifiers) {
        insertDate();
        return true;
    });
    keys.bind(Command::InsertTime, [this](int, Qt::KeyboardModifiers) {
        insertTime();
        return true;
    });
}

void PhraseMemories::type(const QString &keys)
{
    if (editModes_.locked()) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              ctx_.words(Word::EditPermissionLocked));
        return;
    }
    injector_.send(keys);
}

void PhraseMemories::callPhrase(int k)
{
    // A phrase is a key string: "+", "^", "%", "~" and groups in it act as keys.
    if (k >= 0 && k < 4)
        type(ctx_.state.prefs.PhraseMemory[k]);
}

void PhraseMemories::setPhrase(int k)
{
    if (k < 0 || k > 3)
        return;
    const QString phrase = EditRules::firstLine(editModes_.textBox()->textCursor().selectedText());
    if (phrase.isEmpty()) {
        showPhraseHowTo();
        return;
    }
    ctx_.state.prefs.PhraseMemory[k] = phrase;
    phrasesChanged();
}

void PhraseMemories::showPhraseHowTo()
{
    ctx_.messages.message(Messages::Icon::None, StripAmp(ctx_.words(Word::MenuHowToSavePhrase)),
                          ctx_.words(Word::PhraseHowToFirstLine) + u'\n' +
                              ctx_.words(Word::PhraseHowToSecondLine));
}

void PhraseMemories::clearPhrases()
{
    ctx_.state.prefs.PhraseMemory.fill(u"free"_s);
    phrasesChanged();
}

void PhraseMemories::insertEuro()
{
    type(u"\u20AC"_s);
}

// Plain text, not a key string: whatever the locale's forms hold is typed as it stands.
void PhraseMemories::insertDate()
{
    type(PhraseKeys::dateKeys(QDate::currentDate(), QLocale::system()));
}

void PhraseMemories::insertTime()
{
    type(PhraseKeys::timeKeys(QTime::currentTime(), QLocale::system()));
}

void PhraseMemories::phrasesChanged()
{
    ShowPhraseMemories(menus_, ctx_.words, ctx_.state.prefs.PhraseMemory);
    reportWrite(ctx_.reports, ctx_.store.Save_pref());
    Q_EMIT changed();
}
