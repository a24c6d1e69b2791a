#include "search/searchcommand_w.h"

#include "search/searchdialog_w.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

class SearchCommand : public QObject
{
public:
    SearchCommand(const SearchControls &controls, MainState &main, MainContext &ctx,
                  const GroupList &groups, EntryList &entries, QObject *parent)
        : QObject(parent), window_{controls, main, ctx, groups, entries, memory_}
    {
        setObjectName(u"searchCommand"_s);
        connect(controls.open, &QAction::triggered, this, &SearchCommand::openSearch);
    }

    void openSearch()
    {
        if (!dialog_)
            dialog_ = new SearchDialog(window_, window_.controls.views.window);
        dialog_->show();
        dialog_->raise();
        dialog_->activateWindow();
    }

private:
    SearchMemory memory_;
    SearchWindow window_;
    QPointer<SearchDialog> dialog_;
};

} // namespace

void installSearch(const SearchControls &controls, MainState &main, MainContext &ctx,
                   const GroupList &groups, EntryList &entries, QObject *window)
{
    new SearchCommand(controls, main, ctx, groups, entries, window);
}
