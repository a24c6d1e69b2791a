// The save steps of OK and Save: a new entry's title, the entry file, the mask.

#include "editing/editmodes_w.h"

#include "editing/editrules.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/inputdialog_w.h"
#include "notebook/notebookedit.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/notebookchange.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "ui/codepagetextedit_w.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
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
    const int line = views_.entryList->currentRow();
    const QString text = boxText(textBox());

    if (isNewEntry()) {
        const std::optional<QString> answer =
            InputDialog::ask(StripAmp(ctx_.words(Word::EntryTitle)), EditRules::proposedTitle(text),
                             ctx_.words, ctx_.messages, views_.window);
        // No title yet: back to the edit, the text and the new line as they
        // were. The user dropped nothing; Cancel of the edit still discards.
        if (!answer || answer->isEmpty() ||
            UniqueName::checkEntryTitle(*answer) == UniqueName::Refusal::Empty)
            return SaveOutcome::TitleRefused;
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
        if (!entries_.saveNewEntry(line, title, date, text))
            return SaveOutcome::Failed;
        controls_.date->setText(date);
        // Now an entry like any other: Save has its own place again.
        if (staysInEdit)
            setOkWidth(750);
        return SaveOutcome::Written;
    }

    if (const std::optional<SaveOutcome> outcome = saveOverChange(g, line, text))
        return *outcome;
    NotebookChange change = ctx_.change();
    if (!change.commitEntry(ctx_.table.name(g), ctx_.table.cell(g, line + 1),
                            controls_.date->text(), text))
        return SaveOutcome::Failed;
    main_.ShownEntryFile = change.writtenEntry();
    return SaveOutcome::Written;
}

std::optional<EditModes::SaveOutcome> EditModes::saveOverChange(int g, int line,
                                                                const QString &text)
{
    const QString path = StorePaths::entryFile(ctx_.state.storeFolder, ctx_.table.name(g),
                                               ctx_.table.cell(g, line + 1));
    if (FileIdentity::ofPath(path) == main_.ShownEntryFile)
        return std::nullopt;
    enum { KeepBoth, Overwrite, Back };
    const int answer = ctx_.messages.ask(
        Messages::Icon::Information, ctx_.words(Word::Caution),
        u"This entry's file was changed by another program or on another computer after "
        "Plimsa showed it.\n\n%1\n\nKeep both: your text is saved as a new entry next to "
        "it, and the changed file stays as it is.\nOverwrite: your text replaces the "
        "changed file.\nBack to the edit: nothing is saved."_s.arg(path),
        {{u"cmdKeepBoth"_s, u"&Keep both"_s},
         {u"cmdOverwrite"_s, u"&Overwrite"_s},
         {u"cmdBackToEdit"_s, u"&Back to the edit"_s}},
        KeepBoth, Back);
    if (answer == Overwrite)
        return std::nullopt;
    if (answer != KeepBoth)
        return SaveOutcome::TitleRefused;
    if (NotebookEdit::groupIsFull(ctx_.table, g)) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution),
                              RefusalTexts::noRoomForLine());
        return SaveOutcome::TitleRefused;
    }

    // Beside the changed entry, under its title made unique as a new title is.
    const QString title = OutDOS(UniqueName::uniqueTitle(ctx_.table, g, entries_.selectedTitle()));
    const QString date = EditRules::dateLine(QDateTime::currentDateTime(), QLocale::system());
    QStringList titles = entries_.storedTitles();
    titles.insert(line + 1, title);
    FileIdentity written;
    {
        NotebookChange change = ctx_.change();
        if (!change.writeNewEntry(ctx_.table.name(g), title, date, text))
            return SaveOutcome::Failed;
        entries_.setEntryColumn(change, titles);
        if (!change.commit())
            return SaveOutcome::Failed;
        written = change.writtenEntry();
    }
    // The new entry is shown: the text as saved, the edit now on it, its file
    // the one this save wrote.
    entries_.showTitles(titles, line + 1, false);
    main_.ShownEntryFile = written;
    return SaveOutcome::Written;
}

EditModes::SaveOutcome EditModes::saveMask()
{
    const int g = entries_.selectedGroup();
    if (g < 0)
        return SaveOutcome::Written;
    const QString text = boxText(controls_.mask);
    NotebookChange change = ctx_.change();
    if (!change.commitMask(ctx_.table.name(g), text))
        return SaveOutcome::Failed;
    // A later Cancel in this group puts back what was saved, not the older text.
    main_.LoadedMask = text;
    return SaveOutcome::Written;
}
