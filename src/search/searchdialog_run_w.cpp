#include "search/searchdialog_w.h"

#include "i18n/wordnumbers.h"
#include "i18n/wordtable.h"
#include "notebook/entrylist_w.h"
#include "notebook/grouplist.h"
#include "store/appstate.h"
#include "store/notetable.h"
#include "ui/maincontext.h"
#include "ui/mainstate.h"
#include "ui/titlelistmodel.h"
#include "ui/titlelistview_w.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

int firstVisibleRow(const TitleListView *list)
{
    const QModelIndex top = list->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

} // namespace

void SearchDialog::search(bool continued)
{
    const SearchOptionSet opts = options();
    const QString text = field_->text();
    // The buttons' state may be up to 250 ms old.
    if (pending_ || editing() || !SearchRules::canSearch(text, opts)) {
        updateSearchButtons();
        return;
    }
    report(win_.ctx.words(Word::Searching));
    focusHolder_->setFocus();

    SearchRequest request;
    request.storeFolder = win_.ctx.state.storeFolder;
    request.groups = searchGroups(win_.ctx.table, win_.groups);
    request.start = SearchWalk::startAt(continued, win_.controls.views.groupList->currentRow(),
                                        win_.controls.views.entryList->currentRow());
    request.searchPos = SearchWalk::searchPosAtStart(continued, win_.memory.position);
    request.text = text;
    request.options = opts;

    pending_ = true;
    updateSearchButtons();
    engine_.start(std::move(request), [this] {
        QMetaObject::invokeMethod(this, &SearchDialog::searchFinished, Qt::QueuedConnection);
    });
    if (engine_.waitFor(quickLimit_)) {
        searchFinished();
        return;
    }
    setBusy(true);
}

// The outcome in the status line, and as the name of the button that holds the
// focus from the start of a search on, where a screen reader reads it. The
// progress counts are left out of the name: read every tenth of a second they
// would drown everything else.
void SearchDialog::report(const QString &status)
{
    status_->setText(status);
    focusHolder_->setAccessibleName(status);
}

void SearchDialog::setBusy(bool busy)
{
    if (busy == busy_)
        return;
    busy_ = busy;
    if (busy) {
        qApp->installEventFilter(this);
        QApplication::setOverrideCursor(Qt::BusyCursor);
        showProgress();
        progress_->start();
    } else {
        progress_->stop();
        QApplication::restoreOverrideCursor();
        qApp->removeEventFilter(this);
    }
}

void SearchDialog::showProgress()
{
    const auto [done, all] = engine_.progress();
    status_->setText(u"%1 %2 / %3"_s.arg(win_.ctx.words(Word::Searching)).arg(done).arg(all));
}

// A stopped search ends as one without a hit: the selection stays where it was.
void SearchDialog::searchFinished()
{
    if (!pending_ || engine_.running())
        return;
    pending_ = false;
    setBusy(false);
    const SearchOutcome outcome = engine_.outcome();
    win_.memory.position = outcome.searchPos;
    if (outcome.hit.kind == SearchWalk::HitKind::None || !stillShown(outcome.hit))
        report(win_.ctx.words(Word::SearchNotFound));
    else
        showHit(outcome.hit);
    updateSearchButtons();
}

// The lists may not have changed under a search (input to the main window is
// held back), but a hit is selected only where its line still is.
bool SearchDialog::stillShown(const SearchWalk::Hit &hit) const
{
    const SearchGroupData &was = engine_.request().groups.at(size_t(hit.group));
    const int g = win_.groups.slotOfLine(hit.group);
    return g >= 0 && win_.groups.lines().at(hit.group) == was.shownName &&
           win_.ctx.table.name(g) == was.storedName && hit.entry < was.storedTitles.size() &&
           win_.ctx.table.cell(g, hit.entry + 1) == was.storedTitles.at(hit.entry);
}

void SearchDialog::showHit(const SearchWalk::Hit &hit)
{
    selectEntry(hit.group, hit.entry);
    if (hit.kind == SearchWalk::HitKind::Title) {
        report(win_.ctx.words(Word::MatchInTitle));
        return;
    }
    report(win_.ctx.words(Word::MatchInText));
    QPlainTextEdit *box = win_.controls.views.text;
    const int length = box->document()->characterCount() - 1;
    QTextCursor cursor = box->textCursor();
    cursor.setPosition(int(std::min<qsizetype>(hit.start, length)));
    cursor.setPosition(int(std::min<qsizetype>(hit.start + engine_.request().text.size(), length)),
                       QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
    win_.controls.views.window->activateWindow();
    box->setFocus();
}

// Selects the hit as the walk leaves it: its group (refilling the entry list
// when it is another group) and its entry, loaded; an entry below the visible
// lines becomes the first visible line.
void SearchDialog::selectEntry(int groupLine, int entryLine)
{
    TitleListView *groups = win_.controls.views.groupList;
    TitleListView *entries = win_.controls.views.entryList;
    if (groups->currentRow() != groupLine)
        groups->setCurrentRow(groupLine);
    const int top = firstVisibleRow(entries);
    win_.entries.selectEntryLine(entryLine);
    if (firstVisibleRow(entries) > top)
        entries->scrollTo(entries->titles().index(entryLine), QAbstractItemView::PositionAtTop);
}
