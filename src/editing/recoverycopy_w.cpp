#include "editing/recoverycopy_w.h"

#include "editing/editmodes_w.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "ui/codepagetextedit_w.h"
#include "ui/errorreport.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"

#include <QLabel>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

RecoveryRecorder::RecoveryRecorder(const RecoveryControls &controls, MainState &main,
                                   MainContext &ctx, EntryList &entries, EditModes &editModes,
                                   QObject *parent)
    : QObject(parent), controls_(controls), main_(main), ctx_(ctx), entries_(entries)
{
    setObjectName(u"recoveryCopy"_s);
    timer_.setSingleShot(true);
    timer_.setInterval(kDelayMs);
    connect(&timer_, &QTimer::timeout, this, [this] {
        // Typed on meanwhile: the wait runs from the last change.
        const qint64 since = lastChange_.elapsed();
        if (since < kDelayMs)
            timer_.start(int(kDelayMs - since));
        else
            (void)writeNow();
    });
    // A change only restarts the wait: the keystroke's path stays as it was.
    connect(controls_.text, &QPlainTextEdit::textChanged, this, &RecoveryRecorder::changed);
    connect(controls_.mask, &QPlainTextEdit::textChanged, this, &RecoveryRecorder::changed);
    connect(&main_.edit, &EditState::modeChanged, this, &RecoveryRecorder::modeChanged);
    connect(&editModes, &EditModes::editSaved, this, &RecoveryRecorder::remove);
}

void RecoveryRecorder::changed()
{
    // A key costs a look at the clock; the timer is set once per pause.
    if (!main_.edit.editing())
        return;
    lastChange_.start();
    if (!timer_.isActive())
        timer_.start(kDelayMs);
}

void RecoveryRecorder::modeChanged()
{
    if (!main_.edit.editing()) {
        remove();
        return;
    }
    told_ = false;
    const int g = entries_.selectedGroup();
    if (main_.edit.maskEdit() && g >= 0)
        maskShown_ =
            FileIdentity::ofPath(StorePaths::maskFile(ctx_.state.storeFolder, ctx_.table.name(g)));
}

RecoveryCopy RecoveryRecorder::current() const
{
    RecoveryCopy copy;
    const int g = entries_.selectedGroup();
    copy.group = g < 0 ? QString() : ctx_.table.name(g);
    copy.line = std::max(entries_.selectedLine(), 0);
    if (main_.edit.maskEdit()) {
        copy.kind = RecoveryCopy::Kind::Mask;
        copy.shown = maskShown_;
        copy.text = boxText(controls_.mask);
        return copy;
    }
    const bool isNew = entries_.selectedIsNew();
    copy.kind = isNew ? RecoveryCopy::Kind::NewEntry : RecoveryCopy::Kind::Entry;
    if (!isNew) {
        copy.title = entries_.selectedStoredTitle();
        copy.date = controls_.date->text();
        copy.shown = main_.ShownEntryFile;
    }
    copy.text = boxText(controls_.text);
    return copy;
}

bool RecoveryRecorder::writeNow(bool quiet)
{
    timer_.stop();
    if (!main_.edit.editing() || entries_.selectedGroup() < 0)
        return true;
    const RecoveryCopy copy = current();
    Q_EMIT writing(copy);
    const FileResult result =
        RecoveryFile::write(ctx_.state.programFolder, ctx_.state.storeFolder, copy);
    if (!result || result.unsynced) {
        if (!quiet)
            tell(u"The recovery copy of the text being edited could not be written. The text "
                 "stays in its box and the edit goes on; save it (F3) when you can."_s,
                 result.error);
        return false;
    }
    told_ = false;
    Q_EMIT written();
    return true;
}

void RecoveryRecorder::remove()
{
    timer_.stop();
    const FileResult result =
        RecoveryFile::remove(ctx_.state.programFolder, ctx_.state.storeFolder);
    if (!result || result.unsynced) {
        // Harmless for the text (the next start drops a copy equal to what is
        // stored), but not passed over.
        tell(u"The recovery copy of the edit could not be removed; the next start may offer "
             "its text again."_s,
             result.error);
        return;
    }
    Q_EMIT removed();
}

void RecoveryRecorder::tell(const QString &what, const IoError &error)
{
    if (told_)
        return;
    told_ = true;
    ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                          ErrorReport::composeText(what, error));
}
