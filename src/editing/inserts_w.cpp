#include "editing/inserts_w.h"

#include "editing/editmodes_w.h"
#include "editing/separators.h"
#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/inputdialog_w.h"
#include "notebook/notebookedit.h"
#include "notebook/refusaltexts.h"
#include "notebook/uniquename.h"
#include "platform/messages.h"
#include "store/appstate.h"
#include "ui/keyhandlers_w.h"
#include "ui/maincontext.h"
#include "ui/titlelistmodel.h"

#include <QAction>
#include <QMainWindow>

Inserts::Inserts(const std::array<QAction *, 5> &items, QWidget *window, MainContext &ctx,
                 EntryList &entries, EditModes &editModes, KeyHandlers &keys, QObject *parent)
    : QObject(parent), window_(window), ctx_(ctx), entries_(entries), editModes_(editModes)
{
    setObjectName(QStringLiteral("inserts"));
    for (int k = 0; k < int(items.size()); ++k)
        connect(items[k], &QAction::triggered, this, [this, k] { insertSeparator(k); });
    keys.bind(KeyMap::Command::InsertDashedLine, [this](int, Qt::KeyboardModifiers) {
        if (!editModes_.locked())
            insertSeparator(Separators::Dashes);
        return true;
    });
}

QString Inserts::askSeparator(int k)
{
    QString answer;
    if (Separators::asksForText(k)) {
        const std::optional<QString> typed =
            InputDialog::ask(StripAmp(ctx_.words(Word::InsertIndividual)), QString(), ctx_.words,
                             ctx_.messages, window_);
        if (!typed)
            return QString();
        answer = *typed;
    }
    return Separators::separatorText(k, answer);
}

void Inserts::insertSeparator(int k)
{
    const int g = entries_.selectedGroup();
    if (g < 0)
        return;
    QString line = askSeparator(k);
    if (line.isEmpty())
        return;
    const auto caution = [this](const QString &text) {
        ctx_.messages.message(Messages::Icon::Information, ctx_.words(Word::Caution), text);
    };
    if (NotebookEdit::groupIsFull(ctx_.table, g)) {
        caution(RefusalTexts::noRoomForLine());
        return;
    }
    // A typed line that equals a title would share that entry's file: taking
    // one of the two into the trash would take the other's text with it.
    if (Separators::asksForText(k))
        line = UniqueName::uniqueTitle(ctx_.table, g, line);
    const UniqueName::Refusal refusal = UniqueName::checkEntryTitle(line);
    if (refusal == UniqueName::Refusal::Empty)
        return;
    if (refusal != UniqueName::Refusal::None) {
        caution(RefusalTexts::name(refusal, line));
        return;
    }

    const int s = entries_.selectedLine() < 0 ? entries_.lineCount() - 1 : entries_.selectedLine();
    entries_.insertSeparator(s, line);
}
