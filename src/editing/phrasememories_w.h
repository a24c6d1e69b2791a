#pragma once

#include <QObject>
#include <QString>
#include <array>

struct MainContext;
class EditModes;
class KeyHandlers;
class KeyInjector;
class QAction;
class Words;

// The phrase items of the Phrases menu and its inserts.
struct PhraseMenus
{
    std::array<QAction *, 4> call = {};
    std::array<QAction *, 4> set = {};
    std::array<QAction *, 3> insert = {}; // the euro sign, the date, the time
    QAction *howTo = nullptr;
    QAction *clear = nullptr;
};

// ShowPhraseMemories: the eight phrase items show their prefix and the phrases.
void ShowPhraseMemories(const PhraseMenus &menus, const Words &words,
                        const std::array<QString, 4> &PhraseMemory);

// The four phrase memories and the date, time and euro inserts of the Phrases
// menu, with their keys in the entry text: F5 to F8 type a phrase, Shift+F5 to
// F8 keep the selected text as one, F11 and F12 type the date and the time.
// Everything is typed into the program as keystrokes, so it starts the edit
// mode as typing does. Phrases are written to pref.dat the moment they change.
class PhraseMemories : public QObject
{
    Q_OBJECT
public:
    PhraseMemories(const PhraseMenus &menus, MainContext &ctx, EditModes &editModes,
                   KeyInjector &injector, KeyHandlers &keys, QObject *parent);

    void callPhrase(int k);
    void setPhrase(int k);
    void showPhraseHowTo();
    void clearPhrases();
    // 0 the euro sign, 1 the date, 2 the time.
    void insertEuro();
    void insertDate();
    void insertTime();

Q_SIGNALS:
    // A phrase was set or the phrases cleared (and stored).
    void changed();

private:
    void connectMenus();
    void bindKeys(KeyHandlers &keys);
    // Types a key string into the box that has the focus; while the lock is
    // on, one refusal instead, as for one typed key.
    void type(const QString &keys);
    void phrasesChanged();

    const PhraseMenus menus_;
    MainContext &ctx_;
    EditModes &editModes_;
    KeyInjector &injector_;
};
