#pragma once

#include <QString>

// Stored form of group names and entry titles. The thirteen characters that
// file names (or idx.dat) cannot hold are kept as letters of the upper half of
// the code page; blanks are trimmed at both ends, tabs and other white space stay.
QString OutDOS(const QString &shown);
QString InDOS(const QString &stored);
