// The save steps of OK and Save: a new entry's title, the entry file, the mask.

#include "editing/editmodes_w.h"

#include "app/errorreport.h"
#include "app/maincontext.h"
#include "app/mainstate.h"
#include "app/mainwidgets_w.h"
#include "editing/codepagetextedit_w.h"
#include "editing/editrules.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/entrystore.h"
#include "notebook/frminput.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/notetable.h"

#include <QDateTime>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

EditModes::SaveOutcome EditModes::saveText(int index)
{
    const int g = entries_.selectedGroup();
    const int line = w_.lstEntry->currentRow();
    const QString text = boxText(textBox());

    if (isNewEntry()) {
        AppState &state = ctx_.state;
        state.DialogPrompt = StripAmp(ctx_.words(51));
        state.InputAnswer = EditRules::proposedTitle(text);
        FrmInput::run(state, ctx_.words, ctx_.messages, w_.frmMain);
        const QString answer = state.InputAnswer;
        if (answer == u"CANCEL"_s || answer.isEmpty() ||
            UniqueName::checkEntryTitle(answer) == UniqueName::Refusal::Empty) {
            entries_.RemoveSelectedEntry(false);
            return SaveOutcome::NewEntryDropped;
        }
        const QString title = UniqueName::uniqueTitle(ctx_.table, g, answer);
        const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
        if (refusal != UniqueName::Refusal::None) {
            ctx_.messages.message(Messages::Icon::Information, ctx_.words(79),
                                  RefusalTexts::name(refusal, title));
            return SaveOutcome::TitleRefused;
        }

        // The file first, then the index that names it: a failed write leaves
        // the notebook as it was, a crash in between leaves only an unnamed file.
        const QString date = EditRules::dateLine(QDateTime::currentDateTime(), QLocale::system());
        const WriteResult written =
            EntryStore::writeEntry(state, ctx_.table.name(g), OutDOS(title), date, text);
        if (!written) {
            ctx_.reports.ShowErrorContinue(written.error);
            return SaveOutcome::Failed;
        }
        w_.lstEntry->item(line)->setText(title);
        entries_.SyncEntryColumn();
        w_.lblDate->setText(date);
        // Now an entry like any other: Save has its own place again.
        if (index == 2)
            setOkWidth(750);
        return SaveOutcome::Written;
    }

    const WriteResult written = EntryStore::writeEntry(
        ctx_.state, ctx_.table.name(g), ctx_.table.cell(g, line + 1), w_.lblDate->text(), text);
    if (!written) {
        ctx_.reports.ShowErrorContinue(written.error);
        return SaveOutcome::Failed;
    }
    return SaveOutcome::Written;
}

EditModes::SaveOutcome EditModes::saveMask()
{
    const int g = entries_.selectedGroup();
    if (g < 0)
        return SaveOutcome::Written;
    const QString text = boxText(w_.txtMask);
    const WriteResult written = EntryStore::writeMask(ctx_.state, ctx_.table.name(g), text);
    if (!written) {
        ctx_.reports.ShowErrorContinue(written.error);
        return SaveOutcome::Failed;
    }
    // A later Cancel in this group puts back what was saved, not the older text.
    main_.LoadedMask = text;
    return SaveOutcome::Written;
}
