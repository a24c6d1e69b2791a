#include "store/errorreports.h"

#include "store/safewrite.h"

bool reportWrite(ErrorReports &reports, const FileResult &result)
{
    if (!result || result.unsynced)
        reports.ShowErrorContinue(result.error);
    return result.ok;
}
