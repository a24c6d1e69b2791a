#pragma once

#include <QObject>
#include <QPoint>

class EntryCommands;
class NotebookView;
class Ordering;

// Dragging the selected entry: onto another line of the entry list (one
// place up or down per line passed, each step written), onto a group (a move
// there without the dialog) or onto the trash button. The drag carries a
// type of this program's own, so only an entry from its own list is taken.
class DragDrop : public QObject
{
    Q_OBJECT
public:
    DragDrop(NotebookView &view, EntryCommands &entryCommands, Ordering &ordering, QObject *parent);

    static QString mimeType();

    // The drops, at a point of the list's viewport (the line there is hit-tested).
    void dropOnEntryList(const QPoint &position);
    void dropOnGroupList(const QPoint &position);
    void dropOnTrashButton();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool mouseOnEntryList(QEvent *event);
    bool dragOnTarget(QObject *watched, QEvent *event);
    void startDrag();

    NotebookView &view_;
    EntryCommands &entryCommands_;
    Ordering &ordering_;
    QPoint pressPosition_;
    bool pressedOnEntry_ = false;
};
