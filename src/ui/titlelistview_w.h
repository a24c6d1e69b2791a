#pragma once

#include "ui/titlelistmodel.h"

#include <QListView>

// A list of lines (TitleLines) with the line-based calls the window's
// commands use: the current line, its count, a line selected as the user
// selects it. A change of the lines by the model moves the current line with
// its item without a signal: the command that changed the notebook selects
// (and shows) what it wants shown.
class TitleListView : public QListView
{
    Q_OBJECT
public:
    explicit TitleListView(QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    TitleLines titles() const { return TitleLines(model()); }
    int count() const;
    // The current line, -1 for none.
    int currentRow() const;
    // Makes `row` the current and only selected line; -1 clears both.
    void setCurrentRow(int row);
    // What the current line shows, "" for none.
    QString currentText() const;
    // The notebook item on the current line; invalid for the closing line and none.
    QModelIndex currentItem() const;
    // The rectangle of a line in the viewport.
    QRect lineRect(int row) const;
    // The line under a point of the viewport, -1 for none.
    int lineAt(const QPoint &point) const;

Q_SIGNALS:
    void currentRowChanged(int row);

private:
    int updating_ = 0; // inside a change of the lines by the model
};
