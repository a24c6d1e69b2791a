#pragma once

#include <QObject>

class QMenu;
class QMenuBar;

// F10 on a window's menu bar as the program's users know it: F10 highlights
// the first menu without opening it (F10 again leaves the bar); Up then opens
// the highlighted menu from its end, Down from its start. Works for real and
// injected keys alike. Owned by the menu bar.
class MenuBarKeys : public QObject
{
    Q_OBJECT
public:
    explicit MenuBarKeys(QMenuBar *bar);

    // Opens `menu` of the bar with the item `stepsUp` above its last one
    // highlighted, as Up pressed that often more would leave it.
    void openFromEnd(QMenu *menu, int stepsUp);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void toggle();

    QMenuBar *bar_;
};
