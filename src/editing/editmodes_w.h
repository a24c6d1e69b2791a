#pragma once

#include <QObject>
#include <optional>

#include "ui/editstate.h"
#include "ui/mainviews_w.h"

#include <QList>

struct MainContext;
struct MainState;
class EntryList;
class KeyHandlers;
class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

// What the edit modes use of the window: the views, the mask box, the date
// line, the lock; the edit frame that an edit shows in place of the normal
// frames, and the Phrases menu it shows.
struct EditModeControls
{
    MainViews views;
    QPlainTextEdit *mask = nullptr;
    QLabel *date = nullptr;
    QAction *lock = nullptr;
    QFrame *editFrame = nullptr;
    QLabel *modeLabel = nullptr;
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    QPushButton *save = nullptr;
    QList<QFrame *> normalFrames;
    QMenu *phrases = nullptr;
};

// The three states of the window (viewing, text edit mode, mask edit mode), the
// way into them by the first change of a box, and OK, Cancel and Save.
class EditModes : public QObject
{
    Q_OBJECT
public:
    EditModes(const EditModeControls &controls, MainState &main, MainContext &ctx,
              EntryList &entries, KeyHandlers &keys, QObject *parent = nullptr);

    void entryTextChanged();
    void maskTextChanged();
    void ShowEditFrame();
    // The edit's OK (save and back to viewing), Cancel and Save (save and go
    // on editing); the buttons and the keys call them in every state. OK and
    // Save say whether the edit's text is stored now (false: it is still in
    // its box, the edit open, and the user was told why).
    bool ok() { return confirm(false); }
    void cancel();
    bool save() { return confirm(true); }
    void entryTextDoubleClicked();
    void maskDoubleClicked();
    // Enter in the lists and a double-click on an entry: text edit mode, with
    // the focus in the text, unless locked or the entry has no file.
    void startTextEditFromList();
    // The lock: the boxes keep their text from every kind of edit while it is on.
    void applyLock();

    bool locked() const;
    QPlainTextEdit *textBox() const;

Q_SIGNALS:
    // The edit's text is stored (OK or Save): nothing typed is only in the box.
    void editSaved();

private:
    enum class SaveOutcome { Written, Failed, TitleRefused };
    bool confirm(bool staysInEdit);
    SaveOutcome saveText(bool staysInEdit);
    // The entry's file is no longer the one shown: keep both, overwrite, or back.
    std::optional<SaveOutcome> saveOverChange(int g, int line, const QString &text);
    SaveOutcome saveMask();
    void discardEdit(EditState::Mode was);
    // OK and Cancel end here: back to viewing the selected entry.
    void endEdit();
    void setOkWidth(int twips);
    // The caret to the end of the clicked line, a moment after a double-click.
    void afterDoubleClick(QPlainTextEdit *box);
    bool isNewEntry() const;

    const EditModeControls controls_;
    const MainViews &views_ = controls_.views;
    MainState &main_;
    MainContext &ctx_;
    EntryList &entries_;
};
