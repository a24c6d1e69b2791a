#include "editing/editmodes_w.h"

#include "editing/editrules.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"
#include "ui/twips.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

using namespace Qt::StringLiterals;

EditModes::EditModes(const EditModeControls &controls, MainState &main, MainContext &ctx,
                     EntryList &entries, KeyHandlers &keys, QObject *parent)
    : QObject(parent), controls_(controls), main_(main), ctx_(ctx), entries_(entries)
{
    keys.bind(KeyMap::Command::StartTextEdit, [this](int, Qt::KeyboardModifiers) {
        startTextEditFromList();
        return true;
    });
    connect(views_.entryList, &QListView::doubleClicked, this, &EditModes::startTextEditFromList);
    connect(views_.text, &QPlainTextEdit::textChanged, this, &EditModes::entryTextChanged);
    connect(controls_.mask, &QPlainTextEdit::textChanged, this, &EditModes::maskTextChanged);
    connect(controls_.ok, &QPushButton::clicked, this, &EditModes::ok);
    connect(controls_.cancel, &QPushButton::clicked, this, &EditModes::cancel);
    connect(controls_.save, &QPushButton::clicked, this, &EditModes::save);
    connect(controls_.lock, &QAction::toggled, this, &EditModes::applyLock);
    controls_.save->setEnabled(false);
}

void EditModes::startTextEditFromList()
{
    if (main_.FileMissing || locked())
        return;
    entryTextChanged();
    textBox()->setFocus();
}

bool EditModes::locked() const
{
    return controls_.lock->isChecked();
}

QPlainTextEdit *EditModes::textBox() const
{
    return views_.text;
}

bool EditModes::isNewEntry() const
{
    return entries_.selectedIsNew();
}

void EditModes::entryTextChanged()
{
    if (main_.FileMissing) {
        controls_.date->setText(u"File not present!"_s);
        return;
    }
    if (main_.edit.maskEdit()) {
        cancel();
        return;
    }
    if (entries_.onBlankLine())
        return;
    if (!isNewEntry())
        controls_.save->setEnabled(true);
    if (main_.edit.textEdit())
        return;
    main_.edit.setMode(EditState::Mode::TextEdit);
    setOkWidth(isNewEntry() ? 1590 : 750);
    controls_.modeLabel->setText(ctx_.words(Word::TextEditMode));
    ShowEditFrame();
}

void EditModes::maskTextChanged()
{
    if (main_.edit.textEdit()) {
        cancel();
        return;
    }
    if (main_.edit.maskEdit())
        return;
    if (locked()) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              ctx_.words(Word::EditPermissionLocked));
        return;
    }
    setOkWidth(1590);
    main_.edit.setMode(EditState::Mode::MaskEdit);
    controls_.modeLabel->setText(ctx_.words(Word::MaskEditMode));
    ShowEditFrame();
}

void EditModes::setOkWidth(int twips)
{
    QPushButton *ok = controls_.ok;
    ok->resize(twipsToPixels(twips, ok->logicalDpiX()), ok->height());
    if (twips > 750) {
        // OK covers the place of Save, which has no use then.
        controls_.save->setEnabled(false);
        ok->raise();
    }
}

void EditModes::ShowEditFrame()
{
    for (QFrame *frame : controls_.normalFrames)
        frame->hide();
    controls_.editFrame->show();
    // The menus and the buttons beside the lists follow the mode (greyed: they
    // would change the selection, or the order, under the text being edited).
    views_.groupList->setEnabled(false);
    views_.entryList->setEnabled(false);
    controls_.phrases->menuAction()->setVisible(true);
}

void EditModes::cancel()
{
    const EditState::Mode was = main_.edit.mode();
    main_.edit.setMode(EditState::Mode::Viewing);
    discardEdit(was);
}

bool EditModes::confirm(bool staysInEdit)
{
    // OK and Save by key also arrive while nothing is edited, and for an entry
    // without a file: then there is nothing to write.
    const bool textEdited = main_.edit.textEdit() && !main_.FileMissing && !entries_.onBlankLine();
    const bool maskEdited = main_.edit.maskEdit();
    SaveOutcome outcome = SaveOutcome::Written;
    if (maskEdited)
        outcome = saveMask();
    else if (textEdited)
        outcome = saveText(staysInEdit);

    if (outcome != SaveOutcome::Written) {
        // Still in the edit mode with the text as typed: the user can try again
        // (another title, another place) or copy the text elsewhere.
        (maskEdited ? controls_.mask : textBox())->setFocus();
        return false;
    }
    if (textEdited || maskEdited)
        Q_EMIT editSaved();
    if (staysInEdit) {
        controls_.save->setEnabled(false);
        (maskEdited ? controls_.mask : textBox())->setFocus();
        return true;
    }
    main_.edit.setMode(EditState::Mode::Viewing);
    endEdit();
    return true;
}

void EditModes::discardEdit(EditState::Mode was)
{
    if (was == EditState::Mode::MaskEdit) {
        const QSignalBlocker quiet(controls_.mask);
        controls_.mask->setPlainText(main_.LoadedMask);
    } else if (was == EditState::Mode::TextEdit && isNewEntry()) {
        (void)entries_.removeSelectedEntry(false);
    }
    endEdit();
}

void EditModes::endEdit()
{
    main_.edit.setMode(EditState::Mode::Viewing);
    entries_.showSelectedEntry();
    controls_.editFrame->hide();
    for (QFrame *frame : controls_.normalFrames)
        frame->show();
    views_.groupList->setEnabled(true);
    views_.entryList->setEnabled(true);
    controls_.phrases->menuAction()->setVisible(false);
    views_.entryList->setFocus();
}

void EditModes::entryTextDoubleClicked()
{
    if (!main_.FileMissing && !locked()) {
        entryTextChanged();
        textBox()->setFocus();
    }
    afterDoubleClick(textBox());
}

void EditModes::maskDoubleClicked()
{
    if (!locked())
        maskTextChanged();
    afterDoubleClick(controls_.mask);
}

void EditModes::afterDoubleClick(QPlainTextEdit *box)
{
    // The caret goes to the end of the clicked line, so the word the
    // double-click selected is no longer selected and typing does not replace
    // it; a quarter of a second later, once the second click's release and any
    // drag of it are over. A box that took no focus (a line without a file) is
    // left alone.
    QTimer::singleShot(250, box, [box = QPointer<QPlainTextEdit>(box)] {
        if (box && box->hasFocus())
            box->moveCursor(QTextCursor::EndOfLine);
    });
}

void EditModes::applyLock()
{
    const bool on = locked();
    for (QPlainTextEdit *box : {views_.text, controls_.mask}) {
        box->setReadOnly(on);
        // Read-only still lets the caret move and the text be selected and copied.
        if (on)
            box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    }
}
