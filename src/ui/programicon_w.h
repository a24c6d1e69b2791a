#pragma once

#include <QIcon>
#include <QLatin1StringView>

// The name the desktop knows the program by: its desktop entry
// (org.plimsa.Plimsa.desktop) and its icon in the icon theme. The windows
// carry it, so that the desktop shows the right icon for a running window.
inline constexpr QLatin1StringView kDesktopId("org.plimsa.Plimsa");

// The program's icon in every size it is drawn in, built into the program, so
// a portable copy shows it as well as an installed one. The windows, the
// dialogs and the tray icon all use it.
QIcon programIcon();
