#include "store/errorreports.h"

#include "store/safewrite.h"

bool reportWrite(ErrorReports &reports, const FileResult &result)
{
    // Nothing written is a cancelled command; written with its folder not
    // synced, the command stands with a doubt.
    if (!result)
        reports.ShowErrorCancel(result.error);
    else if (result.unsynced)
        reports.ShowErrorContinue(result.error);
    return result.ok;
}
