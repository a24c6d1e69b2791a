#pragma once

#include <QRect>

class QWidget;

// Converts a design length in twips with the logical DPI of `widget`'s screen.
int twipsX(const QWidget *widget, int twips);
int twipsY(const QWidget *widget, int twips);

// Placement of a fixed-size dialog against the main window's outer rectangle (its
// frame included), as the design measures both. Without a main window the dialog
// keeps the toolkit's own placement.
void placeCentred(QWidget *dialog, const QWidget *mainWindow);
// Lower left corner, `marginTwips` in from the main window's left and bottom edges.
void placeLowerLeft(QWidget *dialog, const QWidget *mainWindow, int marginTwips);
// Beside the main window: its top, and left against its right edge; moved
// left and up as far as needed to stay on the main window's screen.
void placeBeside(QWidget *dialog, const QWidget *mainWindow);
