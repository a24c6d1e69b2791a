#include "search/searchcommand_w.h"

#include "search/frmsearch.h"
#include "ui/mainwidgets_w.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

class SearchCommand : public QObject
{
public:
    SearchCommand(const MainWidgets &w, MainState &main, MainContext &ctx, const GroupList &groups,
                  EntryList &entries, QObject *parent)
        : QObject(parent), window_{w, main, ctx, groups, entries, memory_}
    {
        setObjectName(u"searchCommand"_s);
        connect(w.mnuSearch, &QAction::triggered, this, &SearchCommand::openSearch);
    }

    void openSearch()
    {
        if (!dialog_)
            dialog_ = new FrmSearch(window_, window_.w.frmMain);
        dialog_->show();
        dialog_->raise();
        dialog_->activateWindow();
    }

private:
    SearchMemory memory_;
    SearchWindow window_;
    QPointer<FrmSearch> dialog_;
};

} // namespace

void installSearch(const MainWidgets &w, MainState &main, MainContext &ctx, const GroupList &groups,
                   EntryList &entries, QObject *window)
{
    new SearchCommand(w, main, ctx, groups, entries, window);
}
