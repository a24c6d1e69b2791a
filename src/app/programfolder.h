#pragma once

#include "store/ioerror.h"

#include <QString>
#include <optional>

// Where the program folder (pref.dat, Language.dat, FileStore/) can be.
struct ProgramFolderPlaces
{
    QString executableFolder; // a portable copy keeps its files beside the program
    QString userFolder;       // otherwise the per-user data folder
    QString defaultsFolder;   // the installed defaults that fill the user folder
};

// The program folder, ending in "/", and whether filling it failed: the
// error names the default file and, as its target, the copy.
struct ProgramFolder
{
    ProgramFolder(QString folder, std::optional<IoError> failure = std::nullopt)
        : folder(std::move(folder)), failure(std::move(failure))
    {}
    QString folder;
    std::optional<IoError> failure;
};

// The places of this run: the executable's folder, the per-user data folder
// and the installation's share/plimsa/defaults beside the executable's bin/.
ProgramFolderPlaces standardProgramFolderPlaces();

// The executable's folder when it holds pref.dat, else the user folder, first
// filled from the defaults without overwriting anything already there.
[[nodiscard]] ProgramFolder locateProgramFolder(const ProgramFolderPlaces &places);

// Copies the defaults' files that `target` lacks, up to the first that fails.
// pref.dat comes last and only after all the others, so a copy cut short is
// completed at the next start.
[[nodiscard]] std::optional<IoError> copyMissingDefaults(const QString &defaultsFolder,
                                                         const QString &target);

// `folder` with exactly one "/" at its end.
QString withSlash(const QString &folder);
