#include "notebook/entrylist_w.h"

#include "app/maincontext.h"
#include "app/mainstate.h"
#include "app/mainwidgets_w.h"
#include "notebook/grouplist.h"
#include "notebook/notebookedit.h"
#include "notebook/notebookfiles.h"
#include "store/appstate.h"
#include "store/dostext.h"
#include "store/entryfile.h"
#include "store/notetable.h"
#include "store/storepaths.h"
#include "store/store.h"
#include "ui/refreshcommands_w.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSignalBlocker>

using namespace Qt::StringLiterals;

EntryList::EntryList(const MainWidgets &w, MainState &main, MainContext &ctx, GroupList &groups,
                     QObject *parent)
    : QObject(parent), w_(w), main_(main), ctx_(ctx), groups_(groups)
{
    connect(w_.lstGroup, &QListWidget::currentRowChanged, this, &EntryList::lstGroup_Click);
    connect(w_.lstEntry, &QListWidget::currentRowChanged, this, &EntryList::lstEntry_Click);
    w_.lstEntry->installEventFilter(this);
}

bool EntryList::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == w_.lstEntry && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        return keys_.lstEntry_KeyDown(key->key(), key->modifiers());
    }
    return QObject::eventFilter(watched, event);
}

void EntryList::lstGroup_Click()
{
    const int g = groups_.slotOfLine(w_.lstGroup->currentRow());
    {
        const QSignalBlocker blocker(w_.lstEntry);
        w_.lstEntry->clear();
        if (g >= 0) {
            for (int e = 1; e <= NoteTable::kMaxEntries && !ctx_.table.cell(g, e).isEmpty(); ++e)
                w_.lstEntry->addItem(InDOS(ctx_.table.cell(g, e)));
        }
        w_.lstEntry->addItem(u" "_s);
    }
    selectEntryLine(0);
}

void EntryList::lstEntry_Click()
{
    main_.FileMissing = false;
    refreshCommands(w_, main_, ctx_.state, ctx_.table, ctx_.words);
    if (main_.SuppressEntryLoad)
        return;
    const int g = groups_.slotOfLine(w_.lstGroup->currentRow());
    const int e = w_.lstEntry->currentRow() + 1;
    const QString title = g >= 0 && e >= 1 ? ctx_.table.cell(g, e) : QString();
    const EntryFile::EntryRead read =
        title.isEmpty() ? EntryFile::EntryRead{}
                        : EntryFile::readEntry(StorePaths::entryFile(
                              ctx_.state.storeFolder, ctx_.table.name(g), title));
    main_.Loading = true;
    if (read.ok) {
        w_.lblDate->setText(read.entry.date);
        w_.txtText[ctx_.state.TextBoxIndex]->setPlainText(read.entry.text);
    } else {
        w_.lblDate->setText(u"File not present!"_s);
        w_.txtText[ctx_.state.TextBoxIndex]->clear();
        main_.FileMissing = true;
    }
    main_.Loading = false;
    refreshCommands(w_, main_, ctx_.state, ctx_.table, ctx_.words);
}

void EntryList::selectGroupLine(int line)
{
    const QSignalBlocker blocker(w_.lstGroup);
    w_.lstGroup->setCurrentRow(line);
    lstGroup_Click();
}

void EntryList::selectEntryLine(int line)
{
    {
        const QSignalBlocker blocker(w_.lstEntry);
        w_.lstEntry->setCurrentRow(line);
    }
    lstEntry_Click();
}

void EntryList::SyncEntryColumn()
{
    const int g = groups_.slotOfLine(w_.lstGroup->currentRow());
    if (g < 0)
        return;
    QStringList lines;
    for (int i = 0; i < w_.lstEntry->count(); ++i)
        lines.append(w_.lstEntry->item(i)->text());
    NotebookEdit::syncEntryColumn(ctx_.table, g, lines);
    ctx_.store.Save_idx();
}

void EntryList::RemoveSelectedEntry(bool deleteFile)
{
    const int g = groups_.slotOfLine(w_.lstGroup->currentRow());
    const int s = w_.lstEntry->currentRow();
    if (g < 0 || s < 0 || s >= w_.lstEntry->count() - 1)
        return;
    const QString title = OutDOS(w_.lstEntry->item(s)->text());
    {
        const QSignalBlocker blocker(w_.lstEntry);
        delete w_.lstEntry->takeItem(s);
    }
    SyncEntryColumn();
    if (deleteFile)
        NotebookFiles::deleteEntryFile(ctx_.state.storeFolder, ctx_.table.name(g), title);
    selectEntryLine(s);
}
