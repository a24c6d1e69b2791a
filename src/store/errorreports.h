#pragma once

#include "store/ioerror.h"

// The two error reports every command that touches files gives. The store and
// the commands report through this; the window layer shows the message box.
class ErrorReports
{
public:
    virtual ~ErrorReports() = default;
    // The command was cancelled: nothing of it was kept.
    virtual void ShowErrorCancel(const IoError &error) = 0;
    // The command goes on (or was done, with a doubt left about the file named).
    virtual void ShowErrorContinue(const IoError &error) = 0;
};

struct FileResult;

// A write that stands alone (pref.dat, the entry list export): its failure
// told through ShowErrorCancel, the doubt a failed folder sync leaves through
// ShowErrorContinue. True when the new content is in place.
bool reportWrite(ErrorReports &reports, const FileResult &result);
