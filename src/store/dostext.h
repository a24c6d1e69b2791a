#pragma once

#include <QString>
#include <QStringView>

// Stored form of group names and entry titles. The thirteen characters that
// file names (or idx.dat) cannot hold are kept as letters of the upper half of
// the code page; blanks are trimmed at both ends, tabs and other white space stay.
QString OutDOS(const QString &shown);
QString InDOS(const QString &stored);
// InDOS(stored) == shown, without building the shown string (a walk over a
// group's 999 titles on every refresh).
bool showsAs(QStringView stored, QStringView shown);
