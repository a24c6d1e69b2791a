#include "notebook/editorexport_w.h"

#include "notebook/entrylist_w.h"
#include "notebook/entrylistexport.h"
#include "platform/desktopservices.h"
#include "store/appstate.h"
#include "store/errorreports.h"
#include "store/notetable.h"
#include "store/safewrite.h"
#include "store/store.h"
#include "store/storepaths.h"
#include "ui/maincontext.h"
#include "ui/titlelistmodel.h"

#include <QAction>

EditorExport::EditorExport(const std::array<QAction *, 2> &items, MainContext &ctx,
                           const EntryList &entries, QObject *parent)
    : QObject(parent), ctx_(ctx), entries_(entries)
{
    setObjectName(QStringLiteral("editorExport"));
    connect(items[0], &QAction::triggered, this, &EditorExport::openEntryText);
    connect(items[1], &QAction::triggered, this, &EditorExport::openEntryList);
}

void EditorExport::openEntryText()
{
    const int group = entries_.selectedGroup();
    const int line = entries_.selectedLine();
    if (group < 0 || line < 0 || entries_.onBlankLine())
        return;
    // The table holds the stored names the file is known by.
    ctx_.desktop.openFile(StorePaths::entryFile(ctx_.state.storeFolder, ctx_.table.name(group),
                                                ctx_.table.cell(group, line + 1)));
}

void EditorExport::openEntryList()
{
    // Into the store only while this copy holds it. A copy without edit
    // permission (the store in use, or lost) writes nothing there: its list
    // goes into the program folder, beside pref.dat.
    const bool holder = !ctx_.state.StoreInUse && ctx_.store.markerStillHeld();
    const QString &folder = holder ? ctx_.state.storeFolder : ctx_.state.programFolder;
    const QString path = StorePaths::exportFile(folder);
    const TextLines::Encoded content = entryListExport(entries_.shownLines());
    const FileResult written = content ? writeWholeFile(path, content.bytes, folder)
                                       : FileResult::failed(content.error->at(path));
    // A list that could not be written is not opened: the editor would show
    // an older one as if it were this.
    if (reportWrite(ctx_.reports, written))
        ctx_.desktop.openFile(path);
}
