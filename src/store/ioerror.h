#pragma once

#include <QString>

// What went wrong in a file operation, as the error reports show it: the C
// library's (or Qt's) description and number.
struct IoError
{
    QString description;
    int number = 0;

    static IoError fromErrno(int err);
    static IoError custom(const QString &description, int number = 0)
    {
        return IoError{description, number};
    }
};
