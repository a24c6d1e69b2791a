#include "ui/titlelistview_w.h"

#include "ui/titlelistmodel.h"

TitleListView::TitleListView(TitleListModel *model, QWidget *parent)
    : QListView(parent), titles_(model)
{
    titles_->setParent(this);
    setModel(titles_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { Q_EMIT currentRowChanged(current.row()); });
}

int TitleListView::count() const
{
    return titles_->rowCount();
}

int TitleListView::currentRow() const
{
    return currentIndex().row();
}

void TitleListView::setCurrentRow(int row)
{
    const QModelIndex index = titles_->index(row);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

QString TitleListView::currentText() const
{
    return titles_->shownName(currentRow());
}

QRect TitleListView::lineRect(int row) const
{
    return visualRect(titles_->index(row));
}

int TitleListView::lineAt(const QPoint &point) const
{
    return indexAt(point).row();
}
