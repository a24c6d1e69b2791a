#pragma once

#include <QListView>

class TitleListModel;

// A view of a TitleListModel with the line-based calls the window's commands
// use: the current line, its count, a line selected as the user selects it.
class TitleListView : public QListView
{
    Q_OBJECT
public:
    explicit TitleListView(TitleListModel *model, QWidget *parent = nullptr);

    TitleListModel &titles() const { return *titles_; }
    int count() const;
    // The current line, -1 for none.
    int currentRow() const;
    // Makes `row` the current and only selected line; -1 clears both.
    void setCurrentRow(int row);
    // What the current line shows, "" for none.
    QString currentText() const;
    // The rectangle of a line in the viewport.
    QRect lineRect(int row) const;
    // The line under a point of the viewport, -1 for none.
    int lineAt(const QPoint &point) const;

Q_SIGNALS:
    void currentRowChanged(int row);

private:
    TitleListModel *titles_;
};
