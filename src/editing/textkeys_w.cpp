#include "editing/textkeys_w.h"

#include "editing/editmodes_w.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "platform/messages.h"
#include "ui/codepagerefusal.h"
#include "ui/codepagetextedit_w.h"
#include "ui/keyhandlers_w.h"
#include "ui/mainstate.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

TextKeys::TextKeys(const Boxes &boxes, MainState &main, EditModes &editModes, Messages &messages,
                   const Words &words, KeyHandlers &keys, QObject *parent)
    : QObject(parent), text_(boxes.text), mask_(boxes.mask), main_(main), editModes_(editModes),
      messages_(messages), words_(words)
{
    bindKeys(keys);
    for (QPlainTextEdit *box : {text_, mask_}) {
        box->installEventFilter(this);
        box->viewport()->installEventFilter(this);
        if (auto *checked = qobject_cast<CodePageTextEdit *>(box)) {
            connect(checked, &CodePageTextEdit::refused, this, [this](const QString &character) {
                messages_.message(Messages::Icon::Information, words_(Word::Caution),
                                  CodePageRefusal::message(character));
            });
        }
    }
}

bool TextKeys::eventFilter(QObject *watched, QEvent *event)
{
    for (QPlainTextEdit *box : {text_, mask_}) {
        const bool textBox = box != mask_;
        if (watched == box->viewport()) {
            if (event->type() == QEvent::MouseButtonDblClick &&
                static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
                // The box selects the word under the pointer first, as always.
                if (textBox)
                    editModes_.entryTextDoubleClicked();
                else
                    editModes_.maskDoubleClicked();
            }
            return false;
        }
        if (watched != box)
            continue;
        switch (event->type()) {
        case QEvent::InputMethod: {
            const QString commit = static_cast<QInputMethodEvent *>(event)->commitString();
            if (commit.isEmpty())
                return false;
            if (editModes_.locked()) {
                showLocked();
                return true;
            }
            return refuseText(commit);
        }
        default:
            return false;
        }
    }
    return false;
}

void TextKeys::bindKeys(KeyHandlers &keys)
{
    using KeyMap::Command;
    keys.bind(Command::OkKeepingKeyPress, [this](int, Qt::KeyboardModifiers) {
        // OK; the Enter itself must not become a line break afterwards.
        main_.SwallowKeyPress = true;
        editModes_.ok();
        return false;
    });
    keys.bind(Command::Cancel, [this](int, Qt::KeyboardModifiers) {
        editModes_.cancel();
        return true;
    });
    keys.bind(Command::LockedDelete, [this](int, Qt::KeyboardModifiers) {
        if (!editModes_.locked())
            return false;
        showLocked();
        return true;
    });
    keys.bind(Command::Ok, [this](int, Qt::KeyboardModifiers) {
        editModes_.ok();
        return true;
    });
    keys.bind(Command::Save, [this](int, Qt::KeyboardModifiers) {
        editModes_.save();
        return true;
    });
    keys.setKeyPress([this](const QKeyEvent &key) { return keyPress(key); });
}

bool TextKeys::keyPress(const QKeyEvent &key)
{
    const bool enter = key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter;
    const bool edits = enter || !key.text().isEmpty() || key.matches(QKeySequence::Paste) ||
                       key.matches(QKeySequence::Cut) || key.matches(QKeySequence::Undo) ||
                       key.matches(QKeySequence::Redo);
    if (!edits)
        return false;
    if (main_.SwallowKeyPress) {
        main_.SwallowKeyPress = false;
        return true;
    }
    if (editModes_.locked()) {
        // Copying and selecting change nothing; they stay possible while locked.
        if (key.matches(QKeySequence::Copy) || key.matches(QKeySequence::SelectAll))
            return false;
        showLocked();
        return true;
    }
    return refuseText(key.text());
}

bool TextKeys::refuseText(const QString &text)
{
    const QString bad = CodePageRefusal::firstRefused(text);
    if (bad.isEmpty())
        return false;
    messages_.message(Messages::Icon::Information, words_(Word::Caution),
                      CodePageRefusal::message(bad));
    return true;
}

void TextKeys::showLocked()
{
    messages_.message(Messages::Icon::Information, words_(Word::Caution),
                      words_(Word::EditPermissionLocked));
}
