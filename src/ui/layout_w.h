#pragma once

#include "ui/mainlayout.h"

#include <QObject>

struct MainWidgets;
class QWidget;

// Lays the main window's controls out in its client area on every resize, from
// the splitter positions it keeps (twips).
class WindowLayout : public QObject
{
public:
    explicit WindowLayout(MainWidgets &widgets);

    int frameTop = 1440;   // top of lblSizeH
    int frameLeft1 = 2975; // left of lblSizeV(0)
    int frameLeft2 = 3840; // left of lblSizeV(1)

    void apply();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void place(QWidget *widget, const TwipsRect &rect) const;
    void placePanels() const;

    MainWidgets &w_;
    QWidget *client_;
};
