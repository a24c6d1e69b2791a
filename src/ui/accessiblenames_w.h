#pragma once

class QWidget;
class Words;

// The names a screen reader reads for the main window's controls that show no
// caption of their own (picture buttons, lists, text boxes), in the current
// language. Called after the captions are set, and again when they change.
void SetAccessibleNames(QWidget &window, const Words &words);

// Tab leads from the lists through the text boxes to the buttons, and what a
// screen reader hears of the window's state is kept current: the date line
// goes with the entry text, and the edit modes and the lock are told on the
// text boxes and the lists as they change.
void InstallAccessibility(QWidget &window, const Words &words);
