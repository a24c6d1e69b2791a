#pragma once

struct MainWidgets;
class Words;

// SetCaptions: every caption and tooltip of the main window in the current
// language, composed ones included. An empty word gives an empty caption.
void SetCaptions(const MainWidgets &w, const Words &words);
