// The save steps of OK and Save: a new entry's title, the entry file, the mask.

#include "editing/editmodes_w.h"

#include "editing/editrules.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/frminput.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "ui/codepagetextedit_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/mainwidgets_w.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QDateTime>
#include <QLabel>
#include <QMainWindow>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

EditModes::SaveOutcome EditModes::saveText(bool staysInEdit)
{
    const int g = entries_.selectedGroup();
    const int line = w_.lstEntry->currentRow();
    const QString text = boxText(textBox());

    if (isNewEntry()) {
        const std::optional<QString> answer =
            FrmInput::ask(StripAmp(ctx_.words(Word::EntryTitle)), EditRules::proposedTitle(text),
                          ctx_.words, ctx_.messages, w_.frmMain);
        if (!answer || answer->isEmpty() ||
            UniqueName::checkEntryTitle(*answer) == UniqueName::Refusal::Empty) {
            if (!entries_.removeSelectedEntry(false))
                return SaveOutcome::Failed;
            return SaveOutcome::NewEntryDropped;
        }
        const QString title = UniqueName::uniqueTitle(ctx_.table, g, *answer);
        const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(title);
        if (refusal != UniqueName::Refusal::None) {
            ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                                  RefusalTexts::name(refusal, title));
            return SaveOutcome::TitleRefused;
        }

        // The file first, then the index that names it: a failed write leaves
        // the notebook as it was, a crash in between leaves only an unnamed file.
        // Until idx.dat names it the edit is not saved, and stays open.
        const QString date = EditRules::dateLine(QDateTime::currentDateTime(), QLocale::system());
        QStringList titles = entries_.storedTitles();
        titles[line] = OutDOS(title);
        {
            NotebookChange change = ctx_.change();
            if (!change.writeNewEntry(ctx_.table.name(g), titles[line], date, text))
                return SaveOutcome::Failed;
            entries_.setEntryColumn(change, titles);
            if (!change.commit())
                return SaveOutcome::Failed;
        }
        w_.lstEntry->titles().setStoredName(line, titles[line]);
        w_.lblDate->setText(date);
        // Now an entry like any other: Save has its own place again.
        if (staysInEdit)
            setOkWidth(750);
        return SaveOutcome::Written;
    }

    NotebookChange change = ctx_.change();
    if (!change.commitEntry(ctx_.table.name(g), ctx_.table.cell(g, line + 1), w_.lblDate->text(),
                            text))
        return SaveOutcome::Failed;
    return SaveOutcome::Written;
}

EditModes::SaveOutcome EditModes::saveMask()
{
    const int g = entries_.selectedGroup();
    if (g < 0)
        return SaveOutcome::Written;
    const QString text = boxText(w_.txtMask);
    NotebookChange change = ctx_.change();
    if (!change.commitMask(ctx_.table.name(g), text))
        return SaveOutcome::Failed;
    // A later Cancel in this group puts back what was saved, not the older text.
    main_.LoadedMask = text;
    return SaveOutcome::Written;
}
