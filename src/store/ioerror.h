#pragma once

#include <QString>

// What went wrong in a file operation, as the error reports show it: the C
// library's (or Qt's) description and number, and the paths it happened on.
// The paths travel with the error, so a report always names the file that
// failed and never one left over from an earlier operation.
struct IoError
{
    QString description;
    int number = 0;
    QString file;       // the file or folder that failed; for a copy or rename, its source
    QString targetFile; // the destination of a copy or rename

    static IoError fromErrno(int err, const QString &file = {}, const QString &targetFile = {});
    static IoError custom(const QString &description, int number = 0)
    {
        return IoError{description, number, {}, {}};
    }
    // The same error, named after these paths.
    IoError at(const QString &path, const QString &target = {}) const
    {
        return IoError{description, number, path, target};
    }
};
