#include "ui/titlelistview_w.h"

TitleListView::TitleListView(QWidget *parent) : QListView(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
}

void TitleListView::setModel(QAbstractItemModel *lines)
{
    if (model())
        disconnect(model(), nullptr, this, nullptr);
    updating_ = 0;
    // Connected before the view and its selection model connect theirs, so
    // that the quiet begins before either moves the current line.
    if (lines) {
        const auto begin = [this] { ++updating_; };
        const auto end = [this] { updating_ = qMax(0, updating_ - 1); };
        connect(lines, &QAbstractItemModel::rowsAboutToBeInserted, this, begin);
        connect(lines, &QAbstractItemModel::rowsInserted, this, end);
        connect(lines, &QAbstractItemModel::rowsAboutToBeRemoved, this, begin);
        connect(lines, &QAbstractItemModel::rowsRemoved, this, end);
        connect(lines, &QAbstractItemModel::rowsAboutToBeMoved, this, begin);
        connect(lines, &QAbstractItemModel::rowsMoved, this, end);
        connect(lines, &QAbstractItemModel::layoutAboutToBeChanged, this, begin);
        connect(lines, &QAbstractItemModel::layoutChanged, this, end);
        connect(lines, &QAbstractItemModel::modelAboutToBeReset, this, begin);
        connect(lines, &QAbstractItemModel::modelReset, this, end);
    }
    QListView::setModel(lines);
    if (selectionModel())
        connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this](const QModelIndex &current) {
                    if (updating_ == 0)
                        Q_EMIT currentRowChanged(current.row());
                });
}

int TitleListView::count() const
{
    return titles().count();
}

int TitleListView::currentRow() const
{
    return currentIndex().row();
}

void TitleListView::setCurrentRow(int row)
{
    const QModelIndex index = titles().index(row);
    if (!index.isValid()) {
        selectionModel()->clear();
        return;
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

QString TitleListView::currentText() const
{
    return titles().shownName(currentRow());
}

QModelIndex TitleListView::currentItem() const
{
    return titles().item(currentRow());
}

QRect TitleListView::lineRect(int row) const
{
    return visualRect(titles().index(row));
}

int TitleListView::lineAt(const QPoint &point) const
{
    return indexAt(point).row();
}
