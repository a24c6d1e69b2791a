#pragma once

#include "store/recoveryfile.h"
#include "ui/mainviews_w.h"

#include <QObject>

struct MainContext;
struct MainState;
class EntryList;
class GroupList;
class QAction;
class QLabel;
class QPlainTextEdit;

// What the start's offer of a recovered edit uses of the window.
struct RecoveryOfferControls
{
    MainViews views;
    QPlainTextEdit *mask = nullptr;
    QLabel *date = nullptr;
    QAction *lock = nullptr;
    QAction *viewMask = nullptr;
};

// At the start: an edit the program ended without (a crash, a kill, a power
// cut, a logout) left its recovery copy; the start names the entry and offers
// the text. Restored, it opens in the edit it was in, over the stored text,
// for the user to save or cancel; an entry whose file changed meanwhile keeps
// the rule of changes made outside (its save offers to keep both); an entry
// or group that is gone gets the text as a new entry. Declined, the copy goes.
class RecoveryOffer : public QObject
{
    Q_OBJECT
public:
    RecoveryOffer(const RecoveryOfferControls &controls, MainState &main, MainContext &ctx,
                  GroupList &groups, EntryList &entries, QObject *parent = nullptr);

    void offer();

private:
    // Where the copy goes back: its group's line and the entry's line, -1
    // where they are gone.
    struct Place
    {
        int groupLine = -1;
        int entryLine = -1;
        bool changed = false; // the file differs from the one the edit began on
    };
    Place locate(const RecoveryCopy &copy) const;
    // The stored text equals the copy: nothing to give back.
    bool alreadyStored(const RecoveryCopy &copy, const Place &place) const;
    QString question(const RecoveryCopy &copy, const Place &place) const;
    bool restore(const RecoveryCopy &copy, const Place &place);
    bool restoreAsNewEntry(const RecoveryCopy &copy, int groupLine);
    void startTextEdit(const QString &text);
    void removeCopy();

    const RecoveryOfferControls controls_;
    MainState &main_;
    MainContext &ctx_;
    GroupList &groups_;
    EntryList &entries_;
};
