#pragma once

#include <QString>

// Where the program folder (pref.dat, Language.dat, FileStore/) can be.
struct ProgramFolderPlaces
{
    QString executableFolder; // a portable copy keeps its files beside the program
    QString userFolder;       // otherwise the per-user data folder
    QString defaultsFolder;   // the installed defaults that fill the user folder
};

// The places of this run: the executable's folder, the per-user data folder
// and the installation's share/plimsa/defaults beside the executable's bin/.
ProgramFolderPlaces standardProgramFolderPlaces();

// The program folder, ending in "/": the executable's folder when it holds
// pref.dat, else the user folder, first filled from the defaults without
// overwriting anything already there.
QString locateProgramFolder(const ProgramFolderPlaces &places);

// Copies the defaults' files that `target` lacks; pref.dat comes last, so a copy
// cut short is completed at the next start.
void copyMissingDefaults(const QString &defaultsFolder, const QString &target);

// `folder` with exactly one "/" at its end.
QString withSlash(const QString &folder);
