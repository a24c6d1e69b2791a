#pragma once

#include "store/recoveryfile.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

struct MainContext;
struct MainState;
class EditModes;
class EntryList;
class QLabel;
class QPlainTextEdit;

// What the recovery copy reads of the window: the two boxes and the date line.
struct RecoveryControls
{
    QPlainTextEdit *text = nullptr;
    QPlainTextEdit *mask = nullptr;
    QLabel *date = nullptr;
};

// Keeps the recovery copy of the open edit: about a second after the last
// change (never on the keystroke's own path) the text and where it belongs are
// written to the recovery file; OK, Save, Cancel and every other end of the
// edit remove it. A copy that cannot be written is told once per edit, and the
// typing goes on.
class RecoveryRecorder : public QObject
{
    Q_OBJECT
public:
    // How long after the last change the copy is written.
    static constexpr int kDelayMs = 1000;

    RecoveryRecorder(const RecoveryControls &controls, MainState &main, MainContext &ctx,
                     EntryList &entries, EditModes &editModes, QObject *parent = nullptr);

    // A change not yet in the recovery file.
    bool pending() const { return timer_.isActive(); }
    // The open edit into the recovery file now. `quiet`: nothing is shown,
    // for an end that may not wait for anyone (a signal, a logout).
    // False when it could not be written.
    bool writeNow(bool quiet = false);
    // What the recovery copy holds now: the open edit and where it belongs.
    RecoveryCopy current() const;

Q_SIGNALS:
    // For the crash soak's journal: the copy about to be written, then
    // written; the copy removed.
    void writing(const RecoveryCopy &copy);
    void written();
    void removed();

private:
    void changed();
    void modeChanged();
    void remove();
    void tell(const QString &what, const IoError &error);

    const RecoveryControls controls_;
    MainState &main_;
    MainContext &ctx_;
    EntryList &entries_;
    QTimer timer_;
    QElapsedTimer lastChange_;
    FileIdentity maskShown_; // the mask's file as the mask edit began
    bool told_ = false;      // a failure was told in this edit
};
